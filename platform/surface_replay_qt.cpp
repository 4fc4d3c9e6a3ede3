#include "platform/surface_replay_qt.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/colors_qt.h"
#include "platform/units.h"

namespace qv {

namespace {

// Coordinates further out than this are held to it, far outside any device.
constexpr double kFarPixel = 1 << 24;

// The device pixel of a coordinate; nullopt for a coordinate that is not a number.
std::optional<int> DevicePixel(double units, double unitsPerPixel) {
  const double pixels = units / unitsPerPixel;
  if (std::isnan(pixels)) return std::nullopt;
  return static_cast<int>(RoundHalfEven(std::clamp(pixels, -kFarPixel, kFarPixel)));
}

struct PixelRect {
  int left, top, right, bottom;  // both corners included
};

std::optional<PixelRect> DeviceRect(double x1, double y1, double x2, double y2, double upp) {
  const auto px1 = DevicePixel(x1, upp), py1 = DevicePixel(y1, upp);
  const auto px2 = DevicePixel(x2, upp), py2 = DevicePixel(y2, upp);
  if (!px1 || !py1 || !px2 || !py2) return std::nullopt;
  return PixelRect{std::min(*px1, *px2), std::min(*py1, *py2), std::max(*px1, *px2),
                   std::max(*py1, *py2)};
}

void FillPixels(QPainter& painter, int left, int top, int right, int bottom, const QColor& c) {
  if (right < left || bottom < top) return;
  painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), c);
}

void ReplayLine(QPainter& painter, const LineOp& op, double upp) {
  const auto x1 = DevicePixel(op.X1, upp), y1 = DevicePixel(op.Y1, upp);
  const auto x2 = DevicePixel(op.X2, upp), y2 = DevicePixel(op.Y2, upp);
  if (!x1 || !y1 || !x2 || !y2) return;
  const QColor color = ToQColor(op.Color);
  if (*y1 == *y2) {
    if (*x1 == *x2) return;  // only the end point, which is left out
    const int from = *x1 < *x2 ? *x1 : *x2 + 1;
    const int to = *x1 < *x2 ? *x2 - 1 : *x1;
    FillPixels(painter, from, *y1, to, *y1, color);
  } else if (*x1 == *x2) {
    const int from = *y1 < *y2 ? *y1 : *y2 + 1;
    const int to = *y1 < *y2 ? *y2 - 1 : *y1;
    FillPixels(painter, *x1, from, *x1, to, color);
  } else {
    QPen pen(color);
    pen.setWidth(0);  // cosmetic: one device pixel
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPoint(*x1, *y1), QPoint(*x2, *y2));
  }
}

void ReplayBox(QPainter& painter, const BoxOp& op, double upp) {
  const auto r = DeviceRect(op.X1, op.Y1, op.X2, op.Y2, upp);
  if (!r) return;
  if (op.Filled) FillPixels(painter, r->left, r->top, r->right, r->bottom, ToQColor(op.FillColor));
  const QColor color = ToQColor(op.Color);
  FillPixels(painter, r->left, r->top, r->right, r->top, color);
  FillPixels(painter, r->left, r->bottom, r->right, r->bottom, color);
  FillPixels(painter, r->left, r->top, r->left, r->bottom, color);
  FillPixels(painter, r->right, r->top, r->right, r->bottom, color);
}

void ReplayText(QPainter& painter, const TextOp& op, double upp) {
  const double x = op.X / upp, y = op.Y / upp;
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (std::abs(x) > kFarPixel || std::abs(y) > kFarPixel) return;
  const QFont font = ToQFont(op.Font);
  if (!op.Transparent) {
    const double w = op.Width / upp, h = op.Height / upp;
    if (std::isfinite(w) && std::isfinite(h))
      painter.fillRect(QRectF(x, y, w, h), ToQColor(op.BackColor));
  }
  painter.setFont(font);
  painter.setPen(ToQColor(op.Color));
  const QFontMetricsF metrics(font, painter.device());
  painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(op.Text));
}

// Replays one drawing operation; page and document ends are the caller's.
void ReplayOne(QPainter& painter, const DrawOp& op, const ReplayOptions& options) {
  const double upp = options.UnitsPerPixel;
  if (const auto* text = std::get_if<TextOp>(&op)) {
    ReplayText(painter, *text, upp);
  } else if (const auto* line = std::get_if<LineOp>(&op)) {
    ReplayLine(painter, *line, upp);
  } else if (const auto* box = std::get_if<BoxOp>(&op)) {
    ReplayBox(painter, *box, upp);
  } else if (const auto* filled = std::get_if<FilledBoxOp>(&op)) {
    if (const auto r = DeviceRect(filled->X1, filled->Y1, filled->X2, filled->Y2, upp))
      FillPixels(painter, r->left, r->top, r->right, r->bottom, ToQColor(filled->Color));
  } else if (const auto* pixel = std::get_if<PixelOp>(&op)) {
    const auto x = DevicePixel(pixel->X, upp), y = DevicePixel(pixel->Y, upp);
    if (x && y) FillPixels(painter, *x, *y, *x, *y, ToQColor(pixel->Color));
  } else if (const auto* picture = std::get_if<PictureOp>(&op)) {
    if (!options.Pictures) return;
    const QImage image = options.Pictures(picture->Name);
    const auto x = DevicePixel(picture->X, upp), y = DevicePixel(picture->Y, upp);
    if (!image.isNull() && x && y) painter.drawImage(QPoint(*x, *y), image);
  } else if (const auto* clear = std::get_if<ClearOp>(&op)) {
    const QPaintDevice* device = painter.device();
    if (device)
      painter.fillRect(QRect(0, 0, device->width(), device->height()), ToQColor(clear->BackColor));
  }
}

