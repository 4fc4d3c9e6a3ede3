#include "books/locale_symbols.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

LocaleInfo Currency(const char* zeroText, const char* symbol) {
  LocaleInfo l = UsEnglishLocale();
  l.CurrencyZeroText = zeroText;
  l.CurrencySymbol = symbol;
  return l;
}

// (The platform's locale tests try the labels of real locales.)
TEST(LocaleSymbolsTest, LabelTakesOneCharacterOfTheSignAndNoCurrencyGivesNone) {
  for (const auto& [zero, symbol, label] : {
           std::tuple{"0,00 €", "€", "€ :"},
           {"R$ 0,00", "R$", "R :"},                                      // sign before: first
           {"0.00 CHF", "CHF", "F :"},                                    // sign after: last
           {"0,00\u00A0kr", "kr", "r :"},                                 // no-break space
           {"0,00 лв.", "лв.", "в :"},                                    // closing full stop
           {"\u0660\u066B\u0660\u0660 ج.م.\u200F", "ج.م.\u200F", "م :"},  // Arabic digits
           {"\u200E\u0631\u06CC\u0627\u0644 \u06F0", "ریال", "ر :"},      // leading mark
           {"0.00", "CHF", "C :"},  // zero shows no sign: the symbol's first character
       })
    EXPECT_EQ(CurrencyLabelText(Currency(zero, symbol)), label) << zero;
  for (const LocaleInfo& l :
       {Currency("0.00", ""), Currency("0", ""), Currency("", ""), Currency(" ", " ")}) {
    EXPECT_EQ(CurrencySignOf(l), "");
    EXPECT_EQ(LocaleSymbolsOf(l).CurrencyLabel, "");
  }
}

}  // namespace
}  // namespace qv
