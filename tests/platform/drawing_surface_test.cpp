#include "platform/drawing_surface.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace qv {
namespace {

using Point = std::pair<double, double>;

// Fixed metrics: at 10 points a character is 100 twips wide and a line 200 twips high;
// both scale with the font size, and bold adds a twip per character.
class DrawingSurfaceTest : public ::testing::Test {
 protected:
  DrawingSurfaceTest() {
    surface_.SetExtent({12240, 15840, 11520, 15120});
    surface_.SetFontSize(10);
  }
  Point Position() const { return {surface_.CurrentX(), surface_.CurrentY()}; }
  FixedTextMetrics metrics_{100, 200};
  DrawingSurface surface_{metrics_};
};

TEST_F(DrawingSurfaceTest, PrintEndsTheLinePrintStayContinuesItAndTextsKeepTheirFont) {
  // A ledger row: folio and name in bold red, then the amount right-aligned at 9000.
  surface_.SetCurrentY(1000);
  surface_.SetCurrentX(500);
  surface_.SetFontBold(true);
  surface_.SetForeColor(kRed);
  surface_.SetFontTransparent(false);
  surface_.PrintStay("110");
  EXPECT_EQ(Position(), Point(803, 1000));  // bold: 101 a character
  surface_.SetFontBold(false), surface_.SetForeColor(kBlack);
  surface_.PrintStay("Cash");
  surface_.SetCurrentX(9000 - surface_.TextWidth("1,250.00"));
  surface_.Print("1,250.00");
  EXPECT_EQ(Position(), Point(0, 1200));
  const std::vector<TextOp> texts = surface_.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_TRUE(texts[0].Font.Bold && !texts[0].Transparent && texts[0].Color == kRed);
  EXPECT_TRUE(!texts[1].Font.Bold && texts[1].Color == kBlack && texts[1].X == 803);
  EXPECT_DOUBLE_EQ(texts[2].X + texts[2].Width, 9000);
  for (const TextOp& t : texts) EXPECT_DOUBLE_EQ(t.Y, 1000);
  // An empty print ends the line at the current font's height; staying on the line with
  // nothing to print moves nothing.
  surface_.SetFontSize(5);
  surface_.Print("");
  surface_.SetCurrentX(700);
  surface_.PrintStay("");
  EXPECT_EQ(Position(), Point(700, 1300));
  EXPECT_EQ(surface_.Texts().size(), 3u);
}

TEST_F(DrawingSurfaceTest, PrintScaleScalesOnlyWhereAskedABadScaleIsOneAndPixelsArePixels) {
  surface_.SetPrintScale(1.5);
  surface_.SetFontSizeScaled(12);
  EXPECT_DOUBLE_EQ(surface_.TextHeight("W"), 360);
  EXPECT_DOUBLE_EQ(surface_.Scaled(300), 450);
  surface_.SetFontSize(5);
  EXPECT_DOUBLE_EQ(surface_.FontSize(), 5);
  for (double bad : {0.0, -2.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    surface_.SetPrintScale(bad);
    EXPECT_DOUBLE_EQ(surface_.PrintScale(), 1.0) << bad;
  }
  // A pixel surface measures in pixels.
  FixedTextMetrics metrics(150, 300);
  DrawingSurface pixels(metrics, SurfaceUnits::Pixels, 15.0);
  pixels.SetFontSize(10);
  pixels.Print("ab");
  EXPECT_EQ(std::pair(pixels.TextWidth("ab"), pixels.CurrentY()), std::pair(20.0, 20.0));
}

TEST_F(DrawingSurfaceTest, BoxesTakeTheFillOfTheMomentAndDrawingMovesThePosition) {
  surface_.SetForeColor(0x123456);
  surface_.SetFillStyle(kFillSolid);
  surface_.SetFillColor(0xE0E0E0);
  surface_.Box(200, 300, 6000, 600, kBlack);
  surface_.SetFillStyle(kFillTransparent);
  surface_.Box(10, 20, 30, 40);
  const auto& ops = surface_.Operations();
  ASSERT_EQ(ops.size(), 2u);
  const BoxOp header = std::get<BoxOp>(ops[0]), outline = std::get<BoxOp>(ops[1]);
  EXPECT_TRUE(header.Filled && header.FillColor == 0xE0E0E0u && header.Color == kBlack);
  EXPECT_TRUE(!outline.Filled && outline.Color == 0x123456u);
  EXPECT_EQ(Position(), Point(30, 40));
  EXPECT_EQ(surface_.TakeOperations().size(), 2u);
  EXPECT_TRUE(surface_.Operations().empty());
}

TEST_F(DrawingSurfaceTest, ClearForgetsTheDrawingAndPagesAndDocumentsNumberTheirTexts) {
  surface_.Print("Old");
  surface_.SetBackColor(kSecondCopyTint);
  surface_.Cls();
  ASSERT_EQ(surface_.Operations().size(), 1u);
  EXPECT_EQ(std::get<ClearOp>(surface_.Operations()[0]).BackColor, kSecondCopyTint);
  EXPECT_EQ(Position(), Point(0, 0));
  surface_.SetCurrentY(14000);
  surface_.Print("Page one");
  surface_.NewPage();
  surface_.Print("Page two");
  surface_.EndDoc();
  surface_.Print("Second copy");
  auto where = [&](const char* text) {
    const TextOp* t = surface_.FindText(text);
    return std::tuple(t->Document, t->Page, t->Y);
  };
  EXPECT_EQ(where("Page one"), std::tuple(0, 0, 14000.0));
  EXPECT_EQ(where("Page two"), std::tuple(0, 1, 0.0));
  EXPECT_EQ(where("Second copy"), std::tuple(1, 0, 0.0));
}

}  // namespace
}  // namespace qv
