#pragma once
// The books as an Excel 2.1 sheet (Save As, type "xls"): one sheet holding the chart block
// and then the entry block, with the columns and header rows of the CSV form. Folios,
// amounts, account types and reconciled marks are number cells; dates are text cells
// "yyyy-mm-dd" as in the CSV (the format has no date cell of its own, and a text reads the
// same in every locale); names, notes, details, entry numbers and sides ("D", "C") are text
// cells. docs/spreadsheet-format.md describes the sheet.
//
// The format holds 65,536 rows and 255 bytes a text. A book that does not fit is written as
// far as it fits, ending with the last whole entry that fits; the result says plainly what
// was left out or cut. The file is replaced only when the whole sheet is written.

#include <cstdint>
#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "books/books.h"

namespace qv {

struct BooksSheetResult : BookFileResult {
  // After a successful write: what the sheet holds and what it could not hold.
  int64_t LinesWritten = 0;
  int64_t LinesLeftOut = 0;        // posting lines beyond the sheet's last row
  int64_t TextsCut = 0;            // texts cut to the format's length
  int64_t CharactersReplaced = 0;  // characters the sheet's code page lacks, written "?"
  int CodePage = 0;
  // A sentence for the user when something was left out, cut or replaced; "" when the
  // sheet holds the whole book as it is.
  std::string Notice;
};

// A text as a sheet cell holds it: its CR LF line breaks become the sheet's LF.
std::string SheetCellText(std::string_view text);

BooksSheetResult WriteBooksSheet(const std::string& path, const Books& books,
                                 const ProgressFn& progress = {});

}  // namespace qv
