#pragma once
// Calendar dates as whole day serials: day 0 is 30 December 1899, day 1 is 31 December
// 1899, day 36526 is 1 January 2000. Posting lines carry whole days only.

#include <cstdint>
#include <optional>

namespace qv {

using DaySerial = int32_t;

// The serial of day 0: the zero date, which also stands for "not a date" where a date is
// read from text.
inline constexpr DaySerial kZeroDate = 0;

// The range of serials the program accepts: 1 January 100 to 31 December 9999.
inline constexpr DaySerial kMinDaySerial = -657434;
inline constexpr DaySerial kMaxDaySerial = 2958465;

struct CalendarDate {
  int Year = 1899;
  int Month = 12;  // 1 to 12
  int Day = 30;    // 1 to 31
  bool operator==(const CalendarDate&) const = default;
};

// True for a real Gregorian date within years 100 to 9999.
bool IsValidCalendarDate(int year, int month, int day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The serial of a date, or nothing when the date is not a real one (31 April, 29 February
// 2026) or lies outside the accepted range.
std::optional<DaySerial> SerialOf(int year, int month, int day);
// The date of a serial. The serial must lie within kMinDaySerial..kMaxDaySerial.
CalendarDate DateOf(DaySerial serial);
// The weekday with Sunday = 1 to Saturday = 7.
int WeekdayOf(DaySerial serial);

// True when the serial is within the accepted range.
constexpr bool IsValidSerial(DaySerial serial) {
  return serial >= kMinDaySerial && serial <= kMaxDaySerial;
}

// A clock that tells today's date; windows use the system clock, tests fix it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual DaySerial Today() const = 0;
};

// The local date of the machine.
class SystemClock final : public Clock {
 public:
  DaySerial Today() const override;
};

// A clock stopped on one date, for tests.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DaySerial today) : today_(today) {}
  DaySerial Today() const override { return today_; }
  void Set(DaySerial today) { today_ = today; }

 private:
  DaySerial today_;
};

}  // namespace qv
