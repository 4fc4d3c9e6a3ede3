#pragma once
// Decimal: an exact decimal number as the running calculator keeps it, a 96-bit unsigned
// mantissa with a sign and a scale of 0 to 28 decimals (value = mantissa / 10^scale). It
// holds up to 29 significant digits: 79228162514264337593543950335 is the largest
// magnitude, 0.0000000000000000000000000001 the smallest step.
//
// Every operation is checked. A result that is exact and fits is kept exactly; otherwise it
// is rounded, halves to even, to the most decimals (28 at most) that still fit in 96 bits.
// A result whose whole part does not fit is an overflow, and a division by zero is its own
// failure; neither ever yields a value.

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include "books/amount.h"

namespace qv {

enum class DecimalError { None, Overflow, DivideByZero };

class Decimal {
 public:
  __extension__ typedef unsigned __int128 Mantissa;
  static constexpr int kMaxScale = 28;
  // 2^96 - 1.
  static constexpr Mantissa kMaxMantissa = (Mantissa{1} << 96) - 1;

  constexpr Decimal() = default;
  // A whole number.
  static Decimal FromInt(int64_t value);
  // The value of an Amount, exactly (scale 4).
  static Decimal FromAmount(Amount amount);
  // mantissa / 10^scale with the sign; the caller keeps mantissa <= kMaxMantissa and scale
  // within 0..28 (anything else is brought into range: the mantissa cut, the scale clamped).
  static Decimal FromParts(bool negative, Mantissa mantissa, int scale);

  bool IsNegative() const { return negative_; }
  bool IsZero() const { return mantissa_ == 0; }
  int Scale() const { return scale_; }
  Mantissa Digits() const { return mantissa_; }

  // Ordered and compared by value: 1.50 equals 1.5.
  friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);
  friend bool operator==(const Decimal& a, const Decimal& b) {
    return (a <=> b) == std::strong_ordering::equal;
  }

  Decimal Negated() const;

 private:
  bool negative_ = false;  // never set on zero
  uint8_t scale_ = 0;
  Mantissa mantissa_ = 0;
};

// The value of an operation, or why there is none.
struct DecimalResult {
  Decimal Value;
  DecimalError Error = DecimalError::None;
  bool Ok() const { return Error == DecimalError::None; }
};

DecimalResult Add(const Decimal& a, const Decimal& b);
DecimalResult Subtract(const Decimal& a, const Decimal& b);
DecimalResult Multiply(const Decimal& a, const Decimal& b);
DecimalResult Divide(const Decimal& a, const Decimal& b);

// a x b / 10^shift (shift 0 to 4), worked out exactly and rounded once to `places` decimals
// (0 to 28), halves to even: a rate in percent times an amount is (amount, percent, 2, 4).
// An overflow when the rounded result does not fit.
DecimalResult MultiplyRounded(const Decimal& a, const Decimal& b, int shift, int places);

// ---- Texts.

// How a text read as a number came out.
enum class DecimalTextKind {
  Value,       // Value holds the number
  Unreadable,  // the text is not a number
  Overflow,    // a number whose whole part is too large
};
struct DecimalText {
  DecimalTextKind Kind = DecimalTextKind::Unreadable;
  Decimal Value;
};

// A number typed or pasted as a whole: blanks at either end; a sign before or after the
// digits, or the digits in parentheses for a negative number; digits with at most one
// decimal symbol (`decimalSymbol`, "." when empty) and at least one digit (".5" and "5."
// are numbers). Grouping symbols are not read here: callers remove them first. Digits
// beyond the 28th decimal or the mantissa's reach are rounded, halves to even.
DecimalText ReadDecimalText(std::string_view text, std::string_view decimalSymbol);

// The number at the start of a text: blanks are skipped wherever they stand, then an
// optional sign, digits with at most one decimal point ("." or `decimalSymbol`) and an
// optional exponent (E or D, a sign and digits: "1e3" is 1000) are read up to the first
// character that cannot continue the number. A text without a number reads 0; only a number
// too large fails.
DecimalText LeadingDecimal(std::string_view text, std::string_view decimalSymbol = ".");

// The value as a double (the nearest one).
double ToDouble(const Decimal& value);

// The value rounded to `places` decimals (0 to 28), halves to even.
Decimal RoundHalfEven(const Decimal& value, int places);

// The plain form: all the value's digits, no grouping, `decimalSymbol` before the
// decimals, no trailing zeros after it, a leading "-" for negatives ("0.25", "-1234.5",
// "3").
std::string PlainDecimalText(const Decimal& value, std::string_view decimalSymbol = ".");

// The value rounded to `style.decimals` places (0 to 28), halves away from zero, and
// written as FormatAmount writes amounts: grouping, parentheses or "-", and the zero before
// the decimal symbol as the style says.
std::string FormatDecimal(const Decimal& value, const AmountStyle& style);

}  // namespace qv
