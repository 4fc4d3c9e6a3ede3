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

TEST(RealhScroll, DrawsTrackButtonsAndThumbLeftToRightWithNoPressedLook) {
  Window w(kCashFlowHScroll1Settings, kBarPlace);
  w.bar->SetValue(75);
  const QImage image = Grab(w.bar, "horizontal_scroll_value_75");
  const QColor white(Qt::white), shade55 = w.Shade(55);
  ExpectPixels(image, {// The arrows' apexes: the left arrow's in 55 %, the right arrow's black.
                       {5, 10, shade55},
                       {893, 10, Qt::black},
                       // Dither on the track.
                       {100, 4, shade55},
                       {101, 4, white},
                       // The thumb spans columns 240 to 674.
                       {239, 4, white},
                       {240, 4, shade55},
                       {241, 4, w.Shade(80)},
                       {243, 4, w.Shade(90)},
                       {674, 4, shade55},
                       {675, 4, white}});
  w.Press(300);
  ASSERT_TRUE(w.bar->Model().Dragging());
  EXPECT_EQ(w.bar->grab().toImage(), image);
  w.Release(300);

  // A value below the range draws the thumb from column 17, clear of the left arrow; a
  // disabled bar's thumb fills the track after a refresh.
  w.bar->SetValue(-10);
  ExpectPixels(Grab(w.bar, "horizontal_scroll_below_range"),
               {{5, 10, shade55}, {20, 5, w.Shade(90)}});
  w.bar->SetEnabled(false);
  w.bar->Refresh();
  ExpectPixels(Grab(w.bar, "horizontal_scroll_disabled"),
               {{17, 4, shade55}, {450, 4, w.Shade(90)}, {882, 4, shade55}});
}

TEST(RealhScroll, HeldRightKeyStepsAtOnceThenEvery10MsThroughAutoRepeat) {
  Window w(ScrollBarSettings{.ValueMax = 1000, .ValueLargeChange = 150, .ValueSmallChange = 50},
           kBarPlace);
  w.Key(QEvent::KeyPress, Qt::Key_Right);
  w.timer->Advance(25);
  // Each repeated press steps at once as well; the timer keeps its own beat.
  w.KeyRepeat(Qt::Key_Right);
  w.timer->Advance(10);
  w.Key(QEvent::KeyRelease, Qt::Key_Right);
  w.timer->Advance(100);
  EXPECT_EQ(w.values, (std::vector<int>{50, 100, 150, 200, 250}));
}

}  // namespace
}  // namespace qv
