#include "platform/surface_replay_qt.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cstdlib>
#include <limits>

namespace qv {
namespace {

QString OutputPath(const QString& name) {
  const char* dir = std::getenv("QV_TEST_OUTPUT");
  return QDir(dir && *dir ? QString::fromLocal8Bit(dir) : QDir::tempPath()).filePath(name);
}

QImage WhiteImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

constexpr QRgb kWhitePixel = 0xFFFFFF, kBlackPixel = 0x000000, kRedPixel = 0xFF0000;

// The bounding box of the non-white pixels, or a null rect.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Pixel(image, x, y) != kWhitePixel) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

TEST(SurfaceReplay, PixelDrawingLandsOnExactPixels) {
  // A scroll-bar face: drawn in pixels, boxes include both corners, lines leave out their
  // end point.
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics, SurfaceUnits::Pixels);
  surface.FilledBox(10, 10, 19, 19, kRed);
  surface.Line(0, 50, 10, 50, kBlack);  // pixels 0..9
  surface.Line(30, 60, 30, 55, kBlack);  // pixels 60 down to 56
  surface.SetFillStyle(kFillSolid);
  surface.SetFillColor(RgbValue(255, 255, 0));
  surface.Box(40, 40, 50, 48, kBlack);
  surface.PSet(70, 5, kRed);

  QImage image = WhiteImage(100, 80);
  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), {1.0, {}});
  painter.end();

  EXPECT_EQ(Pixel(image, 10, 10), kRedPixel);
  EXPECT_EQ(Pixel(image, 19, 19), kRedPixel);
  EXPECT_EQ(Pixel(image, 20, 19), kWhitePixel);
  EXPECT_EQ(Pixel(image, 0, 50), kBlackPixel);
  EXPECT_EQ(Pixel(image, 9, 50), kBlackPixel);
  EXPECT_EQ(Pixel(image, 10, 50), kWhitePixel);
  EXPECT_EQ(Pixel(image, 30, 60), kBlackPixel);
  EXPECT_EQ(Pixel(image, 30, 56), kBlackPixel);
  EXPECT_EQ(Pixel(image, 30, 55), kWhitePixel);
  EXPECT_EQ(Pixel(image, 40, 40), kBlackPixel);
  EXPECT_EQ(Pixel(image, 50, 48), kBlackPixel);
  EXPECT_EQ(Pixel(image, 45, 44), 0xFFFF00u);  // filled with FillColor inside the outline
  EXPECT_EQ(Pixel(image, 51, 44), kWhitePixel);
  EXPECT_EQ(Pixel(image, 70, 5), kRedPixel);
  EXPECT_EQ(Pixel(image, 71, 5), kWhitePixel);
}

TEST(SurfaceReplay, TwipsMapToPixelsAndAClearFillsTheBackground) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.SetBackColor(kSecondCopyTint);
  surface.Cls();
  surface.FilledBox(150, 300, 300, 450, kBlack);  // pixels 10..20, 20..30 at 15 twips

  QImage image = WhiteImage(60, 60);
  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), {15.0, {}});
  painter.end();

  EXPECT_EQ(Pixel(image, 10, 20), kBlackPixel);
  EXPECT_EQ(Pixel(image, 20, 30), kBlackPixel);
  EXPECT_EQ(Pixel(image, 21, 30), 0xFFFFC0u);  // the light-yellow tint, 0xC0FFFF as BGR
  EXPECT_EQ(Pixel(image, 0, 0), 0xFFFFC0u);
}

TEST(SurfaceReplay, TextIsDrawnWhereItWasMeasured) {
  QImage image = WhiteImage(400, 100);
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

  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), {15.0, {}});
  painter.end();
  image.save(OutputPath("surface_replay_text.png"));

  // The ink starts at the recorded top-left corner and stays inside the measured box.
  const QRect ink = InkBounds(image);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.left(), 20 - 1);
  EXPECT_GE(ink.top(), 30);
  EXPECT_LE(ink.right(), 20 + text.Width / 15 + 1);
  EXPECT_LE(ink.bottom(), 30 + text.Height / 15);
}

TEST(SurfaceReplay, OpaqueTextPaintsItsBoxInTheBackColour) {
  QImage image = WhiteImage(200, 60);
  QtTextMetrics metrics(&image);
  DrawingSurface surface(metrics);
  surface.SetFontTransparent(false);
  surface.SetBackColor(kRed);
  surface.Print("i");
  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), {15.0, {}});
  painter.end();
  EXPECT_EQ(Pixel(image, 0, 0), kRedPixel);
}

