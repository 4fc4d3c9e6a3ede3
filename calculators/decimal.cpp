#include "calculators/decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>

#include "platform/utf8.h"

namespace qv {
namespace {

__extension__ typedef unsigned __int128 U128;

// ---- A fixed-width unsigned integer for the exact intermediate results: the product of two
// mantissas (192 bits), a mantissa aligned by up to 28 decimals (190 bits) and a dividend
// carried to 28 decimals (up to 282 bits) all fit in 384 bits.

constexpr int kLimbs = 12;  // 32-bit limbs, least significant first

struct Wide {
  std::array<uint32_t, kLimbs> d{};
};

Wide WideOf(U128 v) {
  Wide w;
  for (int i = 0; i < 4; ++i)
    w.d[static_cast<std::size_t>(i)] = static_cast<uint32_t>(v >> (32 * i));
  return w;
}

// The number of limbs in use.
int Length(const Wide& w) {
  int n = kLimbs;
  while (n > 0 && w.d[static_cast<std::size_t>(n - 1)] == 0) --n;
  return n;
}

int BitLength(const Wide& w) {
  const int n = Length(w);
  if (n == 0) return 0;
  return 32 * n - __builtin_clz(w.d[static_cast<std::size_t>(n - 1)]);
}

bool FitsMantissa(const Wide& w) {
  for (std::size_t i = 3; i < kLimbs; ++i)
    if (w.d[i] != 0) return false;
  return true;
}

U128 Low128(const Wide& w) {
  U128 v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 32) | w.d[static_cast<std::size_t>(i)];
  return v;
}

int Compare(const Wide& a, const Wide& b) {
  for (int i = kLimbs - 1; i >= 0; --i) {
    const auto k = static_cast<std::size_t>(i);
    if (a.d[k] != b.d[k]) return a.d[k] < b.d[k] ? -1 : 1;
  }
  return 0;
}

// a + b; the caller keeps the sum within 384 bits.
Wide Sum(const Wide& a, const Wide& b) {
  Wide out;
  uint64_t carry = 0;
  for (std::size_t i = 0; i < kLimbs; ++i) {
    const uint64_t t = uint64_t{a.d[i]} + b.d[i] + carry;
    out.d[i] = static_cast<uint32_t>(t);
    carry = t >> 32;
  }
  return out;
}

// a - b for a >= b.
Wide Difference(const Wide& a, const Wide& b) {
  Wide out;
  uint64_t borrow = 0;
  for (std::size_t i = 0; i < kLimbs; ++i) {
    const uint64_t t = uint64_t{a.d[i]} - b.d[i] - borrow;
    out.d[i] = static_cast<uint32_t>(t);
    borrow = (t >> 32) & 1;
  }
  return out;
}

// a x b, cut to 384 bits; the callers' products always fit.
Wide Product(const Wide& a, const Wide& b) {
  Wide out;
  const int na = Length(a);
  const int nb = Length(b);
  for (int i = 0; i < na; ++i) {
    uint64_t carry = 0;
    for (int j = 0; j < nb && i + j < kLimbs; ++j) {
      const auto k = static_cast<std::size_t>(i + j);
      const uint64_t t =
          uint64_t{a.d[static_cast<std::size_t>(i)]} * b.d[static_cast<std::size_t>(j)] + out.d[k] +
          carry;
      out.d[k] = static_cast<uint32_t>(t);
      carry = t >> 32;
    }
    if (i + nb < kLimbs) out.d[static_cast<std::size_t>(i + nb)] = static_cast<uint32_t>(carry);
  }
  return out;
}

// 10^k for k = 0 to 60.
const Wide& Pow10(int k) {
  static const std::array<Wide, 61> table = [] {
    std::array<Wide, 61> t;
    t[0] = WideOf(1);
    const Wide ten = WideOf(10);
    for (std::size_t i = 1; i < t.size(); ++i) t[i] = Product(t[i - 1], ten);
    return t;
  }();
  return table[static_cast<std::size_t>(k)];
}

// 10^k for k = 0 to 38, the powers that fit in 128 bits.
U128 Pow10Small(int k) {
  static constexpr std::array<U128, 39> table = [] {
    std::array<U128, 39> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i) t[i] = t[i - 1] * 10;
    return t;
  }();
  return table[static_cast<std::size_t>(k)];
}

