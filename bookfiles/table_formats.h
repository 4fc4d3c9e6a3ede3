#pragma once
// The text forms of a table (bookfiles/table_document.h), each escaped for its format:
//
// - plain text: the title lines, an empty line, then the headings and rows with their cells
//   separated by TAB; lines end with CR LF. A TAB or line break inside a cell becomes a
//   blank, so that every row stays one line of cells.
// - CSV (RFC 4180): the headings and rows only, one field per cell, fields holding a
//   comma, a double quote or a line break in double quotes with inner quotes doubled;
//   records end with CR LF; UTF-8 after a byte-order mark, which tells a spreadsheet the
//   encoding.
//
// A spreadsheet reads the plain text (pasted) and the CSV: there a text that starts with
// "=", "+", "-", "@", TAB or CR would be taken for a formula, and a formula can open links
// or run programs. Such a cell, title line or heading is written with a leading apostrophe,
// which makes the spreadsheet show it as the text it is; figures ("-1,250.00", "-3") are
// written as they stand.
// - RTF: the title lines (the first larger and bold), then the table as RTF table rows
//   with each column's width and alignment, headings bold. Backslashes and braces are
//   escaped, every character outside ASCII is written as \uN? (UTF-16 units, surrogate
//   pairs beyond the basic plane), a line break in a cell is \line.
// - HTML: a well-formed XHTML page declared as UTF-8: the title lines, then a table with a
//   heading row (th) and one row per table row, each cell aligned as its column. & < > "
//   and ' are written as entities, a line break in a cell as <br/>; characters XML does
//   not allow are left out. The document's TablePage sets out the title and the table's
//   width and font; shaded rows have a light grey background.
//
// Malformed UTF-8 in a cell is written as U+FFFD in every form. A row's indented cell is
// indented in the plain text (four blanks), the RTF (a left indent) and the HTML (padding).

#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "bookfiles/table_document.h"

namespace qv {

void WriteTableText(const TableDocument& table, const TextSink& sink,
                    const ProgressFn& progress = {});
void WriteTableCsv(const TableDocument& table, const TextSink& sink,
                   const ProgressFn& progress = {});
void WriteTableRtf(const TableDocument& table, const TextSink& sink,
                   const ProgressFn& progress = {});
void WriteTableHtml(const TableDocument& table, const TextSink& sink,
                    const ProgressFn& progress = {});

// The same, as one text (for the clipboard and the e-mail body).
std::string TableText(const TableDocument& table);
std::string TableCsv(const TableDocument& table);
std::string TableRtf(const TableDocument& table);
std::string TableHtml(const TableDocument& table);

// A text for the plain-text form (see above): TAB and line breaks become blanks.
void AppendPlainText(std::string& out, std::string_view text);
// True when a spreadsheet would read the cell as a formula: it starts with "=", "+", "-",
// "@", TAB or CR and is not a figure (a sign, then digits with the locale's decimal and
// grouping symbols).
bool ReadsAsFormula(std::string_view cell);
// A cell of the plain-text form: AppendPlainText after the apostrophe ReadsAsFormula asks for.
void AppendPlainCell(std::string& out, std::string_view cell);
// A text escaped for an RTF document (see above); line breaks become \line.
void AppendRtfText(std::string& out, std::string_view text);
// A text escaped for HTML element content or a quoted attribute (see above); line breaks
// become <br/> when `breaks` is set, else a blank.
void AppendHtmlText(std::string& out, std::string_view text, bool breaks = true);

}  // namespace qv
