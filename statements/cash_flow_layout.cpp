#include "statements/cash_flow_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/string_table.h"

namespace qv {

namespace {

constexpr double kFontPoints = 9;
constexpr double kNameLeft = 150;
constexpr double kColumnWidth = 1500;
// Room kept between an amount and the text before it when a column has to grow.
constexpr double kAmountGap = 300;
constexpr double kRightMargin = 750;
constexpr ColorValue kHeadingGrey = 0x808080;

void SetBodyFont(DrawingSurface& s, const StatementLook& look, bool bold) {
  s.SetFontName(look.FontName);
  s.SetFontCharset(look.FontCharset);
  s.SetFontSizeScaled(kFontPoints);
  s.SetFontBold(bold);
  s.SetFontUnderline(false);
}

// Draws one line: a label at the name column's left and amounts right-aligned
// in the columns; the line ends `lines` line heights below its top.
class CashFlowPen {
 public:
  CashFlowPen(DrawingSurface& surface, const CashFlowStatement& statement,
              const StatementLook& look, const CashFlowColumns& columns, int first, int last)
      : s_(surface),
        pen_(surface),
        statement_(statement),
        look_(look),
        columns_(columns),
        first_(first),
        last_(last) {}

  StatementPen& Pen() { return pen_; }
  int Last() const { return last_; }
  int LastPeriod() const { return std::min(last_, statement_.TotalColumn - 1); }

  void Begin(const std::string& label) {
    pen_.BeginLine();
    top_ = s_.CurrentY();
    if (!label.empty()) {
      s_.SetCurrentX(kNameLeft);
      s_.PrintStay(label);
    }
  }
  void Amount(int p, qv::Amount value) {
    Text(p, CashFlowAmountText(value, look_.Decimals, look_.Locale));
  }
  void Text(int p, const std::string& text) {
    s_.SetCurrentX(columns_.RightEdge(p, first_) - s_.TextWidth(text));
    s_.PrintStay(text);
  }
  void End(int lines = 1, bool heading = false) {
    s_.SetCurrentY(top_ + lines * columns_.LineHeight);
    s_.SetCurrentX(0);
    pen_.EndLine(heading);
  }
  // A line of a label and the amounts of every column drawn.
  void Amounts(const std::string& label, const std::vector<qv::Amount>& values, int lines = 1) {
    Begin(label);
    for (int p = first_; p <= last_; ++p) Amount(p, values[static_cast<std::size_t>(p)]);
    End(lines);
  }

