#pragma once
// Times of day and durations as the payroll sheet reads and writes them, in whole seconds
// (a day is 86400).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int32_t kSecondsPerDay = 86400;

// A time typed into a start, end or break box: hours and minutes with an optional seconds
// part ("9:00", "21:30", "7:20:40"), on a 24-hour clock, or followed by "am" or "pm" in
// either case, with or without a blank ("9:00 am", "09:00 PM", "12:00am"), or an hour
// alone with "am" or "pm" ("9 pm"). Nothing for anything else: an empty text, letters,
// "25:00", "13:00 pm", minutes or seconds beyond 59.
std::optional<int32_t> ReadShiftTime(std::string_view text);

// The clock form "hh:mm am/pm" of a time of day: hour 01 to 12, "am" before noon and "pm"
// from noon on ("09:00 am", "12:00 pm" at noon, "12:00 am" at midnight). A whole day or
// more is dropped; seconds are not shown.
std::string ClockForm(int32_t seconds);

// The hours form "hh:mm" of a duration below a day, hours 00 to 23; seconds are not shown.
std::string HoursForm(int32_t seconds);

// The whole minutes in an hours-form text: the number before ":" times 60 plus the number
// in the last two characters ("08:30" is 510). A text without numbers counts 0.
int64_t MinutesOfHoursText(std::string_view text);

}  // namespace qv
