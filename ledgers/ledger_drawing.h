#pragma once
// Draws a ledger sheet (ledgers/ledger_sheets.h) on a drawing surface: the heading, the row
// of column headings with a rule below it, and any run of rows, each cell left- or
// right-aligned in its column, bold rows in bold, an indented cell moved right, the
// T-account's middle rule. The window draws only the rows in sight; the printer draws
// every row, page by page, through the same calls. Units are the surface's (twips on a
// window and on paper).
//
// Columns are as wide as the widest of their heading and their width samples, measured in
// the surface's own font (the screen's on a window, the printer's on paper); the stretch
// column takes the room left over. When the sheet is wider than the space, the columns that
// give way (names, notes) give up room, the widest first, down to a few characters, and
// their texts are cut with "..." (on a window) or broken into lines under each other (on
// paper, where a row grows to hold them); dates and amounts are never cut.

#include <cstdint>
#include <functional>
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
  // The width the sheet needs to show every text whole, no column giving way.
  double FullWidth = 0;
  // How far right a text with nothing on its right (the journal's notes) may run: to the
  // sheet's edge, or only to the end of its column when the sheet is printed in bands.
  double RunOnRight = 0;
  // Where the T-account's middle rule stands; 0 for none.
  double RuleX = 0;
  // A text too wide for its column that gives way is broken into further lines (a print-out)
  // rather than cut with "...".
  bool Wrap = false;
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
// Rows first .. first + count - 1 (those that exist) from `y`, each one line high unless the
// layout breaks a text into lines; the y below the last.
double DrawSheetRows(DrawingSurface& surface, const LedgerSheet& sheet, const SheetLayout& layout,
                     int64_t first, int64_t count, double y);
// The sheet's message (for a sheet without rows) at `y`.
double DrawSheetMessage(DrawingSurface& surface, const LedgerSheet& sheet, double y);

// The sheet as a print-out, drawn a page at a time (each page from the top of a fresh
// surface, so a document of any length never lies in memory whole): the first page holds
// what `before` draws (the business heading), the title lines, the column headings and the
// rows that fit below them; every further page the column headings and the rows that fit.
// A sheet without rows prints its message. Pages are drawn in order from 0; drawing page 0
// again starts a new copy. No text is cut: a name or a note too wide for its room is broken
// into further lines under it.
//
// A sheet whose columns do not all fit whole across the page (to within a device pixel) is
// printed with every column whole, its columns marked for the page layout to print in bands
// (the dates on every band); a name wider than a band is broken into lines, and texts with
// nothing on their right end with their column.
class SheetPrintout {
 public:
  explicit SheetPrintout(LedgerSheet sheet,
                         std::function<void(DrawingSurface& printer)> before = nullptr);
  // Draws page `page` and returns true when a further page follows.
  bool DrawPage(DrawingSurface& printer, int page);
  // The rows drawn so far in this copy, of RowCount.
  int64_t RowsDrawn() const { return next_; }
  int64_t RowCount() const { return sheet_.Table.RowCount; }

 private:
  LedgerSheet sheet_;
  std::function<void(DrawingSurface&)> before_;
  SheetLayout layout_;
  std::vector<double> edges_;  // the columns as the page layout cuts them
  int64_t next_ = 0;           // the first row of the next page
};

// The column under `x`, or -1 left of the first column (the gap before a column counts
// with it).
int ColumnAt(const SheetLayout& layout, double x);

}  // namespace qv
