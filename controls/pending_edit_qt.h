#pragma once
// Boxes that take what the user typed only when they are left, and the one rule that has
// every command find that edit taken.
//
// Some boxes store what the user typed when the focus leaves them: the entry's date, an
// account name typed that the type-ahead did not complete, a folio text that could not be
// read and is to be told about. A command that takes no focus would otherwise act without
// the edit: a shortcut, a menu, a picture button, the close box, Exit, the end of the
// desktop session. Such a box registers what leaving it does (StoresWhenLeft); the guard
// (InstallPendingEditGuard, once for the application) runs it for the box that has the
// focus, with the box's own messages, before
//   - a shortcut is delivered (menu items, buttons, the menu bar's Alt+letter),
//   - a click that leaves the focus where it is (a menu bar, a picture button, a button that
//     takes no focus) outside the box,
//   - a window of the program closes,
//   - the desktop session ends;
// and, for the box of the window left, once the move is over, when
//   - the menu bar takes the keyboard (Alt),
//   - another window of the program becomes the active one (a modal window, such as a
//     message or a file dialog, belongs to whatever opened it and is none).
// The box's own drop-down (its list, the month grid, its context menu) and a switch to
// another program do not count. A move of the focus inside the window is the box's own
// leaving, which it handles itself.
//
// What leaving does must be harmless when nothing was typed since: the guard may run it
// more than once for one edit.

#include <functional>

class QApplication;
class QWidget;

namespace qv {

// Registers `store` as what leaving `box` does; it lives as long as the box. The box's parts
// (the line of a list, the box of a date picker) count as the box.
void StoresWhenLeft(QWidget* box, std::function<void()> store);

// Puts the rule in place for every window of the application (once, however often called).
void InstallPendingEditGuard(QApplication& app);

}  // namespace qv
