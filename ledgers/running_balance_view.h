#pragma once
// The running-balance ledger of one account as rows: an opening row for the postings dated
// before the start date (when they leave a balance), then one row per posting in journal
// order with its date, entry number, the entry's notes, its amount in the debit or credit
// column and the account's balance after it (debits less credits; shown with "Dr" above
// zero and "Cr" below).

#include <cstdint>
#include <string>
#include <vector>

#include "ledgers/ledger_options.h"

namespace qv {

enum class RunningRowKind : uint8_t { kOpening, kPosting };

struct RunningBalanceRow {
  RunningRowKind Kind = RunningRowKind::kPosting;
  int32_t Line = -1;   // the posting line; -1 for the opening row
  int32_t Entry = -1;  // index into RunningBalanceView::Entries; -1 for the opening row
  uint8_t Side = kDebit;
  Amount Value;    // the posting's amount; the opening balance without sign
  Amount Balance;  // the balance after the row
};

struct RunningBalanceView {
  LedgerOptions Options;
  std::vector<LedgerEntry> Entries;
  std::vector<RunningBalanceRow> Rows;
  Amount Opening;  // the balance brought down
  Amount Closing;  // the balance after the last row: the balance at the end date
  // Set when the balance left the range of an amount; there are no rows then.
  std::string Message;
};

RunningBalanceView ComputeRunningBalance(const Books& books, const LedgerOptions& options);

// The balance's text ends with this mark: debit balances above zero, credit below.
inline constexpr const char* kDebitBalanceMark = "Dr";
inline constexpr const char* kCreditBalanceMark = "Cr";

}  // namespace qv
