#include "statements/statement_tables.h"

#include <memory>

#include "platform/string_table.h"
#include "statements/statement_dates.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {

constexpr int kLabelAccounts = 156, kLabelDebit = 162, kLabelCredit = 163, kLabelTotals = 164;

// A table whose rows are made now and handed out by index.
TableDocument TableOf(std::vector<std::string> title, std::vector<TableColumn> columns,
                      bool showHeadings, std::vector<TableRow> rows) {
  TableDocument table;
  table.Title = std::move(title);
  table.Columns = std::move(columns);
  table.ShowHeadings = showHeadings;
  table.RowCount = static_cast<int64_t>(rows.size());
  auto shared = std::make_shared<const std::vector<TableRow>>(std::move(rows));
  table.FillRow = [shared](int64_t row, TableRow& out) {
    out = (*shared)[static_cast<std::size_t>(row)];
  };
  return table;
}

TableRow RowOf(std::vector<std::string> cells, bool bold = false) {
  TableRow row;
  row.Cells = std::move(cells);
  row.Bold = bold;
  return row;
}

// The label column and the three amount columns of the income statement and balance sheet.
TableDocument LinesTable(std::vector<std::string> title, const std::vector<StatementLine>& lines,
                         const StatementLook& look) {
  std::vector<TableRow> rows;
  for (const StatementLine& line : lines) {
    const bool account = line.LineKind == StatementLine::Kind::kAccount ||
                         line.LineKind == StatementLine::Kind::kProfit;
    TableRow row = RowOf({line.LabelId ? Str(line.LabelId) : line.Name, "", "", ""}, !account);
    if (line.Column >= 1 && line.Column <= 3)
      row.Cells[static_cast<std::size_t>(line.Column)] =
          StatementAmountText(line.Value, look.Decimals, look.Locale);
    rows.push_back(std::move(row));
  }
  return TableOf(std::move(title),
                 {{"", CellAlign::kLeft, 40},
                  {"", CellAlign::kRight, 14},
                  {"", CellAlign::kRight, 14},
                  {"", CellAlign::kRight, 14}},
                 false, std::move(rows));
}

}  // namespace

TableDocument TrialBalanceTable(const TrialBalance& tb, const StatementLook& look) {
  std::vector<TableRow> rows;
  for (const TrialBalanceRow& row : tb.Rows) {
    if (!row.Shown()) continue;
    const std::string amount = TrialAmountText(row.Balance, look.Decimals, look.Locale);
    rows.push_back(RowOf({ShortFolioText(row.RowFolio, look.Locale), row.Name,
                          row.IsDebit() ? amount : "", row.IsDebit() ? "" : amount}));
  }
  rows.push_back(
      RowOf({"", Str(kLabelTotals), TrialAmountText(tb.DebitTotal, look.Decimals, look.Locale),
             TrialAmountText(tb.CreditTotal, look.Decimals, look.Locale)},
            true));
  return TableOf({look.BusinessName, TrialBalanceTitle(tb.TrialDate, look.Locale)},
                 {{"", CellAlign::kLeft, 8},
                  {Str(kLabelAccounts), CellAlign::kLeft, 40},
                  {Str(kLabelDebit), CellAlign::kRight, 14},
                  {Str(kLabelCredit), CellAlign::kRight, 14}},
                 true, std::move(rows));
}

TableDocument IncomeStatementTable(const IncomeStatement& statement, const StatementLook& look) {
  const IncomePeriod& period = statement.Period;
  return LinesTable({look.BusinessName, IncomeStatementTitle(),
                     IncomePeriodText(period.IncomeFromDate, period.IncomeToDate, look.Locale)},
                    IncomeStatementLines(statement), look);
}

TableDocument BalanceSheetTable(const BalanceSheet& sheet, BalanceSheetLayout layout,
                                const StatementLook& look) {
  return LinesTable({look.BusinessName, BalanceSheetTitle(sheet.SheetDate, look.Locale)},
                    BalanceSheetLines(sheet, layout), look);
}

}  // namespace qv
