#pragma once
// The income statement drawn: the business name, the title and the period centred, then
// each section with rows (REVENUE, Less Cost of Goods Sold, EXPENSES: heading, account rows,
// closing line) and the net line, centred on the surface as a block of a name column and
// three amount columns.

#include "statements/income_statement.h"
#include "statements/statement_drawing.h"

namespace qv {

// The columns of the income statement and the balance sheet, in twips. Amounts stand
// right-aligned in three columns: account rows end at Left + NameWidth, section balances
// one AmountWidth further, results two further.
struct StatementColumns {
  double AmountWidth = 0;  // the widest amount text + 400
  double NameWidth = 0;    // the widest account name + AmountWidth, at least 5000
  double Left = 0;         // the block centred, at least 100

  double RightEdge(int column) const { return Left + NameWidth + (column - 1) * AmountWidth; }
  // Marks the columns for printing from the surface's current Y: the names, then the three
  // amount columns; the names stand on every band of a print too wide for the page.
  void MarkPageColumns(DrawingSurface& surface) const;
};

// The columns for `lines` on `surface` (its width, scale and metrics). Amounts are measured
// in the font each is drawn in: account rows regular, closing and result lines bold.
StatementColumns MeasureStatementColumns(DrawingSurface& surface,
                                         const std::vector<StatementLine>& lines,
                                         const StatementLook& look);

// The text of a statement amount with the look's decimals ("(12.00)", ".50").
std::string StatementAmountOf(Amount value, const StatementLook& look);

// The side bands of a statement whose block starts at `left` on a surface `width` wide:
// drawn when the margin is more than 900 twips, each stopping 800 short of the block.
void SetMarginBands(StatementDrawing& drawing, double left, double width);

// Draws the income statement on `surface` from its top, centred on its ScaleWidth.
StatementDrawing DrawIncomeStatement(DrawingSurface& surface, const IncomeStatement& statement,
                                     const StatementLook& look);

StatementDrawing LayOutIncomeStatement(const IncomeStatement& statement, const StatementLook& look,
                                       const TextMetrics& metrics, double width, double printScale);

}  // namespace qv
