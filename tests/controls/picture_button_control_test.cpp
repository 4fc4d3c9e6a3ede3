#include "controls/picture_button_control.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "controls/etched_frame_control.h"
#include "controls/picture_button_face.h"
#include "platform/colors_qt.h"

namespace qv {
namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void SaveGrab(const QPixmap& pixmap, const char* name) {
  if (const char* dir = std::getenv("QV_TEST_OUTPUT")) {
    pixmap.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
  }
}

// True when the widget shows the face: the picture's pixels in its greys, and the black
// around the triangle cut away by the mask.
bool ShowsFace(QWidget* w, bool up) {
  const QImage image = w->grab().toImage();  // the whole picture, mask ignored
  const FacePicture face = TriangleFace(up);
  for (int y = 0; y < kFaceHeight; ++y) {
    for (int x = 0; x < kFaceWidth; ++x) {
      const int g = face[static_cast<size_t>(y)][static_cast<size_t>(x)];
      if (image.pixel(x, y) != qRgb(g, g, g)) return false;
      if (w->mask().contains(QPoint(x, y)) != (g != 0)) return false;
    }
  }
  return true;
}

TEST(ButtonUdTest, DownRefreshShowsTheUpwardFaceForGoodAndRefreshKeepsTheFace) {
  QWidget window;
  ButtonUd button(&window);
  window.resize(60, 40);
  button.move(10, 10);
  window.show();
  QApplication::processEvents();

  EXPECT_FALSE(button.ShowsUpwardFace());
  EXPECT_TRUE(ShowsFace(&button, false));
  // Only the triangle is shown: the black corners are cut away by the mask.
  EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
  EXPECT_FALSE(button.mask().contains(QPoint(0, 13)));
  EXPECT_TRUE(button.mask().contains(QPoint(13, 5)));
  button.Refresh();
  EXPECT_TRUE(ShowsFace(&button, false));

  button.DownRefresh();
  EXPECT_TRUE(ShowsFace(&button, true));
  EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(button.mask().contains(QPoint(0, 12)));
  SaveGrab(window.grab(), "picture_button_pressed");
  button.DownRefresh();
  button.Refresh();
  EXPECT_TRUE(button.ShowsUpwardFace());
  EXPECT_TRUE(ShowsFace(&button, true));
}

TEST(ButtonUdTest, PassesItsInputToTheHostAndADisabledButtonRaisesNothing) {
  QWidget window;
  ButtonUd button(&window);
  window.show();
  QApplication::processEvents();
  std::vector<std::string> seen;
  QObject::connect(&button, &ButtonUd::Click, [&] { seen.push_back("Click"); });
  QObject::connect(&button, &ButtonUd::MouseDown, [&](int16_t& b, int16_t&, float& x, float& y) {
    seen.push_back("MouseDown " + std::to_string(b) + " " + std::to_string(int(x)) + " " +
                   std::to_string(int(y)));
  });
  QObject::connect(&button, &ButtonUd::MouseUp, [&](int16_t& b, int16_t&, float&, float&) {
    seen.push_back("MouseUp " + std::to_string(b));
  });
  QObject::connect(&button, &ButtonUd::MouseMove, [&](int16_t& b, int16_t&, float&, float&) {
    seen.push_back("MouseMove " + std::to_string(b));
  });
  QObject::connect(&button, &ButtonUd::KeyDown, [&](int16_t& k, int16_t& s) {
    seen.push_back("KeyDown " + std::to_string(k) + " " + std::to_string(s));
  });
  QObject::connect(&button, &ButtonUd::KeyPress,
                   [&](int16_t& k) { seen.push_back("KeyPress " + std::to_string(k)); });
  QObject::connect(&button, &ButtonUd::KeyUp,
                   [&](int16_t& k, int16_t&) { seen.push_back("KeyUp " + std::to_string(k)); });

  auto input = [&] {
    SendMouse(&button, QEvent::MouseButtonPress, QPoint(12, 4), Qt::LeftButton, Qt::LeftButton);
    SendMouse(&button, QEvent::MouseMove, QPoint(13, 5), Qt::NoButton, Qt::LeftButton);
    SendMouse(&button, QEvent::MouseButtonRelease, QPoint(13, 5), Qt::LeftButton, Qt::NoButton);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(&button, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier, "A");
    QApplication::sendEvent(&button, &release);
  };
  input();
  EXPECT_EQ(seen, (std::vector<std::string>{"MouseDown 1 180 60", "MouseMove 1", "MouseUp 1",
                                            "Click", "KeyDown 65 1", "KeyPress 65", "KeyUp 65"}));
  // The button changes its face only on DownRefresh.
  EXPECT_FALSE(button.ShowsUpwardFace());

  seen.clear();
  button.SetEnabled(false);
  EXPECT_FALSE(button.Enabled());
  input();
  EXPECT_TRUE(seen.empty());
}

TEST(MyFrameTest, DrawsTheEtchedOutlinesHalfALineDown) {
  QWidget window;
  MyFrame frame(&window);
  window.resize(140, 90);
  frame.setGeometry(5, 5, 120, 70);
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(frame.font().bold());
  EXPECT_EQ(frame.font().pointSizeF(), 9);
  EXPECT_EQ(frame.BackCol(), 0x8000000Fu);

  frame.SetBackCol(0xC0FFFF);
  const EtchedFrameOutlines o = frame.Outlines();
  const int a = o.TopEdge;
  ASSERT_GT(a, 3);
  const QImage image = frame.grab().toImage();
  SaveGrab(frame.grab(), "etched_frame");
  const QRgb back = ToQColor(0xC0FFFF).rgb();
  const QRgb light = ToQColor(SystemColorValue(kButtonHighlightColor), frame.palette()).rgb();
  const QRgb shadow = ToQColor(SystemColorValue(kButtonShadowColor), frame.palette()).rgb();
  ASSERT_NE(light, shadow);
  const int w = 120, h = 70;
  EXPECT_EQ(image.pixel(5, a - 1), back);
  EXPECT_EQ(image.pixel(5, a), shadow);
  EXPECT_EQ(image.pixel(0, a + 5), shadow);
  EXPECT_EQ(image.pixel(5, a + 1), light);
  EXPECT_EQ(image.pixel(1, a + 5), light);
  EXPECT_EQ(image.pixel(w - 2, a + 5), shadow);  // the shadow drawn over the highlight
  EXPECT_EQ(image.pixel(w - 1, a + 5), light);
  EXPECT_EQ(image.pixel(5, h - 3), shadow);
  EXPECT_EQ(image.pixel(5, h - 2), back);
  EXPECT_EQ(image.pixel(5, h - 1), light);
  EXPECT_EQ(image.pixel(w / 2, h / 2), back);

  // A larger font moves the top edge down by half the larger line.
  QFont big = frame.font();
  big.setPointSizeF(18);
  frame.setFont(big);
  const int line = QFontMetrics(big).height();
  EXPECT_EQ(frame.Outlines().TopEdge, static_cast<int>(std::lrint(line / 2.0)));
  EXPECT_GT(frame.Outlines().TopEdge, a);
  const QImage bigger = frame.grab().toImage();
  EXPECT_EQ(bigger.pixel(5, a), back);
  EXPECT_EQ(bigger.pixel(5, frame.Outlines().TopEdge), shadow);
}

}  // namespace
}  // namespace qv
