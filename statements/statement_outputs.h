#pragma once
// What the statement windows hand on: the Copy command's rich text (and the trial balance's
// tab-separated text), the HTML page of the e-mail body and the .htm file, the Excel 2.1
// sheet, and the Export command that writes one of them to a file. Every output reads the
// rows the window computed and never computes again; each format has one builder, which
// the clipboard, the e-mail and the file share.
//
// - Rich text: a heading in Arial, then the table in Courier New with every cell padded
//   with blanks to its place: names cut to their width, amounts right-aligned in 12
//   characters (a longer amount is never cut). Texts are escaped (braces, backslashes, \uN?
//   for every character outside ASCII), so the document stays whole whatever the names hold.
// - Plain text (trial balance): cells separated by TAB, lines ended by CR LF; a TAB or line
//   break inside a name becomes a blank, and a name a spreadsheet would take for a formula
//   starts with an apostrophe (bookfiles/table_formats.h).
// - HTML: a well-formed XHTML page declared UTF-8 (bookfiles/table_formats.h): the business
//   name and the title centred and bold over a table of four columns 800 pixels wide; the
//   trial balance's account rows shaded in turn.
// - Sheet: text cells only, laid out row by row as the statement reads, with the business
//   name as the page header and footer.
// - CSV (trial balance): the rows of the plain text, RFC 4180, UTF-8 after a byte-order
//   mark, names marked as in the plain text.
//
// The trial balance's totals line shows the debit total and the credit total each in its
// own column, and is left out only when both are 0. The balance sheet's profit line is the
// sheet's own profit, whatever statement was computed since.

#include <string>
#include <string_view>

#include "bookfiles/table_document.h"
#include "bookfiles/table_files.h"
#include "controls/file_dialog_model.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/statement_drawing.h"
#include "statements/trial_balance.h"

namespace qv {

// One statement's outputs, with the business name, decimals, locale and font of its look.
// It refers to the statement it was made from, which must outlive it (and the documents it
// hands out); a window makes one for each command.
class StatementOutput {
 public:
  StatementOutput(const TrialBalance& tb, StatementLook look);
  StatementOutput(const IncomeStatement& statement, StatementLook look);
  StatementOutput(const BalanceSheet& sheet, BalanceSheetLayout layout, StatementLook look);

  // True when the statement's amounts were too large to add up: it has no rows to hand on,
  // and Export writes nothing.
  bool Failed() const;
  // What a command says instead of handing on such a statement, ending with `notDone`
  // ("so it was not exported.").
  static std::string TooLargeMessage(std::string_view notDone);

  // The Copy command's rich text, also the .rtf file.
  std::string Rtf() const;
  // The trial balance's plain text for the clipboard; the other statements have none.
  bool HasText() const { return tb_ != nullptr; }
  std::string Text() const;
  // The HTML page: the e-mail body, also the .htm file.
  TableDocument Page() const;
  std::string Html() const;
  // The Excel 2.1 sheet (the balance sheet's always in the standard layout).
  SheetDocument Sheet() const;
  // The trial balance's .csv file: the rows of the plain text.
  TableDocument CsvTable() const;

  // The Export command's file dialog: the types offered, the preset first.
  FileDialogRequest ExportRequest() const;
  // Writes the file of `type` ("xls", "rtf", "htm", or "csv" for the trial balance) to
  // `path` as it stands. A type the statement does not offer, or a statement that Failed, is
  // refused.
  TableFileResult Export(const std::string& path, std::string_view type) const;

 private:
  const TrialBalance* tb_ = nullptr;
  const IncomeStatement* income_ = nullptr;
  const BalanceSheet* sheet_ = nullptr;
  BalanceSheetLayout layout_ = BalanceSheetLayout::kStandard;
  StatementLook look_;
};

}  // namespace qv
