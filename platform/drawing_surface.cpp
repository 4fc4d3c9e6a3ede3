#include "platform/drawing_surface.h"

#include <cmath>
#include <utility>

#include "platform/units.h"
#include "platform/utf8.h"

namespace qv {

DrawingSurface::DrawingSurface(const TextMetrics& metrics, SurfaceUnits units, double twipsPerPixel)
    : metrics_(metrics),
      units_(units),
      twipsPerPixel_(std::isfinite(twipsPerPixel) && twipsPerPixel > 0 ? twipsPerPixel
                                                                       : kTwipsPerPixelAt96Dpi) {}

void DrawingSurface::SetPrintScale(double scale) {
  printScale_ = std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

double DrawingSurface::ToUnits(double twips) const {
  return units_ == SurfaceUnits::Twips ? twips : twips / twipsPerPixel_;
}

double DrawingSurface::TextWidth(std::string_view text) const {
  return ToUnits(metrics_.TextWidth(font_, text));
}

double DrawingSurface::TextHeight(std::string_view text) const {
  return ToUnits(metrics_.TextHeight(font_, text));
}

void DrawingSurface::NewLine(double height) {
  currentX_ = 0;
  currentY_ += height;
}

void DrawingSurface::RecordText(std::string_view text, double width, double height) {
  ops_.emplace_back(TextOp{currentX_, currentY_, std::string(text), font_, foreColor_,
                           fontTransparent_, backColor_, width, height, document_, page_});
}

void DrawingSurface::Print(std::string_view text) {
  const double height = TextHeight(text);
  if (!text.empty()) RecordText(text, TextWidth(text), height);
  NewLine(height);
}

void DrawingSurface::PrintStay(std::string_view text) {
  if (text.empty()) return;
  const double width = TextWidth(text);
  RecordText(text, width, TextHeight(text));
  currentX_ += width;
}

void DrawingSurface::Line(double x1, double y1, double x2, double y2) {
  Line(x1, y1, x2, y2, foreColor_);
}

void DrawingSurface::Line(double x1, double y1, double x2, double y2, ColorValue color) {
  ops_.emplace_back(LineOp{x1, y1, x2, y2, color});
  currentX_ = x2;
  currentY_ = y2;
}

void DrawingSurface::Box(double x1, double y1, double x2, double y2) {
  Box(x1, y1, x2, y2, foreColor_);
}

void DrawingSurface::Box(double x1, double y1, double x2, double y2, ColorValue color) {
  ops_.emplace_back(BoxOp{x1, y1, x2, y2, color, fillStyle_ == kFillSolid, fillColor_});
  currentX_ = x2;
  currentY_ = y2;
}

void DrawingSurface::FilledBox(double x1, double y1, double x2, double y2, ColorValue color) {
  ops_.emplace_back(FilledBoxOp{x1, y1, x2, y2, color});
  currentX_ = x2;
  currentY_ = y2;
}

void DrawingSurface::DrawPicture(std::string name, double x, double y) {
  ops_.emplace_back(PictureOp{std::move(name), x, y});
}

void DrawingSurface::Cls() {
  ops_.clear();
  ops_.emplace_back(ClearOp{backColor_});
  currentX_ = 0;
  currentY_ = 0;
}

void DrawingSurface::BeginPageHeading() { ops_.emplace_back(PageHeadingOp{true, currentY_}); }

void DrawingSurface::EndPageHeading() { ops_.emplace_back(PageHeadingOp{false, currentY_}); }

void DrawingSurface::SetPageColumns(std::vector<double> edges, int repeated) {
  ops_.emplace_back(PageColumnsOp{std::move(edges), repeated, currentY_});
}

void DrawingSurface::NewPage() {
  ops_.emplace_back(NewPageOp{});
  ++page_;
  currentX_ = 0;
  currentY_ = 0;
}

void DrawingSurface::EndDoc() {
  ops_.emplace_back(EndDocOp{});
  ++document_;
  page_ = 0;
  currentX_ = 0;
  currentY_ = 0;
}

std::vector<TextOp> DrawingSurface::Texts() const {
  std::vector<TextOp> texts;
  for (const DrawOp& op : ops_)
    if (const auto* text = std::get_if<TextOp>(&op)) texts.push_back(*text);
  return texts;
}

const TextOp* DrawingSurface::FindText(std::string_view text) const {
  for (const DrawOp& op : ops_)
    if (const auto* t = std::get_if<TextOp>(&op); t && t->Text == text) return t;
  return nullptr;
}

std::vector<DrawOp> DrawingSurface::TakeOperations() {
  std::vector<DrawOp> taken = std::move(ops_);
  ops_.clear();
  return taken;
}

std::string FitText(const DrawingSurface& surface, std::string_view text, double width) {
  if (surface.TextWidth(text) <= width) return std::string(text);
  // The longest fitting start, found by halving over the characters.
  std::size_t low = 0, high = Utf8Length(text);
  while (low < high) {
    const std::size_t mid = (low + high + 1) / 2;
    if (surface.TextWidth(text.substr(0, Utf8Offset(text, mid))) <= width)
      low = mid;
    else
      high = mid - 1;
  }
  return std::string(text.substr(0, Utf8Offset(text, low)));
}

}  // namespace qv
