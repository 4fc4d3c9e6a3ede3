// Every window of the program used from the keyboard alone: Ctrl+A and Alt in each of its
// text boxes, Tab through its controls with the focus shown wherever it goes. Run offscreen
// and again under X11 (xcb), whose text boxes have the key bindings of X11 desktops.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
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
#include "controls/scroll_bar_control.h"
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
    // Only the main window shows at the start: a window kept by the process (the help
    // window) that an earlier test left open would not count as one a command opened.
    for (QWidget* window : WindowsBesides(w)) window->close();
    const auto lookOnce = [&](QWidget* window) {
      if (!seen.insert(window->metaObject()->className()).second) return;
      SCOPED_TRACE(NameOf(window).toStdString());
      // The window system may hand the keyboard over a moment after the window showed.
      const auto focusedHere = [window] {
        const QWidget* focused = QApplication::focusWidget();
        return focused != nullptr && focused->window() == window;
      };
      if (!QTest::qWaitFor(focusedHere, 10000)) {
        ADD_FAILURE() << "the window takes no focus";
        return;
      }
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
      const std::set<QWidget*> before = WindowsBesides(w);
      RunClosingModals(command, lookOnce, true);
      for (QWidget* window : WindowsBesides(w)) {
        if (before.contains(window)) continue;
        (void)QTest::qWaitForWindowActive(window, 10000);
        lookOnce(window);
        window->close();
      }
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      Activate(w);
    }
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

// What the control itself draws, without the controls within it: a text or list area's
// frame and what it shows (its caret, its current item).
QImage OwnPicture(QWidget* control) {
  QImage picture(control->size(), QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  control->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
    area->viewport()->render(&picture, area->viewport()->pos(), QRegion(),
                             QWidget::DrawWindowBackground);
  return picture;
}

// Whether the control does something when the user works it: a button, a scroll bar, a box
// or a list. Such a control must take the keyboard as well as the mouse. The bars of a box or
// a list count as the box: its keys scroll it.
bool Acts(QWidget* control) {
  // An area that holds a window's controls scrolls to the one that takes the focus.
  if (qobject_cast<QScrollArea*>(control) != nullptr) return false;
  for (QWidget* up = control->parentWidget(); up != nullptr && !up->isWindow();
       up = up->parentWidget())
    if (qobject_cast<QAbstractScrollArea*>(up) != nullptr) return false;
  return qobject_cast<QAbstractButton*>(control) != nullptr ||
         qobject_cast<QAbstractSlider*>(control) != nullptr ||
         qobject_cast<ScrollBarControl*>(control) != nullptr ||
         qobject_cast<QLineEdit*>(control) != nullptr ||
         qobject_cast<QComboBox*>(control) != nullptr ||
         qobject_cast<QAbstractSpinBox*>(control) != nullptr ||
         qobject_cast<QAbstractScrollArea*>(control) != nullptr;
}

// Whether `control` was reached, or stands for a control that was: a box of a list, an option
// of a group whose chosen option was reached (the arrows choose among them).
bool Reached(QWidget* control, const std::set<QWidget*>& reached) {
  if (reached.contains(FocusTargetOf(control))) return true;
  auto* option = qobject_cast<QRadioButton*>(control);
  if (option == nullptr) return false;
  const QButtonGroup* group = option->group();
  for (QWidget* other : reached) {
    auto* sibling = qobject_cast<QRadioButton*>(other);
    if (sibling &&
        (group ? sibling->group() == group
               : sibling->autoExclusive() && sibling->parentWidget() == option->parentWidget()))
      return true;
  }
  return false;
}

// Tab runs through every control that can be used, stopping at the chosen option of a group,
// and wherever the focus goes it shows: a control looks different with the focus than without.
TEST_F(KeyboardTest, KeysTabReachesEveryControlOfEveryWindowAndTheFocusShows) {
  // The chart's rows are reached with the arrows from the selected row, which Tab reaches.
  const QRegularExpression byArrows("^(RenameAccount|Folio)\\(\\d+\\)$");
  ForEveryWindow([&](QWidget* window) {
    std::set<QWidget*> reached;
    for (int step = 0; step < 300; ++step) {
      QWidget* focused = QApplication::focusWidget();
      if (focused == nullptr || reached.contains(focused)) break;
      reached.insert(focused);
      const QImage withFocus = OwnPicture(focused);
      Press(Qt::Key_Tab);
      // The window's only stop keeps the focus: it is compared with itself unfocused.
      const bool onlyStop = QApplication::focusWidget() == focused;
      if (onlyStop) focused->clearFocus();
      EXPECT_NE(OwnPicture(focused), withFocus)
          << NameOf(focused).toStdString() << " does not show the focus";
      if (onlyStop) break;
    }
    // Of a group of options, Tab stops at the chosen one.
    for (QWidget* stop : reached) {
      auto* option = qobject_cast<QRadioButton*>(stop);
      if (option && option->group() && option->group()->checkedButton()) {
        EXPECT_TRUE(option->isChecked()) << NameOf(option).toStdString() << " is not the choice";
      }
    }
    for (QWidget* control : ShownControls<QWidget>(window)) {
      if (!Acts(control) && (control->focusPolicy() & Qt::TabFocus) == 0) continue;
      if (byArrows.match(control->objectName()).hasMatch()) continue;
      EXPECT_TRUE(Reached(control, reached)) << NameOf(control).toStdString() << " is not reached";
    }
  });
}

}  // namespace
}  // namespace qv::testing