// Page and document ends, and the page heading and column marks, which only the page layout
// reads.
bool IsPageOrDocumentEnd(const DrawOp& op) {
  return std::holds_alternative<NewPageOp>(op) || std::holds_alternative<EndDocOp>(op) ||
         std::holds_alternative<PageHeadingOp>(op) || std::holds_alternative<PageColumnsOp>(op);
}

}  // namespace

QFont ToQFont(const FontSpec& wanted) {
  QFont font;
  if (!wanted.Name.empty()) font.setFamily(QString::fromStdString(wanted.Name));
  double size = wanted.Size;
  if (!(size >= 1.0)) size = 1.0;  // also a size that is not a number
  if (size > 1000.0) size = 1000.0;
  font.setPointSizeF(size);
  font.setBold(wanted.Bold);
  font.setItalic(wanted.Italic);
  font.setUnderline(wanted.Underline);
  return font;
}

double TwipsPerDevicePixel(const QPaintDevice& device) {
  return TwipsPerPixelForDpi(device.logicalDpiX());
}

QtTextMetrics::QtTextMetrics(const QPaintDevice* device, double twipsPerPixel)
    : device_(device), twipsPerPixel_(twipsPerPixel) {
  if (!(twipsPerPixel_ > 0)) {
    if (device_) {
      twipsPerPixel_ = TwipsPerDevicePixel(*device_);
    } else {
      const QScreen* screen = QGuiApplication::primaryScreen();
      twipsPerPixel_ = TwipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : 0.0);
    }
  }
}

