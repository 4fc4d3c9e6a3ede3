#include "statements/balance_sheet_layout.h"

#include "platform/string_table.h"
#include "statements/income_statement_layout.h"
#include "statements/statement_dates.h"

namespace qv {

StatementDrawing DrawBalanceSheet(DrawingSurface& s, const BalanceSheet& sheet,
                                  BalanceSheetLayout layout, const StatementLook& look) {
  StatementPen pen(s);
  const std::vector<StatementLine> lines = BalanceSheetLines(sheet, layout);
  const StatementColumns columns = MeasureStatementColumns(s, lines, look);
  const double left = columns.Left;

  s.SetFontTransparent(true);
  s.SetFontName(look.FontName);
  s.SetFontCharset(look.FontCharset);
  s.SetFontBold(true);
  s.SetFontSizeScaled(12);
  s.Print("");
  s.Print("");
  pen.Centred(look.BusinessName);
  s.Print("");
  s.SetFontUnderline(true);
  s.SetFontSizeScaled(10);
  pen.Centred(BalanceSheetTitle(sheet.SheetDate, look.Locale));
  s.SetFontUnderline(false);
  columns.MarkPageColumns(s);

  using Kind = StatementLine::Kind;
  for (const StatementLine& line : lines) {
    const std::string label = line.LabelId ? Str(line.LabelId) : line.Name;
    const std::string amount = StatementAmountOf(line.Value, look);
    switch (line.LineKind) {
      case Kind::kHeading:
        s.SetFontBold(true);
        s.Print("");
        pen.TextLine(label, left);
        break;
      case Kind::kAccount:
        s.SetFontBold(false);
        pen.TextAndAmount(label, left, amount, columns.RightEdge(1));
        pen.MarkRow(line.AccountFolio);
        break;
      case Kind::kProfit:
        s.SetFontBold(false);
        pen.TextAndAmount(label, left, amount, columns.RightEdge(1));
        break;
      case Kind::kSubtotal:
        s.SetFontBold(true);
        pen.TextAndAmount(label, left, amount, columns.RightEdge(2));
        break;
      case Kind::kTotal:
        s.SetFontBold(true);
        s.Print("");
        pen.TextAndAmount(label, left, amount, columns.RightEdge(3));
        break;
    }
  }
  StatementDrawing drawing = pen.Finish(590);
  SetMarginBands(drawing, left, s.ScaleWidth());
  return drawing;
}

StatementDrawing LayOutBalanceSheet(const BalanceSheet& sheet, BalanceSheetLayout layout,
                                    const StatementLook& look, const TextMetrics& metrics,
                                    double width, double printScale) {
  return RecordStatement(metrics, width, printScale, [&](DrawingSurface& s) {
    return DrawBalanceSheet(s, sheet, layout, look);
  });
}

}  // namespace qv
