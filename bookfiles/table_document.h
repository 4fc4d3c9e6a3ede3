#pragma once
// A table to hand on as a document: a few title lines, a row of column headings and rows of
// cell texts. The views and statements describe what they show this way, and the writers of
// bookfiles/table_formats.h and bookfiles/table_files.h turn it into plain text, CSV, RTF,
// HTML or a spreadsheet. Rows are handed out one at a time (FillRow), so a table of a
// million rows is never held as texts in memory.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class CellAlign : uint8_t { kLeft, kRight, kCentre };

struct TableColumn {
  std::string Heading;
  CellAlign Align = CellAlign::kLeft;
  // The column's width in characters of the body font: the RTF cell and the sheet's column
  // are this wide, and an HTML column takes this share of the page's width.
  int Width = 10;
};

// One row as the writers receive it: a text per column (missing cells are empty), shown in
// bold when Bold is set, with one cell indented when IndentedCell names it (the plain text
// puts four blanks before it; CSV and the sheet keep the text as it is). A cell may hold
// line breaks (LF or CR LF).
struct TableRow {
  std::vector<std::string> Cells;
  bool Bold = false;
  int IndentedCell = -1;

  void Clear(std::size_t columns) {
    Cells.assign(columns, std::string());
    Bold = false;
    IndentedCell = -1;
  }
};

struct TableDocument {
  // Lines above the table; the first is the document's heading (larger and bold).
  std::vector<std::string> Title;
  std::vector<TableColumn> Columns;
  bool ShowHeadings = true;
  int64_t RowCount = 0;
  // Fills `out` (already cleared to one empty cell per column) with row `row`, 0 to
  // RowCount - 1.
  std::function<void(int64_t row, TableRow& out)> FillRow;

  // Row `row` as the writers see it.
  void Row(int64_t row, TableRow& out) const {
    out.Clear(Columns.size());
    if (FillRow) FillRow(row, out);
    if (out.Cells.size() < Columns.size()) out.Cells.resize(Columns.size());
  }
};

// Where a writer puts what it writes, piece by piece.
using TextSink = std::function<void(std::string_view)>;

}  // namespace qv
