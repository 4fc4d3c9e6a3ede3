#pragma once
// Date styles: every date shown is written by FormatDateStyle and every date typed is read
// by ParseDateStyle, following the book's DateStyleIndex. Style 0 is the locale's short
// date; styles 1 to 8 are fixed day-month-year patterns.
//
// The locale's date order and separator come from its short-date pattern
// (LocaleInfo::ShortDatePattern), never from a formatted sample. Reading never depends on
// the locale's order for styles 1 to 8: each is read in its own day/month order, so every
// date a style writes reads back as the same date on every locale (two-digit years within
// the 100-year window around today).

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

// The style actually used for a stored value: a value outside 0 to 8 (a damaged or foreign
// book) is style 0.
constexpr int EffectiveDateStyle(int style) {
  return style >= 0 && style < kDateStyleCount ? style : kSystemShortDate;
}

// The order and separator of the locale's short date, read from its pattern. The
// separator is the punctuation mark between the pattern's first two fields, blanks
// ignored ("yy. M. d." gives "."); a pattern with no such mark ("d MMM yyyy") gives "/".
// A pattern that lacks a day, month or year field, or runs two fields together, is
// replaced by "yyyy-MM-dd".
struct ShortDateShape {
  DateOrder Order = DateOrder::MonthFirst;
  std::string Separator = "/";
};
ShortDateShape ShapeOfShortDate(const LocaleInfo& locale);

// The year that a two-digit year stands for: the one within the 100 years from
// currentYear - 50 to currentYear + 49.
int NearestYear(int twoDigitYear, int currentYear);

// The date written in the style (a style outside 0 to 8 is read as 0). In styles 1 to 8
// "/" stands for the locale's date separator and "-" is written as it is. Digits are
// always ASCII. A serial outside the accepted range gives "".
std::string FormatDateStyle(DaySerial date, int style, const LocaleInfo& locale);

// The date typed in `text`, or kZeroDate when the text is not a real date. Styles 1 to 8
// read day, month and year in the style's own order, separated by "/", "-" or the
// locale's separator; style 0 reads the locale's short-date pattern (month names and
// numbers both accepted for a month, any punctuation between fields). A year of one or two
// digits reads as the nearest year to `today` (NearestYear); of four digits as written.
// Leading and trailing blanks are ignored; anything else left over makes the text
// unreadable. On a locale whose order is day first or month first, the text is first
// rewritten with the locale's separator in place of every "/" and "-", and `text`
// receives the rewritten form whether or not it reads as a date.
DaySerial ParseDateStyle(std::string& text, int style, const LocaleInfo& locale, DaySerial today);

// The style a new book starts with on this locale: when the locale's short date of
// 31 December 1899 is longer than 10 characters, 2 ("dd/mm/yyyy") if it starts with "3"
// (day first), else 6 ("mm/dd/yyyy"); otherwise 0. A year-first locale keeps 0: no fixed
// style has its order, and its own pattern reads back what it writes.
int DefaultDateStyle(const LocaleInfo& locale);

// A date written as the statements title it: "dd mmmm yyyy" (two-digit day) when
// `twoDigitDay`, else "d mmmm yyyy", with the locale's full month names ("05 December
// 2026"). A serial outside the accepted range gives "".
std::string LongDateText(DaySerial date, const LocaleInfo& locale, bool twoDigitDay);

}  // namespace qv
