#pragma once
// Draws a ledger sheet (ledgers/ledger_sheets.h) on a drawing surface: the heading, the row
// of column headings with a rule below it, and any run of rows, each cell left- or
// right-aligned in its column, bold rows in bold, an indented cell moved right, the
// T-account's middle rule. The window draws only the rows in sight; the printer draws
// every row, page by page, through the same calls. Units are the surface's (twips on a
// window and on paper).
//
// Columns are as wide as the widest of their heading and their width samples in the
// surface's font; the stretch column takes the room left over, or gives up room down to a
// few characters when the sheet is wider than the space. A text wider than its column is
// cut where the row has more to show on its right.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ledgers/ledger_sheets.h"
#include "platform/drawing_surface.h"

namespace qv {

struct SheetLayout {
  // The text area of each column.
  std::vector<double> Left;
  std::vector<double> Right;
  double RowHeight = 0;
  double IndentWidth = 0;
  // The right edge of the last column and the sheet's margin.
  double Width = 0;
  // Where the T-account's middle rule stands; 0 for none.
  double RuleX = 0;
};

// The font of the sheets, on screen and on paper (the printer scales its size).
FontSpec SheetFont();

// The space left of the first column and between two columns, in twips.
inline constexpr double kSheetMarginTwips = 120;
inline constexpr double kColumnGapTwips = 240;

// Lays the columns out for the surface's current font within `width`.
SheetLayout LayoutSheet(DrawingSurface& surface, const LedgerSheet& sheet, double width);

// The heading (the first title line, bold) from `y`; the y below it.
double DrawSheetHeading(DrawingSurface& surface, const LedgerSheet& sheet, double y);
// Every title line from `y` (the first bold), then an empty line; the y below them.
double DrawSheetTitle(DrawingSurface& surface, const LedgerSheet& sheet, double y);
// The column headings at `y` with a rule below them; the y below the rule.
double DrawSheetHeadings(DrawingSurface& surface, const LedgerSheet& sheet,
                         const SheetLayout& layout, double y);
// Rows first .. first + count - 1 (those that exist) from `y`; the y below the last.
double DrawSheetRows(DrawingSurface& surface, const LedgerSheet& sheet, const SheetLayout& layout,
                     int64_t first, int64_t count, double y);
// The sheet's message (for a sheet without rows) at `y`.
double DrawSheetMessage(DrawingSurface& surface, const LedgerSheet& sheet, double y);

// The whole sheet as a print-out, from the printer's current position: the title lines,
// the column headings (marked as the page heading, so that they stand at the top of every
// further page) and every row, as tall as it runs; the print service cuts it into pages.
// A sheet without rows prints its message.
void DrawSheetDocument(DrawingSurface& printer, const LedgerSheet& sheet);

// The column under `x`, or -1 left of the first column (the gap before a column counts
// with it).
int ColumnAt(const SheetLayout& layout, double x);

// The longest start of `text` (whole characters) that is at most `width` wide on the
// surface.
std::string FitText(const DrawingSurface& surface, std::string_view text, double width);

}  // namespace qv
