#include "platform/keyboard_return_qt.h"

#include <QApplication>
#include <QDialog>

namespace qv {

namespace {

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
  if (!window->isActiveWindow()) window->activateWindow();
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
