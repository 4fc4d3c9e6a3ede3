#pragma once
// Input sent straight to a widget, as the window system would deliver it, and grabs of what
// a widget shows, for the window tests of the controls.

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>

namespace qv::testing {

inline void SendMouse(QWidget* w, QEvent::Type type, QPointF at,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::MouseButtons held = Qt::LeftButton) {
  QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}
// A left click at the point, or at the widget's centre.
inline void ClickAt(QWidget* w, QPointF at) {
  SendMouse(w, QEvent::MouseButtonPress, at);
  SendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}
inline void Click(QWidget* w) { ClickAt(w, QRectF(w->rect()).center()); }
// A key pressed and released.
inline void SendKey(QWidget* w, int key, const QString& text = {},
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(w, &event);
  }
}
// The widget as drawn, also saved as <name>.png in the test output folder when there is one.
inline QImage Grab(QWidget* w, const char* name) {
  const QImage image = w->grab().toImage();
  if (const char* folder = std::getenv("QV_TEST_OUTPUT"))
    image.save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
  return image;
}
// Runs `answer` on the modal dialog once it shows. A watchdog closes any modal window left
// open after five seconds, so a test can fail but never hang.
template <typename Dialog>
void WhenModalShows(std::function<void(Dialog&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
}

}  // namespace qv::testing
