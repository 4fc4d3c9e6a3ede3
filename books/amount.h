#pragma once
// Money and folios: a fixed-point value with four decimals held in a 64-bit integer
// (the value times 10000). Sums are checked: an overflow is reported, never wrapped.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale_info.h"

namespace qv {

class Amount {
 public:
  static constexpr int64_t kScale = 10000;
  static constexpr int kDecimals = 4;

  constexpr Amount() = default;
  // The value whose scaled integer is `raw` (Amount::FromRaw(15000) is 1.5).
  static constexpr Amount FromRaw(int64_t raw) { return Amount(raw); }
  // A whole number of units (Amount::FromUnits(110) is 110.0000). The caller keeps the
  // value within ±922337203685477.
  static constexpr Amount FromUnits(int64_t units) { return Amount(units * kScale); }

  constexpr int64_t Raw() const { return raw_; }
  constexpr bool IsZero() const { return raw_ == 0; }
  constexpr bool IsNegative() const { return raw_ < 0; }
  // The value as a double, for ratios and display only.
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }

  constexpr auto operator<=>(const Amount&) const = default;

  static constexpr Amount Max() { return Amount(INT64_MAX); }
  static constexpr Amount Min() { return Amount(INT64_MIN); }

 private:
  constexpr explicit Amount(int64_t raw) : raw_(raw) {}
  int64_t raw_ = 0;
};

// A folio is an account number of the same fixed-point type; a fraction marks a
// sub-account (110.1 under 110).
using Folio = Amount;

// a + b, or nothing when the sum leaves the 64-bit range.
std::optional<Amount> CheckedAdd(Amount a, Amount b);
// a - b, or nothing on overflow.
std::optional<Amount> CheckedSub(Amount a, Amount b);
// -a, or nothing for the most negative value.
std::optional<Amount> CheckedNegate(Amount a);
// |a|, or nothing for the most negative value.
std::optional<Amount> CheckedAbs(Amount a);

// A running total that remembers whether it ever overflowed.
class AmountSum {
 public:
  void Add(Amount a);
  void Subtract(Amount a);
  bool Overflowed() const { return overflow_; }
  // The total, or nothing once any step overflowed.
  std::optional<Amount> Value() const;

 private:
  int64_t raw_ = 0;
  bool overflow_ = false;
};

// The plain text of a value: "." as the decimal symbol, no grouping, no trailing zeros
// after the point, a leading "-" for negatives ("12.5", "-0.0001", "110"). This is the
// form used in the text and CSV book files and on the entry clipboard.
std::string PlainAmountText(Amount a);

// The plain text with `decimalSymbol` in place of "." (a locale's symbol, or "-" for
// folios shown with dashes).
std::string PlainAmountText(Amount a, std::string_view decimalSymbol);

// Reads a plain text written by PlainAmountText, or any text of the form
// [+|-]digits[.digits] with at most four decimals (more decimals are refused, not
// rounded). Leading and trailing blanks are allowed. Nothing for anything else or a value
// out of range.
std::optional<Amount> ParsePlainAmount(std::string_view text);

// Decimal digits grouped by threes from the right with `group` between the groups
// ("1234567" with "," gives "1,234,567"); the digits unchanged when `group` is empty.
std::string GroupedDigits(const std::string& digits, const std::string& group);

// The value with `decimals` (0 to 4) places, rounded half away from zero, with the given
// decimal symbol and, when `group` is not empty, digit grouping by threes. Negatives are
// written in parentheses when `parentheses` is set, else with a leading "-". With
// `zeroBeforePoint` false a value below 1 has no "0" before the decimal symbol (".50");
// a value that rounds to zero with 0 decimals is always "0".
struct AmountStyle {
  int decimals = 2;
  std::string decimalSymbol = ".";
  std::string group = ",";
  bool parentheses = true;
  bool zeroBeforePoint = true;
};
std::string FormatAmount(Amount a, const AmountStyle& style);

// The style of the locale's number format: its decimal and grouping symbols, negatives in
// parentheses.
AmountStyle LocaleAmountStyle(int decimals, const LocaleInfo& locale, bool zeroBeforePoint = true);

}  // namespace qv
