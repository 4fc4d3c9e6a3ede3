#include "accounts/prepared_entries_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "accounts/account_combo_qt.h"
#include "controls/vertical_scroll_control.h"
#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

PostingLine Line(uint8_t side, double folio, double amount, std::string notes = "") {
  return PostingLine{0, side, 0, Money(folio), Money(amount), std::move(notes)};
}

class PreparedEntriesWindowTest : public ::testing::Test {
 protected:
  PreparedEntriesWindowTest() {
    books.PreparedGroups[0] = {Line(kDebit, 600, 100), Line(kCredit, 110, 100, "Wages"),
                               Line(kDebit, 610, 50), Line(kCredit, 110, 50, "Rent")};
  }
  // The window goes before the books it edits.
  void TearDown() override {
    delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Open() {
    hooks.Included = [this] { ++included; };
    window = new RecurringEntries(books, locale, clock, hooks);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  static void Press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
  static void TypeInto(QLineEdit* box, const char* keys) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, keys);
  }

  Books books = BookWithChart({{"Cash", 110, 0}, {"Wages", 600, 6}, {"Rent", 610, 6}});
  LocaleInfo locale = UsEnglishLocale();
  FixedClock clock{Day(2026, 3, 15)};
  PreparedEntriesHooks hooks;
  QPointer<RecurringEntries> window;
  int included = 0;
};

TEST_F(PreparedEntriesWindowTest, ShowsEachLineAsARowAndTheAddLineButtonBesideTheFocusedOne) {
  Open();
  EXPECT_EQ(window->CrDrLabel[0]->text() + window->CrDrLabel[1]->text(), "Debit :Credit :");
  EXPECT_TRUE(window->CrDrLabel[0]->isVisible());
  EXPECT_EQ(window->Account_Name[0]->currentText(), "Wages");
  EXPECT_EQ(window->AmountText[1]->text(), "100");
  EXPECT_EQ(window->AccNote[1]->text(), "Wages");
  EXPECT_TRUE(window->AccNote[1]->isVisible() && !window->AccNote[0]->isVisible());
  EXPECT_FALSE(window->Folio[4]->isVisible());  // the list has four lines
  // The notes box stands below its row and above the next entry.
  EXPECT_GT(window->AccNote[1]->y(), window->Folio[1]->y() + window->Folio[1]->height() - 1);
  EXPECT_GT(window->Folio[2]->y(), window->AccNote[1]->y() + window->AccNote[1]->height() - 1);
  EXPECT_TRUE(window->gp[0]->isChecked());
  // The add-line button stands beside the focused row and adds above it.
  window->AmountText[1]->setFocus();
  ASSERT_TRUE(window->CompoundEntry[2]->isVisible());
  EXPECT_FALSE(window->CompoundEntry[1]->isVisible());
  EXPECT_EQ(window->CompoundEntry[2]->y(), window->AmountText[1]->y());
  EXPECT_GE(window->CompoundEntry[2]->x(),
            window->AmountText[1]->x() + window->AmountText[1]->width());
  window->CompoundEntry[2]->click();  // the new line stands above the focused one
  EXPECT_EQ(window->AmountText[1]->text() + "|" + window->AmountText[2]->text(), "|100");
}

// Tab goes from an amount to the add-line button beside it, Space adds the line, and the new
// line's folio takes the keys; Tab from the button goes on as from the amount.
TEST_F(PreparedEntriesWindowTest, KeysTabReachesTheAddLineButtonAndSpaceAddsALine) {
  Open();
  window->AmountText[0]->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), window->CompoundEntry[1]);
  Press(Qt::Key_Space);
  EXPECT_EQ(window->Model().LastWorkLine(), 4);
  EXPECT_EQ(QApplication::focusWidget(), window->Folio[0]);
  QTest::keyClicks(window->Folio[0], "610");
  EXPECT_EQ(window->Model().Lines()[0].LineFolio, Money(610));
  EXPECT_EQ(window->Model().Lines()[1].LineFolio, Money(600));
  window->AmountText[2]->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), window->CompoundEntry[2]);
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window->AccNote[2]);
}

