#include "controls/help_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <gtest/gtest.h>
#include <memory>

#include "controls/wait_screen_dialog.h"
#include "tests/controls/input_events_qt.h"

namespace qv {
namespace {

class HelpDeskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mainWindow.resize(400, 300);
    mainWindow.show();
    contents = new QAction("&Contents...", &mainWindow);
    desk.SetMainItem(contents);
  }

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
  EXPECT_TRUE(contents->isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);
  HelpWindow* window = desk.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Help Contents...");
  EXPECT_EQ(window->Title(), "Quorvel Help");
  EXPECT_TRUE(window->Text().startsWith("You are now in help mode."));
  EXPECT_TRUE(window->Text().contains("...\n\nTo exit out of help mode"));
  EXPECT_TRUE(window->TextBox()->isReadOnly());
  const QRect area = mainWindow.screen()->availableGeometry();
  const QRect frame = window->frameGeometry();
  const int gap = area.x() + area.width() - frame.x() - frame.width();
  EXPECT_TRUE(gap >= 2 && gap <= 4) << gap << ": about 50 twips from the screen's right edge";
  testing::Grab(window, "help_window");

  // In help mode a command only changes the title and the text.
  const QRect placed = window->geometry();
  EXPECT_TRUE(desk.ShowCard(card));
  EXPECT_EQ(window->Title(), "Journal Entries");
  EXPECT_EQ(window->Text(), "Will display Journal entries...");
  EXPECT_EQ(window->windowTitle(), "Help Contents...");
  EXPECT_EQ(window->geometry(), placed) << "the window is not moved";
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(contents->isChecked());

  // The close box unchecks the item and brings the normal pointer back.
  window->close();
  EXPECT_FALSE(contents->isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_EQ(desk.Window(), nullptr);
  EXPECT_FALSE(desk.ShowCard(card));
}

TEST_F(HelpDeskTest, SwitchingOnAfterAboutReplacesTheAboutText) {
  desk.ToggleFromMain(&mainWindow);
  QPixmap iconPicture(32, 32);
  iconPicture.fill(Qt::red);
  desk.ShowAbout(&mainWindow, QIcon(iconPicture));
  HelpWindow* window = desk.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "About...");
  EXPECT_EQ(window->Title(), "Quorvel");
  EXPECT_TRUE(window->Text().endsWith("Accounts Paid in May"));
  EXPECT_FALSE(contents->isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal) << "About ends help mode";
  const auto pictureCentre = [&] {
    return window->Picture()->pixmap().toImage().pixelColor(24, 24);
  };
  EXPECT_EQ(pictureCentre(), QColor(Qt::red));

  desk.ToggleFromMain(&mainWindow);
  EXPECT_EQ(window->windowTitle(), "Help Contents...");
  EXPECT_EQ(window->Title(), "Quorvel Help");
  EXPECT_TRUE(window->Text().startsWith("You are now in help mode."));
  EXPECT_TRUE(window->isVisible());
  EXPECT_NE(pictureCentre(), QColor(Qt::red)) << "the icon belongs to the About text";
}

TEST_F(HelpDeskTest, TheHelpWindowBelongsToTheDeskNotToTheWindowThatSwitchedItOn) {
  auto configuration = std::make_unique<QWidget>();
  configuration->show();
  auto* configContents = new QAction("Contents...", configuration.get());
  desk.ToggleFromItem(configContents, configuration.get());
  EXPECT_TRUE(configContents->isChecked());
  EXPECT_FALSE(contents->isChecked());
  ASSERT_NE(desk.Window(), nullptr);

  configuration.reset();
  ASSERT_NE(desk.Window(), nullptr) << "the help window belongs to the desk";
  EXPECT_TRUE(desk.Window()->isVisible());
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);

  // The chart editor's item shows its own card.
  QWidget chartEditor;
  QAction chartHelp("Setting Up Accounts...", &chartEditor);
  desk.ToggleFromItem(&chartHelp, &chartEditor, HelpCard{"Chart of Accounts", "Sets up."});
  EXPECT_TRUE(chartHelp.isChecked());
  EXPECT_EQ(desk.Window()->Title(), "Chart of Accounts");
  desk.ToggleFromItem(&chartHelp, &chartEditor);
  EXPECT_FALSE(chartHelp.isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_EQ(desk.Window(), nullptr);

  // A help window destroyed by other means ends help mode too; a new one is made when needed.
  desk.ToggleFromMain(&mainWindow);
  delete desk.Window();
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_FALSE(contents->isChecked());
  desk.ToggleFromMain(&mainWindow);
  ASSERT_NE(desk.Window(), nullptr);
  EXPECT_TRUE(desk.Window()->isVisible());
}

TEST_F(HelpDeskTest, ALongJobEndsHelpModeAndTheItemTakesTwoClicks) {
  desk.ToggleFromMain(&mainWindow);
  {
    Session session;
    WaitScreen job(&mainWindow, session, 10, {}, pointer);
    job.ProgressTick();
  }
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_TRUE(contents->isChecked()) << "the item stays checked";
  EXPECT_FALSE(desk.ShowCard(card)) << "commands act again";

  desk.ToggleFromMain(&mainWindow);
  EXPECT_FALSE(contents->isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_EQ(desk.Window(), nullptr);

  desk.ToggleFromMain(&mainWindow);
  EXPECT_TRUE(contents->isChecked());
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);
}

}  // namespace
}  // namespace qv
