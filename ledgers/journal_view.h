#pragma once
// The general journal as rows: each selected entry as its debit lines, its credit lines and
// a line of its notes, with the debit and credit totals of the shown lines at the foot.
//
// An entry is selected when its date lies within the options' dates, one of its shown lines
// belongs to the options' account (any line, for all accounts), and it answers the search:
// its notes hold the search text (case ignored), its entry number is the search text
// (trimmed, case ignored), or its debit and credit totals differ. Reconciled lines are left
// out when the options hide them; an entry with no line left is not shown.

#include <cstdint>
#include <string>
#include <vector>

#include "books/session.h"
#include "ledgers/ledger_options.h"

namespace qv {

// The searches of the journal; kNoSearch lists every selected entry.
inline constexpr int16_t kNoSearch = -1;

struct JournalOptions {
  LedgerOptions Ledger;
  int16_t SearchMode = kNoSearch;  // kNoSearch or a SearchModeCode
  std::string SearchText;
};

enum class JournalRowKind : uint8_t { kDebit, kCredit, kNotes, kTotals };

struct JournalRow {
  JournalRowKind Kind = JournalRowKind::kDebit;
  // The entry's first shown row carries its date and number.
  bool FirstOfEntry = false;
  int32_t Entry = -1;  // index into JournalView::Entries; -1 for the totals
  int32_t Line = -1;   // the posting line; the entry's first line for its notes
  Folio LineFolio;
  Amount Value;  // the line's amount; the debit total for the totals row
};

struct JournalView {
  JournalOptions Options;
  std::vector<LedgerEntry> Entries;
  std::vector<JournalRow> Rows;
  Amount DebitTotal;
  Amount CreditTotal;
  // Set when the totals left the range of an amount; there are no rows then.
  std::string Message;
};

JournalView ComputeJournal(const Books& books, const JournalOptions& options);

}  // namespace qv
