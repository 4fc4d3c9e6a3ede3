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

TEST(LocaleSymbolsTest, LabelTakesOneCharacterOfTheSign) {
  struct Case {
    const char* zero;
    const char* symbol;
    const char* label;
  };
  for (const Case& c : {
           Case{"$0.00", "$", "$ :"}, Case{"0,00 €", "€", "€ :"}, Case{"€ 0,00", "€", "€ :"},
           Case{"R$ 0,00", "R$", "R :"},                                      // sign before: first
           Case{"0.00 CHF", "CHF", "F :"},                                    // sign after: last
           Case{"0,00\u00A0kr", "kr", "r :"},                                 // no-break space
           Case{"0,00 лв.", "лв.", "в :"},                                    // closing full stop
           Case{"\u0660\u066B\u0660\u0660 ج.م.\u200F", "ج.م.\u200F", "م :"},  // Arabic digits
           Case{"\u200E\u0631\u06CC\u0627\u0644 \u06F0", "ریال", "ر :"},      // leading mark
           Case{"0.00", "CHF", "C :"},  // zero shows no sign: the symbol's first character
       })
    EXPECT_EQ(CurrencyLabelText(Currency(c.zero, c.symbol)), c.label) << c.zero;
}

TEST(LocaleSymbolsTest, NoCurrencyGivesNoSignAndNoLabel) {
  for (const LocaleInfo& l :
       {Currency("0.00", ""), Currency("0", ""), Currency("", ""), Currency(" ", " ")}) {
    EXPECT_EQ(CurrencySignOf(l), "");
    EXPECT_EQ(LocaleSymbolsOf(l).CurrencyLabel, "");
  }
}

}  // namespace
}  // namespace qv
