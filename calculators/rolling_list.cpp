#include "calculators/rolling_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace qv {
namespace {

constexpr const char* kOverflowText = "Overflow";
constexpr const char* kErrorText = "Error";
constexpr const char* kAverageLabel = "Average : ";
constexpr const char* kMeanLabel = "Mean : ";
constexpr const char* kModeLabel = "Mode : ";

// The last failure met while computing, which names the failed result.
class Failure {
 public:
  void Note(DecimalError error) {
    if (error == DecimalError::Overflow) last_ = Kind::Overflow;
    if (error == DecimalError::DivideByZero) last_ = Kind::Other;
  }
  void Note(const RollValue& value) {
    if (value.kind == RollValue::Kind::TooLarge) last_ = Kind::Overflow;
    if (value.kind == RollValue::Kind::Unreadable) last_ = Kind::Other;
  }
  bool Any() const { return last_ != Kind::None; }
  const char* Text() const { return last_ == Kind::Overflow ? kOverflowText : kErrorText; }

 private:
  enum class Kind { None, Overflow, Other };
  Kind last_ = Kind::None;
};

// A value near the number, for ordering numbers that are far apart without their exact
// comparison: the mantissa and the power of ten each rounded once, so it is off by a few
// units in the last place at most.
double Approximately(const Decimal& value) {
  static const std::array<double, Decimal::kMaxScale + 1> kPowers = [] {
    std::array<double, Decimal::kMaxScale + 1> p{};
    double ten = 1;
    for (double& v : p) {
      v = ten;
      ten *= 10;
    }
    return p;
  }();
  const double magnitude =
      static_cast<double>(value.Digits()) / kPowers[static_cast<std::size_t>(value.Scale())];
  return value.IsNegative() ? -magnitude : magnitude;
}

// The numbers above zero among some values, in ascending order. Each number's place is
// sorted with the bits of its approximation, which as an unsigned number keep the order of
// positive doubles: a radix sort, a byte a pass from the lowest, skipping bytes that all
// share. A number of at most 15 digits and 22 decimals is faithful: its approximation is
// its value correctly rounded, which keeps the order of such numbers and tells them all
// apart. Runs of numbers whose approximations lie within a millionth of a millionth of
// each other, some of them not faithful, are then put in their exact order.
class AscendingPositives {
 public:
  explicit AscendingPositives(const std::vector<RollValue>& values) {
    for (const RollValue& value : values)
      if (value.IsNumber() && !value.Value.IsNegative() && !value.Value.IsZero())
        positive_.push_back(value.Value);
    keys_.resize(positive_.size());
    for (std::size_t i = 0; i < positive_.size(); ++i) {
      const Decimal& d = positive_[i];
      keys_[i] = {std::bit_cast<uint64_t>(Approximately(d)), static_cast<uint32_t>(i),
                  d.Digits() < 1'000'000'000'000'000 && d.Scale() <= 22};
    }
    std::vector<Key> buffer(keys_.size());
    for (int shift = 0; shift < 64 && !keys_.empty(); shift += 8) {
      std::array<std::size_t, 257> start{};
      for (const Key& k : keys_) ++start[((k.bits >> shift) & 0xFF) + 1];
      if (start[((keys_[0].bits >> shift) & 0xFF) + 1] == keys_.size()) continue;
      for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
      for (const Key& k : keys_) buffer[start[(k.bits >> shift) & 0xFF]++] = k;
      keys_.swap(buffer);
    }
    const auto exactly = [this](const Key& a, const Key& b) {
      return positive_[a.index] < positive_[b.index];
    };
    for (std::size_t first = 0; first < keys_.size();) {
      std::size_t last = first + 1;
      bool faithful = keys_[first].faithful;
      for (; last < keys_.size() && Near(last); ++last) faithful = faithful && keys_[last].faithful;
      if (!faithful) std::sort(keys_.begin() + first, keys_.begin() + last, exactly);
      first = last;
    }
  }

  std::size_t size() const { return keys_.size(); }
  bool empty() const { return keys_.empty(); }
  const Decimal& operator[](std::size_t i) const { return positive_[keys_[i].index]; }
  // Whether number i equals the one before it.
  bool SameAsPrevious(std::size_t i) const {
    if (keys_[i].faithful && keys_[i - 1].faithful) return keys_[i].bits == keys_[i - 1].bits;
    return Near(i) && (*this)[i] == (*this)[i - 1];
  }

 private:
  struct Key {
    uint64_t bits;
    uint32_t index;
    bool faithful;
  };
  double Approximation(std::size_t i) const { return std::bit_cast<double>(keys_[i].bits); }
  bool Near(std::size_t i) const {
    return Approximation(i) - Approximation(i - 1) <= 1e-12 * Approximation(i);
  }

  std::vector<Decimal> positive_;
  std::vector<Key> keys_;
};

AmountStyle TotalStyle(int decimals, const RollSymbols& symbols) {
  return AmountStyle{.decimals = decimals,
                     .decimalSymbol = symbols.Decimal,
                     .group = symbols.Grouping,
                     .parentheses = true,
                     .zeroBeforePoint = false};
}

std::string RunningTotal(const RollingList& list, const RollSymbols& symbols) {
  Decimal total;
  Failure failure;
  const std::size_t n = std::min(list.RollValues.size(), list.RollOps.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char op = list.RollOps[i];
    if (!IsRollOperator(op)) continue;
    const RollValue& value = list.RollValues[i];
    if (value.Failed()) {
      failure.Note(value);
      continue;
    }
    const Decimal& v = value.Value;  // an empty row holds 0
    const DecimalResult r = op == '+'   ? Add(total, v)
                            : op == '-' ? Subtract(total, v)
                            : op == 'x' ? Multiply(total, v)
                                        : Divide(total, v);
    if (r.Ok()) {
      total = r.Value;
    } else {
      failure.Note(r.Error);
    }
  }
  if (failure.Any()) return failure.Text();
  if (list.RollDecimals == kVariableDecimals) return PlainDecimalText(total, symbols.Decimal);
  return FormatDecimal(total, TotalStyle(list.RollDecimals, symbols));
}

std::string Average(const RollingList& list, const RollSymbols& symbols) {
  Decimal sum;
  int64_t count = 0;
  Failure failure;
  for (const RollValue& value : list.RollValues) {
    failure.Note(value);
    if (!value.IsNumber() || value.Value.IsZero()) continue;
    const DecimalResult r = Add(sum, value.Value);
    failure.Note(r.Error);
    if (r.Ok()) sum = r.Value;
    ++count;
  }
  if (failure.Any()) return failure.Text();
  if (count == 0) return kAverageLabel;
  // The quotient of a sum that fits by a count of one or more always fits.
  return kAverageLabel +
         PlainDecimalText(Divide(sum, Decimal::FromInt(count)).Value, symbols.Decimal);
}

std::string Middle(const AscendingPositives& sorted, const RollSymbols& symbols) {
  if (sorted.empty()) return kMeanLabel;
  const std::size_t last = sorted.size() - 1;
  const std::size_t k = last / 2;
  Decimal middle = sorted[k];
  if (last % 2 == 1) {
    // Half the gap to the next value: never beyond either value, so no step can fail.
    const Decimal gap = Subtract(sorted[k + 1], sorted[k]).Value;
    middle = Add(sorted[k], Divide(gap, Decimal::FromInt(2)).Value).Value;
  }
  return kMeanLabel + PlainDecimalText(middle, symbols.Decimal);
}

std::string MostFrequent(const AscendingPositives& sorted, const RollSymbols& symbols) {
  if (sorted.empty()) return kModeLabel;
  std::size_t best = 0;
  std::size_t run = 0;
  Decimal mode;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i > 0 && sorted.SameAsPrevious(i)) {
      ++run;
      continue;
    }
    if (run > best) {
      best = run;
      mode = sorted[i - 1];
    }
    run = 1;
  }
  if (run > best) mode = sorted[sorted.size() - 1];
  return kModeLabel + PlainDecimalText(mode, symbols.Decimal);
}

}  // namespace

