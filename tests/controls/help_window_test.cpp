#include "controls/help_window.h"
#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <tuple>
#include <vector>
#include "controls/wait_screen_dialog.h"
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

class HelpDeskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mainWindow.resize(400, 300);
    mainWindow.show();
    desk.SetMainItem(contents = new QAction("&Contents...", &mainWindow));
  }
  // The main item's mark, the pointer and whether a help window is loaded.
  std::tuple<bool, PointerShape, bool> Mode() const {
    return {contents->isChecked(), pointer.Shape(), desk.Window() != nullptr};
  }
  static QString Captions(const HelpWindow* w) { return w->windowTitle() + " | " + w->Title(); }
  ScreenPointer pointer;
  HelpDesk desk{pointer};
  QWidget mainWindow;
  QAction* contents = nullptr;
  const HelpCard card{"Journal Entries", "Will display Journal entries..."};
};

TEST_F(HelpDeskTest, ContentsShowsTheGeneralTextByTheRightEdgeAndCommandsOnlyChangeIt) {
  EXPECT_FALSE(desk.ShowCard(card));
  EXPECT_EQ(desk.Window(), nullptr) << "nothing happens while help mode is off";
  contents->setChecked(false);  // as the menu's own toggle would leave it
  desk.ToggleFromMain(&mainWindow);
  EXPECT_EQ(Mode(), std::tuple(true, PointerShape::Help, true));
  HelpWindow* window = desk.Window();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Captions(window), "Help Contents... | Quorvel Help");
  EXPECT_TRUE(window->Text().contains("...\n\nTo exit out of help mode"));
  const QRect area = mainWindow.screen()->availableGeometry();
  const int gap = area.x() + area.width() - window->frameGeometry().right() - 1;
  EXPECT_TRUE(gap >= 2 && gap <= 4) << gap << ": about 50 twips from the screen's right edge";
  testing::Grab(window, "help_window");
  // In help mode a command only changes the title and the text.
  EXPECT_TRUE(desk.ShowCard(card));
  EXPECT_EQ(Captions(window) + " | " + window->Text(),
            "Help Contents... | Journal Entries | Will display Journal entries...");
  // The close box unchecks the item and brings the normal pointer back.
  window->close();
  EXPECT_EQ(Mode(), std::tuple(false, PointerShape::Normal, false));
  EXPECT_FALSE(desk.ShowCard(card));
}

TEST_F(HelpDeskTest, SwitchingOnAfterAboutReplacesTheAboutText) {
  desk.ToggleFromMain(&mainWindow);
  QPixmap iconPicture(32, 32);
  iconPicture.fill(Qt::red);
  desk.ShowAbout(&mainWindow, QIcon(iconPicture));
  HelpWindow* window = desk.Window();
  const auto pictureCentre = [&] {
    return window->Picture()->pixmap().toImage().pixelColor(24, 24);
  };
  EXPECT_EQ(pictureCentre(), QColor(Qt::red));
  desk.ToggleFromMain(&mainWindow);
  EXPECT_EQ(Captions(window), "Help Contents... | Quorvel Help");
  EXPECT_TRUE(window->Text().startsWith("You are now in help mode."));
  EXPECT_NE(pictureCentre(), QColor(Qt::red)) << "the icon belongs to the About text";
}

// An icon that cannot be read (no image plugin for its format, a missing file, a wholly
// transparent picture) leaves no empty square: the program's picture is drawn instead.
TEST_F(HelpDeskTest, AboutDrawsTheProgramPictureWhenItsIconCannotBeRead) {
  QPixmap clear(32, 32);
  clear.fill(Qt::transparent);
  std::vector<QImage> shown;
  for (const QIcon& icon : {QIcon(), QIcon(clear), QIcon("/no/such/picture.svg")}) {
    desk.ShowAbout(&mainWindow, icon);
    const QImage picture = desk.Window()->Picture()->pixmap().toImage();
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) opaque += picture.pixelColor(x, y).alpha() > 0;
    EXPECT_GT(opaque, picture.width() * picture.height() / 2) << shown.size();
    shown.push_back(picture);
  }
  EXPECT_EQ(shown[0], shown[1]);
  EXPECT_EQ(shown[0], shown[2]);
  testing::Grab(desk.Window(), "about_drawn_picture");
}

TEST_F(HelpDeskTest, TheHelpWindowOutlivesItsOpenerAndALongJobEndsHelpMode) {
  auto configuration = std::make_unique<QWidget>();
  auto* configContents = new QAction("Contents...", configuration.get());
  desk.ToggleFromItem(configContents, configuration.get());
  EXPECT_TRUE(configContents->isChecked() && !contents->isChecked());
  configuration.reset();
  ASSERT_NE(desk.Window(), nullptr) << "the help window belongs to the desk";
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);
  // A help window destroyed by other means ends help mode too; a new one is made when needed.
  delete desk.Window();
  EXPECT_EQ(Mode(), std::tuple(false, PointerShape::Normal, false));
  desk.ToggleFromMain(&mainWindow);
  ASSERT_NE(desk.Window(), nullptr);
  EXPECT_TRUE(desk.Window()->isVisible());
  // A long job ends help mode; the item stays checked, so it takes two clicks to come back.
  {
    Session session;
    WaitScreen job(&mainWindow, session, 10, {}, pointer);
    job.ProgressTick();
  }
  EXPECT_EQ(Mode(), std::tuple(true, PointerShape::Normal, true));
  EXPECT_FALSE(desk.ShowCard(card)) << "commands act again";
  desk.ToggleFromMain(&mainWindow);
  EXPECT_EQ(Mode(), std::tuple(false, PointerShape::Normal, false));
  desk.ToggleFromMain(&mainWindow);
  EXPECT_EQ(Mode(), std::tuple(true, PointerShape::Help, true));
}

// The text box of Help and of About takes the keyboard: it shows a mark while it has the
// focus, and Page Down scrolls it.
TEST_F(HelpDeskTest, KeysScrollTheHelpAndAboutTextWhoseBoxShowsTheFocus) {
  for (const bool about : {false, true}) {
    SCOPED_TRACE(about ? "About" : "Help");
    if (about)
      desk.ShowAbout(&mainWindow, QIcon());
    else
      desk.ToggleFromMain(&mainWindow);
    HelpWindow* window = desk.Window();
    ASSERT_NE(window, nullptr);
    window->resize(window->width(), 160);  // shorter than the text
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QPlainTextEdit* box = window->TextBox();
    box->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(box->hasFocus());
    const QImage focused = box->viewport()->grab().toImage();
    box->clearFocus();
    EXPECT_NE(box->viewport()->grab().toImage(), focused) << "no focus mark";
    box->setFocus(Qt::TabFocusReason);
    QScrollBar* bar = box->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_GT(bar->value(), 0);
    window->close();
  }
}

}  // namespace
}  // namespace qv
