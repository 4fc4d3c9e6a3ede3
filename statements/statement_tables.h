#pragma once
// The statements as tables (bookfiles/table_document.h) for the table writers: the title
// lines of the drawing, then one row per line that carries a label or an amount, headings
// and totals in bold. The e-mail command sends the HTML form.

#include "bookfiles/table_document.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/statement_drawing.h"
#include "statements/trial_balance.h"

namespace qv {

// Folio, Accounts, Debit, Credit: the rows with a balance, then TOTALS.
TableDocument TrialBalanceTable(const TrialBalance& tb, const StatementLook& look);
// A label column and three amount columns, as drawn.
TableDocument IncomeStatementTable(const IncomeStatement& statement, const StatementLook& look);
TableDocument BalanceSheetTable(const BalanceSheet& sheet, BalanceSheetLayout layout,
                                const StatementLook& look);

}  // namespace qv
