#pragma once
// Date styles: every date shown is written by FormatDateStyle and every date typed is read
// by ParseDateStyle, following the book's DateStyleIndex. Style 0 is the system's short
// date; styles 1 to 8 are fixed day-month-year patterns.

#include <string>
#include <string_view>

#include "books/day_date.h"
#include "platform/locale_info.h"

namespace qv {

enum DateStyleCode : int {
  kSystemShortDate = 0,  // the locale's short-date pattern
  kDdMmYySlash = 1,      // "dd/mm/yy"
  kDdMmYyyySlash = 2,    // "dd/mm/yyyy"
  kDdMmYyDash = 3,       // "dd-mm-yy"
  kDdMmYyyyDash = 4,     // "dd-mm-yyyy"
  kMmDdYySlash = 5,      // "mm/dd/yy"
  kMmDdYyyySlash = 6,    // "mm/dd/yyyy"
  kMmDdYyDash = 7,       // "mm-dd-yy"
  kMmDdYyyyDash = 8,     // "mm-dd-yyyy"
};
inline constexpr int kDateStyleCount = 9;

// The order and separator of the locale's short date, read from its pattern.
struct ShortDateShape {
  DateOrder Order = DateOrder::MonthFirst;
  std::string Separator = "/";
};
ShortDateShape ShapeOfShortDate(const LocaleInfo& locale);

// The date written in the style (a style outside 0 to 8 is read as 0). In styles 1 to 8
// "/" stands for the locale's date separator and "-" is written as it is.
std::string FormatDateStyle(DaySerial date, int style, const LocaleInfo& locale);

// The date typed in `text`, read in the style's day/month order, or kZeroDate when the
// text is not a date. The text is rewritten with the locale's separator in place of "/"
// and "-" (as the date box then shows it). A two-digit year reads as the year nearest the
// year of `today` (within 50 years).
DaySerial ParseDateStyle(std::string& text, int style, const LocaleInfo& locale,
                         DaySerial today);

// The style a new book starts with on this locale: 0 when the locale's short date of
// 31 December 1899 has at most 10 characters, else 2 when it starts with "3" (day first)
// or 6; a year-first locale always keeps a style that reads back its own dates.
int DefaultDateStyle(const LocaleInfo& locale);

// A date written as the statements title it: "dd mmmm yyyy" (two-digit day) when
// `twoDigitDay`, else "d mmmm yyyy", with the locale's full month names.
std::string LongDateText(DaySerial date, const LocaleInfo& locale, bool twoDigitDay);

}  // namespace qv
