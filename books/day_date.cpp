#include "books/day_date.h"

#include <chrono>
#include <ctime>

namespace qv {
namespace {

// Days from 1970-01-01 back to the zero date 1899-12-30.
constexpr int32_t kUnixEpochSerial = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CalendarDate CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return CalendarDate{static_cast<int>(y + (m <= 2)), m, d};
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidCalendarDate(int year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::optional<DaySerial> SerialOf(int year, int month, int day) {
  if (!IsValidCalendarDate(year, month, day)) return std::nullopt;
  return static_cast<DaySerial>(DaysFromCivil(year, month, day) + kUnixEpochSerial);
}

CalendarDate DateOf(DaySerial serial) {
  return CivilFromDays(static_cast<int64_t>(serial) - kUnixEpochSerial);
}

int WeekdayOf(DaySerial serial) {
  // Day 0 (30 December 1899) was a Saturday (7).
  int64_t r = (static_cast<int64_t>(serial) + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

DaySerial SystemClock::Today() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *SerialOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace qv
