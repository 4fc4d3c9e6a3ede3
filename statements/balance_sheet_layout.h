#pragma once
// The balance sheet drawn: the business name and the title centred, then the sections and
// total lines of the chosen layout, centred on the surface as a block of a name column and
// three amount columns (the income statement's columns). Labels all start at the block's
// left edge; only the title is underlined.

#include "statements/balance_sheet.h"
#include "statements/statement_drawing.h"

namespace qv {

// Draws the balance sheet on `surface` from its top, centred on its ScaleWidth.
StatementDrawing DrawBalanceSheet(DrawingSurface& surface, const BalanceSheet& sheet,
                                  BalanceSheetLayout layout, const StatementLook& look);

StatementDrawing LayOutBalanceSheet(const BalanceSheet& sheet, BalanceSheetLayout layout,
                                    const StatementLook& look, const TextMetrics& metrics,
                                    double width, double printScale);

}  // namespace qv