TEST_F(PreparedEntriesWindowTest, KeysUpAndDownInANotesBoxScrollAndNeverChangeNotes) {
  Open();
  // The bar pages a line at a time, as the main window's does.
  EXPECT_EQ(window->ScrollAcc->ValueLargeChange(), 1);
  window->AccNote[1]->setFocus();
  Press(Qt::Key_Down);
  EXPECT_EQ(window->ScrollAcc->Value(), 1);
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);
  EXPECT_EQ(window->ScrollAcc->Value(), 0);
  EXPECT_EQ(window->Model().Lines()[1].Notes + window->Model().Lines()[3].Notes, "WagesRent");
  // Typing in the notes box writes the notes of the line its row shows.
  TypeInto(window->AccNote[1], "Pay");
  EXPECT_EQ(window->Model().Lines()[1].Notes, "Pay");
  // The folio and amount boxes take only their characters.
  TypeInto(window->AmountText[2], "1,0x00.50");
  EXPECT_EQ(window->Model().Lines()[2].Amount, Money(1000.5));
  TypeInto(window->Folio[2], "6a00");
  EXPECT_EQ(window->Account_Name[2]->currentText(), "Wages");
}

// The rows' account lists open their list of accounts as the user types, on the account
// found; the keys stay in the box, and Escape closes the list.
TEST_F(PreparedEntriesWindowTest, KeysTypeAheadOpensTheAccountListAndTheBoxKeepsTheKeys) {
  Open();
  QComboBox* name = window->Account_Name[0];
  name->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(name, "re");
  QListView* list = OpenTypeAheadList(name);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->currentIndex().data().toString(), "Rent");
  EXPECT_EQ(name->currentText(), "Rent");
  EXPECT_EQ(QApplication::focusWidget(), name);
  EXPECT_EQ(list->geometry().top(), name->mapToGlobal(QPoint(0, name->height())).y());
  Press(Qt::Key_Escape);
  EXPECT_EQ(OpenTypeAheadList(name), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), name);
}

TEST_F(PreparedEntriesWindowTest, KeysOfTheEditMenuWorkFromTheRowsBoxes) {
  Open();
  window->Folio[2]->setFocus();
  QTest::keyClick(window->Folio[2], Qt::Key_W, Qt::ControlModifier);  // copy
  EXPECT_EQ(QApplication::clipboard()->text().left(4), "610\t");
  window->AmountText[0]->setFocus();
  QTest::keyClick(window->AmountText[0], Qt::Key_E, Qt::ControlModifier);  // paste
  EXPECT_EQ(window->Model().LastWorkLine(), 5);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);  // new entry
  EXPECT_EQ(window->Model().LastWorkLine(), 7);
  window->AccNote[1]->setFocus();
  // The list shows the new entry at its top: row 1's notes are the new entry's.
  QTest::keyClick(window->AccNote[1], Qt::Key_D, Qt::ControlModifier);  // delete that entry
  EXPECT_EQ(window->Model().LastWorkLine(), 5);
  EXPECT_EQ(window->Model().Lines()[5].Notes, "Rent");
}

TEST_F(PreparedEntriesWindowTest, MenusCopyPasteDeleteSwitchAndTheButtonsInclude) {
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  Open();
  // (The model's tests check what copy, paste, delete and include do.)
  window->Folio[2]->setFocus();
  window->C_E->trigger();
  window->P_E->trigger();
  EXPECT_EQ(window->Model().LastWorkLine(), 5);
  QApplication::clipboard()->setText("610\t\tRent\tfifty\t\r\nQV");
  window->P_E->trigger();
  EXPECT_EQ(prompts.Texts().size(), 1u);
  window->Del_E->trigger();
  EXPECT_EQ(window->Model().LastWorkLine(), 3);
  window->InEe[1]->click();  // Include Entry: the last entry, which is selected
  EXPECT_EQ(std::pair(included, books.PostingLines.back().Notes),
            std::pair(1, std::string("Rent")));
  window->GroupLabels->setFocus();
  QTest::keyClicks(window->GroupLabels, "Monthly");
  EXPECT_EQ(window->gp[0]->text(), "Monthly");
  window->gp[2]->trigger();
  EXPECT_TRUE(window->gp[2]->isChecked() && !window->gp[0]->isChecked());
  EXPECT_EQ(window->GroupLabels->text(), "Group 3...");
  window->gp[0]->trigger();
  EXPECT_EQ(window->GroupLabels->text(), "Monthly");
  window->close();
  EXPECT_EQ(std::pair(books.PreparedGroups[0].size(), books.GroupNames[0].TrimmedText()),
            std::pair(std::size_t{4}, std::string_view("Monthly")));
}

}  // namespace
}  // namespace qv::testing
