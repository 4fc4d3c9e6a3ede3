#pragma once
// The reducing-balance depreciation schedule: from the capital cost of an asset, a yearly
// rate in percent and a number of years, the book value at the start of each year and that
// year's depreciation. Each year's depreciation is rounded to four decimals before the next
// book value is formed, so the rounding carries forward.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "books/amount.h"
#include "platform/locale_info.h"

namespace qv {

// The most years a schedule lists.
inline constexpr int kMaxDepreciationYears = 1000;

// What the Calculate button leaves.
inline constexpr const char* kDepreciationYearsText =
    "A schedule can list at most 1000 years. The schedule shown was kept.";
inline constexpr const char* kDepreciationRangeText =
    "The cost, the rate or the amounts of the schedule are too large to calculate. The "
    "schedule shown was kept.";

struct DepreciationRow {
  Amount BookValue;         // at the start of the year
  Amount YearDepreciation;  // the rate times the book value
  bool operator==(const DepreciationRow&) const = default;
};

struct DepreciationSchedule {
  enum class Status {
    Unchanged,  // fewer than one year: nothing changes
    Refused,    // Message says why; nothing changes
    Done,
  };
  Status State = Status::Unchanged;
  std::string Message;
  std::vector<DepreciationRow> Rows;  // one per year, the first year first
};

// The schedule of the three boxes' texts, each read in the machine's number format or else
// as the number it starts with: the cost (to four decimals), the rate in percent and the
// years, whose count less one is rounded to a whole number, halves to even (2.5 years give
// three rows, 1.5 give one).
DepreciationSchedule ReducingBalanceSchedule(std::string_view cost, std::string_view percent,
                                             std::string_view years, const LocaleInfo& locale);

// The captions of a row: "Year 1:", "Year 2:", ...; and of the rate: "x 20% =", with the
// percent box's text as typed.
std::string YearCaption(int row);
std::string RateCaption(std::string_view percentText);

// An amount of the schedule: `decimals` places, the machine's grouping, a leading "-".
std::string ScheduleAmountText(Amount amount, int decimals, const LocaleInfo& locale);

}  // namespace qv
