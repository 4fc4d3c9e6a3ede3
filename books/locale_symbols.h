#pragma once
// What the entry window takes from the locale at start-up beside the LocaleInfo itself:
// the currency label, the caption beside the debit and credit amounts.

#include <string>

#include "platform/locale_info.h"

namespace qv {

struct LocaleSymbols {
  std::string CurrencyLabel;  // see CurrencyLabelText
};

LocaleSymbols LocaleSymbolsOf(const LocaleInfo& locale);

// One character of the currency sign, read from zero written as currency: its first
// character, or its last one when the text starts with a digit (a sign written after the
// number); blanks, direction marks and trailing full stops are passed over ("0 kr" gives
// "r", "0 лв." gives "в"). When that finds no sign, the first character of the currency
// symbol; "" when the locale has none.
std::string CurrencySignOf(const LocaleInfo& locale);

// The caption beside the amounts: the sign followed by " :" ("$ :", "€ :"), or "" when
// the locale has no currency sign.
std::string CurrencyLabelText(const LocaleInfo& locale);

}  // namespace qv
