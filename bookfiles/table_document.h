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
// line breaks (LF or CR LF). A shaded row has a light grey background on the HTML page.
struct TableRow {
  std::vector<std::string> Cells;
  bool Bold = false;
  int IndentedCell = -1;
  bool Shaded = false;

  void Clear(std::size_t columns) {
    Cells.assign(columns, std::string());
    Bold = false;
    IndentedCell = -1;
    Shaded = false;
  }
};

// How the HTML page sets out the title and the table. The defaults are a report's page: the
// first title line large and bold, the others plain below it, the table as wide as its
// content. A statement's page centres its title lines, all bold with an empty line between
// them, over a table of a fixed width.
struct TablePage {
  bool CentredTitle = false;
  int WidthPixels = 0;  // the title's and the table's width; 0 = as the content needs
  int FontPoints = 10;
  int CellPadding = 3;  // pixels
};

struct TableDocument {
  // Lines above the table; the first is the document's heading (larger and bold).
  std::vector<std::string> Title;
  std::vector<TableColumn> Columns;
  bool ShowHeadings = true;
  TablePage Page;
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

// One cell of a sheet laid out cell by cell (SheetDocument): its column (from 1), its text,
// and the attributes the sheet stores with it. An empty text is written as an empty text
// cell, which carries its attributes.
struct SheetCell {
  int Column = 1;
  std::string Text;
  int Font = 0;   // the number of one of the sheet's fonts, 0 to 3
  int Align = 0;  // 0 general, 1 left, 2 centred, 3 right
  bool Locked = false;
};

// A sheet whose every cell the caller lays out: its fonts (numbered from 0 in this order),
// column widths in characters (column 1 first), page header and footer, and rows of cells
// handed out one at a time. Rows are numbered from 1; a row without cells stays empty.
struct SheetDocument {
  std::string FontName = "Arial";
  int FontPoints = 10;
  std::vector<int> FontAttributes = {0};  // ExcelFontAttribute sums, one per font
  std::vector<int> ColumnWidths;
  std::string Header;
  std::string Footer;
  int64_t RowCount = 0;
  // Fills `out` (already cleared) with the cells of row `row`, 1 to RowCount.
  std::function<void(int64_t row, std::vector<SheetCell>& out)> FillRow;
};

}  // namespace qv
