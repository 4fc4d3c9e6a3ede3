#include "statements/income_statement_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/statement_dates.h"
#include "statements/statement_texts.h"

namespace qv {

std::string StatementAmountOf(Amount value, const StatementLook& look) {
  return StatementAmountText(value, look.Decimals, look.Locale);
}

StatementColumns MeasureStatementColumns(DrawingSurface& surface,
                                         const std::vector<StatementLine>& lines,
                                         const StatementLook& look) {
  const FontSpec kept = surface.Font();
  surface.SetFontName(look.FontName);
  surface.SetFontSizeScaled(10);
  surface.SetFontUnderline(false);
  double widestAmount = 0;
  for (const StatementLine& line : lines) {
    if (line.LineKind == StatementLine::Kind::kHeading) continue;
    surface.SetFontBold(line.Column > 1);
    widestAmount = std::max(widestAmount, surface.TextWidth(StatementAmountOf(line.Value, look)));
  }
  surface.SetFontBold(false);
  StatementColumns columns;
  columns.AmountWidth = std::round(widestAmount + 400);
  columns.NameWidth =
      std::max(5000.0, std::round(surface.TextWidth(look.WidestName) + columns.AmountWidth));
  columns.Left = std::max(
      100.0, static_cast<double>(RoundHalfEven(
                 (surface.ScaleWidth() - (3 * columns.AmountWidth + columns.NameWidth)) / 2)));
  surface.SetFont(kept);
  return columns;
}

void StatementColumns::MarkPageColumns(DrawingSurface& surface) const {
  surface.SetPageColumns({0, RightEdge(0), RightEdge(1), RightEdge(2), RightEdge(3)}, 1);
}

void SetMarginBands(StatementDrawing& drawing, double left, double width) {
  drawing.HasMarginBands = left > 900;
  drawing.LeftBandEnd = left - 800;
  drawing.RightBandStart = width + 800 - left;
}

StatementDrawing DrawIncomeStatement(DrawingSurface& s, const IncomeStatement& statement,
                                     const StatementLook& look) {
  StatementPen pen(s);
  const std::vector<StatementLine> lines = IncomeStatementLines(statement);
  const StatementColumns columns = MeasureStatementColumns(s, lines, look);
  const double x0 = columns.Left;

  s.SetFontTransparent(true);
  s.SetFontName(look.FontName);
  s.SetFontCharset(look.FontCharset);
  s.SetFontSizeScaled(10);
  s.Print("");
  s.SetFontBold(true);  // kept for every heading and total
  s.Print("");
  s.SetFontSizeScaled(12);
  pen.Centred(look.BusinessName);
  s.SetFontSize(5);
  s.Print("");
  s.SetFontSizeScaled(12);
  pen.Centred(IncomeStatementTitle());
  s.SetFontSize(5);
  s.Print("");
  s.SetFontSizeScaled(10);
  s.SetFontUnderline(true);
  const IncomePeriod& period = statement.Period;
  pen.Centred(IncomePeriodText(period.IncomeFromDate, period.IncomeToDate, look.Locale));
  s.SetFontUnderline(false);
  columns.MarkPageColumns(s);

  using Kind = StatementLine::Kind;
  for (const StatementLine& line : lines) {
    const std::string label = line.LabelId ? Str(line.LabelId) : line.Name;
    switch (line.LineKind) {
      case Kind::kHeading:
        s.Print("");
        pen.TextLine(label, x0);
        s.Print("");
        break;
      case Kind::kAccount:
        s.SetFontBold(false);
        pen.TextAndAmount(label, x0, StatementAmountOf(line.Value, look), columns.RightEdge(1));
        pen.MarkRow(line.AccountFolio);
        break;
      case Kind::kProfit:
      case Kind::kSubtotal:
      case Kind::kTotal:
        s.SetFontBold(true);
        s.Print("");
        pen.TextAndAmount(label, x0, StatementAmountOf(line.Value, look),
                          columns.RightEdge(line.Column));
        break;
    }
  }
  StatementDrawing drawing = pen.Finish(590);
  SetMarginBands(drawing, x0, s.ScaleWidth());
  return drawing;
}

StatementDrawing LayOutIncomeStatement(const IncomeStatement& statement, const StatementLook& look,
                                       const TextMetrics& metrics, double width,
                                       double printScale) {
  return RecordStatement(metrics, width, printScale, [&](DrawingSurface& s) {
    return DrawIncomeStatement(s, statement, look);
  });
}

}  // namespace qv
