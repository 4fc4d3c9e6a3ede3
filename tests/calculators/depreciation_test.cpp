#include "calculators/depreciation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calculators/calculator_numbers.h"

namespace qv {
namespace {

LocaleInfo German() {
  LocaleInfo locale = UsEnglishLocale();
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
  return locale;
}

// The schedule's amounts as shown with two decimals.
std::vector<std::string> Shown(const DepreciationSchedule& s, const LocaleInfo& locale) {
  std::vector<std::string> out;
  for (const DepreciationRow& row : s.Rows) {
    out.push_back(ScheduleAmountText(row.BookValue, 2, locale) + " / " +
                  ScheduleAmountText(row.YearDepreciation, 2, locale));
  }
  return out;
}

// The window's tests show a worked schedule; here the rounding and the rate's extremes.
TEST(DepreciationTest, EachYearsRoundingCarriesIntoTheNextBookValue) {
  const LocaleInfo us = UsEnglishLocale();
  const DepreciationSchedule third = ReducingBalanceSchedule("100", "33.333333", "2", us);
  EXPECT_EQ(third.Rows[0].YearDepreciation, Amount::FromRaw(333333));
  EXPECT_EQ(third.Rows[1].BookValue, Amount::FromRaw(666667));
  // Rate 0 keeps the value; above 100 it turns negative from the second year.
  EXPECT_EQ(ReducingBalanceSchedule("500", "0", "2", us).Rows[1].BookValue, Amount::FromUnits(500));
  EXPECT_EQ(Shown(ReducingBalanceSchedule("100", "150", "2", us), us)[1], "-50.00 / -75.00");
}

TEST(DepreciationTest, YearsAreRoundedHalvesToEven) {
  const LocaleInfo us = UsEnglishLocale();
  struct Row {
    const char* years;
    std::size_t rows;
  };
  for (const Row row :
       {Row{"2.5", 3}, Row{"3.5", 3}, Row{"1.5", 1}, Row{"14", 14}, Row{"1000", 1000}}) {
    EXPECT_EQ(ReducingBalanceSchedule("1000", "10", row.years, us).Rows.size(), row.rows)
        << row.years;
  }
  for (const char* none : {"0.5", "", "abc", "-3"})
    EXPECT_EQ(ReducingBalanceSchedule("1000", "10", none, us).State,
              DepreciationSchedule::Status::Unchanged);
}

TEST(DepreciationTest, FiguresBeyondReachAreRefused) {
  const LocaleInfo us = UsEnglishLocale();
  struct Row {
    const char *cost, *percent, *years, *message;
  };
  const Row rows[] = {
      {"1000", "10", "100000", kDepreciationYearsText},
      {"1000", "10", "1e40", kDepreciationYearsText},
      {"100000000000000000000", "10", "3", kDepreciationRangeText},
      {"1e20", "10", "3", kDepreciationRangeText},
      {"1000", "300", "1000", kDepreciationRangeText},  // the book value doubles each year
  };
  for (const Row& row : rows) {
    const DepreciationSchedule s = ReducingBalanceSchedule(row.cost, row.percent, row.years, us);
    EXPECT_EQ(s.State, DepreciationSchedule::Status::Refused) << row.cost << " " << row.years;
    EXPECT_EQ(s.Message, row.message);
  }
}

TEST(DepreciationTest, NumbersAreReadInTheMachinesFormatFirst) {
  const LocaleInfo de = German();
  const LocaleInfo us = UsEnglishLocale();
  const DepreciationSchedule s = ReducingBalanceSchedule("1.000,50", "12,5", "2", de);
  EXPECT_EQ(Shown(s, de)[0], "1.000,50 / 125,06");
  struct Row {
    const char* text;
    const LocaleInfo* locale;
    const char* value;
  };
  const Row rows[] = {
      {"12.5", &de, "12.5"},       {"1.234", &de, "1234"},
      {"1,234.50", &us, "1234.5"}, {"12,5", &us, "12"},
      {"1,23,456", &us, "1"},      {"(5)", &us, "-5"},
      {" 7 % ", &us, "7"},         {"1.234.567,8", &de, "1234567.8"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(PlainDecimalText(ReadCalculatorNumber(row.text, *row.locale).Value), row.value)
        << row.text;
}

}  // namespace
}  // namespace qv