// Quotient and remainder of u / v (v not zero): long division on 32-bit digits with the
// divisor normalised so that each quotient digit is estimated from the top two digits.
void DivMod(const Wide& u, const Wide& v, Wide& q, Wide& r) {
  q = Wide();
  r = Wide();
  const int m = Length(u);
  const int n = Length(v);
  if (m < n) {
    r = u;
    return;
  }
  if (n == 1) {
    const uint64_t divisor = v.d[0];
    uint64_t rem = 0;
    for (int j = m - 1; j >= 0; --j) {
      const auto k = static_cast<std::size_t>(j);
      const uint64_t cur = (rem << 32) | u.d[k];
      q.d[k] = static_cast<uint32_t>(cur / divisor);
      rem = cur % divisor;
    }
    r.d[0] = static_cast<uint32_t>(rem);
    return;
  }
  const int s = __builtin_clz(v.d[static_cast<std::size_t>(n - 1)]);
  auto shifted = [s](uint32_t hi, uint32_t lo) {
    return s == 0 ? hi : static_cast<uint32_t>((hi << s) | (lo >> (32 - s)));
  };
  std::array<uint32_t, kLimbs> vn{};
  std::array<uint32_t, kLimbs + 1> un{};
  for (int i = n - 1; i > 0; --i)
    vn[static_cast<std::size_t>(i)] =
        shifted(v.d[static_cast<std::size_t>(i)], v.d[static_cast<std::size_t>(i - 1)]);
  vn[0] = v.d[0] << s;
  un[static_cast<std::size_t>(m)] = shifted(0, u.d[static_cast<std::size_t>(m - 1)]);
  for (int i = m - 1; i > 0; --i)
    un[static_cast<std::size_t>(i)] =
        shifted(u.d[static_cast<std::size_t>(i)], u.d[static_cast<std::size_t>(i - 1)]);
  un[0] = u.d[0] << s;

  constexpr uint64_t kBase = uint64_t{1} << 32;
  const uint64_t top = vn[static_cast<std::size_t>(n - 1)];
  const uint64_t next = vn[static_cast<std::size_t>(n - 2)];
  for (int j = m - n; j >= 0; --j) {
    const auto jn = static_cast<std::size_t>(j + n);
    const uint64_t num = (uint64_t{un[jn]} << 32) | un[jn - 1];
    uint64_t qhat = num / top;
    uint64_t rhat = num % top;
    while (qhat >= kBase || qhat * next > ((rhat << 32) | un[jn - 2])) {
      --qhat;
      rhat += top;
      if (rhat >= kBase) break;
    }
    // un[j .. j+n] -= qhat x vn.
    int64_t borrow = 0;
    for (int i = 0; i < n; ++i) {
      const auto k = static_cast<std::size_t>(i + j);
      const uint64_t p = qhat * vn[static_cast<std::size_t>(i)];
      const int64_t t =
          static_cast<int64_t>(un[k]) - borrow - static_cast<int64_t>(p & 0xFFFFFFFFu);
      un[k] = static_cast<uint32_t>(t);
      borrow = static_cast<int64_t>(p >> 32) - (t >> 32);
    }
    const int64_t t = static_cast<int64_t>(un[jn]) - borrow;
    un[jn] = static_cast<uint32_t>(t);
    if (t < 0) {  // qhat was one too large: add the divisor back
      --qhat;
      uint64_t carry = 0;
      for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i + j);
        const uint64_t sum = uint64_t{un[k]} + vn[static_cast<std::size_t>(i)] + carry;
        un[k] = static_cast<uint32_t>(sum);
        carry = sum >> 32;
      }
      un[jn] = static_cast<uint32_t>(un[jn] + carry);
    }
    q.d[static_cast<std::size_t>(j)] = static_cast<uint32_t>(qhat);
  }
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    r.d[k] =
        s == 0 ? un[k] : static_cast<uint32_t>((un[k] >> s) | (uint64_t{un[k + 1]} << (32 - s)));
  }
}

