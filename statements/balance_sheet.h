#pragma once
// The balance sheet: the position of the business at the end of one day. The accounts
// with a balance are classified into current assets, current liabilities, non-current
// assets, non-current liabilities and capital; the section totals and the derived totals
// of both layouts are computed, and the capital section takes the profit or loss of the
// period from the earliest posting date to the sheet date, computed by the income
// statement in the sheet's own attribution mode. Each sheet keeps its own profit.

#include <optional>
#include <vector>

#include "books/books.h"
#include "statements/income_statement.h"
#include "statements/statement_lines.h"

namespace qv {

struct BalanceSheetOptions {
  DaySerial SheetDate = kZeroDate;  // lines dated on or before it count
  // True: exact folios. False: sub-accounts roll into their main account.
  bool IncludeSubAccounts = false;
};

// Standard: working capital and net assets. United States: total assets, total
// liabilities and net assets. The layout changes the drawing only, never the figures.
enum class BalanceSheetLayout { kStandard, kUnitedStates };

struct BalanceSheet {
  DaySerial SheetDate = kZeroDate;
  bool IncludeSubAccounts = false;

  // Rows in chart order. Current rows are always positive: a current asset with a credit
  // balance stands among the current liabilities and the other way round. Non-current and
  // capital rows keep their sign.
  std::vector<StatementAccountRow> CurrentAssetRows;
  std::vector<StatementAccountRow> CurrentLiabilityRows;
  std::vector<StatementAccountRow> NonCurrentAssetRows;
  std::vector<StatementAccountRow> NonCurrentLiabilityRows;
  std::vector<StatementAccountRow> CapitalRows;

  Amount CurrentAssetTotal;         // CA
  Amount CurrentLiabilityTotal;     // CL
  Amount NonCurrentAssetTotal;      // NCA
  Amount NonCurrentLiabilityTotal;  // NCL
  Amount CapitalTotal;              // the capital rows, without the profit

  Amount WorkingCapital;    // CA - CL
  Amount NonCurrentNet;     // NCA - NCL
  Amount NetAssets;         // (CA - CL) + (NCA - NCL)
  Amount TotalAssets;       // CA + NCA
  Amount TotalLiabilities;  // CL + NCL
  Amount UsNetAssets;       // (CA + NCA) - (CL + NCL)

  // The profit or loss of ProfitPeriod, and the capital section's closing balance.
  IncomePeriod ProfitPeriod;
  Amount SheetProfit;
  Amount CapitalBalance;  // CapitalTotal + SheetProfit

  // The window's ratio line: the profit over the capital total; hidden (nothing) while
  // the capital total is 0 or less.
  std::optional<StatementRatio> ReturnOnEquity;

  StatementStatus Status = StatementStatus::kOk;

  bool Failed() const { return Status != StatementStatus::kOk; }
  int AccountRowCount() const;
};

BalanceSheet ComputeBalanceSheet(const Books& books, const BalanceSheetOptions& options);

// The sheet's lines in the drawing order of the layout. A section without rows is left out
// whole; the capital section, with its profit line, only when there are capital rows; the
// profit line only when the profit is not 0. Total lines:
//  standard: WORKING CAPITAL when CA - CL is not 0; NET ASSETS when NCA - NCL is not 0;
//  United States: TOTAL ASSETS when CA is not 0; TOTAL LIABILITIES when CL + NCL is not
//  0; NET ASSETS when (CA + NCA) - (CL + NCL) is not 0.
// Account rows are numbered 1, 2, ... in that order.
std::vector<StatementLine> BalanceSheetLines(const BalanceSheet& sheet, BalanceSheetLayout layout);

}  // namespace qv