 private:
  DrawingSurface& s_;
  StatementPen pen_;
  const CashFlowStatement& statement_;
  const StatementLook& look_;
  const CashFlowColumns& columns_;
  int first_, last_;
  double top_ = 0;
};

}  // namespace

CashFlowColumns MeasureCashFlowColumns(DrawingSurface& s, const CashFlowStatement& statement,
                                       const StatementLook& look) {
  const FontSpec kept = s.Font();
  CashFlowColumns columns;
  SetBodyFont(s, look, false);
  const double plainHeight = s.TextHeight("");
  const double widestName = s.TextWidth(look.WidestName);
  // The widest amount, in bold as the totals are drawn: each row's total is its largest
  // value only when no period is negative, so every amount is measured.
  s.SetFontBold(true);
  // Headings and totals are bold, and a bold font may stand a pixel taller than the plain
  // one: every line is as high as the taller, so that no text reaches into the next line.
  columns.LineHeight = std::max({1.0, plainHeight, s.TextHeight("")});
  double widestLabel = 0;
  for (const int id :
       {kLabelBeginningBalance, kLabelTotalInflows, kLabelTotalOutflows, kLabelEndingBalance})
    widestLabel = std::max(widestLabel, s.TextWidth(" " + Str(id)));
  double widest = 0;
  auto measure = [&](const std::vector<Amount>& values) {
    for (std::size_t p = 1; p < values.size(); ++p)
      widest =
          std::max(widest, s.TextWidth(CashFlowAmountText(values[p], look.Decimals, look.Locale)));
  };
  for (const auto* rows : {&statement.Inflows, &statement.Outflows})
    for (const CashFlowRow& row : *rows) measure(row.Amounts);
  measure(statement.TotalInflows);
  measure(statement.TotalOutflows);
  measure(statement.Balances);
  columns.ColumnWidth = std::max(s.Scaled(kColumnWidth), std::round(widest + s.Scaled(kAmountGap)));
  // The first amount column ends a column's width after the names and the bold labels.
  columns.NameColumnWidth =
      std::round(kNameLeft + std::max(widestName, widestLabel) + columns.ColumnWidth);
  s.SetFont(kept);
  return columns;
}

CashFlowDrawing DrawCashFlow(DrawingSurface& s, const CashFlowStatement& statement,
                             const StatementLook& look, int first, int last, bool printing) {
  CashFlowDrawing result;
  result.Columns = MeasureCashFlowColumns(s, statement, look);
  const CashFlowColumns& columns = result.Columns;
  CashFlowPen line(s, statement, look, columns, first, last);
  s.SetFontTransparent(true);
  SetBodyFont(s, look, true);
  s.SetCurrentY(s.CurrentY() + columns.LineHeight);

  // On paper the columns are printed in bands as many as the page holds, the names on every
  // band.
  if (printing) {
    std::vector<double> edges = {0, columns.RightEdge(first, first) - columns.ColumnWidth};
    for (int p = first; p <= last; ++p) edges.push_back(columns.RightEdge(p, first));
    s.SetPageColumns(std::move(edges), 1);
  }
  // Column headings, grey; then the beginning balance of each period drawn.
  if (printing) s.BeginPageHeading();
  s.SetForeColor(kHeadingGrey);
  line.Begin("");
  for (int p = first; p <= last; ++p) line.Text(p, PeriodColumnHeading(statement, p, look.Locale));
  line.End(1, true);
  if (printing) s.EndPageHeading();
  s.SetForeColor(kBlack);
  line.Begin(" " + Str(kLabelBeginningBalance));
  for (int p = first; p <= line.LastPeriod(); ++p) line.Amount(p, statement.BalanceBefore(p));
  line.End();

  auto rows = [&](const std::vector<CashFlowRow>& list) {
    SetBodyFont(s, look, false);
    for (const CashFlowRow& row : list) {
      line.Amounts(row.Name + "    ", row.Amounts);
      line.Pen().MarkRow(row.RowFolio);
    }
    SetBodyFont(s, look, true);
  };
  line.Begin(Str(kLabelInflows));
  line.End();
  rows(statement.Inflows);
  line.Amounts(" " + Str(kLabelTotalInflows), statement.TotalInflows, 2);
  line.Begin(Str(kLabelOutflows));
  line.End();
  rows(statement.Outflows);
  line.Amounts(" " + Str(kLabelTotalOutflows), statement.TotalOutflows, 2);
  line.Begin(" " + Str(kLabelEndingBalance));
  for (int p = first; p <= line.LastPeriod(); ++p) line.Amount(p, statement.BalanceAfter(p));
  line.End();

  result.Drawing = line.Pen().Finish(columns.LineHeight);
  result.DrawnWidth = columns.RightEdge(last, first) + s.Scaled(kRightMargin);
  return result;
}

CashFlowDrawing LayOutCashFlow(const CashFlowStatement& statement, const StatementLook& look,
                               const TextMetrics& metrics, int firstPeriodShown) {
  DrawingSurface surface(metrics);
  CashFlowDrawing drawing;
  if (statement.TotalColumn < 2) return drawing;
  drawing = DrawCashFlow(surface, statement, look, firstPeriodShown, statement.TotalColumn, false);
  drawing.Drawing.Ops = surface.TakeOperations();
  return drawing;
}

void PrintCashFlow(DrawingSurface& s, const CashFlowStatement& statement, const StatementLook& look,
                   int firstPeriodShown) {
  if (statement.TotalColumn < 2) return;
  SetBodyFont(s, look, true);
  s.SetCurrentX(kNameLeft);
  s.Print(look.BusinessName + ", Cash Flow Position");
  DrawCashFlow(s, statement, look, firstPeriodShown, statement.TotalColumn, true);
}

int FirstPeriodShownOf(const CashFlowStatement& statement, int listIndex) {
  return std::clamp(listIndex + 1, 1, std::max(1, statement.TotalColumn - 1));
}

}  // namespace qv
