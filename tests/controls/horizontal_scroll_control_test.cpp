#include "controls/horizontal_scroll_control.h"

#include <gtest/gtest.h>

#include "tests/controls/scroll_bar_test_window.h"

namespace qv {
namespace {

using Window = testing::BarWindow<RealhScroll>;

// The cash-flow window's period bar, 900 columns wide.
const QRect kBarPlace(10, 10, 900, 19);

TEST(RealhScroll, DrawsTrackButtonsAndThumbLeftToRight) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValue(75);
  ASSERT_EQ(w.bar->Model().ThumbPos(), 240);
  const QImage image = w.Grab("horizontal_scroll_value_75");
  ASSERT_EQ(image.size(), QSize(900, 19));

  const QColor white(Qt::white);
  EXPECT_EQ(w.Shade(55), QColor(0x8C, 0x8C, 0x8C));
  // The arrows' apexes: the left arrow's in 55 %, the right arrow's black.
  EXPECT_EQ(image.pixelColor(5, 10), w.Shade(55));
  EXPECT_EQ(image.pixelColor(893, 10), QColor(Qt::black));
  // Dither on the track.
  EXPECT_EQ(image.pixelColor(100, 4), w.Shade(55));
  EXPECT_EQ(image.pixelColor(101, 4), white);
  // The thumb spans columns 240 to 674.
  EXPECT_EQ(image.pixelColor(239, 4), white);
  EXPECT_EQ(image.pixelColor(240, 4), w.Shade(55));
  EXPECT_EQ(image.pixelColor(241, 4), w.Shade(80));
  EXPECT_EQ(image.pixelColor(242, 4), white);  // the 100 % ring
  EXPECT_EQ(image.pixelColor(243, 4), w.Shade(90));
  EXPECT_EQ(image.pixelColor(674, 4), w.Shade(55));
  EXPECT_EQ(image.pixelColor(675, 4), white);

  // No pressed look while dragged.
  w.Press(300);
  ASSERT_TRUE(w.bar->Model().Dragging());
  EXPECT_EQ(w.bar->grab().toImage(), image);
  w.Release(300);
}

TEST(RealhScroll, ThumbOfAValueBelowTheRangeStaysOnTheTrack) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValue(-10);
  EXPECT_EQ(w.bar->Value(), -10);
  EXPECT_EQ(w.bar->Model().ThumbPos(), -13);
  const QImage image = w.Grab("horizontal_scroll_below_range");
  EXPECT_EQ(image.pixelColor(5, 10), w.Shade(55));  // the left arrow is not painted over
  EXPECT_EQ(image.pixelColor(20, 5), w.Shade(90));  // the thumb starts at column 17
}

TEST(RealhScroll, DisabledThumbFillsTheTrackAfterARefresh) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetEnabled(false);
  w.bar->Refresh();
  const QImage image = w.Grab("horizontal_scroll_disabled");
  EXPECT_EQ(image.pixelColor(17, 4), w.Shade(55));
  EXPECT_EQ(image.pixelColor(450, 4), w.Shade(90));
  EXPECT_EQ(image.pixelColor(882, 4), w.Shade(55));
  w.Press(895);
  w.timer->Advance(500);
  EXPECT_TRUE(w.values.empty());
}

TEST(RealhScroll, HeldRightKeyStepsAtOnceThenEvery10MsThroughAutoRepeat) {
  Window w(ScrollBarSettings{.ValueMax = 1000, .ValueLargeChange = 150, .ValueSmallChange = 50},
           kBarPlace);
  w.Key(QEvent::KeyPress, Qt::Key_Right);
  w.timer->Advance(25);
  EXPECT_EQ(w.values, (std::vector<int>{50, 100, 150}));
  // Each repeated press steps at once as well; the timer keeps its own beat.
  w.KeyRepeat(Qt::Key_Right);
  w.timer->Advance(10);
  EXPECT_EQ(w.values, (std::vector<int>{50, 100, 150, 200, 250}));
  w.Key(QEvent::KeyRelease, Qt::Key_Right);
  w.timer->Advance(100);
  EXPECT_EQ(w.values.size(), 5u);

  // Page Down: the first page 100 ms after the press, then every 100 ms.
  w.values.clear();
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.timer->Advance(60);
  w.KeyRepeat(Qt::Key_PageDown);
  w.timer->Advance(60);
  w.KeyRepeat(Qt::Key_PageDown);
  w.timer->Advance(90);
  EXPECT_EQ(w.values, (std::vector<int>{400, 550}));
  w.Key(QEvent::KeyRelease, Qt::Key_PageDown);
}

TEST(RealhScroll, ColumnsThatFitDoNotMoveOnClicks) {
  // The cash-flow window with every column fitting: ValueMax negative, Value 0.
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValueMax(-120);
  w.bar->SetValue(0);
  w.values.clear();
  for (double at : {4.0, 30.0, 200.0, 600.0, 896.0}) {
    w.Press(at);
    w.timer->Advance(300);
    w.Mouse(QEvent::MouseMove, at + 50);
    w.Release(at + 50);
  }
  EXPECT_TRUE(w.values.empty());
  EXPECT_EQ(w.bar->Value(), 0);
}

}  // namespace
}  // namespace qv
