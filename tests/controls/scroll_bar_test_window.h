#pragma once
// A small window holding one scroll bar on a fake clock, and the mouse and key events the
// tests send it.

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/colors_qt.h"
#include "tests/controls/fake_repeat_timer.h"

namespace qv::testing {

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

  void Mouse(QEvent::Type type, double along, double across = 9,
             Qt::MouseButton button = Qt::LeftButton) {
    const bool vertical = bar->Model().Kind() == ScrollBarKind::Vertical;
    const QPointF at = vertical ? QPointF(across, along) : QPointF(along, across);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, at, bar->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
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

  // The bar as drawn, also saved as a PNG in the test output folder when there is one.
  QImage Grab(const std::string& name) {
    const QImage image = bar->grab().toImage();
    if (const char* folder = std::getenv("QV_TEST_OUTPUT")) {
      image.save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
    }
    return image;
  }
  QColor Shade(int percent) const { return ToQColor(bar->Model().Shade().Percent(percent)); }

  std::vector<int> values;  // Value at every Change
  QWidget window;
  Bar* bar = nullptr;
  FakeRepeatTimer* timer = nullptr;
};

}  // namespace qv::testing
