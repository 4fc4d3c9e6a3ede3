#include "calculators/depreciation.h"

#include <cmath>
#include <optional>

#include "calculators/calculator_numbers.h"
#include "platform/string_table.h"

namespace qv {
namespace {

DepreciationSchedule Refusal(const char* message) {
  return {DepreciationSchedule::Status::Refused, message, {}};
}

}  // namespace

DepreciationSchedule ReducingBalanceSchedule(std::string_view cost, std::string_view percent,
                                             std::string_view years, const LocaleInfo& locale) {
  const DecimalText yearsRead = ReadCalculatorNumber(years, locale);
  const DecimalText costRead = ReadCalculatorNumber(cost, locale);
  const DecimalText percentRead = ReadCalculatorNumber(percent, locale);
  if (yearsRead.Kind != DecimalTextKind::Value) return Refusal(kDepreciationYearsText);
  const double yearCount = ToDouble(yearsRead.Value);
  if (yearCount < 1) return {};
  if (yearCount > 2 * kMaxDepreciationYears) return Refusal(kDepreciationYearsText);
  const long n = std::lrint(yearCount - 1);  // halves to even
  if (n + 1 > kMaxDepreciationYears) return Refusal(kDepreciationYearsText);
  const std::optional<Amount> first =
      costRead.Kind == DecimalTextKind::Value ? AmountOf(costRead.Value) : std::nullopt;
  if (!first || percentRead.Kind != DecimalTextKind::Value) return Refusal(kDepreciationRangeText);

  DepreciationSchedule schedule{DepreciationSchedule::Status::Done, {}, {}};
  schedule.Rows.reserve(static_cast<std::size_t>(n) + 1);
  std::optional<Amount> bookValue = first;
  // The rate is the typed percent over 100 exactly: every figure is the exact decimal
  // result, rounded.
  for (long i = 0; i <= n; ++i) {
    if (i > 0) bookValue = CheckedSub(*bookValue, schedule.Rows.back().YearDepreciation);
    const std::optional<Amount> depreciation =
        bookValue ? AmountTimesPercent(*bookValue, percentRead.Value) : std::nullopt;
    if (!depreciation) return Refusal(kDepreciationRangeText);
    schedule.Rows.push_back({*bookValue, *depreciation});
  }
  return schedule;
}

std::string YearCaption(int row) { return Str(218) + " " + std::to_string(row + 1) + ":"; }

std::string RateCaption(std::string_view percentText) {
  return "x " + std::string(percentText) + "% =";
}

std::string ScheduleAmountText(Amount amount, int decimals, const LocaleInfo& locale) {
  AmountStyle style = LocaleAmountStyle(decimals, locale);
  style.parentheses = false;
  return FormatAmount(amount, style);
}

}  // namespace qv
