#include "calculators/calculator_numbers.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/utf8.h"

namespace qv {

DecimalText ReadLocaleNumber(std::string_view text, const LocaleInfo& locale) {
  std::string_view decimal = locale.DecimalSymbol;
  if (decimal.empty()) decimal = ".";
  const std::string_view group = locale.GroupSymbol;
  // The whole part's digits, counted from the last grouping symbol: with grouping, the
  // first group holds 1 to 3 digits and every later one exactly 3.
  std::string plain;
  plain.reserve(text.size());
  const std::string_view trimmed = TrimAny(text, " \t");
  bool grouped = false;
  bool point = false;
  std::size_t run = 0;  // digits since the last grouping symbol
  for (std::size_t pos = 0; pos < trimmed.size();) {
    const char c = trimmed[pos];
    if (c >= '0' && c <= '9') {
      plain += c;
      ++run;
      ++pos;
    } else if (!point && trimmed.substr(pos).starts_with(decimal)) {
      if (grouped && run != 3) return {};
      point = true;
      plain += '.';
      pos += decimal.size();
    } else if (!point && !group.empty() && trimmed.substr(pos).starts_with(group)) {
      if (run == 0 || run > 3 || (grouped && run != 3)) return {};
      grouped = true;
      run = 0;
      pos += group.size();
    } else {
      plain += c;  // a sign or parenthesis, which the decimal reader judges
      run = 0;
      ++pos;
    }
  }
  if (grouped && !point && run != 3) return {};
  return ReadDecimalText(plain, ".");
}

DecimalText ReadCalculatorNumber(std::string_view text, const LocaleInfo& locale) {
  const DecimalText read = ReadLocaleNumber(text, locale);
  if (read.Kind != DecimalTextKind::Unreadable) return read;
  return LeadingDecimal(text, locale.DecimalSymbol);
}

std::optional<Amount> AmountOf(const Decimal& value) {
  const Decimal rounded = RoundHalfEven(value, Amount::kDecimals);
  Decimal::Mantissa raw = rounded.Digits();
  for (int s = rounded.Scale(); s < Amount::kDecimals; ++s) raw *= 10;
  const Decimal::Mantissa limit =
      static_cast<Decimal::Mantissa>(INT64_MAX) + (rounded.IsNegative() ? 1 : 0);
  if (raw > limit) return std::nullopt;
  const auto magnitude = static_cast<uint64_t>(raw);
  return Amount::FromRaw(rounded.IsNegative() ? static_cast<int64_t>(uint64_t{0} - magnitude)
                                              : static_cast<int64_t>(magnitude));
}

std::optional<Amount> AmountOfDouble(double value, int decimals) {
  decimals = std::clamp(decimals, 0, Amount::kDecimals);
  const double scaled = value * std::pow(10.0, decimals);
  // 2^63, the first whole number beyond the 64-bit range, is exactly a double; every double
  // below it converts, and the scaling to four decimals is checked.
  constexpr double kBeyondRange = 9223372036854775808.0;
  if (!std::isfinite(scaled) || !(std::fabs(scaled) < kBeyondRange)) return std::nullopt;
  int64_t raw = std::llrint(scaled);
  for (int d = decimals; d < Amount::kDecimals; ++d)
    if (__builtin_mul_overflow(raw, 10, &raw)) return std::nullopt;
  return Amount::FromRaw(raw);
}

std::optional<Amount> AmountTimesRate(Amount value, double rate) {
  __extension__ typedef unsigned __int128 Wide;
  if (!std::isfinite(rate)) return std::nullopt;
  if (rate == 0 || value.IsZero()) return Amount{};
  // |rate| = mantissa x 2^exponent with a whole mantissa below 2^53.
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(rate), &exponent);
  const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  exponent -= 53;
  const uint64_t magnitude = value.IsNegative() ? uint64_t{0} - static_cast<uint64_t>(value.Raw())
                                                : static_cast<uint64_t>(value.Raw());
  Wide product = Wide{mantissa} * magnitude;  // below 2^117
  if (exponent >= 0) {
    if (exponent >= 64 || product > (Wide{1} << (64 - exponent))) return std::nullopt;
    product <<= exponent;
  } else if (-exponent >= 118) {
    product = 0;  // less than half a ten-thousandth
  } else {
    const int shift = -exponent;
    const Wide whole = product >> shift;
    const Wide rest = product - (whole << shift);
    const Wide half = Wide{1} << (shift - 1);
    product = whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
  }
  const bool negative = (rate < 0) != value.IsNegative();
  const Wide limit = Wide{static_cast<uint64_t>(INT64_MAX)} + (negative ? 1 : 0);
  if (product > limit) return std::nullopt;
  const auto raw = static_cast<uint64_t>(product);
  return Amount::FromRaw(negative ? static_cast<int64_t>(uint64_t{0} - raw)
                                  : static_cast<int64_t>(raw));
}

}  // namespace qv
