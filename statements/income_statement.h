#pragma once
// The income statement of a period: the revenue, cost-of-goods-sold and expense accounts
// with their net amounts, the section totals, the gross and net results and the two ratio
// lines. The window and the balance sheet (its period's profit) call it directly; carrying
// accounts over (bookfiles/rollover.h) closes exactly the lines that its statement of all
// dates counts with sub-accounts rolled up, and shares out that statement's net profit.

#include <optional>
#include <vector>

#include "books/books.h"
#include "statements/statement_lines.h"

namespace qv {

struct IncomePeriod {
  // True: every posting line counts, whatever its date.
  bool AllDates = false;
  DaySerial IncomeFromDate = kZeroDate;  // both ends count
  DaySerial IncomeToDate = kZeroDate;

  static IncomePeriod EveryDate() { return IncomePeriod{true, kZeroDate, kZeroDate}; }
  static IncomePeriod Between(DaySerial from, DaySerial to) {
    return IncomePeriod{false, from, to};
  }
  bool operator==(const IncomePeriod&) const = default;
};

struct IncomeOptions {
  IncomePeriod Period;
  // True: exact folios. False: sub-accounts roll into their main account.
  bool IncludeSubAccounts = false;
};

struct IncomeStatement {
  IncomePeriod Period;
  bool IncludeSubAccounts = false;

  // Rows in chart order; amounts are never 0 and may be negative. Revenue is credits -
  // debits, cost of goods sold and expenses are debits - credits.
  std::vector<StatementAccountRow> RevenueRows;
  std::vector<StatementAccountRow> CostOfGoodsSoldRows;
  std::vector<StatementAccountRow> ExpenseRows;

  Amount RevenueTotal;  // RT
  Amount CostOfGoodsSoldTotal;
  Amount GrossResult;   // R: RT less the cost of goods sold
  Amount ExpenseTotal;  // ET
  Amount NetProfit;     // N = R - ET; negative for a loss

  // The window's two ratio lines; nothing = the line is hidden.
  std::optional<StatementRatio> GrossRatio;
  std::optional<StatementRatio> NetRatio;

  StatementStatus Status = StatementStatus::kOk;

  bool Failed() const { return Status != StatementStatus::kOk; }
  // The cost-of-goods-sold section, with its "Gross Profit" line, is shown.
  bool HasGrossLine() const { return !CostOfGoodsSoldRows.empty(); }
  // The net line is shown only for a result other than 0.
  bool HasNetLine() const { return !NetProfit.IsZero(); }
  // The net line's label: "Net Profit" with cost of goods sold, else "PROFIT / LOSS".
  int NetLabelId() const;
};

IncomeStatement ComputeIncomeStatement(const Books& books, const IncomeOptions& options);

struct AccountSums;
// The statement from account sums already taken over exactly the options' period and
// attribution (SumPostings); ComputeIncomeStatement is SumPostings and then this. The
// balance sheet uses it to take its profit from its own posting pass.
IncomeStatement IncomeStatementFromSums(const Books& books, const AccountSums& sums,
                                        const IncomeOptions& options);

// The statement's lines in drawing order: REVENUE, the cost of goods sold and EXPENSES,
// each only with rows (heading, account rows, closing line), then the net line when the
// result is not 0. Account rows are numbered 1, 2, ... across the sections.
std::vector<StatementLine> IncomeStatementLines(const IncomeStatement& statement);

}  // namespace qv
