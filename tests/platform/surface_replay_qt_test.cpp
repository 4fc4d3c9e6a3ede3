#include "platform/surface_replay_qt.h"
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cmath>
#include <limits>
#include "tests/support/pdf_printer_qt.h"

namespace qv {
namespace {

constexpr QRgb kWhitePixel = 0xFFFFFF, kBlackPixel = 0x000000, kRedPixel = 0xFF0000;

// The operations replayed on a white image of the given size.
QImage Replayed(const std::vector<DrawOp>& ops, int w, int h, const ReplayOptions& options,
                QImage image = {}) {
  if (image.isNull()) {
    image = QImage(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
  }
  QPainter painter(&image);
  ReplayOnPainter(painter, ops, options);
  painter.end();
  return image;
}

struct PixelWant {
  int x, y;
  QRgb rgb;
};
void ExpectPixels(const QImage& image, const std::vector<PixelWant>& wants) {
  for (const PixelWant& p : wants)
    EXPECT_EQ(image.pixel(p.x, p.y) & 0xFFFFFF, p.rgb) << "at " << p.x << "," << p.y;
}

TEST(SurfaceReplay, PixelDrawingLandsOnExactPixels) {
  // A scroll-bar face: drawn in pixels, boxes include both corners, lines leave out their
  // end point.
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics, SurfaceUnits::Pixels);
  surface.FilledBox(10, 10, 19, 19, kRed);
  surface.Line(0, 50, 10, 50, kBlack);   // pixels 0..9
  surface.Line(30, 60, 30, 55, kBlack);  // pixels 60 down to 56
  surface.SetFillStyle(kFillSolid), surface.SetFillColor(RgbValue(255, 255, 0));
  surface.Box(40, 40, 50, 48, kBlack);
  // Coordinates that are not numbers draw nothing; an infinite one is held to the edge.
  surface.FilledBox(std::nan(""), 0, 10, 10, kBlack);
  surface.Line(0, 0, std::numeric_limits<double>::infinity(), 0, kBlack);
  surface.SetCurrentX(std::nan(""));
  surface.PrintStay("x");
  std::vector<DrawOp> ops = surface.TakeOperations();
  ops.emplace_back(PixelOp{70, 5, kRed});  // as a scroll bar's face draws its dither
  const std::vector<PixelWant> wants = {
      {10, 10, kRedPixel},   {19, 19, kRedPixel},   {20, 19, kWhitePixel}, {9, 50, kBlackPixel},
      {10, 50, kWhitePixel}, {30, 60, kBlackPixel}, {30, 56, kBlackPixel}, {30, 55, kWhitePixel},
      {40, 40, kBlackPixel}, {50, 48, kBlackPixel}, {51, 44, kWhitePixel}, {45, 44, 0xFFFF00u},
      {70, 5, kRedPixel},    {71, 5, kWhitePixel},  {99, 0, kBlackPixel},  {5, 5, kWhitePixel}};
  ExpectPixels(Replayed(ops, 100, 80, {1.0, {}}), wants);
}

TEST(SurfaceReplay, TwipsMapToPixelsAndAClearFillsTheBackground) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.SetBackColor(kSecondCopyTint);
  surface.Cls();
  surface.FilledBox(150, 300, 300, 450, kBlack);  // pixels 10..20, 20..30 at 15 twips
  // A named picture is drawn at its own size; an unknown one draws nothing.
  surface.DrawPicture("ButtonBar", 600, 600);
  surface.DrawPicture("Unknown", 0, 0);
  QImage band(4, 2, QImage::Format_RGB32);
  band.fill(Qt::red);
  const ReplayOptions options{
      15.0, [&](const std::string& name) { return name == "ButtonBar" ? band : QImage(); }};
  // The light-yellow tint is 0xC0FFFF as BGR.
  const std::vector<PixelWant> wants = {
      {10, 20, kBlackPixel}, {20, 30, kBlackPixel}, {21, 30, 0xFFFFC0u}, {0, 0, 0xFFFFC0u},
      {43, 41, kRedPixel},   {44, 41, 0xFFFFC0u},   {40, 42, 0xFFFFC0u}};
  ExpectPixels(Replayed(surface.Operations(), 60, 60, options), wants);
}

TEST(SurfaceReplay, TextIsDrawnWhereItWasMeasuredAndOpaqueTextPaintsItsBox) {
  QImage image(400, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QtTextMetrics metrics(&image);
  EXPECT_DOUBLE_EQ(metrics.TwipsPerPixel(), 15.0);  // 96 dots per inch
  DrawingSurface surface(metrics, SurfaceUnits::Twips, metrics.TwipsPerPixel());
  surface.SetFontSize(12);
  surface.SetCurrentX(300);
  surface.SetCurrentY(450);
  surface.PrintStay("WWWW");
  const TextOp text = *surface.FindText("WWWW");
  EXPECT_GT(text.Width, 0);
  EXPECT_DOUBLE_EQ(surface.CurrentX(), 300 + text.Width);
  image = Replayed(surface.Operations(), 0, 0, {15.0, {}}, image);
  image.save(QString::fromStdString(testing::TestOutputPath("surface_replay_text.png")));
  // The ink starts at the recorded top-left corner and stays inside the measured box.
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != kWhitePixel) ink |= QRect(x, y, 1, 1);
  ASSERT_FALSE(ink.isNull());
  EXPECT_TRUE(ink.left() >= 20 - 1 && ink.top() >= 30) << ink.left() << ", " << ink.top();
  EXPECT_TRUE(ink.right() <= 20 + text.Width / 15 + 1 && ink.bottom() <= 30 + text.Height / 15)
      << ink.right() << ", " << ink.bottom();
  DrawingSurface opaque(metrics);
  opaque.SetFontTransparent(false);
  opaque.SetBackColor(kRed);
  opaque.Print("i");
  ExpectPixels(Replayed(opaque.Operations(), 200, 60, {15.0, {}}), {{0, 0, kRedPixel}});
}

TEST(SurfaceReplay, QtMetricsMeasureALineAsQtMeasuresItWhole) {
  // Measured word by word, a line keeps the width of the whole line: kerning beside blanks,
  // ligatures inside words, runs of blanks; other texts are measured whole.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QImage screen(10, 10, QImage::Format_RGB32);
  const char* lines[] = {"AVATAR To Yes",
                         " A T Y V W ",
                         "Wa Ty A. T.",
                         "office affluent ffi",
                         "  two  blanks  ",
                         "Total - 115.00",
                         "LT.,Y.W.V.\"A'",
                         "Envelope #10, 4 1/8",
                         "Caf\xC3\xA9 \xE2\x82\xAC 5",
                         "03/15/2026  INV12  Sale to a customer  1,250.00"};
  for (QPaintDevice* device :
       {static_cast<QPaintDevice*>(&printer), static_cast<QPaintDevice*>(&screen)}) {
    QtTextMetrics metrics(device);
    for (const char* name : {"Arial", "Times New Roman", "Courier New"}) {
      for (int style = 0; style < 3; ++style) {
        const FontSpec font{
            .Name = name, .Size = 8.25 + style * 2, .Bold = style == 1, .Italic = style == 2};
        const QFontMetricsF qt(ToQFont(font), device);
        for (int round = 0; round < 2; ++round)  // measured afresh, then from what is kept
          for (const char* line : lines)
            EXPECT_DOUBLE_EQ(
                metrics.TextWidth(font, line),
                qt.horizontalAdvance(QString::fromUtf8(line)) * metrics.TwipsPerPixel())
                << name << " " << style << " \"" << line << "\"";
      }
    }
  }
}

TEST(SurfaceReplay, QtMetricsMeasureLinesAndHoldSizesToAUsableRange) {
  QtTextMetrics metrics;
  FontSpec plain{.Size = 10};
  EXPECT_NEAR(metrics.TextHeight(plain, "a\nb"), 2 * metrics.TextHeight(plain, "a"), 0.01);
  EXPECT_DOUBLE_EQ(metrics.TextWidth(plain, "ab\r\nabc"), metrics.TextWidth(plain, "abc"));
  EXPECT_EQ(ToQFont(FontSpec{.Size = 1e9}).pointSizeF(), 1000.0);
  EXPECT_EQ(ToQFont(FontSpec{.Size = 0}).pointSizeF(), 1.0);
}

TEST(SurfaceReplay, PrintsPageByPageToAPdfAndReportsAJobThatCannotStart) {
  const auto printer = testing::PdfPrinter("surface_replay.pdf");
  PrinterSurface page(*printer);
  DrawingSurface& surface = page.Surface();
  const SurfaceExtent extent = surface.Extent();
  EXPECT_NEAR(extent.Width, 8.27 * 1440, 10);                               // A4 paper
  EXPECT_TRUE(extent.ScaleWidth < extent.Width && extent.ScaleHeight > 0);  // the margins
  surface.Print("Acme Trading");
  surface.NewPage();
  surface.Print("Second page");
  surface.NewPage();  // a page break just before the end leaves no blank page
  surface.EndDoc();
  ASSERT_TRUE(page.Send());
  EXPECT_TRUE(surface.Operations().empty());
  EXPECT_TRUE(!testing::PdfToolsAvailable() ||
              testing::PdfPageCount(testing::TestOutputPath("surface_replay.pdf")) == 2);
  const auto unusable = testing::PdfPrinter("no-such-folder/out.pdf");
  PrinterSurface failing(*unusable);
  failing.Surface().Print("Invoice");
  failing.Surface().EndDoc();
  EXPECT_FALSE(failing.Send());
}

TEST(SurfaceReplay, AViewPaintsItsRecording) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.Cls();
  surface.FilledBox(0, 0, 300, 300, kRed);
  RecordingView view(nullptr, 15.0);
  view.resize(60, 40);
  view.SetOperations(surface.TakeOperations());
  ExpectPixels(view.grab().toImage(), {{5, 5, kRedPixel}, {40, 30, kWhitePixel}});
}

}  // namespace
}  // namespace qv
