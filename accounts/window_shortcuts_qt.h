#pragma once
// Menu shortcuts before a text box's own key bindings. A text box claims some Ctrl keys for
// itself on some platforms (Ctrl+E is "end of line" on X11), which would keep a window's
// menu item with that shortcut from running while the box has the focus. A window's event
// filter hands the box's shortcut question to this first.

class QEvent;
class QWidget;

namespace qv {

// For a ShortcutOverride event: true when its key is the shortcut of an enabled action of
// `window`; the event is then left unaccepted, so that the action runs instead of the box
// taking the key, and the filter is to return true.
bool LeaveKeyToWindowShortcut(const QWidget* window, QEvent* event);

}  // namespace qv
