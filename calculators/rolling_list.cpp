#include "calculators/rolling_list.h"

#include <algorithm>

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

// The numbers above zero among the values, ascending.
std::vector<Decimal> PositiveAscending(const std::vector<RollValue>& values) {
  std::vector<Decimal> sorted;
  for (const RollValue& value : values)
    if (value.IsNumber() && value.Value > Decimal()) sorted.push_back(value.Value);
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

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

std::string Middle(const std::vector<Decimal>& sorted, const RollSymbols& symbols) {
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

std::string MostFrequent(const std::vector<Decimal>& sorted, const RollSymbols& symbols) {
  if (sorted.empty()) return kModeLabel;
  std::size_t best = 0;
  std::size_t run = 0;
  Decimal mode;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i > 0 && sorted[i] == sorted[i - 1]) {
      ++run;
      continue;
    }
    if (run > best) {
      best = run;
      mode = sorted[i - 1];
    }
    run = 1;
  }
  if (run > best) mode = sorted.back();
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
      const std::vector<Decimal> sorted = PositiveAscending(RollValues);
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
  const std::vector<Decimal> kept = PositiveAscending(values);
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = i < kept.size() ? RollValue::Of(kept[i]) : RollValue::Zero();
  count = static_cast<int32_t>(kept.size()) - 1;
}

}  // namespace qv
