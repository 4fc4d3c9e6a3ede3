// The keyboard after a command that replaced the books or closed a window: the main window is
// the active one with a control focused, so that the very next shortcut acts. Run offscreen,
// under X11 (xcb) without a window manager and under Openbox, where the window system decides
// which window takes the keyboard once a modal window closes. Prompts are real message boxes
// and books are chosen in the real file dialog; menu items are clicked.

#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <deque>

#include "controls/file_dialog.h"
#include "platform/prompts_qt.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

class RealDisplayKeyboardBackTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Books book = SmallBook();
    other = WriteBookFile(p.folder / "other.acc", book);
    StartOn(book);
    w->ChooseBookFile = nullptr;  // the real file dialog
    QObject::connect(&poll, &QTimer::timeout, [this] { Answer(); });
    poll.start(20);
    // The control that has the focus once the program has started.
    ASSERT_TRUE(QTest::qWaitFor([] { return Focused() != nullptr; }, 10000));
    first = Focused();
    // The shortcut tried after each command; it only says that it ran.
    copy = w->MenuItem("CopyTheEntry");
    QObject::disconnect(copy, &QAction::triggered, nullptr, nullptr);
  }

  // The modal windows: a file dialog takes the next of `names` typed, then Return, a message
  // box is answered by a click on its escape button, as a user does.
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == answered || !modal->isVisible() ||
        QApplication::activeWindow() != modal)
      return;
    answered = modal;
    if (auto* dialog = qobject_cast<FileDialog*>(modal)) {
      ASSERT_FALSE(names.empty());
      QTest::keyClicks(dialog->NameBox(), QString::fromStdString(names.front()));
      names.pop_front();
      // Return goes from the name to the accept button, and a second Return presses it.
      QTest::keyClick(dialog->NameBox(), Qt::Key_Return);
      QTest::keyClick(dialog->AcceptButton(), Qt::Key_Return);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      asked.push_back(box->text().toStdString());
      QTest::mouseClick(box->escapeButton(), Qt::LeftButton);
    }
  }

  // Chooses a menu item with a click in the menu that holds it, dropped over the main window.
  void ClickMenuItem(QAction* item) {
    QMenu* menu = nullptr;
    for (QObject* holder : item->associatedObjects())
      if (auto* found = qobject_cast<QMenu*>(holder)) menu = found;
    ASSERT_NE(menu, nullptr);
    menu->popup(w->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
  }

  // As a user who goes on at once: a moment after the command, the next shortcut acts.
  void ExpectShortcutActs(const std::string& after) {
    SCOPED_TRACE("after " + after);
    // The window system may hand the keyboard over a moment later on a loaded machine.
    QTest::qWait(300);
    (void)QTest::qWaitFor([this] { return QApplication::activeWindow() == w; }, 3000);
    ASSERT_EQ(QApplication::activeWindow(), w) << "the main window lost the keyboard";
    ASSERT_NE(Focused(), nullptr) << "no control has the focus";
    QSignalSpy triggered(copy, &QAction::triggered);
    Press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(triggered.count(), 1);
  }

  QtPromptService service;
  ScopedPromptService scope{service};
  QTimer poll;
  QPointer<QWidget> answered;
  std::deque<std::string> names;
  std::vector<std::string> asked;
  std::string other;
  QWidget* first = nullptr;
  QAction* copy = nullptr;
};

// Open, both roll-overs, Insert Entries and a question closed, several times over: after
// each, the main window has the keyboard, on the control it has at start-up when the command
// replaced the books.
TEST_F(RealDisplayKeyboardBackTest, TheNextShortcutActsAfterEveryBookCommandAndQuestion) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    names = {round % 2 == 0 ? other : path};
    Press(Qt::Key_O, Qt::ControlModifier);
    ExpectShortcutActs("Open");
    EXPECT_EQ(Focused(), first);
    w->DebitFolio(0)->setFocus(Qt::TabFocusReason);
    ClickMenuItem(w->MenuItem("Brought_Forward"));
    ExpectShortcutActs("Balance Brought / Forward");
    EXPECT_EQ(Focused(), first);
    ClickMenuItem(w->MenuItem("BalBForword"));
    ExpectShortcutActs("Carried Over Accounts");
    EXPECT_EQ(Focused(), first);
    names = {other};
    ClickMenuItem(w->MenuItem("InsertEntries"));
    ExpectShortcutActs("Insert Entries");
    // The books changed: leaving asks, and its escape answer (No) stays.
    w->AccNote->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Q, Qt::ControlModifier);
    ExpectShortcutActs("the exit question");
    EXPECT_EQ(Focused(), w->AccNote);
    // The changed books are dropped on the question before the next open.
    asked.clear();
    p.ended = 0;
    w->MarkBooksSaved();
  }
  EXPECT_EQ(p.ended, 0);
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace qv::testing
