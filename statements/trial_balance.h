#pragma once
// The trial balance: as of one date, the balance (debits - credits) of every account key
// of the chart, with the Debit and Credit column totals. Computed once into rows; the
// window, the printer and the text, HTML and spreadsheet outputs read the same rows.

#include <string>
#include <vector>

#include "books/books.h"
#include "statements/statement_lines.h"

namespace qv {

struct TrialBalanceOptions {
  DaySerial TrialDate = kZeroDate;  // lines dated on or before it count
  // True: one row per exact folio. False: sub-accounts roll into their main account.
  bool IncludeSubAccounts = false;
};

struct TrialBalanceRow {
  Folio RowFolio;
  // Debits - credits: > 0 stands in the Debit column, < 0 in the Credit column (without
  // sign); 0 is kept in the list but not shown.
  Amount Balance;
  // The name of the first account with exactly this folio; "" for folio 0 or none.
  std::string Name;

  bool Shown() const { return !Balance.IsZero(); }
  bool IsDebit() const { return Balance > Amount(); }
  // The brought-forward balance account (folio 1), drawn in red.
  bool IsBroughtForward() const { return RowFolio == Folio::FromUnits(1); }
  bool operator==(const TrialBalanceRow&) const = default;
};

struct TrialBalance {
  DaySerial TrialDate = kZeroDate;
  bool IncludeSubAccounts = false;
  // One row per distinct account key, in the chart order of the key's first account.
  std::vector<TrialBalanceRow> Rows;
  Amount DebitTotal;   // the sum of the positive balances
  Amount CreditTotal;  // the sum of the negative balances, without sign
  StatementStatus Status = StatementStatus::kOk;

  int RowCount() const { return static_cast<int>(Rows.size()); }
  bool Failed() const { return Status != StatementStatus::kOk; }
};

TrialBalance ComputeTrialBalance(const Books& books, const TrialBalanceOptions& options);

}  // namespace qv
