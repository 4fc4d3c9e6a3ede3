#include "controls/vertical_scroll_control.h"

#include <gtest/gtest.h>

#include "tests/controls/scroll_bar_test_window.h"

namespace qv {
namespace {

using Window = testing::BarWindow<PelVerticalScroll>;
using testing::ExpectPixels;
using testing::Grab;

// A new bar 200 rows tall and 19 columns wide, tinted as a second copy of the program.
const ScrollBarSettings kTinted{.BackColor = 0xC0FFFF};
const QRect kBarPlace(10, 10, 19, 200);

TEST(PelVerticalScroll, DrawsTrackButtonsAndThumbFromItsColour) {
  Window w(kTinted, kBarPlace);
  w.bar->SetValue(50);
  ASSERT_EQ(w.bar->Model().ThumbPos(), 78);
  const QImage image = Grab(w.bar, "vertical_scroll_value_50");
  const QColor shade55 = w.Shade(55), tint(0xFF, 0xFF, 0xC0);
  ExpectPixels(image, {// Border and dither in the 55 % shade; the dither's other pixels keep
                       // the bar colour.
                       {0, 120, shade55},
                       {4, 130, shade55},
                       {5, 130, tint},
                       // The arrows' apexes: the up arrow's in 55 %, the down arrow's black.
                       {10, 6, shade55},
                       {10, 193, Qt::black},
                       // The thumb covers rows 78 to 102 in its bevel shades.
                       {4, 77, tint},
                       {4, 78, shade55},
                       {3, 79, w.Shade(80)},
                       {3, 81, w.Shade(70)},
                       {9, 90, w.Shade(90)},
                       {4, 102, shade55},
                       {4, 103, tint}});
  // While dragged the thumb darkens one step.
  w.Press(90);
  EXPECT_EQ(Grab(w.bar, "vertical_scroll_dragged").pixelColor(3, 81), w.Shade(65));
  w.Release(90);
}

TEST(PelVerticalScroll, HostSeesEveryKeyFirstAndHeldPageDownRepeatsThroughAutoRepeat) {
  Window w(ScrollBarSettings{.ValueMax = 40, .Value = 20}, kBarPlace);
  std::vector<int> seen;
  // As the main window does: Up and Down move to the neighbouring entry and are dropped.
  QObject::connect(w.bar, &PelVerticalScroll::KeyDown, [&](int16_t& keyCode, int16_t& shift) {
    seen.push_back(keyCode * 10 + shift);
    if (keyCode == kKeyUp || keyCode == kKeyDown) {
      w.bar->SetValue(w.bar->Value() + (keyCode == kKeyUp ? -7 : 7));
      keyCode = 0;
    }
  });
  w.Key(QEvent::KeyPress, Qt::Key_Up);
  w.Key(QEvent::KeyRelease, Qt::Key_Up);
  EXPECT_EQ(w.values, std::vector<int>{13});  // exactly one move per key
  // Keys the host leaves alone work as usual. The platform repeats a held key as release
  // and press pairs; the repeat goes on, every 10 ms, until the real release.
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.timer->Advance(25);
  for (int i = 0; i < 2; ++i) {
    w.KeyRepeat(Qt::Key_PageDown);
    w.timer->Advance(10);
  }
  w.Key(QEvent::KeyRelease, Qt::Key_PageDown);
  w.timer->Advance(100);
  EXPECT_EQ(w.values, (std::vector<int>{13, 18, 23, 28, 33}));
  EXPECT_EQ(seen, (std::vector<int>{380, 340, 340, 340}));
}

TEST(PelVerticalScroll, ADisabledBarTakesNoInputAndOnlyTheLeftButtonPresses) {
  Window w(ScrollBarSettings{.Enabled = false}, kBarPlace);
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.Press(195);
  w.timer->Advance(500);
  EXPECT_TRUE(w.values.empty());
  w.bar->setEnabled(true);  // the widget's own switch is the same switch
  EXPECT_TRUE(w.bar->Enabled());
  // A drag follows the pointer until the release; other buttons do not press.
  w.Press(20);
  w.Mouse(QEvent::MouseMove, 199);
  w.Release(199);
  w.Mouse(QEvent::MouseButtonPress, 195, 9, Qt::RightButton);
  w.timer->Advance(500);
  EXPECT_EQ(w.values, std::vector<int>{100});
}

TEST(PelVerticalScroll, OutlinedInBlackWhileItHasTheFocus) {
  Window w(kTinted, kBarPlace);
  QApplication::setActiveWindow(&w.window);
  w.bar->setFocus();
  if (!w.bar->hasFocus()) GTEST_SKIP() << "the platform gives no window the focus";
  ExpectPixels(Grab(w.bar, "vertical_scroll_focused"),
               {{0, 100, Qt::black}, {18, 5, Qt::black}, {1, 100, w.Shade(80)}});
}

}  // namespace
}  // namespace qv
