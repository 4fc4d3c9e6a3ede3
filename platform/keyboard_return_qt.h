#pragma once
// The keyboard goes back to the window the user worked in once a modal window over it closes
// (a message box, a file dialog, the wait screen) and once a command rebuilt what it shows.
//
// When a modal window closes, the window system alone decides which window takes the
// keyboard next: without a window manager none does, and a window manager may mark a window
// active before the program has been told, or after the control that had the focus in it was
// hidden or destroyed. Either way the next shortcut would be lost. So the program asks for the
// activation itself and puts the focus on a control that can take it.

#include <QPointer>
#include <QWidget>

class QDialog;

namespace qv {

// Makes `window` the active window, when it is shown and no other modal window stands over it,
// with the focus on `control` when given and able to take it, else on the control of the window
// that had it, else on the window's first control in the Tab order.
void GiveKeyboardTo(QWidget* window, QWidget* control = nullptr);

// Remembers the window the user works in (`window`'s, else the active window) and its focused
// control; gives the keyboard back to them when it goes away.
class KeyboardReturn {
 public:
  explicit KeyboardReturn(QWidget* window);
  ~KeyboardReturn();
  KeyboardReturn(const KeyboardReturn&) = delete;
  KeyboardReturn& operator=(const KeyboardReturn&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

// Runs a modal dialog (QDialog::exec) and then gives the keyboard back to the window it was
// opened over.
int RunModal(QDialog& dialog);

}  // namespace qv