TEST(SurfaceReplay, QtMetricsFollowTheFont) {
  QtTextMetrics metrics;
  FontSpec plain;
  plain.Size = 10;
  FontSpec big = plain;
  big.Size = 20;
  EXPECT_GT(metrics.TextWidth(plain, "WW"), metrics.TextWidth(plain, "W"));
  EXPECT_GT(metrics.TextWidth(big, "W"), metrics.TextWidth(plain, "W"));
  EXPECT_NEAR(metrics.TextHeight(plain, "a\nb"), 2 * metrics.TextHeight(plain, "a"), 0.01);
  EXPECT_DOUBLE_EQ(metrics.TextWidth(plain, "ab\r\nabc"), metrics.TextWidth(plain, "abc"));
  // The character set is kept but measures nothing differently.
  FontSpec greek = plain;
  greek.Charset = 161;
  EXPECT_DOUBLE_EQ(metrics.TextWidth(greek, "Αβγ"), metrics.TextWidth(plain, "Αβγ"));
  // Sizes that are not usable are held to a usable range.
  FontSpec huge = plain;
  huge.Size = 1e9;
  EXPECT_EQ(ToQFont(huge).pointSizeF(), 1000.0);
  FontSpec zero = plain;
  zero.Size = 0;
  EXPECT_EQ(ToQFont(zero).pointSizeF(), 1.0);
}

TEST(SurfaceReplay, NamedPicturesAreDrawnAtTheirOwnSize) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.DrawPicture("ButtonBar", 150, 150);
  surface.DrawPicture("Unknown", 0, 0);
  QImage band(4, 2, QImage::Format_RGB32);
  band.fill(Qt::red);
  ReplayOptions options{15.0, [&](const std::string& name) {
                          return name == "ButtonBar" ? band : QImage();
                        }};
  QImage image = WhiteImage(20, 20);
  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), options);
  painter.end();
  EXPECT_EQ(Pixel(image, 10, 10), kRedPixel);
  EXPECT_EQ(Pixel(image, 13, 11), kRedPixel);
  EXPECT_EQ(Pixel(image, 14, 11), kWhitePixel);
  EXPECT_EQ(Pixel(image, 0, 0), kWhitePixel);
}

TEST(SurfaceReplay, CoordinatesThatAreNotNumbersDrawNothing) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics, SurfaceUnits::Pixels);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  surface.FilledBox(nan, 0, 10, 10, kBlack);
  surface.Line(0, 0, inf, 0, kBlack);
  surface.SetCurrentX(nan);
  surface.PrintStay("x");
  QImage image = WhiteImage(20, 20);
  QPainter painter(&image);
  ReplayOnPainter(painter, surface.Operations(), {1.0, {}});
  painter.end();
  // The infinite line is held to the far edge: it covers its row, and nothing else shows.
  EXPECT_EQ(Pixel(image, 19, 0), kBlackPixel);
  EXPECT_EQ(Pixel(image, 5, 5), kWhitePixel);
}

int PdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  int count = 0;
  for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0;
       at = bytes.indexOf("/Type /Page", at + 1))
    if (bytes.mid(at, 12) != "/Type /Pages") ++count;
  return count;
}

TEST(SurfaceReplay, PrintsPageByPageToAPdf) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString path = OutputPath("surface_replay.pdf");
  QFile::remove(path);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));

  PrinterSurface page(printer);
  DrawingSurface& surface = page.Surface();
  const SurfaceExtent extent = surface.Extent();
  EXPECT_NEAR(extent.Width, 8.27 * 1440, 10);  // A4 paper
  EXPECT_LT(extent.ScaleWidth, extent.Width);   // inside the margins
  EXPECT_GT(extent.ScaleHeight, 0);

  surface.SetFontBold(true);
  surface.SetCurrentX(surface.ScaleWidth() - 730 - surface.TextWidth("Acme Trading"));
  surface.Print("Acme Trading");
  surface.Line(0, surface.CurrentY() + 100, surface.ScaleWidth(), surface.CurrentY() + 100);
  surface.NewPage();
  surface.Print("Second page");
  surface.NewPage();  // a page break just before the end leaves no blank page
  surface.EndDoc();

  ASSERT_TRUE(page.Send());
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(PdfPageCount(path), 2);
  EXPECT_TRUE(surface.Operations().empty());
}

TEST(SurfaceReplay, APrinterThatCannotStartAJobIsReported) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(OutputPath("no-such-folder/out.pdf"));
  PrinterSurface page(printer);
  page.Surface().Print("Invoice");
  page.Surface().EndDoc();
  EXPECT_FALSE(page.Send());
}

TEST(SurfaceReplay, AViewPaintsItsRecording) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.Cls();
  surface.FilledBox(0, 0, 300, 300, kRed);
  RecordingView view(nullptr, 15.0);
  view.resize(60, 40);
  view.SetOperations(surface.TakeOperations());
  const QImage grab = view.grab().toImage();
  grab.save(OutputPath("recording_view.png"));
  EXPECT_EQ(grab.pixel(5, 5) & 0xFFFFFF, kRedPixel);
  EXPECT_EQ(grab.pixel(40, 30) & 0xFFFFFF, kWhitePixel);
}

}  // namespace
}  // namespace qv
