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

std::optional<Amount> AmountTimesPercent(Amount value, const Decimal& percent) {
  const DecimalResult product =
      MultiplyRounded(Decimal::FromAmount(value), percent, 2, Amount::kDecimals);
  if (!product.Ok()) return std::nullopt;
  return AmountOf(product.Value);
}

}  // namespace qv
