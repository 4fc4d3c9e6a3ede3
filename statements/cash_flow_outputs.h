#pragma once
// What the comparative statement hands on, from the period shown first in its window to the
// total column, with the balances still summed from the first period:
//
// - the text (Copy, and the .csv file): lines ended by CR LF, every cell followed by a TAB
//   except the last heading. The business name and the caption; an empty line; the
//   headings (an empty cell, each period's first month as "mmm yyyy", "Total"); an empty
//   line; the beginning balances; "Inflows:", one line per inflow row, an empty line, the
//   inflows' totals and another empty line; "Outflows:", one line per outflow row, two
//   empty lines, the outflows' totals, and the ending balances. A TAB or line break inside
//   a name becomes a blank, so every line stays one line of cells, and a name a spreadsheet
//   would take for a formula starts with an apostrophe (bookfiles/table_formats.h). The
//   .csv file is this text with each TAB a comma and one more CR LF at its end, after a
//   byte-order mark; its fields are written as RFC 4180 fields (bookfiles/csv_file.h), so an
//   amount grouped with commas or a name holding one stays one field;
// - the HTML page (Send, and the .htm file): one table of cells with their own background
//   and alignment, the rows between the captions alternately grey and white; names and the
//   business name are escaped;
// - the Excel 2.1 sheet, laid out cell by cell: every cell a locked text cell, the totals
//   and captions in bold. The format holds 256 columns; a statement with more columns
//   shown is refused with a message, never half written.
//
// Every file is written whole through a temporary file, or not at all.

#include <string>
#include <string_view>
#include <vector>

#include "bookfiles/table_document.h"
#include "bookfiles/table_files.h"
#include "controls/file_dialog_model.h"
#include "statements/cash_flow.h"
#include "statements/statement_outputs.h"

namespace qv {

// One cell of the HTML page: shade 0 is grey (#F0F0F0), any other white; align 0 is
// left, 1 centre, 2 right, any other none. The text is written as it stands.
std::string TableAddRow(std::string_view text, int shade, int align);

class CashFlowOutput {
 public:
  // `caption` is the window's caption; `pageWidthPixels` the HTML page's width (the
  // window's width plus its horizontal scroll range). The statement must outlive the
  // output and the documents it hands out.
  CashFlowOutput(const CashFlowStatement& statement, StatementLook look, int firstPeriodShown,
                 std::string caption, int pageWidthPixels = 0);

  // Copy's text.
  std::string Ptable() const;
  // The .csv file's records: the text's lines split at its TABs, and an empty one at the end.
  TableDocument CsvTable() const;
  // The e-mail body, also the .htm file.
  std::string WebTable() const;
  SheetDocument Sheet() const;
  // The e-mail's subject: the business name and the caption.
  std::string Subject() const;

  // The Export command's file dialog: "*.xls", "*.csv" and "*.htm", the sheet first.
  FileDialogRequest ExportRequest() const;
  // Writes the file of `type` to `path`.
  TableFileResult Export(const std::string& path, std::string_view type) const;

 private:
  // One line of the text: its cells, each followed by a TAB unless the line ends after
  // the last one.
  struct TextLine {
    std::vector<std::string> Cells;
    bool TabAfterLast = true;
  };
  int TextLineCount() const;
  void TextLineAt(int index, TextLine& line) const;

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