// n / d (d not zero) rounded to a whole number, halves to even.
Wide RoundedQuotient(const Wide& n, const Wide& d) {
  Wide q;
  Wide r;
  DivMod(n, d, q, r);
  const int half = Compare(Sum(r, r), d);
  if (half > 0 || (half == 0 && (q.d[0] & 1) != 0)) q = Sum(q, WideOf(1));
  return q;
}

// The value n / d / 10^scale (d not zero) as a Decimal: exact when it fits, else rounded,
// halves to even, at the most decimals that fit; an overflow when not even the whole part
// fits.
DecimalResult Fit(bool negative, const Wide& n, const Wide& d, int scale) {
  int k = std::max(0, scale - Decimal::kMaxScale);
  // Every k below this leaves a quotient of more than 96 bits.
  const int bits = BitLength(n) - BitLength(d) - 97;
  if (bits > 0) k = std::max(k, bits * 30102 / 100000);
  for (;; ++k) {
    if (k > scale) return {Decimal(), DecimalError::Overflow};
    const Wide q = RoundedQuotient(n, k == 0 ? d : Product(d, Pow10(k)));
    if (FitsMantissa(q)) return {Decimal::FromParts(negative, Low128(q), scale - k)};
  }
}

// The magnitude of a, brought to `scale` (>= its own), if it fits in 128 bits.
bool AlignedMantissa(const Decimal& a, int scale, U128& out) {
  const int up = scale - a.Scale();
  if (up == 0) {
    out = a.Digits();
    return true;
  }
  return up < 39 && !__builtin_mul_overflow(a.Digits(), Pow10Small(up), &out);
}

DecimalResult AddSigned(const Decimal& a, const Decimal& b, bool negateB) {
  const bool bNegative = b.IsNegative() != negateB;
  const int scale = std::max(a.Scale(), b.Scale());
  U128 ma;
  U128 mb;
  if (AlignedMantissa(a, scale, ma) && AlignedMantissa(b, scale, mb)) {
    if (a.IsNegative() == bNegative) {
      U128 sum;
      if (!__builtin_add_overflow(ma, mb, &sum)) {
        if (sum <= Decimal::kMaxMantissa) return {Decimal::FromParts(a.IsNegative(), sum, scale)};
        return Fit(a.IsNegative(), WideOf(sum), WideOf(1), scale);
      }
    } else {
      const bool aLarger = ma >= mb;
      const U128 difference = aLarger ? ma - mb : mb - ma;
      const bool negative = aLarger ? a.IsNegative() : bNegative;
      if (difference <= Decimal::kMaxMantissa)
        return {Decimal::FromParts(negative, difference, scale)};
      return Fit(negative, WideOf(difference), WideOf(1), scale);
    }
  }
  // Aligned mantissas beyond 128 bits.
  const Wide wa = Product(WideOf(a.Digits()), Pow10(scale - a.Scale()));
  const Wide wb = Product(WideOf(b.Digits()), Pow10(scale - b.Scale()));
  if (a.IsNegative() == bNegative) return Fit(a.IsNegative(), Sum(wa, wb), WideOf(1), scale);
  if (Compare(wa, wb) >= 0) return Fit(a.IsNegative(), Difference(wa, wb), WideOf(1), scale);
  return Fit(bNegative, Difference(wb, wa), WideOf(1), scale);
}

}  // namespace

Decimal Decimal::FromInt(int64_t value) {
  const uint64_t m =
      value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  return FromParts(value < 0, m, 0);
}

Decimal Decimal::FromAmount(Amount amount) {
  const int64_t raw = amount.Raw();
  const uint64_t m =
      raw < 0 ? uint64_t{0} - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  return FromParts(raw < 0, m, Amount::kDecimals);
}

