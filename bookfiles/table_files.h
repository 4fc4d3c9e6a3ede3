#pragma once
// Writes a table (bookfiles/table_document.h) to a file in one of the export types: "csv",
// "rtf" and "htm" (bookfiles/table_formats.h, UTF-8), "txt" (the plain text) and "xls" (an
// Excel 2.1 sheet through ExcelFile: the title lines, an empty row, the headings in bold and
// the rows, every cell a text cell as shown, columns as wide as the table says).
//
// Every file is written through a temporary file beside the target that replaces it only
// when the whole file was written, so a failure leaves the old file as it was. A sheet
// holds 65,536 rows; a larger table is written as far as it fits and the result says what
// was left out, and what was cut or replaced to fit the format's texts.
//
// WriteSheetDocument writes a sheet laid out cell by cell (bookfiles/table_document.h), and
// WriteDocumentFile a text already made, by the same paths and with the same messages.

#include <cstdint>
#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "bookfiles/table_document.h"

namespace qv {

struct TableFileResult : BookFileResult {
  // After a successful write: the table rows written and left out (a sheet only; the rows
  // of a SheetDocument count as they are numbered).
  int64_t RowsWritten = 0;
  int64_t RowsLeftOut = 0;
  int64_t TextsCut = 0;            // sheet texts cut to the format's length
  int64_t CharactersReplaced = 0;  // characters the sheet's code page lacks, written "?"
  int CodePage = 0;                // the sheet's code page
  // A sentence for the user when the file holds less than the table; "" otherwise.
  std::string Notice;
};

// True for the types WriteTableFile writes.
bool IsTableFileType(std::string_view type);

// Writes the table to `path` as `type` (lower case, as the file dialog gives it). The sheet
// uses `fontName` for its fonts and carries the first title line as its page header.
TableFileResult WriteTableFile(const std::string& path, std::string_view type,
                               const TableDocument& table, const std::string& fontName = "Arial",
                               const ProgressFn& progress = {});

// Writes the sheet to `path` as an Excel 2.1 file. Rows beyond the format's last row are
// left out and the Notice says how many.
TableFileResult WriteSheetDocument(const std::string& path, const SheetDocument& sheet,
                                   const ProgressFn& progress = {});

// Writes the text to `path` as it stands.
TableFileResult WriteDocumentFile(const std::string& path, std::string_view text);

}  // namespace qv
