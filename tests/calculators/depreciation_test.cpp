#include "calculators/depreciation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

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

__extension__ typedef __int128 Int128;

// The schedule worked out apart, in whole ten-thousandths: each year's depreciation is the
// book value times numerator / denominator, rounded halves to even (positive figures only).
std::vector<std::pair<int64_t, int64_t>> ExactSchedule(int64_t cost, Int128 numerator,
                                                       Int128 denominator, int years) {
  std::vector<std::pair<int64_t, int64_t>> rows;
  int64_t book = cost;
  for (int year = 0; year < years; ++year) {
    const Int128 product = book * numerator;
    auto depreciation = static_cast<int64_t>(product / denominator);
    const Int128 twice = product % denominator * 2;
    if (twice > denominator || (twice == denominator && depreciation % 2 != 0)) ++depreciation;
    rows.emplace_back(book, depreciation);
    book -= depreciation;
  }
  return rows;
}

// The typed rate is the decimal it reads, divided by 100 exactly, so rates that no double
// holds (10 % among them) give the exact figures at the top of the range as well.
TEST(DepreciationTest, EveryFigureIsTheExactDecimalResultRounded) {
  const DepreciationSchedule top = ReducingBalanceSchedule("922337203685477.5807", "10", "3", kUs);
  ASSERT_EQ(top.State, DepreciationSchedule::Status::Done);
  EXPECT_EQ(Shown(top, 1), "830,103,483,316,929.82 / 83,010,348,331,692.98");
  EXPECT_EQ(Shown(top, 2), "747,093,134,985,236.84 / 74,709,313,498,523.68");
  constexpr Int128 kE20 = static_cast<Int128>(10'000'000'000) * 10'000'000'000;
  const struct {
    const char* cost;
    const char* percent;
    int64_t rawCost;
    Int128 numerator;
    Int128 denominator;
  } cases[] = {
      {"922337203685477.5807", "10", INT64_MAX, 10, 100},
      {"922337203685477.5807", "0.3", INT64_MAX, 3, 1000},
      {"876543210987654.3219", "7.77", 8765432109876543219, 777, 10000},
      {"100000000000000", "33.333333333333333333", 1'000'000'000'000'000'000,
       static_cast<Int128>(3'333'333'333'333'333'333) * 10 + 3, kE20},
  };
  for (const auto& c : cases) {
    const DepreciationSchedule s = ReducingBalanceSchedule(c.cost, c.percent, "40", kUs);
    ASSERT_EQ(s.State, DepreciationSchedule::Status::Done) << c.percent;
    std::vector<std::pair<int64_t, int64_t>> raw;
    for (const DepreciationRow& row : s.Rows)
      raw.emplace_back(row.BookValue.Raw(), row.YearDepreciation.Raw());
    EXPECT_EQ(raw, ExactSchedule(c.rawCost, c.numerator, c.denominator, 40)) << c.percent;
  }
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
