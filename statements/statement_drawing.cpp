#include "statements/statement_drawing.h"

#include <algorithm>

#include "platform/units.h"

namespace qv {

StatementLook StatementLookOf(const Books& books, const LocaleInfo& locale, int decimals) {
  StatementLook look;
  look.BusinessName = books.BusinessName;
  look.FontName = books.FontName;
  look.FontCharset = books.FontCharset;
  look.Decimals = decimals;
  look.FolioDashes = books.FolioDashes != 0;
  look.Locale = locale;
  return look;
}

std::pair<std::size_t, std::size_t> StatementDrawing::LinesWithin(double top, double bottom) const {
  // Lines stand one below the other, so both their tops and their bottoms rise.
  const auto first = std::partition_point(Lines.begin(), Lines.end(),
                                          [top](const DrawnLine& l) { return l.Bottom <= top; });
  const auto end = std::partition_point(first, Lines.end(),
                                        [bottom](const DrawnLine& l) { return l.Top < bottom; });
  return {static_cast<std::size_t>(first - Lines.begin()),
          static_cast<std::size_t>(end - Lines.begin())};
}

StatementPen::StatementPen(DrawingSurface& surface) : surface_(surface) {}

void StatementPen::BeginLine() { BeginLine(surface_.CurrentY()); }

void StatementPen::BeginLine(double top) {
  lineTop_ = top;
  lineFirstOp_ = surface_.Operations().size();
}

void StatementPen::EndLine(bool columnHeading) {
  drawing_.Lines.push_back(DrawnLine{lineTop_, surface_.CurrentY(), lineFirstOp_,
                                     surface_.Operations().size(), columnHeading});
}

void StatementPen::TextLine(const std::string& text, double x) {
  BeginLine();
  surface_.SetCurrentX(x);
  surface_.Print(text);
  EndLine();
}

void StatementPen::TextAndAmount(const std::string& text, double x, const std::string& amount,
                                 double amountRight) {
  BeginLine();
  surface_.SetCurrentX(x);
  surface_.PrintStay(text);
  surface_.SetCurrentX(amountRight - surface_.TextWidth(amount));
  surface_.Print(amount);
  EndLine();
}

void StatementPen::Centred(const std::string& text) {
  BeginLine();
  // A text wider than the surface starts at its left edge rather than before it.
  surface_.SetCurrentX(std::max(0.0, (surface_.ScaleWidth() - surface_.TextWidth(text)) / 2));
  surface_.Print(text);
  EndLine();
}

void StatementPen::MarkRow(Folio folio) {
  drawing_.Rows.push_back(
      StatementRowMark{static_cast<double>(RoundHalfEven(surface_.CurrentY())), folio});
}

StatementDrawing StatementPen::Finish(double bottomMargin) {
  drawing_.DrawnHeight = surface_.CurrentY() + bottomMargin;
  return std::move(drawing_);
}

StatementDrawing RecordStatement(const TextMetrics& metrics, double width, double printScale,
                                 const StatementDrawer& draw) {
  DrawingSurface surface(metrics);
  surface.SetExtent(SurfaceExtent{width, 0, width, 0});
  surface.SetPrintScale(printScale);
  StatementDrawing drawing = draw(surface);
  drawing.Ops = surface.TakeOperations();
  return drawing;
}

}  // namespace qv
