#include "controls/picture_button_control.h"
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>
#include <tuple>
#include "controls/etched_frame_control.h"
#include "controls/picture_button_face.h"
#include "platform/colors_qt.h"
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

using namespace testing;

// True when the widget shows the face: the picture's pixels in its greys, and the black
// around the triangle cut away by the mask.
bool ShowsFace(QWidget* w, bool up) {
  const QImage image = w->grab().toImage();  // the whole picture, mask ignored
  const FacePicture face = TriangleFace(up);
  for (int y = 0; y < kFaceHeight; ++y)
    for (int x = 0; x < kFaceWidth; ++x)
      if (const int g = face[size_t(y)][size_t(x)];
          image.pixel(x, y) != qRgb(g, g, g) || w->mask().contains(QPoint(x, y)) != (g != 0))
        return false;
  return true;
}

TEST(ButtonUdTest, ShowsItsFacesPassesItsInputOnAndRaisesNothingWhenDisabled) {
  QWidget window;
  window.resize(60, 40);
  ButtonUd button(&window);
  button.move(10, 10);
  window.show();
  // The pressed face mirrors the downward triangle; DownRefresh keeps it, Refresh too.
  const FacePicture down = TriangleFace(false), up = TriangleFace(true);
  for (int y = 0; y < kFaceHeight; ++y)
    for (int x = 0; x < kFaceWidth; ++x)
      ASSERT_EQ(up[size_t(y)][size_t(x)] == 0, down[size_t(kFaceHeight - 1 - y)][size_t(x)] == 0);
  button.Refresh();
  EXPECT_TRUE(ShowsFace(&button, false));
  button.DownRefresh();
  Grab(&window, "picture_button_pressed");
  button.Refresh();
  EXPECT_TRUE(ShowsFace(&button, true));
  std::vector<std::string> seen;
  const auto note = [&](const std::string& event, int a, int b = -1) {
    seen.push_back(event + " " + std::to_string(a) + (b < 0 ? "" : " " + std::to_string(b)));
  };
  QObject::connect(&button, &ButtonUd::Click, [&] { seen.push_back("Click"); });
  QObject::connect(&button, &ButtonUd::MouseDown, [&](int16_t& b, int16_t&, float& x, float& y) {
    note("MouseDown " + std::to_string(b), int(x), int(y));
  });
  QObject::connect(&button, &ButtonUd::MouseUp,
                   [&](int16_t& b, int16_t&, float&, float&) { note("MouseUp", b); });
  QObject::connect(&button, &ButtonUd::KeyDown,
                   [&](int16_t& k, int16_t& s) { note("KeyDown", k, s); });
  QObject::connect(&button, &ButtonUd::KeyPress, [&](int16_t& k) { note("KeyPress", k); });
  auto input = [&] {
    SendMouse(&button, QEvent::MouseButtonPress, QPoint(12, 4));
    SendMouse(&button, QEvent::MouseButtonRelease, QPoint(13, 5), Qt::LeftButton, Qt::NoButton);
    SendKey(&button, Qt::Key_A, "A", Qt::ShiftModifier);
  };
  input();  // positions in twips
  EXPECT_EQ(seen, (std::vector<std::string>{"MouseDown 1 180 60", "MouseUp 1", "Click",
                                            "KeyDown 65 1", "KeyPress 65"}));
  seen.clear();
  button.SetEnabled(false);
  input();
  EXPECT_TRUE(seen.empty());
}

// A move reaches the host with every button it holds, and a key's release too.
TEST(ButtonUdTest, PassesMovesAndKeyReleasesToTheHost) {
  QWidget window;
  window.resize(60, 40);
  ButtonUd button(&window);
  button.move(10, 10);
  window.show();
  std::vector<std::string> seen;
  QObject::connect(&button, &ButtonUd::MouseMove, [&](int16_t& b, int16_t&, float&, float&) {
    seen.push_back("MouseMove " + std::to_string(b));
  });
  QObject::connect(&button, &ButtonUd::KeyUp,
                   [&](int16_t& k, int16_t&) { seen.push_back("KeyUp " + std::to_string(k)); });
  SendMouse(&button, QEvent::MouseMove, QPoint(13, 5), Qt::NoButton,
            Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  SendMouse(&button, QEvent::MouseMove, QPoint(14, 5), Qt::NoButton, Qt::LeftButton);
  SendKey(&button, Qt::Key_A, "A", Qt::ShiftModifier);
  EXPECT_EQ(seen, (std::vector<std::string>{"MouseMove 7", "MouseMove 1", "KeyUp 65"}));
}

// The face shows the focus, which Tab gives it.
TEST(ButtonUdTest, ShowsTheFocusOnItsFace) {
  QWidget window;
  window.resize(60, 40);
  QLineEdit before(&window);
  ButtonUd button(&window);
  button.move(10, 10);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  before.setFocus();
  ASSERT_TRUE(ShowsFace(&button, false));
  const QImage plain = button.grab().toImage();
  QTest::keyClick(&before, Qt::Key_Tab);
  ASSERT_TRUE(button.hasFocus());
  EXPECT_NE(button.grab().toImage(), plain);
  before.setFocus();
  EXPECT_TRUE(ShowsFace(&button, false));
}

TEST(MyFrameTest, DrawsTheEtchedOutlinesHalfALineDown) {
  QWidget window;
  MyFrame frame(&window);
  window.resize(140, 90);
  frame.setGeometry(5, 5, 120, 70);
  window.show();
  frame.SetBackCol(0xC0FFFF);
  const int a = frame.Outlines().TopEdge;
  ASSERT_GT(a, 3);
  const QImage image = Grab(&frame, "etched_frame");
  const QRgb back = ToQColor(0xC0FFFF).rgb();
  const QRgb light = ToQColor(SystemColorValue(kButtonHighlightColor), frame.palette()).rgb();
  const QRgb shadow = ToQColor(SystemColorValue(kButtonShadowColor), frame.palette()).rgb();
  ASSERT_NE(light, shadow);
  const int w = 120, h = 70;
  // {x, y, colour}; on the right the shadow is drawn over the highlight.
  const std::vector<std::tuple<int, int, QRgb>> pixels = {
      {5, a - 1, back},      {5, a, shadow},     {1, a + 5, light}, {w - 2, a + 5, shadow},
      {w - 1, a + 5, light}, {5, h - 3, shadow}, {5, h - 2, back},  {w / 2, h / 2, back}};
  for (auto [x, y, colour] : pixels) EXPECT_EQ(image.pixel(x, y), colour) << x << ", " << y;
  // A larger font moves the top edge down by half the larger line (8.5 rounds to 8).
  QFont big = frame.font();
  big.setPointSizeF(18);
  frame.setFont(big);
  const int edge = frame.Outlines().TopEdge;
  EXPECT_EQ(edge, static_cast<int>(std::lrint(QFontMetrics(big).height() / 2.0)));
  EXPECT_EQ(frame.grab().toImage().pixel(5, edge), shadow);
  EXPECT_EQ(EtchedFrameLayout(100, 60, 17).TopEdge, 8);
}

}  // namespace
}  // namespace qv
