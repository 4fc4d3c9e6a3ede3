#pragma once
// The statements' dates: reading a date typed into a statement's date box, and the titles
// that carry a date in full ("05 December 2026", month names of the locale).

#include <string>

#include "books/books.h"
#include "platform/locale_info.h"

namespace qv {

// The date in a statement's date box, read in the book's date style. A text that is no
// date keeps the statement's previous date (`previous`) instead of computing for
// 30 December 1899; `kept` tells the window to show the previous date's text again.
struct StatementDateRead {
  DaySerial Date = kZeroDate;
  bool Kept = false;
};
StatementDateRead ReadStatementDate(std::string& text, DaySerial previous, const Books& books,
                                    const LocaleInfo& locale, DaySerial today);

// "Trial Balance as 05 December 2026".
std::string TrialBalanceTitle(DaySerial trialDate, const LocaleInfo& locale);

// "Income Statement": the window caption's text without its dots.
std::string IncomeStatementTitle();

// "5 January 2026 to 05 December 2026": the first day without a leading zero, the last
// with two digits, joined by `joiner` (the drawing writes " to ", the page " To ").
std::string IncomePeriodText(DaySerial from, DaySerial to, const LocaleInfo& locale,
                             const std::string& joiner = " to ");

// "Financial Position Ending 05 December 2026".
std::string BalanceSheetTitle(DaySerial sheetDate, const LocaleInfo& locale);

}  // namespace qv
