#pragma once
// Renders the recording of a DrawingSurface with Qt: on a widget's or an image's painter, and
// on a QPrinter page by page, one print job per document. QtTextMetrics measures text with
// the fonts of the screen or of a paint device (the printer), so that a drawing measured for
// a device is laid out as it is rendered there.
//
// Lines, boxes and pixels are set on whole device pixels: a corner lands on the pixel its
// coordinate rounds to, boxes include both corners and a line leaves out its end point.
// Text is drawn with its top at the recorded position. FontCharset is kept with the font
// but changes nothing: Qt draws Unicode text.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/drawing_surface.h"
#include "platform/text_metrics.h"

class QPaintDevice;

namespace qv {

// The Qt font of a font setting. Sizes outside 1 to 1000 points are held to that range.
QFont ToQFont(const FontSpec& font);

// Measures with the fonts of `device` (the screen when null). Twips are the device's pixels
// times `twipsPerPixel`; 0 takes 1440 / the device's logical dots per inch.
//
// A drawing measures line after line in a few fonts, and its lines repeat their words
// (dates, names, captions), so the metrics keep each font's words: a plain ASCII line is as
// wide as its words, its blanks and the kerning beside its blanks, which is what Qt's own
// measure of the whole line gives, at a fraction of the cost. Other texts are measured
// whole.
class QtTextMetrics final : public TextMetrics {
 public:
  explicit QtTextMetrics(const QPaintDevice* device = nullptr, double twipsPerPixel = 0);
  ~QtTextMetrics() override;
  double TextWidth(const FontSpec& font, std::string_view text) const override;
  double TextHeight(const FontSpec& font, std::string_view text) const override;
  double TwipsPerPixel() const { return twipsPerPixel_; }

 private:
  struct FontMeasure;
  FontMeasure& MeasureOf(const FontSpec& font) const;

  const QPaintDevice* device_;
  double twipsPerPixel_;
  mutable std::vector<std::unique_ptr<FontMeasure>> fonts_;  // the latest used last
};

// 1440 / the device's logical dots per inch: the twips in one of its pixels.
double TwipsPerDevicePixel(const QPaintDevice& device);

// Finds a picture by the name given to DrawingSurface::DrawPicture; a null image draws
// nothing.
using PictureSource = std::function<QImage(const std::string& name)>;

struct ReplayOptions {
  // Surface units per device pixel: 15 x ScreenScale for a twips drawing on a widget, 1 for
  // a pixel drawing, 1440 / resolution on a printer.
  double UnitsPerPixel = 15.0;
  PictureSource Pictures;
};

// Replays the operations on the painter. Page and document ends are ignored; a clear fills
// the painter's whole device with its colour.
void ReplayOnPainter(QPainter& painter, const std::vector<DrawOp>& ops,
                     const ReplayOptions& options);

// Prints the operations: each document (ended by EndDoc, or the end of the recording) is one
// print job, each NewPage ejects a page. UnitsPerPixel is taken from the printer when 0.
// Returns false when the printer cannot start a job or a page; documents already sent stay
// sent.
bool PrintRecording(QPrinter& printer, const std::vector<DrawOp>& ops,
                    ReplayOptions options = {0.0, {}});

// One print job on a printer or a PDF writer, sent a few pages at a time: Begin starts the
// job, each Send replays laid-out pages (platform/page_layout.h: pages separated by NewPage)
// and End finishes it. What a Send brings after pages already sent starts on a page of its
// own; a page is ejected only when something is drawn after it. Each call returns false
// when the device fails; the job is then over.
class PageStream {
 public:
  // `unitsPerPixel`: the drawing's units per device pixel (1440 / resolution for twips).
  PageStream(QPagedPaintDevice& device, double unitsPerPixel);
  ~PageStream();
  PageStream(const PageStream&) = delete;
  PageStream& operator=(const PageStream&) = delete;

  bool Begin();
  bool Send(std::span<const DrawOp> pages);
  bool End();

 private:
  QPagedPaintDevice& device_;
  ReplayOptions options_;
  QPainter painter_;
  bool drawn_ = false;
  bool pageDue_ = false;
};

// The extent of a printer page in twips: Width and Height of the paper, ScaleWidth and
// ScaleHeight of its printable area.
SurfaceExtent PrinterExtentTwips(const QPrinter& printer);

// A surface for printing: measured with the printer's fonts, in twips, sized to its page.
// Draw on Surface(), end each copy with EndDoc, then Send.
class PrinterSurface {
 public:
  // The printer must outlive this object; its page settings are read here.
  explicit PrinterSurface(QPrinter& printer);
  PrinterSurface(const PrinterSurface&) = delete;
  PrinterSurface& operator=(const PrinterSurface&) = delete;

  DrawingSurface& Surface() { return surface_; }
  // Prints what was drawn since the last Send. Returns false on a printer error.
  bool Send();

 private:
  QPrinter& printer_;
  QtTextMetrics metrics_;
  DrawingSurface surface_;
};

// A widget that paints a recording; it keeps its own copy of the operations.
class RecordingView : public QWidget {
 public:
  explicit RecordingView(QWidget* parent = nullptr, double unitsPerPixel = 15.0);
  void SetOperations(std::vector<DrawOp> ops);
  const std::vector<DrawOp>& Operations() const { return ops_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<DrawOp> ops_;
  ReplayOptions options_;
};

}  // namespace qv
