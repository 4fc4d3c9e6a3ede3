#include "controls/pending_edit_qt.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>

#include "tests/controls/input_events_qt.h"

namespace qv::testing {
namespace {

// A window with a box that stores when left (with a part of its own that takes no focus),
// another box, a button that takes no focus with a label on it, and a command on Ctrl+K;
// what happens is written to `log`.
class PendingEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallPendingEditGuard(*qApp);
    window.setGeometry(100, 100, 300, 200);
    box = new QLineEdit(&window);
    part = new QPushButton(box);
    other = new QLineEdit(&window);
    other->move(0, 40);
    button = new QPushButton(&window);
    button->setGeometry(0, 80, 100, 30);
    label = new QLabel("Go", button);  // leaves the press to the button
    for (QWidget* w : std::initializer_list<QWidget*>{part, button, label})
      w->setFocusPolicy(Qt::NoFocus);
    auto* command = new QAction(&window);
    command->setShortcut(QKeySequence("Ctrl+K"));
    window.addAction(command);
    QObject::connect(command, &QAction::triggered, [this] { log += "command "; });
    StoresWhenLeft(box, [this] { log += "store "; });
    Show(&window);
    box->setFocus();
  }
  void TearDown() override {
    QApplication::setActiveWindow(nullptr);
    QApplication::processEvents();
  }
  static void Show(QWidget* w) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  }

  QWidget window;
  QLineEdit* box = nullptr;
  QPushButton* part = nullptr;
  QLineEdit* other = nullptr;
  QPushButton* button = nullptr;
  QLabel* label = nullptr;
  std::string log;
};

TEST_F(PendingEditTest, ACommandThatLeavesTheFocusInTheBoxFindsItsEditStoredFirst) {
  QTest::keyClick(box, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(log, "store command ");
  // A click on a button that takes no focus, on it or on its label, counts once.
  log.clear();
  Click(button);
  ClickAt(label, {2, 2});
  EXPECT_EQ(log, "store store ");
  // The box's own parts and the box itself are no leaving; nor is a key the box takes.
  log.clear();
  Click(part);
  Click(box);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(log, "");
  // Another window closing, which may end the program, and this one closing.
  QWidget another;
  another.show();
  another.close();
  window.close();
  EXPECT_EQ(log, "store store ");
}

TEST_F(PendingEditTest, AnotherWindowOfTheProgramOrTheMenuBarStoresOnceTheMoveIsOver) {
  // Another program takes the keyboard, and gives it back: the box was not left.
  QApplication::setActiveWindow(nullptr);
  QApplication::processEvents();
  Show(&window);
  EXPECT_EQ(log, "");
  QWidget another;
  another.setGeometry(500, 100, 100, 100);
  another.show();
  QApplication::setActiveWindow(&another);
  EXPECT_EQ(log, "") << "not while the focus moves";
  QApplication::processEvents();
  EXPECT_EQ(log, "store ");
  // The menu bar taking the keyboard leaves the box; a menu or list opening does not.
  log.clear();
  Show(&window);
  for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
    QFocusEvent leaving(QEvent::FocusOut, reason);
    QApplication::sendEvent(box, &leaving);
  }
  EXPECT_EQ(log, "");
  QApplication::processEvents();
  EXPECT_EQ(log, "store ");
  // Nothing pending: another box's leaving is its own.
  log.clear();
  other->setFocus();
  QTest::keyClick(other, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(log, "command ");
}

}  // namespace
}  // namespace qv::testing
