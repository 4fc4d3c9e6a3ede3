#include "controls/vertical_scroll_control.h"

#include <gtest/gtest.h>

#include "tests/controls/scroll_bar_test_window.h"

namespace qv {
namespace {

using Window = testing::BarWindow<PelVerticalScroll>;

// A new bar 200 rows tall and 19 columns wide, tinted as a second copy of the program.
const ScrollBarSettings kTinted{.BackColor = 0xC0FFFF};
const QRect kBarPlace(10, 10, 19, 200);

TEST(PelVerticalScroll, DrawsTrackButtonsAndThumbFromItsColour) {
  Window w(kTinted, kBarPlace);
  w.bar->SetValue(50);
  ASSERT_EQ(w.bar->Model().ThumbPos(), 78);
  const QImage image = w.Grab("vertical_scroll_value_50");
  ASSERT_EQ(image.size(), QSize(19, 200));

  const QColor shade55(0x8C, 0x8C, 0x6A);  // 0x6A8C8C
  const QColor tint(0xFF, 0xFF, 0xC0);
  // Border and dither in the 55 % shade; the dither's other pixels keep the bar colour.
  EXPECT_EQ(image.pixelColor(0, 120), shade55);
  EXPECT_EQ(image.pixelColor(4, 130), shade55);
  EXPECT_EQ(image.pixelColor(5, 131), shade55);
  EXPECT_EQ(image.pixelColor(5, 130), tint);
  // The arrows' apexes: the up arrow's in 55 %, the down arrow's black.
  EXPECT_EQ(image.pixelColor(10, 6), shade55);
  EXPECT_EQ(image.pixelColor(10, 193), QColor(Qt::black));
  // The thumb covers rows 78 to 102 in its bevel shades.
  EXPECT_EQ(image.pixelColor(4, 77), tint);
  EXPECT_EQ(image.pixelColor(4, 78), shade55);
  EXPECT_EQ(image.pixelColor(3, 79), w.Shade(80));
  EXPECT_EQ(image.pixelColor(3, 80), tint);  // the 100 % ring is the bar colour itself
  EXPECT_EQ(image.pixelColor(3, 81), w.Shade(70));
  EXPECT_EQ(image.pixelColor(9, 90), w.Shade(90));
  EXPECT_EQ(image.pixelColor(5, 83), w.Shade(95));
  EXPECT_EQ(image.pixelColor(4, 102), shade55);
  EXPECT_EQ(image.pixelColor(4, 103), tint);

  // While dragged the thumb darkens one step.
  w.Press(90);
  ASSERT_TRUE(w.bar->Model().Dragging());
  const QImage pressed = w.Grab("vertical_scroll_dragged");
  EXPECT_EQ(pressed.pixelColor(3, 81), w.Shade(65));
  w.Release(90);
}

TEST(PelVerticalScroll, ShowsNoThumbWhileValueMaxIsZero) {
  Window w(kMainScrollAccSettings, QRect(10, 10, 30, 133));
  const QImage image = w.Grab("vertical_scroll_empty");
  // Where a thumb would start, only the track's dither and the bar colour.
  EXPECT_EQ(image.pixelColor(9, 20), w.Shade(100));
  EXPECT_EQ(image.pixelColor(8, 20), w.Shade(55));
}

TEST(PelVerticalScroll, HeldDownArrowStepsBy100MsThen10MsAndRaisesChangeAtTheEnd) {
  Window w(kTinted, kBarPlace);
  w.bar->SetValue(97);
  w.values.clear();
  w.Press(195);
  w.timer->Advance(99);
  EXPECT_TRUE(w.values.empty());
  w.timer->Advance(31);
  EXPECT_EQ(w.values, (std::vector<int>{98, 99, 100, 100}));
  w.Release(195);
  w.timer->Advance(500);
  EXPECT_EQ(w.values.size(), 4u);
}

TEST(PelVerticalScroll, HeldPageDownRepeatsThroughKeyAutoRepeatUntilReleased) {
  Window w(kTinted, kBarPlace);
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.timer->Advance(25);
  EXPECT_EQ(w.values, (std::vector<int>{5, 10}));
  // The platform repeats a held key as release and press pairs; the repeat goes on, every
  // 10 ms.
  w.KeyRepeat(Qt::Key_PageDown);
  w.timer->Advance(10);
  w.KeyRepeat(Qt::Key_PageDown);
  w.timer->Advance(10);
  EXPECT_EQ(w.values, (std::vector<int>{5, 10, 15, 20}));
  w.Key(QEvent::KeyRelease, Qt::Key_PageDown);
  w.timer->Advance(100);
  EXPECT_EQ(w.values.size(), 4u);
  EXPECT_FALSE(w.timer->Enabled());
}

TEST(PelVerticalScroll, HostSeesEveryKeyFirstAndMayCancelIt) {
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
  EXPECT_EQ(w.values, std::vector<int>{13});  // exactly one move per key
  w.Key(QEvent::KeyRelease, Qt::Key_Up);
  w.Key(QEvent::KeyPress, Qt::Key_Down);
  EXPECT_EQ(w.values, (std::vector<int>{13, 20}));
  w.Key(QEvent::KeyRelease, Qt::Key_Down);
  // Keys the host leaves alone work as usual.
  w.Key(QEvent::KeyPress, Qt::Key_PageUp);
  w.timer->Advance(10);
  EXPECT_EQ(w.values, (std::vector<int>{13, 20, 15}));
  w.Key(QEvent::KeyRelease, Qt::Key_PageUp);
  EXPECT_EQ(seen, (std::vector<int>{380, 400, 330}));
}

TEST(PelVerticalScroll, DisabledBarTakesNoInput) {
  Window w(ScrollBarSettings{.Enabled = false}, kBarPlace);
  EXPECT_FALSE(w.bar->isEnabled());
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.Press(195);
  w.timer->Advance(500);
  EXPECT_TRUE(w.values.empty());
  w.bar->setEnabled(true);  // the widget's own switch is the same switch
  EXPECT_TRUE(w.bar->Enabled());
  w.Key(QEvent::KeyPress, Qt::Key_Down);
  EXPECT_EQ(w.values, std::vector<int>{1});
  EXPECT_EQ(w.bar->Settings(), ScrollBarSettings{.Value = 1});
}

TEST(PelVerticalScroll, OutlinedInBlackWhileItHasTheFocus) {
  Window w(kTinted, kBarPlace);
  int gotFocus = 0;
  QObject::connect(w.bar, &ScrollBarControl::GotFocus, [&] { ++gotFocus; });
  QApplication::setActiveWindow(&w.window);
  w.bar->setFocus();
  if (!w.bar->hasFocus()) GTEST_SKIP() << "the platform gives no window the focus";
  EXPECT_EQ(gotFocus, 1);
  const QImage image = w.Grab("vertical_scroll_focused");
  EXPECT_EQ(image.pixelColor(0, 100), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(18, 5), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(1, 100), w.Shade(80));
}

TEST(PelVerticalScroll, DragFollowsThePointer) {
  Window w(kTinted, kBarPlace);
  w.Press(20);
  w.Mouse(QEvent::MouseMove, 100);
  w.Mouse(QEvent::MouseMove, 199);
  w.Release(199);
  w.Mouse(QEvent::MouseMove, 50);
  EXPECT_EQ(w.values, (std::vector<int>{49, 100}));
  // Other buttons do not press.
  w.Mouse(QEvent::MouseButtonPress, 30, 9, Qt::RightButton);
  w.timer->Advance(500);
  EXPECT_EQ(w.values.size(), 2u);
}

}  // namespace
}  // namespace qv
