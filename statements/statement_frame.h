#pragma once
// What the three statement windows share, without the windows: which account row the
// pointer is over, the read-out text of a row, the keys a date box lets through, the scroll
// range of a drawing, the window's smallest size and the e-mail subjects.

#include <cstdint>
#include <string>
#include <vector>

#include "books/books.h"
#include "platform/locale_info.h"
#include "statements/statement_drawing.h"

namespace qv {

// The smallest statement window, in twips.
inline constexpr double kStatementMinWidth = 5000;
inline constexpr double kStatementMinHeight = 2000;

// A row is under the pointer when the pointer is less than this above the row's bottom
// (and above the bottom): the read-out band, and the wider band of a click.
inline constexpr double kHoverBand = 200;
inline constexpr double kClickBand = 800;

// The first row, in drawing order, whose band (bottom - band, bottom) holds `y` (both ends
// outside), or -1. `y` is measured from the statement's top.
int RowAt(const std::vector<StatementRowMark>& rows, double y, double band);

// The read-out of a row: the folio's shortest text with the locale's decimal symbol, " / "
// and the account's name ("110.5 / Petty Cash").
std::string RowReadOut(Folio folio, const Books& books, const LocaleInfo& locale);

// The date boxes' key filter: Backspace, "-", "/" and the digits pass, and Enter, which
// also commits the date; every other key is dropped (set to 0).
enum class DateBoxKey { Passed, Dropped, Commit };
DateBoxKey FilterDateBoxKey(int16_t& keyAscii);

// The highest scroll value of a drawing `drawnHeight` high in a view `viewHeight` high;
// 0 when it fits, and the bar is then hidden.
int ScrollMaxFor(double drawnHeight, double viewHeight);

// The status line after a date box held no date: the statement keeps its previous date.
std::string UnreadableDateText(const std::string& typed, DaySerial kept, const LocaleInfo& locale);

// The e-mail subjects: "Acme Ltd, Trial Balance as 05 December 2026", "Acme Ltd, Income
// Statement 1 January 2026 to 31 December 2026", "Acme Ltd,Financial Position Ending
// 31 March 2012" (no blank after the comma).
std::string TrialBalanceSubject(const std::string& businessName, DaySerial trialDate,
                                const LocaleInfo& locale);
std::string IncomeStatementSubject(const std::string& businessName, DaySerial from, DaySerial to,
                                   const LocaleInfo& locale);
std::string BalanceSheetSubject(const std::string& businessName, DaySerial sheetDate,
                                const LocaleInfo& locale);

}  // namespace qv
