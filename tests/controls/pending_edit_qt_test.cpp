#include "controls/pending_edit_qt.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <string>

#include "controls/vertical_scroll_control.h"
#include "controls/wheel_routing_qt.h"
#include "tests/controls/input_events_qt.h"

namespace qv::testing {
namespace {

// A window with a box that stores when left (with a part of its own that takes no focus),
// another box, a button that takes no focus with a label on it, a picture that acts on a
// click, a command on Ctrl+K and a menu bar with a menu (Run, and a submenu); what happens is
// written to `log`.
class PendingEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallPendingEditGuard(*qApp);
    window.setGeometry(100, 100, 300, 240);
    box = new QLineEdit(&window);
    part = new QPushButton(box);
    other = new QLineEdit(&window);
    other->move(0, 40);
    button = new QPushButton(&window);
    button->setGeometry(0, 80, 100, 30);
    label = new QLabel("Go", button);  // leaves the press to the button
    picture = new QLabel("Sum", &window);
    picture->setGeometry(120, 80, 40, 30);
    ActsOnClick(picture);
    for (QWidget* w : std::initializer_list<QWidget*>{part, button, label})
      w->setFocusPolicy(Qt::NoFocus);
    auto* command = new QAction(&window);
    command->setShortcut(QKeySequence("Ctrl+K"));
    window.addAction(command);
    QObject::connect(command, &QAction::triggered, [this] { log += "command "; });
    bar = new QMenuBar(&window);
    bar->setGeometry(0, 200, 300, 30);
    menu = bar->addMenu("&Menu");
    run = menu->addAction("&Run", [this] { log += "run "; });
    menu->addMenu("&Open")->addAction("Nothing");
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
  // The menu opened by a click on its title.
  void OpenMenu() {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(menu->isVisible());
  }

  QWidget window;
  QLineEdit* box = nullptr;
  QPushButton* part = nullptr;
  QLineEdit* other = nullptr;
  QPushButton* button = nullptr;
  QLabel* label = nullptr;
  QLabel* picture = nullptr;
  QMenuBar* bar = nullptr;
  QMenu* menu = nullptr;
  QAction* run = nullptr;
  std::string log;
};

TEST_F(PendingEditTest, ACommandThatLeavesTheFocusInTheBoxFindsItsEditStoredFirst) {
  QTest::keyClick(box, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(log, "store command ");
  // A click on a button that takes no focus, on it or on its label, counts once, when the
  // button comes up; so does a picture that acts. A press that ends away runs nothing.
  log.clear();
  Click(button);
  ClickAt(label, {2, 2});
  Click(picture);
  EXPECT_EQ(log, "store store store ");
  log.clear();
  SendMouse(button, QEvent::MouseButtonPress, {2, 2});
  SendMouse(button, QEvent::MouseButtonRelease, {-5, -5}, Qt::LeftButton, Qt::NoButton);
  // The box's own parts and the box itself are no command; nor is a click where nothing
  // acts, nor a key the box takes.
  Click(part);
  Click(box);
  ClickAt(&window, {250, 150});
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(log, "");
  // Another window closing leaves the edit in its box; this one closing is its leaving.
  QWidget another;
  another.show();
  another.close();
  EXPECT_EQ(log, "");
  window.close();
  EXPECT_EQ(log, "store ");
}

// A menu opening leaves the edit in its box; an item chosen by a click, Enter or its letter
// finds it stored, with the menu closed.
TEST_F(PendingEditTest, KeysAMenuItemChosenStoresFirstAndAMenuOpeningStoresNothing) {
  OpenMenu();
  QMenu* submenu = menu->actions()[1]->menu();
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(submenu->menuAction()).center());
  EXPECT_EQ(log, "");
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(run).center());
  EXPECT_EQ(log, "store run ");
  EXPECT_FALSE(menu->isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  log.clear();
  OpenMenu();
  menu->setActiveAction(run);
  QTest::keyClick(menu, Qt::Key_Return);
  OpenMenu();
  QTest::keyClick(menu, Qt::Key_R);
  // Alt and the menu's letter: the menu bar holds the keyboard for the box meanwhile.
  QTest::keyClick(box, Qt::Key_M, Qt::AltModifier);
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(window.focusWidget(), bar) << "the menu bar holds the keyboard";
  EXPECT_EQ(log, "store run store run ");
  QTest::keyClick(menu, Qt::Key_R);
  EXPECT_EQ(log, "store run store run store run ");
  EXPECT_FALSE(menu->isVisible());
  // The box's own context menu is part of it.
  log.clear();
  auto* own = new QMenu(box);
  QAction* undo = own->addAction("&Undo", [this] { log += "undo "; });
  own->popup(box->mapToGlobal(QPoint(0, 0)));
  QTest::mouseClick(own, Qt::LeftButton, {}, own->actionGeometry(undo).center());
  EXPECT_EQ(log, "undo ");
  // Nothing pending: the menu runs the item its own way.
  log.clear();
  other->setFocus();
  OpenMenu();
  QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(run).center());
  EXPECT_EQ(log, "run ");
  EXPECT_FALSE(menu->isVisible());
}

