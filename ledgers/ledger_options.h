#pragma once
// What a journal or ledger view selects: one account (with or without its sub-accounts) or
// every account, the dates from and to (both included), and whether reconciled lines are
// left out; and how the view's top bar (account box, check box, two date boxes) is read
// into such a selection, with the sentence shown when it cannot be.
//
// The views walk the journal entry by entry themselves (ForEachEntry): they never use or
// change the entry screen's bounds of the shown entry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "books/books.h"
#include "platform/locale_info.h"

namespace qv {

// The first item of the journal's account list: every account.
inline constexpr const char* kAllAccountsText = "All Accounts";

struct LedgerOptions {
  bool AllAccounts = false;
  Folio Account;
  // True: an account's sub-accounts count with it (the folio cut to 0 decimals); false:
  // only postings to exactly its folio (4 decimals).
  bool WithSubAccounts = true;
  DaySerial From = kZeroDate;
  DaySerial To = kZeroDate;
  // Leave out the posting lines whose Reconciled mark is 1 (the reconciliation views).
  bool HideReconciled = false;
};

// True when a posting to `folio` belongs to the options' account: every folio when
// AllAccounts; else the account's own folio, and with sub-accounts also the folios whose
// whole part is the account's (only for an account that is not a sub-account itself).
bool InAccount(Folio folio, const LedgerOptions& options);

// True when the line is shown at all: within the dates and not a hidden reconciled line.
inline bool LineShown(const PostingLine& line, const LedgerOptions& options) {
  return line.LineDate >= options.From && line.LineDate <= options.To &&
         !(options.HideReconciled && line.Reconciled == 1);
}

// The earliest and latest date of the posting lines (both kZeroDate for an empty journal):
// the dates a view starts with.
struct LedgerDates {
  DaySerial First = kZeroDate;
  DaySerial Last = kZeroDate;
};
LedgerDates DefaultLedgerDates(const Books& books);

// The top bar as typed.
struct LedgerInputs {
  std::string AccountText;
  bool WithSubAccounts = true;
  std::string FromText;
  std::string ToText;
  // The journal accepts kAllAccountsText; the ledgers need one account.
  bool AllowAllAccounts = false;
  bool HideReconciled = false;
};

// Reads the top bar: the options, or the sentence the view shows instead of rows. The
// account is looked up by its exact name (then by the name without leading and trailing
// blanks); the dates in the book's date style.
std::variant<LedgerOptions, std::string> ReadLedgerInputs(const Books& books,
                                                          const LedgerInputs& inputs,
                                                          const LocaleInfo& locale,
                                                          DaySerial today);

// The name shown for a folio: the first account with exactly that folio, else the folio's
// own text. Built once per view from the chart.
class AccountNameTable {
 public:
  explicit AccountNameTable(const Books& books);
  // The account's name, or "" when no account has the folio (folio 0 never has one).
  const std::string& NameOf(Folio folio) const;

 private:
  std::vector<std::pair<int64_t, std::string>> sorted_;  // folio, name; first account wins
};

// One entry of the journal as a view keeps it: its lines, date, number and notes, copied
// so that a view never reads lines that have since changed or gone.
struct LedgerEntry {
  int32_t First = 0;
  int32_t Last = 0;
  DaySerial Date = kZeroDate;
  std::string Number;  // trimmed
  std::string Notes;   // "" for an entry without notes ("_")
};
LedgerEntry SnapshotEntry(const Books& books, int32_t first, int32_t last);

// Calls f(first, last) for every entry of the journal in order, by the rule that an entry
// ends at its first line with notes (or at the journal's last line).
template <class F>
void ForEachEntry(const std::vector<PostingLine>& lines, F f) {
  const auto n = static_cast<int32_t>(lines.size());
  int32_t first = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (i == n - 1 || EndsEntry(lines[static_cast<std::size_t>(i)].Notes)) {
      f(first, i);
      first = i + 1;
    }
  }
}

// The sentence a view shows when its totals leave the range of an amount.
inline constexpr const char* kLedgerOverflowText =
    "The amounts of this view add up to more than the program can hold; no rows are shown.";

}  // namespace qv
