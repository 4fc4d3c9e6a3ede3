#pragma once
// A small window holding one scroll bar on a fake clock, and the mouse and key events the
// tests send it.

#include <gtest/gtest.h>

#include <QWidget>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/colors_qt.h"
#include "tests/controls/fake_repeat_timer.h"
#include "tests/controls/input_events_qt.h"

namespace qv::testing {

// One pixel of a grabbed image and the colour it must have.
struct Pixel {
  int x, y;
  QColor color;
};
inline void ExpectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
  for (const Pixel& p : pixels)
    EXPECT_EQ(image.pixelColor(p.x, p.y), p.color) << "pixel (" << p.x << ", " << p.y << ")";
}

template <typename Bar>
struct BarWindow {
  BarWindow(const ScrollBarSettings& settings, QRect geometry) {
    auto clock = std::make_unique<FakeRepeatTimer>();
    timer = clock.get();
    bar = new Bar(settings, &window, std::move(clock));
    bar->setGeometry(geometry);
    window.resize(geometry.right() + 11, geometry.bottom() + 11);
    window.show();
    QObject::connect(bar, &Bar::Change, [this] { values.push_back(bar->Value()); });
  }

  // Mouse events at a position along the track, `across` it.
  void Mouse(QEvent::Type type, double along, double across = 9,
             Qt::MouseButton button = Qt::LeftButton) {
    const bool vertical = bar->Model().Kind() == ScrollBarKind::Vertical;
    const bool release = type == QEvent::MouseButtonRelease;
    SendMouse(bar, type, vertical ? QPointF(across, along) : QPointF(along, across), button,
              release ? Qt::MouseButtons() : Qt::MouseButtons(button));
  }
  void Press(double along) { Mouse(QEvent::MouseButtonPress, along); }
  void Release(double along) { Mouse(QEvent::MouseButtonRelease, along); }
  void Key(QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(bar, &event);
  }
  // The platform's repeat of a held key: a release and a press, both marked as repeats.
  void KeyRepeat(int key) {
    Key(QEvent::KeyRelease, key, true);
    Key(QEvent::KeyPress, key, true);
  }
  QColor Shade(int percent) const { return ToQColor(bar->Model().Shade().Percent(percent)); }

  std::vector<int> values;  // Value at every Change
  QWidget window;
  Bar* bar = nullptr;
  FakeRepeatTimer* timer = nullptr;
};

}  // namespace qv::testing
