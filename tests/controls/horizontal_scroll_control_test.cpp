#include "controls/horizontal_scroll_control.h"

#include <gtest/gtest.h>

#include "tests/controls/scroll_bar_test_window.h"

namespace qv {
namespace {

using Window = testing::BarWindow<RealhScroll>;
using testing::ExpectPixels;
using testing::Grab;

// The cash-flow window's period bar, 900 columns wide.
const QRect kBarPlace(10, 10, 900, 19);

TEST(RealhScroll, DrawsTrackButtonsAndThumbLeftToRight) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValue(75);
  ASSERT_EQ(w.bar->Model().ThumbPos(), 240);
  const QImage image = Grab(w.bar, "horizontal_scroll_value_75");
  ASSERT_EQ(image.size(), QSize(900, 19));

  const QColor white(Qt::white), shade55 = w.Shade(55);
  EXPECT_EQ(shade55, QColor(0x8C, 0x8C, 0x8C));
  ExpectPixels(image, {// The arrows' apexes: the left arrow's in 55 %, the right arrow's black.
                       {5, 10, shade55},
                       {893, 10, Qt::black},
                       // Dither on the track.
                       {100, 4, shade55},
                       {101, 4, white},
                       // The thumb spans columns 240 to 674; its 100 % ring is the bar colour.
                       {239, 4, white},
                       {240, 4, shade55},
                       {241, 4, w.Shade(80)},
                       {242, 4, white},
                       {243, 4, w.Shade(90)},
                       {674, 4, shade55},
                       {675, 4, white}});

  // No pressed look while dragged.
  w.Press(300);
  ASSERT_TRUE(w.bar->Model().Dragging());
  EXPECT_EQ(w.bar->grab().toImage(), image);
  w.Release(300);
}

TEST(RealhScroll, ThumbOfAValueBelowTheRangeAndOfADisabledBarStaysOnTheTrack) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValue(-10);
  EXPECT_EQ(w.bar->Value(), -10);
  EXPECT_EQ(w.bar->Model().ThumbPos(), -13);
  // The left arrow is not painted over; the thumb starts at column 17.
  ExpectPixels(Grab(w.bar, "horizontal_scroll_below_range"),
               {{5, 10, w.Shade(55)}, {20, 5, w.Shade(90)}});

  // A disabled bar's thumb fills the track after a refresh, and the bar takes no press.
  w.bar->SetEnabled(false);
  w.bar->Refresh();
  ExpectPixels(Grab(w.bar, "horizontal_scroll_disabled"),
               {{17, 4, w.Shade(55)}, {450, 4, w.Shade(90)}, {882, 4, w.Shade(55)}});
  w.values.clear();
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

}  // namespace
}  // namespace qv
