#include "statements/statement_texts.h"

#include <gtest/gtest.h>

#include "statements/statement_dates.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

const LocaleInfo kUs = UsEnglishLocale();
const LocaleInfo kGerman = [] {
  LocaleInfo locale = UsEnglishLocale();
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
  locale.MonthNames[11] = "Dezember";
  return locale;
}();

TEST(StatementTexts, AmountsRoundHalvesAwayFromZeroWithTheLocalesSymbols) {
  const std::tuple<Amount, int, const LocaleInfo*, std::string> amounts[] = {
      {Money(1250), 0, &kUs, "1,250"},        {Money(0.5), 2, &kUs, ".50"},
      {Money(-12), 2, &kUs, "(12.00)"},       {Money(0.5), 0, &kUs, "1"},
      {Money(-0.5), 0, &kUs, "(1)"},          {Money(0.4), 0, &kUs, "0"},
      {Money(-0.004), 2, &kUs, ".00"},        {Money(2.345), 2, &kUs, "2.35"},
      {Money(1250), 2, &kGerman, "1.250,00"}, {Money(0.5), 2, &kGerman, ",50"}};
  for (const auto& [amount, decimals, locale, text] : amounts)
    EXPECT_EQ(StatementAmountText(amount, decimals, *locale), text);
  // The trial balance: the value without sign and a zero before the decimal symbol.
  EXPECT_EQ(TrialAmountText(Money(-1250), 2, kUs), "1,250.00");
  EXPECT_EQ(TrialAmountText(Amount::Min(), 0, kUs), "922,337,203,685,478");
  EXPECT_EQ(TrialAmountText(Money(0.5), 2, kGerman), "0,50");
}

TEST(StatementTexts, PercentagesRoundToTwoDecimalsAndADivisionByZeroGivesNothing) {
  EXPECT_EQ(PercentText(Money(-12.5), kUs), "(12.50%)");
  EXPECT_EQ(PercentText(Money(12345), kGerman), "12.345,00%");
  EXPECT_EQ(RatioCaption({kLabelGrossLoss, Money(-20)}, kUs), "Gross Loss : (20.00%)");
  const std::tuple<double, double, double> percents[] = {
      {1, 3, 33.33}, {-2, 3, -66.67}, {1, -8, -12.5}, {0.00005, 1, 0.01}};
  for (const auto& [part, whole, percent] : percents)
    EXPECT_EQ(PercentOf(Money(part), Money(whole)), Money(percent)) << part << " / " << whole;
  EXPECT_EQ(PercentOf(Money(5), Amount()), std::nullopt);
  EXPECT_EQ(PercentOf(Amount::Max(), Amount::FromRaw(1)), std::nullopt);
}

TEST(StatementTexts, FoliosTitlesAndPeriods) {
  EXPECT_EQ(TrialFolioText(Money(110.5), false, kUs), " 110.5 ");
  EXPECT_EQ(TrialFolioText(Money(-3), false, kUs), "-3 ");
  EXPECT_EQ(TrialFolioText(Money(110.5), true, kGerman), "110-5");
  EXPECT_EQ(TrialFolioText(Money(110.25), false, kGerman), " 110,25 ");
  EXPECT_EQ(BalanceSheetTitle(Day(2026, 12, 5), kGerman),
            "Financial Position Ending 05 Dezember 2026");
  EXPECT_EQ(IncomePeriodText(Day(2026, 1, 5), Day(2026, 12, 5), kUs, " To "),
            "5 January 2026 To 05 December 2026");
}

TEST(StatementTexts, AnUnreadableDateKeepsThePreviousOne) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.DateStyleIndex = 2;  // dd/mm/yyyy
  const DaySerial previous = Day(2026, 3, 31), today = Day(2026, 6, 1);
  std::string text = "05/12/2026";
  StatementDateRead read = ReadStatementDate(text, previous, books, kUs, today);
  EXPECT_EQ(std::pair(read.Date, read.Kept), std::pair(Day(2026, 12, 5), false));
  for (std::string bad : {"", "31/02/2026", "next week"}) {
    read = ReadStatementDate(bad, previous, books, kUs, today);
    EXPECT_EQ(std::pair(read.Date, read.Kept), std::pair(previous, true)) << bad;
  }
}

}  // namespace
}  // namespace qv
