#include "statements/statement_texts.h"

#include <gtest/gtest.h>

#include "statements/statement_dates.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

LocaleInfo German() {
  LocaleInfo locale = UsEnglishLocale();
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
  locale.MonthNames[11] = "Dezember";
  locale.Name = "de_DE";
  return locale;
}

TEST(StatementTexts, AmountsWithTheStatementsDecimalsAndTheLocalesSymbols) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(StatementAmountText(Money(1250), 0, us), "1,250");
  EXPECT_EQ(StatementAmountText(Money(1250), 2, us), "1,250.00");
  EXPECT_EQ(StatementAmountText(Money(0.5), 2, us), ".50");
  EXPECT_EQ(StatementAmountText(Money(-12), 2, us), "(12.00)");
  EXPECT_EQ(StatementAmountText(Money(-1234567.891), 3, us), "(1,234,567.891)");
  // Fewer decimals than stored: halves away from zero; a zero whole part with 0 decimals
  // is "0".
  EXPECT_EQ(StatementAmountText(Money(0.5), 0, us), "1");
  EXPECT_EQ(StatementAmountText(Money(-0.5), 0, us), "(1)");
  EXPECT_EQ(StatementAmountText(Money(0.4), 0, us), "0");
  EXPECT_EQ(StatementAmountText(Money(-0.004), 2, us), ".00");
  EXPECT_EQ(StatementAmountText(Money(2.345), 2, us), "2.35");

  // The trial balance: the value without sign and a zero before the decimal symbol.
  EXPECT_EQ(TrialAmountText(Money(0.5), 2, us), "0.50");
  EXPECT_EQ(TrialAmountText(Money(-1250), 2, us), "1,250.00");
  EXPECT_EQ(TrialAmountText(Amount(), 2, us), "0.00");
  EXPECT_EQ(TrialAmountText(Amount::Min(), 0, us), "922,337,203,685,478");

  const LocaleInfo de = German();
  EXPECT_EQ(StatementAmountText(Money(1250), 2, de), "1.250,00");
  EXPECT_EQ(StatementAmountText(Money(0.5), 2, de), ",50");
  EXPECT_EQ(TrialAmountText(Money(0.5), 2, de), "0,50");
  LocaleInfo ungrouped = us;
  ungrouped.GroupSymbol = "";
  EXPECT_EQ(StatementAmountText(Money(1250), 0, ungrouped), "1250");
}

TEST(StatementTexts, PercentagesAndRatioCaptions) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(PercentText(Money(12.5), us), "12.50%");
  EXPECT_EQ(PercentText(Money(-12.5), us), "(12.50%)");
  EXPECT_EQ(PercentText(Money(0.25), us), "0.25%");
  EXPECT_EQ(PercentText(Money(12345), us), "12,345.00%");
  EXPECT_EQ(PercentText(Money(12.5), German()), "12,50%");
  EXPECT_EQ(RatioCaption({kLabelReturnOnEquity, Money(12.5)}, us), "Return on Equity : 12.50%");
  EXPECT_EQ(RatioCaption({kLabelGrossLoss, Money(-20)}, us), "Gross Loss : (20.00%)");

  // part / whole rounded to two decimals, halves away from zero.
  EXPECT_EQ(PercentOf(Money(1250), Money(10000)), Money(12.5));
  EXPECT_EQ(PercentOf(Money(1), Money(3)), Money(33.33));
  EXPECT_EQ(PercentOf(Money(2), Money(3)), Money(66.67));
  EXPECT_EQ(PercentOf(Money(-2), Money(3)), Money(-66.67));
  EXPECT_EQ(PercentOf(Money(1), Money(-8)), Money(-12.5));
  EXPECT_EQ(PercentOf(Money(0.00005), Money(1)), Money(0.01));
  EXPECT_EQ(PercentOf(Money(5), Amount()), std::nullopt);
  EXPECT_EQ(PercentOf(Amount::Max(), Amount::FromRaw(1)), std::nullopt);
}

TEST(StatementTexts, Folios) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(TrialFolioText(Money(110.5), false, us), " 110.5 ");
  EXPECT_EQ(TrialFolioText(Money(110), false, us), " 110 ");
  EXPECT_EQ(TrialFolioText(Money(-3), false, us), "-3 ");
  EXPECT_EQ(TrialFolioText(Money(110.5), true, us), "110-5");
  EXPECT_EQ(TrialFolioText(Money(110.5), true, German()), "110-5");
  EXPECT_EQ(TrialFolioText(Money(110.25), false, German()), " 110,25 ");
  EXPECT_EQ(ShortFolioText(Money(110.5), us), "110.5");
  EXPECT_EQ(ShortFolioText(Money(0), us), "0");
}

TEST(StatementTexts, TitlesAndPeriodsWithFullMonthNames) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(TrialBalanceTitle(Day(2026, 12, 5), us), "Trial Balance as 05 December 2026");
  EXPECT_EQ(BalanceSheetTitle(Day(2026, 12, 5), us),
            "Financial Position Ending 05 December 2026");
  EXPECT_EQ(BalanceSheetTitle(Day(2026, 12, 5), German()),
            "Financial Position Ending 05 Dezember 2026");
  EXPECT_EQ(IncomeStatementTitle(), "Income Statement");
  EXPECT_EQ(IncomePeriodText(Day(2026, 1, 5), Day(2026, 12, 5), us),
            "5 January 2026 to 05 December 2026");
  EXPECT_EQ(IncomePeriodText(Day(2026, 1, 5), Day(2026, 12, 5), us, " To "),
            "5 January 2026 To 05 December 2026");
}

TEST(StatementTexts, AnUnreadableDateKeepsThePreviousOne) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.DateStyleIndex = 2;  // dd/mm/yyyy
  const LocaleInfo us = UsEnglishLocale();
  const DaySerial today = Day(2026, 6, 1);
  std::string text = "05/12/2026";
  StatementDateRead read = ReadStatementDate(text, Day(2026, 3, 31), books, us, today);
  EXPECT_EQ(read.Date, Day(2026, 12, 5));
  EXPECT_FALSE(read.Kept);
  for (std::string bad : {"", "31/02/2026", "next week"}) {
    read = ReadStatementDate(bad, Day(2026, 3, 31), books, us, today);
    EXPECT_EQ(read.Date, Day(2026, 3, 31)) << bad;
    EXPECT_TRUE(read.Kept);
  }
}

}  // namespace
}  // namespace qv
