#pragma once
// How the depreciation and payroll calculators read the numbers typed into their boxes:
// in the machine's number format first, else as the number the text starts with, so that
// both "1,234.50" and a "." typed on a machine that writes "," read as meant.

#include <optional>
#include <string_view>

#include "books/amount.h"
#include "calculators/decimal.h"
#include "platform/locale_info.h"

namespace qv {

// A number written in the machine's format: blanks at either end, a sign before or after
// it or parentheses around it, digits grouped by threes with the machine's grouping symbol
// (or not grouped at all), at most one machine's decimal symbol. Anything else, a misplaced
// grouping symbol included ("12.5" where "." groups), is unreadable.
DecimalText ReadLocaleNumber(std::string_view text, const LocaleInfo& locale);

// ReadLocaleNumber, or when the text is not written in that format, the number it starts
// with, read with "." or the machine's decimal symbol as the decimal point (a text without
// a number reads 0). Only a number too large fails.
DecimalText ReadCalculatorNumber(std::string_view text, const LocaleInfo& locale);

// The value as an Amount, rounded to four decimals, halves to even; nothing when it is
// beyond the Amount range.
std::optional<Amount> AmountOf(const Decimal& value);

// A double as an Amount, rounded to `decimals` (0 to 4) places, halves to even; nothing when
// it is not a finite number within the Amount range.
std::optional<Amount> AmountOfDouble(double value, int decimals = Amount::kDecimals);

// `percent` % of `value`, worked out exactly (the rate is percent / 100 as a decimal) and
// rounded to four decimals, halves to even; nothing when it is beyond the Amount range.
std::optional<Amount> AmountTimesPercent(Amount value, const Decimal& percent);

}  // namespace qv