Decimal Decimal::FromParts(bool negative, Mantissa mantissa, int scale) {
  Decimal d;
  d.mantissa_ = mantissa & kMaxMantissa;
  d.scale_ = static_cast<uint8_t>(std::clamp(scale, 0, kMaxScale));
  d.negative_ = negative && d.mantissa_ != 0;
  return d;
}

Decimal Decimal::Negated() const { return FromParts(!negative_, mantissa_, scale_); }

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  if (a.IsNegative() != b.IsNegative())
    return a.IsNegative() ? std::strong_ordering::less : std::strong_ordering::greater;
  // Same sign: compare the magnitudes, then flip for negatives.
  std::strong_ordering magnitude = std::strong_ordering::equal;
  const int scale = std::max(a.Scale(), b.Scale());
  U128 ma;
  U128 mb;
  const bool fitA = AlignedMantissa(a, scale, ma);
  const bool fitB = AlignedMantissa(b, scale, mb);
  if (fitA && fitB) {
    magnitude = ma <=> mb;
  } else {
    // A mantissa that left 128 bits on alignment is larger than any unaligned one.
    magnitude = fitA ? std::strong_ordering::less : std::strong_ordering::greater;
  }
  if (a.IsNegative()) return 0 <=> magnitude;
  return magnitude;
}

DecimalResult Add(const Decimal& a, const Decimal& b) { return AddSigned(a, b, false); }

DecimalResult Subtract(const Decimal& a, const Decimal& b) { return AddSigned(a, b, true); }

DecimalResult Multiply(const Decimal& a, const Decimal& b) {
  const bool negative = a.IsNegative() != b.IsNegative();
  const int scale = a.Scale() + b.Scale();
  U128 product;
  if (scale <= Decimal::kMaxScale && !__builtin_mul_overflow(a.Digits(), b.Digits(), &product) &&
      product <= Decimal::kMaxMantissa)
    return {Decimal::FromParts(negative, product, scale)};
  return Fit(negative, Product(WideOf(a.Digits()), WideOf(b.Digits())), WideOf(1), scale);
}

DecimalResult MultiplyRounded(const Decimal& a, const Decimal& b, int shift, int places) {
  shift = std::clamp(shift, 0, 4);
  places = std::clamp(places, 0, Decimal::kMaxScale);
  // The exact product is digits / 10^scale, at most 192 bits over at most 10^60.
  const int scale = a.Scale() + b.Scale() + shift;
  Wide digits = Product(WideOf(a.Digits()), WideOf(b.Digits()));
  if (scale < places)
    digits = Product(digits, Pow10(places - scale));
  else if (scale > places)
    digits = RoundedQuotient(digits, Pow10(scale - places));
  if (!FitsMantissa(digits)) return {Decimal(), DecimalError::Overflow};
  return {Decimal::FromParts(a.IsNegative() != b.IsNegative(), Low128(digits), places)};
}

DecimalResult Divide(const Decimal& a, const Decimal& b) {
  if (b.IsZero()) return {Decimal(), DecimalError::DivideByZero};
  if (a.IsZero()) return {Decimal()};
  // a / b at 28 decimals = a.digits x 10^(28 + b.scale - a.scale) / b.digits.
  const int up = Decimal::kMaxScale + b.Scale() - a.Scale();
  const Wide n = Product(WideOf(a.Digits()), Pow10(up));
  DecimalResult result =
      Fit(a.IsNegative() != b.IsNegative(), n, WideOf(b.Digits()), Decimal::kMaxScale);
  if (!result.Ok()) return result;
  // The quotient carries no trailing zeros: 1 / 4 is 0.25, not 0.2500...
  U128 m = result.Value.Digits();
  int scale = result.Value.Scale();
  while (scale > 0 && m % 10 == 0) {
    m /= 10;
    --scale;
  }
  return {Decimal::FromParts(result.Value.IsNegative(), m, scale)};
}

