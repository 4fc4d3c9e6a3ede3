#include "calculators/shift_times.h"

#include <cstdio>

#include "platform/utf8.h"

namespace qv {
namespace {

// Reads 1 or 2 digits at `pos`; -1 when there are none.
int Number(std::string_view text, std::size_t& pos, std::size_t maxDigits = 2) {
  int value = -1;
  std::size_t read = 0;
  while (pos < text.size() && read < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = (value < 0 ? 0 : value * 10) + (text[pos] - '0');
    ++pos;
    ++read;
  }
  return value;
}

std::string TwoDigits(int value) {
  char buffer[4];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return buffer;
}

}  // namespace

std::optional<int32_t> ReadShiftTime(std::string_view text) {
  text = TrimAny(text, " \t");
  // The am or pm at the end.
  int half = 0;  // 0 none, 1 am, 2 pm
  if (text.size() >= 2) {
    const std::string suffix = ToLowerText(text.substr(text.size() - 2));
    if (suffix == "am" || suffix == "pm") {
      half = suffix == "am" ? 1 : 2;
      text = TrimAny(text.substr(0, text.size() - 2), " \t");
    }
  }
  std::size_t pos = 0;
  int hours = Number(text, pos);
  int minutes = 0;
  int seconds = 0;
  if (hours < 0) return std::nullopt;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    minutes = Number(text, pos);
    if (pos < text.size() && text[pos] == ':') {
      ++pos;
      seconds = Number(text, pos);
    }
  } else if (half == 0) {
    return std::nullopt;  // a number alone is no time
  }
  if (pos != text.size() || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
    return std::nullopt;
  if (half != 0) {
    if (hours > 12) return std::nullopt;
    if (hours == 12) hours = 0;
    if (half == 2) hours += 12;
  } else if (hours > 23) {
    return std::nullopt;
  }
  return hours * 3600 + minutes * 60 + seconds;
}

std::string ClockForm(int32_t seconds) {
  seconds %= kSecondsPerDay;
  if (seconds < 0) seconds += kSecondsPerDay;
  const int hours = seconds / 3600;
  const int hour12 = hours % 12 == 0 ? 12 : hours % 12;
  return TwoDigits(hour12) + ":" + TwoDigits(seconds / 60 % 60) + (hours < 12 ? " am" : " pm");
}

std::string HoursForm(int32_t seconds) {
  seconds %= kSecondsPerDay;
  if (seconds < 0) seconds += kSecondsPerDay;
  return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60);
}

int64_t MinutesOfHoursText(std::string_view text) {
  auto leading = [](std::string_view t) {
    std::size_t pos = 0;
    while (pos < t.size() && t[pos] == ' ') ++pos;
    const int value = Number(t, pos, 9);
    return value < 0 ? 0 : value;
  };
  const std::string_view last = text.size() > 2 ? text.substr(text.size() - 2) : text;
  return int64_t{leading(text)} * 60 + leading(last);
}

}  // namespace qv