// A font's metrics with what was measured in it: the widths of words, and the kerning of
// each ASCII character beside a blank, in device pixels.
struct QtTextMetrics::FontMeasure {
  struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const noexcept {
      return std::hash<std::string_view>()(word);
    }
  };
  // More words than this start the list afresh, so that it cannot grow without end.
  static constexpr std::size_t kMaxWords = 8192;
  static constexpr int kAscii = 128;

  FontMeasure(const FontSpec& font, const QPaintDevice* device)
      : Font(font),
        Metrics(device ? QFontMetricsF(ToQFont(font), device) : QFontMetricsF(ToQFont(font))),
        Blank(Metrics.horizontalAdvance(QLatin1Char(' '))) {
    BeforeBlank.fill(std::numeric_limits<double>::quiet_NaN());
    AfterBlank.fill(std::numeric_limits<double>::quiet_NaN());
  }

  double Whole(std::string_view text) const {
    return Metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  double Word(std::string_view word) {
    if (const auto found = Words.find(word); found != Words.end()) return found->second;
    if (Words.size() >= kMaxWords) Words.clear();
    return Words.emplace(std::string(word), Whole(word)).first->second;
  }
  // The kerning between two characters of which one is a blank.
  double KerningBesideBlank(char left, char right) {
    const bool blankFirst = left == ' ';
    double& kerning = blankFirst ? AfterBlank[static_cast<unsigned char>(right)]
                                 : BeforeBlank[static_cast<unsigned char>(left)];
    if (std::isnan(kerning)) {
      const char pair[2] = {left, right};
      kerning = Whole(std::string_view(pair, 2)) - Metrics.horizontalAdvance(QLatin1Char(left)) -
                Metrics.horizontalAdvance(QLatin1Char(right));
    }
    return kerning;
  }
  // The width of one line in pixels.
  double Line(std::string_view line) {
    const bool plain = std::all_of(line.begin(), line.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (!plain) return Whole(line);
    double width = 0;
    std::size_t at = 0;
    while (at < line.size()) {
      if (line[at] == ' ') {
        width += Blank;
        if (at > 0) width += KerningBesideBlank(line[at - 1], ' ');
        if (at + 1 < line.size() && line[at + 1] != ' ')
          width += KerningBesideBlank(' ', line[at + 1]);
        ++at;
        continue;
      }
      const std::size_t end = std::min(line.find(' ', at), line.size());
      width += Word(line.substr(at, end - at));
      at = end;
    }
    return width;
  }

  FontSpec Font;
  QFontMetricsF Metrics;
  double Blank;
  std::array<double, kAscii> BeforeBlank;
  std::array<double, kAscii> AfterBlank;
  std::unordered_map<std::string, double, WordHash, std::equal_to<>> Words;
};

QtTextMetrics::~QtTextMetrics() = default;

QtTextMetrics::FontMeasure& QtTextMetrics::MeasureOf(const FontSpec& font) const {
  if (!fonts_.empty() && fonts_.back()->Font == font) return *fonts_.back();
  constexpr std::size_t kFonts = 8;
  auto found = std::find_if(fonts_.begin(), fonts_.end(),
                            [&font](const auto& measure) { return measure->Font == font; });
  std::unique_ptr<FontMeasure> measure;
  if (found != fonts_.end()) {
    measure = std::move(*found);
    fonts_.erase(found);
  } else {
    measure = std::make_unique<FontMeasure>(font, device_);
    if (fonts_.size() >= kFonts) fonts_.erase(fonts_.begin());
  }
  fonts_.push_back(std::move(measure));
  return *fonts_.back();
}

double QtTextMetrics::TextWidth(const FontSpec& font, std::string_view text) const {
  FontMeasure& measure = MeasureOf(font);
  double widest = 0;
  // A text of several lines is as wide as its widest line.
  for (;;) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    widest = std::max(widest, measure.Line(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return widest * twipsPerPixel_;
}

double QtTextMetrics::TextHeight(const FontSpec& font, std::string_view text) const {
  const QFontMetricsF& metrics = MeasureOf(font).Metrics;
  const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
  return metrics.lineSpacing() * static_cast<double>(lines) * twipsPerPixel_;
}

void ReplayOnPainter(QPainter& painter, const std::vector<DrawOp>& ops,
                     const ReplayOptions& options) {
  if (!(options.UnitsPerPixel > 0)) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const DrawOp& op : ops)
    if (!IsPageOrDocumentEnd(op)) ReplayOne(painter, op, options);
  painter.restore();
}

PageStream::PageStream(QPagedPaintDevice& device, double unitsPerPixel)
    : device_(device), options_{unitsPerPixel, {}} {}

PageStream::~PageStream() {
  if (painter_.isActive()) painter_.end();
}

bool PageStream::Begin() {
  if (!painter_.begin(&device_)) return false;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  drawn_ = pageDue_ = false;
  return true;
}

bool PageStream::Send(std::span<const DrawOp> pages) {
  if (!painter_.isActive()) return false;
  // What follows earlier pages of the job starts a page of its own.
  if (drawn_) pageDue_ = true;
  for (const DrawOp& op : pages) {
    if (std::holds_alternative<NewPageOp>(op)) {
      pageDue_ = true;
      continue;
    }
    if (IsPageOrDocumentEnd(op)) continue;
    // A page is ejected only when something is drawn after it, so a page break at the end
    // leaves no blank page.
    if (pageDue_) {
      if (!device_.newPage()) return false;
      pageDue_ = false;
    }
    ReplayOne(painter_, op, options_);
    drawn_ = true;
  }
  return true;
}

bool PageStream::End() { return painter_.isActive() && painter_.end(); }

bool PrintRecording(QPrinter& printer, const std::vector<DrawOp>& ops, ReplayOptions options) {
  if (!(options.UnitsPerPixel > 0))
    options.UnitsPerPixel = TwipsPerPixelForDpi(printer.resolution());
  std::size_t i = 0;
  while (i < ops.size()) {
    // One document: up to its EndDoc or the end of the recording.
    std::size_t end = i;
    bool draws = false;
    while (end < ops.size() && !std::holds_alternative<EndDocOp>(ops[end])) {
      draws = draws || !IsPageOrDocumentEnd(ops[end]);
      ++end;
    }
    if (draws) {
      PageStream job(printer, options.UnitsPerPixel);
      if (!job.Begin() || !job.Send(std::span(ops).subspan(i, end - i)) || !job.End()) return false;
      if (printer.printerState() == QPrinter::Error) return false;
    }
    i = end < ops.size() ? end + 1 : end;
  }
  return true;
}

SurfaceExtent PrinterExtentTwips(const QPrinter& printer) {
  const QRectF paper = printer.paperRect(QPrinter::Inch);
  const QRectF page = printer.pageRect(QPrinter::Inch);
  return SurfaceExtent{paper.width() * kTwipsPerInch, paper.height() * kTwipsPerInch,
                       page.width() * kTwipsPerInch, page.height() * kTwipsPerInch};
}

PrinterSurface::PrinterSurface(QPrinter& printer)
    : printer_(printer),
      metrics_(&printer),
      surface_(metrics_, SurfaceUnits::Twips, metrics_.TwipsPerPixel()) {
  surface_.SetExtent(PrinterExtentTwips(printer));
}

bool PrinterSurface::Send() { return PrintRecording(printer_, surface_.TakeOperations()); }

RecordingView::RecordingView(QWidget* parent, double unitsPerPixel) : QWidget(parent) {
  options_.UnitsPerPixel = unitsPerPixel;
}

void RecordingView::SetOperations(std::vector<DrawOp> ops) {
  ops_ = std::move(ops);
  update();
}

void RecordingView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  ReplayOnPainter(painter, ops_, options_);
}

}  // namespace qv