// ---- Texts.

namespace {

// Digits with at most one decimal point, read into a Decimal, rounded once, halves to
// even, when they hold more than it can. `point` is the position of the decimal point among the
// digits (digits.size() when there is none).
DecimalText DecimalOfDigits(bool negative, std::string_view digits, std::size_t point) {
  // Leading zeros carry nothing.
  std::size_t first = 0;
  while (first < digits.size() && digits[first] == '0') ++first;
  const std::size_t wholeDigits = point > first ? point - first : 0;
  if (wholeDigits > 29) return {DecimalTextKind::Overflow, Decimal()};
  // The value is digits[first..] / 10^(digits.size() - point); 28 decimals are taken.
  const std::size_t decimals = digits.size() - point;
  const std::size_t keptDecimals = std::min<std::size_t>(decimals, Decimal::kMaxScale);
  const std::size_t kept = point + keptDecimals;  // digits[0..kept) are taken
  Wide n;
  const Wide ten = WideOf(10);
  for (std::size_t i = first; i < kept; ++i)
    n = Sum(Product(n, ten), WideOf(static_cast<unsigned>(digits[i] - '0')));
  // Beyond the 28th decimal only the next digit and whether any other digit follows can
  // decide a rounding at 28 decimals or fewer, so the rest is kept as one digit 1.
  int scale = static_cast<int>(keptDecimals);
  if (kept < digits.size()) {
    const bool restNonZero = digits.find_first_not_of('0', kept + 1) != std::string_view::npos;
    n = Sum(Product(n, WideOf(100)),
            WideOf(static_cast<unsigned>((digits[kept] - '0') * 10 + (restNonZero ? 1 : 0))));
    scale += 2;
  }
  const DecimalResult fitted = Fit(negative, n, WideOf(1), scale);
  if (!fitted.Ok()) return {DecimalTextKind::Overflow, Decimal()};
  return {DecimalTextKind::Value, fitted.Value};
}

}  // namespace

DecimalText ReadDecimalText(std::string_view text, std::string_view decimalSymbol) {
  if (decimalSymbol.empty()) decimalSymbol = ".";
  text = TrimAny(text, " \t");
  bool negative = false;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    negative = true;
    text = TrimAny(text.substr(1, text.size() - 2), " \t");
  } else if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text = TrimAny(text.substr(1), " \t");
  } else if (!text.empty() && (text.back() == '-' || text.back() == '+')) {
    negative = text.back() == '-';
    text = TrimAny(text.substr(0, text.size() - 1), " \t");
  }
  std::string digits;
  digits.reserve(text.size());
  std::size_t point = std::string::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    if (c >= '0' && c <= '9') {
      digits += c;
      ++pos;
    } else if (text.substr(pos).starts_with(decimalSymbol) && point == std::string::npos) {
      point = digits.size();
      pos += decimalSymbol.size();
    } else {
      return {DecimalTextKind::Unreadable, Decimal()};
    }
  }
  if (digits.empty()) return {DecimalTextKind::Unreadable, Decimal()};
  return DecimalOfDigits(negative, digits, point == std::string::npos ? digits.size() : point);
}

