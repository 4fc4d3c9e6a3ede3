#pragma once
// The comparative statement drawn: a heading per column (grey), the beginning
// balance, the inflow rows with their total, the outflow rows with theirs, and
// the ending balance, with the account names in a column on the left and one
// right-aligned column per period and the total column after them. The window
// records it once per computation and replays the lines and columns in view;
// printing marks its columns, so that the print service prints it in bands of
// as many columns as the page holds, each band on pages of its own with the
// title and the names repeated where the page leaves room for them, and the
// column headings repeated at the top of every page.
//
// Measures, in twips at scale 1: the name column is the widest account name +
// 1650, each period column 1500 wide (wider when an amount needs it), names
// start at 150. Printing at another text size scales fonts and measures alike,
// once.

#include <string>

#include "platform/drawing_surface.h"
#include "statements/cash_flow.h"
#include "statements/statement_drawing.h"

namespace qv {

// Where the columns stand on a surface.
struct CashFlowColumns {
  double NameColumnWidth = 0;  // the right edge of the first column drawn
  double ColumnWidth = 0;
  double LineHeight = 0;

  // The right edge of column p of a drawing whose first column is `first`.
  double RightEdge(int p, int first) const { return NameColumnWidth + (p - first) * ColumnWidth; }
};

// The columns of `statement` on `surface` in the statement's font at the
// surface's scale.
CashFlowColumns MeasureCashFlowColumns(DrawingSurface& surface, const CashFlowStatement& statement,
                                       const StatementLook& look);

struct CashFlowDrawing {
  // The lines (the column headings marked), the account rows (the inflow rows,
  // then the outflow rows) and the drawn height; with the operations when
  // recorded.
  StatementDrawing Drawing;
  CashFlowColumns Columns;
  // The right edge of the last column plus a margin.
  double DrawnWidth = 0;
};

// Draws columns `first` to `last` (periods, and the total column when `last` is
// TotalColumn) from the surface's current Y; with `printing` the columns are
// marked for the page layout and the column headings as the page heading.
CashFlowDrawing DrawCashFlow(DrawingSurface& surface, const CashFlowStatement& statement,
                             const StatementLook& look, int first, int last, bool printing);

// The window's drawing: columns FirstPeriodShown to TotalColumn, recorded at
// scale 1.
CashFlowDrawing LayOutCashFlow(const CashFlowStatement& statement, const StatementLook& look,
                               const TextMetrics& metrics, int firstPeriodShown);

// The printout: the title "<business>, Cash Flow Position" and the statement
// from `firstPeriodShown` to the total column.
void PrintCashFlow(DrawingSurface& printer, const CashFlowStatement& statement,
                   const StatementLook& look, int firstPeriodShown);

// The first period a choice in the period list shows: the choice + 1, kept
// within the statement's periods.
int FirstPeriodShownOf(const CashFlowStatement& statement, int listIndex);

}  // namespace qv
