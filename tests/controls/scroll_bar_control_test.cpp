// The two scroll bars as shown: drawn pixels from their colour, presses and held keys on a
// fake clock, the host's view of every key.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "controls/horizontal_scroll_control.h"
#include "controls/vertical_scroll_control.h"
#include "platform/colors_qt.h"
#include "tests/controls/fake_repeat_timer.h"
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

using testing::Grab;

struct Pixel {
  int x, y;
  QColor color;
};
void ExpectPixels(const QImage& image, const std::vector<Pixel>& pixels) {
  for (const Pixel& p : pixels)
    EXPECT_EQ(image.pixelColor(p.x, p.y), p.color) << "pixel (" << p.x << ", " << p.y << ")";
}

// A small window holding one bar on a fake clock; the horizontal bar is the cash-flow
// window's period bar.
template <typename Bar>
struct BarWindow {
  explicit BarWindow(const ScrollBarSettings& settings) {
    const QRect geometry =
        std::is_same_v<Bar, PelVerticalScroll> ? QRect(10, 10, 19, 200) : QRect(10, 10, 900, 19);
    auto clock = std::make_unique<testing::FakeRepeatTimer>();
    timer = clock.get();
    bar = new Bar(settings, &window, std::move(clock));
    bar->setGeometry(geometry);
    window.resize(geometry.right() + 11, geometry.bottom() + 11);
    window.show();
    QObject::connect(bar, &Bar::Change, [this] { values.push_back(bar->Value()); });
  }
  // Mouse events at a position along the track, `across` it.
  void Mouse(QEvent::Type type, double along, Qt::MouseButton button = Qt::LeftButton) {
    const bool vertical = bar->Model().Kind() == ScrollBarKind::Vertical;
    testing::SendMouse(bar, type, vertical ? QPointF(9, along) : QPointF(along, 9), button,
                       type == QEvent::MouseButtonRelease ? Qt::NoButton : button);
  }
  void Key(QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(bar, &event);
  }
  // The platform's repeat of a held key: a release and a press, both marked as repeats.
  void KeyRepeat(int key) { Key(QEvent::KeyRelease, key, true), Key(QEvent::KeyPress, key, true); }
  QColor Shade(int percent) const { return ToQColor(bar->Model().Shade().Percent(percent)); }
  std::vector<int> values;  // Value at every Change
  QWidget window;
  Bar* bar = nullptr;
  testing::FakeRepeatTimer* timer = nullptr;
};
using Vertical = BarWindow<PelVerticalScroll>;
using Horizontal = BarWindow<RealhScroll>;

TEST(PelVerticalScroll, DrawsTrackButtonsAndThumbFromItsColourAndTheFocusOutline) {
  Vertical w(ScrollBarSettings{.BackColor = 0xC0FFFF});
  w.bar->SetValue(50);
  const QColor shade55 = w.Shade(55), tint(0xFF, 0xFF, 0xC0);
  // Border and dither in the 55 % shade, the dither's other pixels in the bar colour; the
  // arrows' apexes, the up arrow's in 55 %, the down arrow's black; the thumb on rows 78 to
  // 102 in its bevel shades.
  const std::vector<Pixel> pixels = {
      {0, 120, shade55},    {4, 130, shade55},    {5, 130, tint},    {10, 6, shade55},
      {10, 193, Qt::black}, {4, 77, tint},        {4, 78, shade55},  {3, 79, w.Shade(80)},
      {3, 81, w.Shade(70)}, {9, 90, w.Shade(90)}, {4, 102, shade55}, {4, 103, tint}};
  ExpectPixels(Grab(w.bar, "vertical_scroll_value_50"), pixels);
  // While dragged the thumb darkens one step.
  w.Mouse(QEvent::MouseButtonPress, 90);
  EXPECT_EQ(Grab(w.bar, "vertical_scroll_dragged").pixelColor(3, 81), w.Shade(65));
  w.Mouse(QEvent::MouseButtonRelease, 90);
  QApplication::setActiveWindow(&w.window);
  w.bar->setFocus();
  if (!w.bar->hasFocus()) GTEST_SKIP() << "the platform gives no window the focus";
  ExpectPixels(Grab(w.bar, "vertical_scroll_focused"),
               {{0, 100, Qt::black}, {18, 5, Qt::black}, {1, 100, w.Shade(80)}});
}

TEST(PelVerticalScroll, HostSeesEveryKeyFirstAndHeldPageDownRepeatsThroughAutoRepeat) {
  Vertical w(ScrollBarSettings{.ValueMax = 40, .Value = 20});
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
  for (int i = 0; i < 2; ++i) w.KeyRepeat(Qt::Key_PageDown), w.timer->Advance(10);
  w.Key(QEvent::KeyRelease, Qt::Key_PageDown);
  w.timer->Advance(100);
  EXPECT_EQ(w.values, (std::vector<int>{13, 18, 23, 28, 33}));
  EXPECT_EQ(seen, (std::vector<int>{380, 340, 340, 340}));
}

TEST(PelVerticalScroll, ADisabledBarTakesNoInputAndOnlyTheLeftButtonPresses) {
  Vertical w(ScrollBarSettings{.Enabled = false});
  w.Key(QEvent::KeyPress, Qt::Key_PageDown);
  w.Mouse(QEvent::MouseButtonPress, 195);
  w.timer->Advance(500);
  EXPECT_TRUE(w.values.empty());
  w.bar->setEnabled(true);
  EXPECT_TRUE(w.bar->Enabled()) << "the widget's own switch is the same switch";
  // A drag follows the pointer until the release; other buttons do not press.
  w.Mouse(QEvent::MouseButtonPress, 20);
  w.Mouse(QEvent::MouseMove, 199);
  w.Mouse(QEvent::MouseButtonRelease, 199);
  w.Mouse(QEvent::MouseButtonPress, 195, Qt::RightButton);
  w.timer->Advance(500);
  EXPECT_EQ(w.values, std::vector<int>{100});
}

TEST(PelVerticalScroll, ABarMadeWithoutSettingsTakesTheDefaults) {
  QWidget window;
  const PelVerticalScroll bar(&window);
  const ScrollBarSettings defaults;
  EXPECT_EQ(std::tuple(bar.Value(), bar.ValueMax(), bar.BackColor()),
            std::tuple(defaults.Value, defaults.ValueMax, defaults.BackColor));
}

TEST(RealhScroll, DrawsTrackButtonsAndThumbLeftToRightWithNoPressedLook) {
  Horizontal w(kCashFlowHScroll1Settings);
  w.bar->SetValue(75);
  const QImage image = Grab(w.bar, "horizontal_scroll_value_75");
  const QColor white(Qt::white), shade55 = w.Shade(55);
  // The arrows' apexes, the left arrow's in 55 %, the right arrow's black; dither on the
  // track; the thumb on columns 240 to 674.
  const std::vector<Pixel> pixels = {
      {5, 10, shade55},  {893, 10, Qt::black}, {100, 4, shade55},     {101, 4, white},
      {239, 4, white},   {240, 4, shade55},    {241, 4, w.Shade(80)}, {243, 4, w.Shade(90)},
      {674, 4, shade55}, {675, 4, white}};
  ExpectPixels(image, pixels);
  w.Mouse(QEvent::MouseButtonPress, 300);
  ASSERT_TRUE(w.bar->Model().Dragging());
  EXPECT_EQ(w.bar->grab().toImage(), image);
  w.Mouse(QEvent::MouseButtonRelease, 300);
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
  Horizontal w({.ValueMax = 1000, .ValueLargeChange = 150, .ValueSmallChange = 50});
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
