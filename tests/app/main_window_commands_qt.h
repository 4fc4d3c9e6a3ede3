#pragma once
// Every command of the main window, as the tests that walk them all run each one: the modal
// windows a command opens are handed to the test and closed, so that the walk goes on.

#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "controls/wait_screen_dialog.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {

using MainWindowCommand = std::pair<QString, std::function<void()>>;

// The commands by name: every menu item that runs something, then every toolbar button; the
// menu items named in `leaveOut` are not among them.
inline std::vector<MainWindowCommand> MainWindowCommands(TAcount* w,
                                                         const QStringList& leaveOut = {}) {
  std::vector<MainWindowCommand> commands;
  std::function<void(QMenu*)> walk = [&](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->menu() != nullptr) {
        walk(action->menu());
      } else if (!action->isSeparator() && action->isVisible() &&
                 !leaveOut.contains(action->objectName())) {
        commands.emplace_back(action->objectName(), [action] { action->trigger(); });
      }
    }
  };
  for (QAction* top : w->menuBar()->actions()) walk(top->menu());
  for (int index = 0; index <= 13; ++index)
    if (PictureImage* button = w->CalcButton(index))
      commands.emplace_back("CalcButton" + QString::number(index), [button] { Click(button); });
  return commands;
}

// The windows shown besides `main` (menus and tool tips aside).
inline std::set<QWidget*> WindowsBesides(const QWidget* main) {
  std::set<QWidget*> windows;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && window != main && !qobject_cast<QMenu*>(window) &&
        window->windowType() != Qt::ToolTip)
      windows.insert(window);
  return windows;
}

// Runs a command; each modal window it opens (the wait screen aside) is handed to `onModal`
// and closed. With `keyboardFirst`, a modal window is handed on only once it has the keyboard
// (or after ten seconds, which a loaded machine may need), else as soon as it shows.
inline void RunClosingModals(const std::function<void()>& command,
                             const std::function<void(QWidget*)>& onModal,
                             bool keyboardFirst = false) {
  QTimer closer;
  closer.setInterval(10);
  int waited = 0;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || qobject_cast<WaitScreenDialog*>(modal)) return;
    if (keyboardFirst && QApplication::activeWindow() != modal && ++waited < 1000) return;
    waited = 0;
    onModal(modal);
    modal->close();
  });
  closer.start();
  command();
  QCoreApplication::processEvents();
}

}  // namespace qv::testing
