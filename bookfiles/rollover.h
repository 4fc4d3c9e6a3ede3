#pragma once
// Rolling the books over to a new period: the journal is replaced by opening entries.
//
// Both operations read the balance of every folio from the whole journal: B(f), the sum of
// the debits minus the credits of the posting lines whose folio is exactly f, folio 0 (lines
// without an account) included. Each opening entry has two lines dated the opening date
// (OpeningDate), the entry number "B/D" and the notes "Balance b/f": the folio on the side
// of its balance, and the Balance b/f account (folio 1) on the other side for the same
// amount. Folio 1 itself is never brought down; it takes the other side of every entry, so
// its balance stays what it was as long as the old journal balanced (JournalDifference tells
// when it does not).
//
// The chart, the prepared groups (the working buffer included) and the settings stay as
// they are. The change stamp is raised and EntryCounter holds the number of entries of the
// new journal. When no entry is made the journal is the one empty entry of a new book, on
// the opening date too. A balance that does not fit the amount type stops the operation with
// the books unchanged.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "books/amount.h"
#include "books/books.h"
#include "books/day_date.h"

namespace qv {

struct RolloverResult {
  bool Done = false;
  // When not done: why, in a sentence for a message; the books are as they were.
  std::string Problem;
  // The entries of the new journal (0 when it is the empty entry of a new book).
  int32_t EntriesMade = 0;
  // Carrying over: the profit (negative for a loss) shared among the capital accounts.
  Amount ProfitShared;
};

// The journal's debits less its credits: 0 for a journal that balances; nothing when the
// sum leaves the amount's range.
std::optional<Amount> JournalDifference(const Books& books);

// The question asked before rolling over a journal that does not balance, with the
// difference in the given amount text.
std::string UnbalancedRolloverQuestion(Amount difference, const std::string& amountText);

// The date of a rolled-over journal's lines: the day after the latest date of the old
// journal's posting lines, so that the new period starts where the old one ends and a
// statement or ledger of any later day counts the balances brought in. Lines with an amount
// of 0 (a new book's empty entry, an entry begun and left blank) post nothing and are left
// aside. Today when that day would fall after today, or when no line posts.
DaySerial OpeningDate(const Books& books, DaySerial today);

// Balances brought forward: one opening entry for every folio other than 1 whose balance is
// not zero, in ascending folio order. Every folio keeps its balance, so the trial balance
// keeps its rows and totals.
RolloverResult BringBalancesForward(Books& books, DaySerial today);

// Accounts carried over: as BringBalancesForward, except that the lines the income statement
// of all dates counts, with sub-accounts rolled into their main account, are closed rather
// than carried. A line belongs to the first chart account in use whose folio is the line's
// folio rounded down (so 150.5 counts in 150 whatever the type of a chart account 150.5), and
// is closed when that account is of cost of goods sold, revenue or expense (types 4, 5, 6); a
// line whose rounded folio no account has is carried. The profit is the net of exactly the
// lines closed (their credits less their debits), which is that statement's net profit, so
// every carried folio keeps its balance and the balance sheet shows every account but the
// capital accounts as before. It is shared equally to the cent, the remainder to the first,
// among the capital accounts (type 7, folio above 0 and other than 1, each folio once, in
// chart order, whose lines the statements count in a capital account) whose balance is a
// credit; when none has one, the first capital account takes
// it all; each share is one entry against folio 1, a credit to the capital account for a
// profit, a debit for a loss (a zero share makes no entry). With no capital account no share
// entry is made, and folio 1 holds the result. The new journal balances, but its totals are
// not the old ones: the closed lines are gone.
RolloverResult CarryAccountsOver(Books& books, DaySerial today);

// The shares of `total` among `count` accounts: equal multiples of one cent, rounded
// towards zero, with what is left over added to the first. Empty when count < 1.
std::vector<Amount> EqualShares(Amount total, int count);

}  // namespace qv
