#pragma once
// Boxes that take what the user typed only when they are left, and the one rule that has
// every command find that edit taken.
//
// Some boxes store what the user typed when the focus leaves them: the entry's date, an
// account name typed that the type-ahead did not complete, a folio text that could not be
// read and is to be told about. A command that takes no focus would otherwise act without
// the edit. Such a box registers what leaving it does (StoresWhenLeft); an edit is pending
// while the box is the focused one of its window. The guard (InstallPendingEditGuard, once
// for the application) runs what leaving does, with the box's own messages, for the pending
// edit of every window of the program before
//   - a command: a shortcut, a menu item chosen (by a click, Enter or its letter), a button
//     or a picture that acts on a click (ActsOnClick),
//   - the end of the desktop session;
// and for the pending edit of a window when that window closes. What moves the entry screen
// to another line without taking the focus (the wheel over a bar, a click on a ledger's
// line, previous and next) stores first as well (StorePendingEdits, StorePendingEditOf).
//
// The box's own context menu and drop-down are part of it. Nothing is stored when another
// window becomes the active one, is clicked where nothing acts or closes, nor when a menu
// opens (the menu bar taking Alt, a menu title clicked): the edit waits in its box. A modal window
// (a message, a question, a file dialog) is part of the command or the leaving that opened it; its
// buttons store nothing. A move of the focus inside the window is the box's own leaving, which it
// handles itself (LeftWithinWindow).
//
// What leaving does must be harmless when nothing was typed since: it may run more than once
// for one edit.

#include <functional>

class QApplication;
class QFocusEvent;
class QWidget;

namespace qv {

// Registers `store` as what leaving `box` does; it lives as long as the box. The box's parts
// (the line of a list, the box of a date picker) count as the box.
void StoresWhenLeft(QWidget* box, std::function<void()> store);

// Whether the focus going out of `box` (`event`) is the box's leaving: the focus moved to
// another widget of the box's window. The focus taken by a popup, by the menu bar (Alt), by
// another window (its activation, or a click in it that comes before the window system makes
// it the active one) or by another program is none.
bool LeftWithinWindow(const QWidget* box, const QFocusEvent& event);

// Marks `clickable`, a widget that is no button but acts on a click (a picture of a toolbar),
// as a command: a click on it finds the pending edits stored.
void ActsOnClick(QWidget* clickable);

// Stores the pending edit of every window of the program, that of the active window first.
void StorePendingEdits();

// Stores the pending edit of the window `widget` lies in.
void StorePendingEditOf(const QWidget* widget);

// Puts the rule in place for every window of the application (once, however often called).
void InstallPendingEditGuard(QApplication& app);

}  // namespace qv