DecimalText LeadingDecimal(std::string_view text, std::string_view decimalSymbol) {
  if (decimalSymbol.empty()) decimalSymbol = ".";
  std::string digits;
  std::size_t point = std::string::npos;
  bool negative = false;
  bool started = false;  // a sign, digit or point was read
  std::size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  };
  for (skipBlanks(); pos < text.size(); skipBlanks()) {
    const char c = text[pos];
    if ((c == '-' || c == '+') && !started) {
      negative = c == '-';
      ++pos;
    } else if (c >= '0' && c <= '9') {
      digits += c;
      ++pos;
    } else if (point == std::string::npos &&
               (c == '.' || text.substr(pos).starts_with(decimalSymbol))) {
      point = digits.size();
      pos += c == '.' ? 1 : decimalSymbol.size();
    } else {
      break;
    }
    started = true;
  }
  if (digits.empty()) return {DecimalTextKind::Value, Decimal()};
  if (point == std::string::npos) point = digits.size();
  // An exponent: E or D, an optional sign and digits, which move the decimal point.
  if (pos < text.size() && std::string_view("eEdD").find(text[pos]) != std::string_view::npos) {
    ++pos;
    skipBlanks();
    bool down = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) down = text[pos++] == '-';
    long exponent = 0;
    for (skipBlanks(); pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; skipBlanks())
      exponent = std::min(exponent * 10 + (text[pos++] - '0'), 1000L);
    if (down) {
      // Every digit moves behind the point; past 60 decimals nothing is left to round.
      const auto shift = static_cast<std::size_t>(std::min(exponent, 100L));
      if (shift > point) {
        digits.insert(0, shift - point, '0');
        point = 0;
      } else {
        point -= shift;
      }
    } else {
      const auto shift = static_cast<std::size_t>(std::min(exponent, 100L));
      if (point + shift > digits.size()) digits.append(point + shift - digits.size(), '0');
      point += shift;
    }
  }
  return DecimalOfDigits(negative, digits, point);
}

Decimal RoundHalfEven(const Decimal& value, int places) {
  places = std::clamp(places, 0, Decimal::kMaxScale);
  if (value.Scale() <= places) return value;
  const U128 div = Pow10Small(value.Scale() - places);
  U128 q = value.Digits() / div;
  const U128 twice = value.Digits() % div * 2;
  if (twice > div || (twice == div && q % 2 != 0)) ++q;
  return Decimal::FromParts(value.IsNegative(), q, places);
}

double ToDouble(const Decimal& value) {
  const std::string text = PlainDecimalText(value);
  double out = 0;
  std::from_chars(text.data(), text.data() + text.size(), out);
  return out;
}

namespace {

std::string DigitsOf(U128 v) {
  if (v == 0) return "0";
  std::string out;
  while (v != 0) {
    out += static_cast<char>('0' + static_cast<int>(v % 10));
    v /= 10;
  }
  std::reverse(out.begin(), out.end());
  return out;
}

// The whole part and `scale` decimals of a mantissa, as digit texts.
void SplitDigits(U128 mantissa, int scale, std::string& whole, std::string& decimals) {
  std::string all = DigitsOf(mantissa);
  const auto s = static_cast<std::size_t>(scale);
  if (all.size() <= s) all.insert(0, s + 1 - all.size(), '0');
  whole = all.substr(0, all.size() - s);
  decimals = all.substr(all.size() - s);
}

}  // namespace

std::string PlainDecimalText(const Decimal& value, std::string_view decimalSymbol) {
  std::string whole;
  std::string decimals;
  SplitDigits(value.Digits(), value.Scale(), whole, decimals);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  std::string out = value.IsNegative() ? "-" : "";
  out += whole;
  if (!decimals.empty()) {
    out += decimalSymbol;
    out += decimals;
  }
  return out;
}

std::string FormatDecimal(const Decimal& value, const AmountStyle& style) {
  const int places = std::clamp(style.decimals, 0, Decimal::kMaxScale);
  U128 m = value.Digits();
  int scale = value.Scale();
  if (scale > places) {
    // Halves away from zero; the rounded magnitude never exceeds 96 bits plus one digit.
    const U128 div = Pow10Small(scale - places);
    const U128 rest = m % div;
    m /= div;
    if (rest * 2 >= div) ++m;
    scale = places;
  }
  std::string whole;
  std::string decimals;
  SplitDigits(m, scale, whole, decimals);
  decimals.append(static_cast<std::size_t>(places - scale), '0');
  std::string body;
  if (whole != "0" || style.zeroBeforePoint || places == 0)
    body = GroupedDigits(whole, style.group);
  if (places > 0) {
    body += style.decimalSymbol;
    body += decimals;
  }
  if (value.IsNegative() && m != 0) return style.parentheses ? "(" + body + ")" : "-" + body;
  return body;
}

}  // namespace qv
