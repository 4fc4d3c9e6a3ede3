#pragma once
// The T-account ledger of one account as rows: debit postings on the left and credit
// postings on the right, each with its date, the account on the other side of its entry
// ("Sundries" when that side holds more than one account) and its amount.
//
// The postings dated before the start date form one "Balance b/d" item, on the debit side
// when they leave a debit balance, on the credit side for a credit balance, dated the start
// date. At the foot the account is balanced off: "Balance c/d" on the smaller side makes
// the two totals equal, the totals stand level, and "Balance b/d" of the same amount follows
// below them on the other side, dated the end date. Sides of equal totals need neither.

#include <cstdint>
#include <string>
#include <vector>

#include "ledgers/ledger_options.h"

namespace qv {

inline constexpr const char* kSundriesText = "Sundries";
inline constexpr const char* kBalanceBroughtDownText = "Balance b/d";
inline constexpr const char* kBalanceCarriedDownText = "Balance c/d";

enum class TAccountItemKind : uint8_t {
  kEmpty,
  kPosting,
  kBroughtDown,
  kCarriedDown,
  kTotal,
};

struct TAccountItem {
  TAccountItemKind Kind = TAccountItemKind::kEmpty;
  int32_t Line = -1;  // the posting line of a posting
  DaySerial Date = kZeroDate;
  Folio Contra;           // the other side's account of a posting
  bool Sundries = false;  // the other side holds more than one account
  Amount Value;
};

struct TAccountRow {
  TAccountItem Debit;
  TAccountItem Credit;
};

struct TAccountView {
  LedgerOptions Options;
  // The shown rows: the postings side by side, the totals row, and the row of the balance
  // brought down.
  std::vector<TAccountRow> Rows;
  Amount DebitTotal;   // the debit side's total before balancing off
  Amount CreditTotal;  // the credit side's total before balancing off
  Amount Balance;      // DebitTotal - CreditTotal: the balance at the end date
  // Set when a total left the range of an amount; there are no rows then.
  std::string Message;
};

TAccountView ComputeTAccount(const Books& books, const LedgerOptions& options);

}  // namespace qv
