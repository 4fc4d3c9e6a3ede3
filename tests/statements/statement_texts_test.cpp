#include "statements/statement_texts.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Money;

const LocaleInfo kUs = UsEnglishLocale();
const LocaleInfo kGerman = [] {
  LocaleInfo locale = UsEnglishLocale();
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
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
  // Percentages round to two decimals; a division by zero or past the range gives none.
  EXPECT_EQ(PercentOf(Money(-2), Money(3)), Money(-66.67));
  EXPECT_EQ(PercentOf(Money(0.00005), Money(1)), Money(0.01));
  EXPECT_EQ(PercentOf(Money(5), Amount()), std::nullopt);
  EXPECT_EQ(PercentOf(Amount::Max(), Amount::FromRaw(1)), std::nullopt);
  EXPECT_EQ(PercentText(Money(12345), kGerman), "12.345,00%");
}

}  // namespace
}  // namespace qv