// Another window taking the keyboard, clicked where nothing acts or closed leaves the edit in
// its box; a command of that window finds it stored. The wheel that moves a bar of the box's
// window stores first; a bar of another window stores nothing.
TEST_F(PendingEditTest, AnotherWindowStoresOnlyOnItsCommandsAndTheWheelOnItsOwnBars) {
  QApplication::setActiveWindow(nullptr);
  QApplication::processEvents();
  Show(&window);
  QWidget another;
  another.setGeometry(500, 100, 200, 200);
  auto* go = new QPushButton("Go", &another);
  auto* itsCommand = new QAction(&another);
  itsCommand->setShortcut(QKeySequence("Ctrl+J"));
  another.addAction(itsCommand);
  QObject::connect(itsCommand, &QAction::triggered, [this] { log += "its command "; });
  auto* itsBar = new PelVerticalScroll(&another);
  itsBar->setGeometry(170, 0, 20, 150);
  itsBar->SetValueMax(10);
  Show(&another);
  // The keyboard taken by a widget of another window is no leaving of the box, whatever the
  // reason given; a move inside the box's window is.
  go->setFocus(Qt::MouseFocusReason);
  ASSERT_TRUE(go->hasFocus());
  for (Qt::FocusReason reason : {Qt::MouseFocusReason, Qt::ActiveWindowFocusReason})
    EXPECT_FALSE(LeftWithinWindow(box, QFocusEvent(QEvent::FocusOut, reason))) << reason;
  ClickAt(&another, {100, 180});
  QApplication::processEvents();
  EXPECT_EQ(log, "");
  const auto wheelDown = [](QWidget* over) {
    QWheelEvent wheel({4, 4}, over->mapToGlobal(QPointF(4, 4)), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
  };
  wheelDown(itsBar);
  EXPECT_EQ(itsBar->Value(), 1);
  EXPECT_EQ(log, "");
  QTest::keyClick(&another, Qt::Key_J, Qt::ControlModifier);
  EXPECT_EQ(log, "store its command ");
  log.clear();
  Click(go);
  EXPECT_EQ(log, "store ");
  log.clear();
  // The same button pressed from the keyboard: Space, and Enter where it takes Enter.
  QObject::connect(go, &QAbstractButton::clicked, [this] { log += "go "; });
  go->setFocus();
  QTest::keyClick(go, Qt::Key_Space);
  EXPECT_EQ(log, "store go ");
  log.clear();
  QTest::keyClick(go, Qt::Key_Return);
  EXPECT_EQ(log, "");
  go->setAutoDefault(true);
  QTest::keyClick(go, Qt::Key_Return);
  EXPECT_EQ(log, "store go ");
  log.clear();
  another.close();
  EXPECT_EQ(log, "");
  // The window's own bars: its bar control, and a bar that the wheel over the window moves.
  auto* ownBar = new PelVerticalScroll(&window);
  ownBar->SetValueMax(10);
  auto* rows = new QScrollBar(&window);
  rows->setRange(0, 10);
  WheelMovesBar(&window, rows);
  ownBar->show();
  rows->show();
  Show(&window);
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(LeftWithinWindow(box, QFocusEvent(QEvent::FocusOut, Qt::MouseFocusReason)));
  for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::MenuBarFocusReason})
    EXPECT_FALSE(LeftWithinWindow(box, QFocusEvent(QEvent::FocusOut, reason))) << reason;
  box->setFocus();
  wheelDown(ownBar);
  EXPECT_EQ(ownBar->Value(), 1);
  wheelDown(&window);
  EXPECT_EQ(rows->value(), 1);
  EXPECT_EQ(log, "store store ");
}

}  // namespace
}  // namespace qv::testing
