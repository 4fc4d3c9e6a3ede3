#include "accounts/window_shortcuts_qt.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace qv {

bool LeaveKeyToWindowShortcut(const QWidget* window, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  for (const QAction* action : window->findChildren<QAction*>()) {
    if (!action->isEnabled() || action->shortcut().isEmpty()) continue;
    if (action->shortcut().matches(pressed) != QKeySequence::ExactMatch) continue;
    event->ignore();
    return true;
  }
  return false;
}

}  // namespace qv
