#pragma once
// The computed views as tables of texts (bookfiles/table_document.h): what the window
// draws, the printer prints, the clipboard holds and every file export writes. A sheet
// keeps its view alive and writes each row's texts only when asked, so a journal of a
// million lines costs nothing to show but the rows in sight.
//
// Texts: dates in the book's date style, amounts with the view's decimals (the journal's
// JournalDecimals, the ledgers' LedgerDecimals), the locale's digit grouping and decimal
// symbol and negatives in parentheses, folios with the locale's decimal symbol or "-" when
// the book shows folios with dashes, account names as the chart names the folio.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bookfiles/table_document.h"
#include "ledgers/journal_view.h"
#include "ledgers/running_balance_view.h"
#include "ledgers/t_account_view.h"
#include "platform/locale_info.h"

namespace qv {

struct LedgerSheet {
  TableDocument Table;
  // The posting line that row `row` shows in column `column` (the T-account's two halves
  // show different lines), or -1 where no line is shown.
  std::function<int32_t(int64_t row, int column)> LineAt;
  // The widest texts each column holds (every date the style writes in the period, the
  // widest amounts and the totals), by which the columns are sized.
  std::vector<std::vector<std::string>> WidthSamples;
  // The column that takes the room left over (names, notes); -1 for none.
  int StretchColumn = -1;
  // The columns that give up room when the sheet is wider than the space, their texts cut
  // with "..." on a window and broken into lines on paper (account names, notes); every
  // other column keeps its whole texts.
  std::vector<int> GiveWayColumns;
  // A vertical rule stands after this column (between the T-account's sides); -1 for none.
  int RuleAfterColumn = -1;
  // The first columns printed again on every band of a print-out too wide for the page (the
  // journal's date and number, the running balance's date).
  int RepeatedColumns = 0;
  // The sentence shown in place of the rows when the view could not be built; the sheet
  // then has no rows.
  std::string Message;

  bool HasRows() const { return Message.empty(); }
};

// A sheet that only says why there is nothing to show.
LedgerSheet MessageSheet(std::string message);

// The view's heading: "Journal Entries" (with the account and the search), or the account's
// name and folio, "Reconciled " before it in the reconciliation views; and the period
// line "From <date> to <date>".
std::string JournalHeading(const JournalOptions& options, const Books& books,
                           const LocaleInfo& locale);
std::string AccountHeading(const LedgerOptions& options, const Books& books,
                           const LocaleInfo& locale);
std::string PeriodLine(const LedgerOptions& options, const Books& books, const LocaleInfo& locale);

LedgerSheet JournalSheet(std::shared_ptr<const JournalView> view, const Books& books,
                         const LocaleInfo& locale);
LedgerSheet TAccountSheet(std::shared_ptr<const TAccountView> view, const Books& books,
                          const LocaleInfo& locale);
LedgerSheet RunningBalanceSheet(std::shared_ptr<const RunningBalanceView> view, const Books& books,
                                const LocaleInfo& locale);

}  // namespace qv
