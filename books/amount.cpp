#include "books/amount.h"

#include <cstdlib>

#include "platform/utf8.h"

namespace qv {

std::optional<Amount> CheckedAdd(Amount a, Amount b) {
  int64_t r;
  if (__builtin_add_overflow(a.Raw(), b.Raw(), &r)) return std::nullopt;
  return Amount::FromRaw(r);
}

std::optional<Amount> CheckedSub(Amount a, Amount b) {
  int64_t r;
  if (__builtin_sub_overflow(a.Raw(), b.Raw(), &r)) return std::nullopt;
  return Amount::FromRaw(r);
}

std::optional<Amount> CheckedNegate(Amount a) {
  if (a.Raw() == INT64_MIN) return std::nullopt;
  return Amount::FromRaw(-a.Raw());
}

std::optional<Amount> CheckedAbs(Amount a) {
  if (a.Raw() == INT64_MIN) return std::nullopt;
  return Amount::FromRaw(a.Raw() < 0 ? -a.Raw() : a.Raw());
}

void AmountSum::Add(Amount a) {
  if (__builtin_add_overflow(raw_, a.Raw(), &raw_)) overflow_ = true;
}

void AmountSum::Subtract(Amount a) {
  if (__builtin_sub_overflow(raw_, a.Raw(), &raw_)) overflow_ = true;
}

std::optional<Amount> AmountSum::Value() const {
  if (overflow_) return std::nullopt;
  return Amount::FromRaw(raw_);
}

namespace {

constexpr int64_t kPow10[] = {1, 10, 100, 1000, 10000};

int ClampDecimals(int decimals) { return decimals < 0 ? 0 : (decimals > 4 ? 4 : decimals); }

// |raw| as an unsigned value (exact for INT64_MIN too).
uint64_t Magnitude(int64_t raw) {
  return raw < 0 ? static_cast<uint64_t>(0) - static_cast<uint64_t>(raw)
                 : static_cast<uint64_t>(raw);
}

// The magnitude rounded to `decimals` places, halves away from zero, in units of
// 10^-decimals.
uint64_t RoundedMagnitude(int64_t raw, int decimals) {
  const uint64_t div = static_cast<uint64_t>(kPow10[4 - decimals]);
  const uint64_t m = Magnitude(raw);
  uint64_t q = m / div;
  if ((m % div) * 2 >= div && div > 1) ++q;
  return q;
}

std::string Digits(uint64_t v) { return std::to_string(v); }

}  // namespace

std::string GroupedDigits(const std::string& digits, const std::string& group) {
  if (group.empty() || digits.size() <= 3) return digits;
  std::string out;
  const std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  out.append(digits, 0, first);
  for (std::size_t i = first; i < digits.size(); i += 3) {
    out += group;
    out.append(digits, i, 3);
  }
  return out;
}

std::string PlainAmountText(Amount a) {
  const uint64_t m = Magnitude(a.Raw());
  std::string out = a.Raw() < 0 ? "-" : "";
  out += Digits(m / 10000);
  uint64_t frac = m % 10000;
  if (frac != 0) {
    std::string f = Digits(frac);
    f.insert(0, 4 - f.size(), '0');
    while (!f.empty() && f.back() == '0') f.pop_back();
    out += '.';
    out += f;
  }
  return out;
}

std::string PlainAmountText(Amount a, std::string_view decimalSymbol) {
  std::string text = PlainAmountText(a);
  if (decimalSymbol == ".") return text;
  const auto point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, decimalSymbol);
  return text;
}

std::optional<Amount> ParsePlainAmount(std::string_view text) {
  text = TrimAny(text, " \t");
  if (text.empty()) return std::nullopt;
  bool negative = false;
  std::size_t i = 0;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  uint64_t units = 0;
  std::size_t intDigits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++intDigits) {
    if (__builtin_mul_overflow(units, 10, &units) ||
        __builtin_add_overflow(units, static_cast<uint64_t>(text[i] - '0'), &units))
      return std::nullopt;
  }
  uint64_t frac = 0;
  std::size_t fracDigits = 0;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++fracDigits) {
      if (fracDigits == 4) return std::nullopt;
      frac = frac * 10 + static_cast<uint64_t>(text[i] - '0');
    }
  }
  if (i != text.size() || intDigits + fracDigits == 0) return std::nullopt;
  for (std::size_t k = fracDigits; k < 4; ++k) frac *= 10;
  uint64_t raw;
  if (__builtin_mul_overflow(units, 10000, &raw) || __builtin_add_overflow(raw, frac, &raw))
    return std::nullopt;
  const uint64_t limit =
      negative ? static_cast<uint64_t>(INT64_MAX) + 1 : static_cast<uint64_t>(INT64_MAX);
  if (raw > limit) return std::nullopt;
  if (negative) return Amount::FromRaw(static_cast<int64_t>(static_cast<uint64_t>(0) - raw));
  return Amount::FromRaw(static_cast<int64_t>(raw));
}

std::string FormatAmount(Amount a, const AmountStyle& style) {
  const int decimals = ClampDecimals(style.decimals);
  const uint64_t q = RoundedMagnitude(a.Raw(), decimals);
  const uint64_t div = static_cast<uint64_t>(kPow10[decimals]);
  const uint64_t whole = q / div;
  std::string body;
  if (whole != 0 || style.zeroBeforePoint || decimals == 0)
    body = GroupedDigits(Digits(whole), style.group);
  if (decimals > 0) {
    std::string f = Digits(q % div);
    f.insert(0, static_cast<std::size_t>(decimals) - f.size(), '0');
    body += style.decimalSymbol;
    body += f;
  }
  if (a.Raw() < 0 && q != 0) {
    return style.parentheses ? "(" + body + ")" : "-" + body;
  }
  return body;
}

AmountStyle LocaleAmountStyle(int decimals, const LocaleInfo& locale, bool zeroBeforePoint) {
  AmountStyle style;
  style.decimals = decimals;
  style.decimalSymbol = locale.DecimalSymbol;
  style.group = locale.GroupSymbol;
  style.parentheses = true;
  style.zeroBeforePoint = zeroBeforePoint;
  return style;
}

}  // namespace qv