RollValue RollValue::Read(const DecimalText& read, std::string_view text) {
  switch (read.Kind) {
    case DecimalTextKind::Value: return Of(read.Value);
    case DecimalTextKind::Overflow: return {Kind::TooLarge, Decimal(), std::string(text)};
    case DecimalTextKind::Unreadable: break;
  }
  return {Kind::Unreadable, Decimal(), std::string(text)};
}

bool IsRollOperator(char op) { return op == '+' || op == '-' || op == 'x' || op == '/'; }

char NextRollOperator(char op) {
  switch (op) {
    case '+': return '-';
    case '-': return 'x';
    case 'x': return '/';
    case '/': return '+';
    default: return op;
  }
}

std::string RollingList::MailCalc(const RollSymbols& symbols) const {
  switch (RollMode) {
    case kRunningTotal: return RunningTotal(*this, symbols);
    case kAverage: return Average(*this, symbols);
    case kMiddleValue:
    case kMostFrequent: {
      Failure failure;
      for (const RollValue& value : RollValues) failure.Note(value);
      if (failure.Any()) return failure.Text();
      const AscendingPositives sorted(RollValues);
      return RollMode == kMiddleValue ? Middle(sorted, symbols) : MostFrequent(sorted, symbols);
    }
    default: return {};
  }
}

std::string RollingList::ValueText(const RollValue& value, const RollSymbols& symbols) const {
  if (value.Failed()) return value.Text;
  if (value.kind == RollValue::Kind::Empty) return {};
  if (RollDecimals == kVariableDecimals) return PlainDecimalText(value.Value, symbols.Decimal);
  return FormatDecimal(value.Value, TotalStyle(RollDecimals, symbols));
}

void Selectionsort(std::vector<RollValue>& values, int32_t& count) {
  const AscendingPositives kept(values);
  std::vector<RollValue> sorted(values.size(), RollValue::Zero());
  for (std::size_t i = 0; i < kept.size(); ++i) sorted[i] = RollValue::Of(kept[i]);
  values.swap(sorted);
  count = static_cast<int32_t>(kept.size()) - 1;
}

}  // namespace qv
