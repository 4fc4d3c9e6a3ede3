#pragma once
// What the comparative statement hands on, from the period shown first in its window to the
// total column, with the balances still summed from the first period:
//
// - the statement as a table (bookfiles/table_document.h): the business name and the
//   window's caption as the title, a column of names and one per period shown with the
//   total column last, headed by each period's first month; the beginning balance, the
//   inflows and their total, the outflows and theirs, and the ending balance. Copy puts its
//   plain text on the clipboard (cells separated by TAB), Send mails its HTML page, and
//   Export writes it as CSV (one field per cell, RFC 4180) or as the HTML page;
// - the Excel 2.1 sheet, laid out cell by cell: every cell a locked text cell, the totals
//   and captions in bold. The format holds 256 columns; a statement with more columns
//   shown is refused with a message, never half written.

#include <string>
#include <string_view>

#include "bookfiles/table_document.h"
#include "bookfiles/table_files.h"
#include "controls/file_dialog_model.h"
#include "statements/cash_flow.h"
#include "statements/statement_outputs.h"

namespace qv {

class CashFlowOutput {
 public:
  // `caption` is the window's caption; `pageWidthPixels` the HTML page's width (the
  // window's width plus its horizontal scroll range). The statement must outlive the
  // output and the documents it hands out.
  CashFlowOutput(const CashFlowStatement& statement, StatementLook look, int firstPeriodShown,
                 std::string caption, int pageWidthPixels = 0);

  TableDocument Table() const;
  // Copy's text.
  std::string Text() const;
  // The e-mail body, also the .htm file.
  std::string Html() const;
  SheetDocument Sheet() const;
  // The e-mail's subject: the business name and the caption.
  std::string Subject() const;

  // The Export command's file dialog: "*.xls", "*.csv" and "*.htm", the sheet first.
  FileDialogRequest ExportRequest() const;
  // Writes the file of `type` to `path`.
  TableFileResult Export(const std::string& path, std::string_view type) const;

 private:
  // The shown columns: the periods from the first shown, and the total column.
  int FirstColumn() const { return first_; }
  int ColumnCount() const;

  const CashFlowStatement& statement_;
  StatementLook look_;
  int first_ = 1;
  std::string caption_;
  int pageWidthPixels_ = 0;
};

}  // namespace qv
