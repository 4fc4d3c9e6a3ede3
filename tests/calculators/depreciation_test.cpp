#include "calculators/depreciation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "calculators/calculator_numbers.h"

namespace qv {
namespace {

const LocaleInfo kUs = UsEnglishLocale();

// Row `i` of the schedule's amounts as shown with two decimals.
std::string Shown(const DepreciationSchedule& s, std::size_t i, const LocaleInfo& locale = kUs) {
  return ScheduleAmountText(s.Rows.at(i).BookValue, 2, locale) + " / " +
         ScheduleAmountText(s.Rows.at(i).YearDepreciation, 2, locale);
}

// The window's tests show a worked schedule; here the rounding and the rate's extremes.
TEST(DepreciationTest, EachYearsRoundingCarriesIntoTheNextBookValue) {
  const DepreciationSchedule third = ReducingBalanceSchedule("100", "33.333333", "2", kUs);
  EXPECT_EQ(third.Rows[0].YearDepreciation, Amount::FromRaw(333333));
  EXPECT_EQ(third.Rows[1].BookValue, Amount::FromRaw(666667));
  // Rate 0 keeps the value; above 100 it turns negative from the second year.
  EXPECT_EQ(ReducingBalanceSchedule("500", "0", "2", kUs).Rows[1].BookValue,
            Amount::FromUnits(500));
  EXPECT_EQ(Shown(ReducingBalanceSchedule("100", "150", "2", kUs), 1), "-50.00 / -75.00");
}

TEST(DepreciationTest, YearsAreRoundedHalvesToEvenAndFiguresBeyondReachAreRefused) {
  for (const auto& [years, rows] :
       {std::pair{"2.5", 3u}, {"3.5", 3u}, {"1.5", 1u}, {"1000", 1000u}})
    EXPECT_EQ(ReducingBalanceSchedule("1000", "10", years, kUs).Rows.size(), rows) << years;
  for (const char* none : {"0.5", "", "abc", "-3"})
    EXPECT_EQ(ReducingBalanceSchedule("1000", "10", none, kUs).State,
              DepreciationSchedule::Status::Unchanged);
  const std::array<const char*, 4> refused[] = {
      {"1000", "10", "100000", kDepreciationYearsText},
      {"1000", "10", "1e40", kDepreciationYearsText},
      {"100000000000000000000", "10", "3", kDepreciationRangeText},
      {"1e20", "10", "3", kDepreciationRangeText},
      {"1000", "300", "1000", kDepreciationRangeText},  // the book value doubles each year
  };
  for (const auto& [cost, percent, years, message] : refused) {
    const DepreciationSchedule s = ReducingBalanceSchedule(cost, percent, years, kUs);
    EXPECT_EQ(s.State, DepreciationSchedule::Status::Refused) << cost << " " << years;
    EXPECT_EQ(s.Message, message);
  }
}

// Every figure that fits an amount is worked out, to its last decimal, up to either end of
// the range; only a figure beyond it refuses the schedule.
TEST(DepreciationTest, FiguresUpToTheEdgeOfTheRangeAreWorkedOutExactly) {
  const DepreciationSchedule half = ReducingBalanceSchedule("500000000000000", "100", "2", kUs);
  ASSERT_EQ(half.State, DepreciationSchedule::Status::Done);
  EXPECT_EQ(Shown(half, 0), "500,000,000,000,000.00 / 500,000,000,000,000.00");
  EXPECT_EQ(Shown(half, 1), "0.00 / 0.00");
  const struct {
    const char* cost;
    const char* percent;
    int64_t depreciation;  // of the first year, in ten-thousandths
  } edges[] = {
      {"922337203685477.5807", "100", INT64_MAX},
      {"-922337203685477.5808", "100", INT64_MIN},
      {"922337203685477.5807", "50", 4611686018427387904},  // .5 rounds to even
      {"-922337203685477.5807", "-100", INT64_MAX},
      {"400000000000000.0001", "100", 4000000000000000001},
      {"400000000000000.0003", "12.5", 500000000000000000},  // 3/8 of a ten-thousandth
      {"0.0001", "0.0000000001", 0},
  };
  for (const auto& [cost, percent, depreciation] : edges) {
    const DepreciationSchedule s = ReducingBalanceSchedule(cost, percent, "1", kUs);
    ASSERT_EQ(s.State, DepreciationSchedule::Status::Done) << cost << " " << percent;
    EXPECT_EQ(s.Rows[0].YearDepreciation, Amount::FromRaw(depreciation)) << cost << " " << percent;
  }
  // Beyond it: the first year's depreciation, or the second year's book value.
  for (const auto& [percent, years] : {std::pair{"100.0000000001", "1"}, {"200", "1"}, {"-1", "2"}})
    EXPECT_EQ(ReducingBalanceSchedule("922337203685477.5807", percent, years, kUs).Message,
              kDepreciationRangeText)
        << percent;
}

TEST(DepreciationTest, NumbersAreReadInTheMachinesFormatFirst) {
  LocaleInfo de = UsEnglishLocale();
  de.DecimalSymbol = ",";
  de.GroupSymbol = ".";
  EXPECT_EQ(Shown(ReducingBalanceSchedule("1.000,50", "12,5", "2", de), 0, de),
            "1.000,50 / 125,06");
  const std::tuple<const char*, const LocaleInfo*, const char*> rows[] = {
      {"12.5", &de, "12.5"},        {"1.234", &de, "1234"},
      {"1,234.50", &kUs, "1234.5"}, {"12,5", &kUs, "12"},
      {"1,23,456", &kUs, "1"},      {"(5)", &kUs, "-5"},
      {" 7 % ", &kUs, "7"},         {"1.234.567,8", &de, "1234567.8"},
  };
  for (const auto& [text, locale, value] : rows)
    EXPECT_EQ(PlainDecimalText(ReadCalculatorNumber(text, *locale).Value), value) << text;
}

}  // namespace
}  // namespace qv
