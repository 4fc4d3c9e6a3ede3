#include "platform/keyboard_return_qt.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace qv {

namespace {

// How long a window keeps asking for the keyboard it was given: 20 looks, 100 ms apart.
constexpr int kWatchIntervalMs = 100;
constexpr int kWatchTicks = 20;

// A control of `window` that can take the focus now.
bool CanTakeFocus(const QWidget* control, const QWidget* window) {
  return control != nullptr && control->window() == window && control->isVisible() &&
         control->isEnabled() && control->focusPolicy() != Qt::NoFocus;
}

// The window's first control in the Tab order that can take the focus.
QWidget* FirstControl(QWidget* window) {
  QWidget* control = window->nextInFocusChain();
  for (; control != nullptr && control != window; control = control->nextInFocusChain())
    if (CanTakeFocus(control, window) && (control->focusPolicy() & Qt::TabFocus) != 0)
      return control;
  return nullptr;
}

}  // namespace

void GiveKeyboardTo(QWidget* window, QWidget* control) {
  if (window == nullptr || !window->isVisible() || window->isMinimized()) return;
  // A modal window still open keeps the keyboard until it closes.
  if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) return;
  QWidget* target = CanTakeFocus(control, window)                 ? control
                    : CanTakeFocus(window->focusWidget(), window) ? window->focusWidget()
                                                                  : FirstControl(window);
  // The focus set in a window that is not yet active goes to the control once it is.
  if (target != nullptr && QApplication::focusWidget() != target)
    target->setFocus(Qt::OtherFocusReason);
  window->activateWindow();
  // The window manager may act on a modal window's showing or closing only after this request
  // and leave no window with the keyboard: for a short while the window asks again whenever
  // none of the program's windows has it. Another window that takes it ends the watch.
  auto* watch = new QTimer(window);
  watch->setInterval(kWatchIntervalMs);
  QObject::connect(watch, &QTimer::timeout, window, [window, watch, ticks = 0]() mutable {
    const QWidget* active = QApplication::activeWindow();
    if (++ticks > kWatchTicks || !window->isVisible() || QApplication::activeModalWidget() ||
        (active != nullptr && active != window)) {
      watch->deleteLater();
      return;
    }
    if (active == nullptr) window->activateWindow();
  });
  watch->start();
}

KeyboardReturn::KeyboardReturn(QWidget* window)
    : window_(window != nullptr ? window->window() : QApplication::activeWindow()) {
  if (window_) focus_ = window_->focusWidget();
}

KeyboardReturn::~KeyboardReturn() { GiveKeyboardTo(window_, focus_); }

int RunModal(QDialog& dialog) {
  const KeyboardReturn back(dialog.parentWidget());
  return dialog.exec();
}

}  // namespace qv
