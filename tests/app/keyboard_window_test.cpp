// Every window of the program used from the keyboard alone: Ctrl+A and Alt in each of its
// text boxes, Tab through its controls with the focus shown wherever it goes. Run offscreen
// and again under X11 (xcb), whose text boxes have the key bindings of X11 desktops.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "accounts/password_dialog.h"
#include "accounts/password_gates.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "tests/app/main_window_commands_qt.h"

namespace qv::testing {
namespace {

QString NameOf(const QWidget* widget) {
  return widget->objectName().isEmpty() ? widget->metaObject()->className() : widget->objectName();
}

// The widget that takes the focus for `widget`: itself, or the box it stands for.
QWidget* FocusTargetOf(QWidget* widget) {
  while (widget->focusProxy() != nullptr) widget = widget->focusProxy();
  return widget;
}

// The controls of the window that the user can see and use.
template <typename Control>
std::vector<Control*> ShownControls(QWidget* window) {
  std::vector<Control*> shown;
  for (Control* control : window->findChildren<Control*>())
    if (control->window() == window && control->isVisibleTo(window) && control->isEnabled())
      shown.push_back(control);
  return shown;
}

class KeyboardTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!PrintsToFile(SharedPrinter()))
      GTEST_SKIP() << "a printer is installed; the invoice would go to it";
  }

  // Shows every kind of window of the program in turn, each with the keyboard, and hands it
  // to `look`: the main window, the window of each command (a modal one while it shows), the
  // print set-up, the file dialog and the password prompt.
  void ForEveryWindow(const std::function<void(QWidget*)>& look) {
    StartOn(SmallBook());
    prompts.Scripted().OnUnexpected = [](const PromptRequest&, const std::string&) {};
    seen.clear();
    const auto lookOnce = [&](QWidget* window) {
      if (!seen.insert(window->metaObject()->className()).second) return;
      SCOPED_TRACE(NameOf(window).toStdString());
      look(window);
    };
    Activate(w);
    lookOnce(w);
    std::vector<MainWindowCommand> commands = MainWindowCommands(w, {"HelpSelect", "Exitit"});
    Session& session = p.app->TheSession();
    commands.emplace_back("print set-up", [&] { ShowPrintSetup(w, session); });
    commands.emplace_back("file dialog", [&] {
      ChooseFile(w, session, {"acc", {"*.acc"}, 111, 285, (p.folder / "book.acc").string(), true});
    });
    PasswordPromptModel passwordModel([] {});
    commands.emplace_back("password prompt", [&] {
      PasswordDialog(passwordModel, books(), session, w).Ask("secret");
    });
    for (const auto& [name, command] : commands) {
      std::set<QWidget*> before(OpenWindows());
      RunClosingModals(command, lookOnce, true);
      for (QWidget* window : OpenWindows()) {
        if (before.contains(window)) continue;
        (void)QTest::qWaitForWindowActive(window, 10000);
        lookOnce(window);
        window->close();
      }
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      Activate(w);
    }
  }

  std::set<QWidget*> OpenWindows() const {
    std::set<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window != w && !qobject_cast<QMenu*>(window) &&
          window->windowType() != Qt::ToolTip)
        windows.insert(window);
    return windows;
  }

  // The kinds of window looked at.
  std::set<QString> seen;
  PromptAnswerer prompts;
  ScopedPdfFileAnswer pdf{[] { return std::string(); }};
  ScopedEmailOpener mail{[](const std::string&) { return true; }};
};

// Ctrl+A selects the whole text of every one-line box, so that what is typed next replaces
// it; Alt with a letter or a digit types nothing into any box, one-line or not.
TEST_F(KeyboardTest, KeysCtrlASelectsTheWholeTextAndAltTypesNothingInEveryBoxOfEveryWindow) {
  int boxes = 0;
  ForEveryWindow([&](QWidget* window) {
    for (QLineEdit* box : ShownControls<QLineEdit>(window)) {
      SCOPED_TRACE(NameOf(box).toStdString());
      ++boxes;
      FocusTargetOf(box)->setFocus(Qt::OtherFocusReason);
      if (box->text().isEmpty()) box->setText("12");
      const QString text = box->text();
      box->deselect();
      box->setCursorPosition(1);
      Press(Qt::Key_A, Qt::ControlModifier);
      EXPECT_EQ(box->selectedText(), text);
      for (const Qt::Key key : {Qt::Key_Q, Qt::Key_1}) Press(key, Qt::AltModifier);
      EXPECT_EQ(box->text(), text);
      EXPECT_EQ(box->selectedText(), text);
    }
    for (QPlainTextEdit* box : ShownControls<QPlainTextEdit>(window)) {
      if (box->isReadOnly()) continue;
      SCOPED_TRACE(NameOf(box).toStdString());
      box->setFocus(Qt::OtherFocusReason);
      const QString text = box->toPlainText();
      Press(Qt::Key_A, Qt::ControlModifier);
      Press(Qt::Key_Q, Qt::AltModifier);
      EXPECT_EQ(box->toPlainText(), text);
    }
  });
  EXPECT_GT(boxes, 100);
  EXPECT_EQ(seen.size(), 20u) << QStringList(seen.begin(), seen.end()).join(" ").toStdString();
}

}  // namespace
}  // namespace qv::testing
