#pragma once
// The trial balance drawn: the business name and the title centred, three grey column
// headings (Accounts, Debit, Credit), one line per account with a balance (the first line
// shaded, then every second one; the brought-forward account in red) and the TOTALS line.
// The columns are fixed shares of the surface's width: a margin of 2%, the account column
// 58%, Debit and Credit 18% each.

#include "statements/statement_drawing.h"
#include "statements/trial_balance.h"

namespace qv {

// Draws the trial balance on `surface` from its top, as wide as the surface's ScaleWidth,
// at its PrintScale; the column headings are marked as the heading of every printed page.
StatementDrawing DrawTrialBalance(DrawingSurface& surface, const TrialBalance& tb,
                                  const StatementLook& look);

// The trial balance laid out for a surface `width` twips wide, measured with `metrics`, at
// `printScale` (1 on screen).
StatementDrawing LayOutTrialBalance(const TrialBalance& tb, const StatementLook& look,
                                    const TextMetrics& metrics, double width, double printScale);

}  // namespace qv
