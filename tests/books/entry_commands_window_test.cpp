// The entry commands in the main window: New Entry, the add-line and sum images, deleting
// behind the admin password (with the program's own password prompt), the Reconcile box,
// help mode, and copying and pasting entries.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

#include "accounts/password_dialog.h"
#include "books/main_window.h"
#include "controls/help_window.h"
#include "controls/vertical_scroll_control.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/books/main_window_program_qt.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

using testing::Day;
using testing::Focused;
using testing::Money;
using testing::Press;
using testing::TypeKeys;

// Answers the password prompt once it shows, through its own box and button. Other modal
// windows (the wait screen of a book read) are let be; a prompt still open after five
// seconds is closed, so that a test never hangs on it.
void WhenPromptShows(std::function<void(PasswordDialog&)> answer) {
  auto* poll = new QTimer;
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, [poll, started, answer] {
    if (auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        dialog != nullptr && dialog->isVisible()) {
      poll->deleteLater();
      poll->stop();
      answer(*dialog);
    } else if (started->elapsed() > 5000) {
      poll->deleteLater();
      poll->stop();
      ADD_FAILURE() << "no password prompt was shown";
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    }
  });
  poll->start(5);
}

void TypePassword(PasswordDialog& dialog, const QString& text) {
  QTest::keyClicks(dialog.PasswordBox(), text);
}

void LeavePrompt(PasswordDialog& dialog) {
  QTest::mouseClick(dialog.ExitButton(), Qt::LeftButton);
}

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) in an active window whose
// gates ask with the program's own password prompt.
class EntryCommandsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.UseRealPrompt();
    p.options.Arguments = {"quorvel",
                           testing::WriteBookFile(p.folder / "book.acc", testing::SmallBook())};
    w = &p.StartActive();
  }
  void TearDown() override {
    if (TheHelpDesk().IsOn()) w->MenuItem("HelpSelect")->trigger();
  }

  Books& books() { return p.books(); }
  PostingLine& Line(int i) { return books().PostingLines[static_cast<std::size_t>(i)]; }
  std::string Number(int i) {
    return std::string(books().EntryNumbers[static_cast<std::size_t>(i)].TrimmedText());
  }
  QString Status() const { return w->GL(7)->text(); }
  QColor StatusColor() const { return w->GL(7)->palette().color(QPalette::WindowText); }
  static void Focus(QWidget* box) { box->setFocus(Qt::TabFocusReason); }
  static QString HelpTitle() {
    return TheHelpDesk().Window() ? TheHelpDesk().Window()->Title() : QString();
  }
  void HelpMode(bool on) {
    if (TheHelpDesk().IsOn() != on) w->MenuItem("HelpSelect")->trigger();
    ASSERT_EQ(TheHelpDesk().IsOn(), on);
    // The help window may have taken the keyboard; the user goes back to the main window.
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  }

  testing::Program p;
  TAcount* w = nullptr;
};

TEST_F(EntryCommandsWindowTest, NewEntryFromTheButtonTheMenuOrCtrlNSelectsItsNumber) {
  const int32_t counter = books().EntryCounter;
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  EXPECT_EQ(books().LastLineIndex(), 8);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 7);
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 8);
  EXPECT_EQ(Focused(), w->JournalID);
  EXPECT_EQ(w->JournalID->text(), "1");
  EXPECT_EQ(w->JournalID->selectedText(), "1");
  EXPECT_EQ(Line(7).LineDate, Day(2026, 3, 1)) << "dated as the picker showed";
  EXPECT_EQ(Status(), "The Accounts are balanced");
  EXPECT_EQ(StatusColor(), QColor(0, 0, 0));
  EXPECT_TRUE(w->CompoundEntry[1]->isVisibleTo(w));
  EXPECT_TRUE(w->CompoundEntry[2]->isVisibleTo(w));

  // An unmatched debit: the next New Entry reports the journal out of balance, in red.
  Focus(w->DebitAmountText(0));
  TypeKeys("100");
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(books().LastLineIndex(), 10);
  EXPECT_EQ(Focused(), w->JournalID);
  EXPECT_EQ(w->JournalID->selectedText(), "2");
  EXPECT_EQ(Status(), "Credit Accounts are out of balance by 100");
  EXPECT_EQ(StatusColor(), QColor(255, 0, 0));

  w->CreditAmountText(0)->setFocus();
  w->MenuItem("NewEntryMenu")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 12);
  EXPECT_EQ(Focused(), w->JournalID);
  EXPECT_EQ(w->JournalID->selectedText(), "3");
  EXPECT_EQ(books().EntryCounter, counter + 3);
  EXPECT_EQ(Number(11), "3");
  EXPECT_EQ(Number(12), "3");
}

TEST_F(EntryCommandsWindowTest, TheAddLineImagesGrowASideToThirtyOneRowsInView) {
  w->ScrollAcc->SetValue(5);  // B7, the journal's last entry
  for (int k = 1; k < kMaxRowsPerSide; ++k) {
    QTest::mouseClick(w->CompoundEntry[1], Qt::LeftButton);
    QLineEdit* folio = w->DebitFolio(k);
    ASSERT_EQ(Focused(), folio) << k;
    const QRect box(folio->mapTo(w->eBox, QPoint(0, 0)), folio->size());
    EXPECT_TRUE(w->eBox->rect().contains(box)) << "row " << k << " is in view";
  }
  EXPECT_EQ(books().LastLineIndex(), 36);
  EXPECT_FALSE(w->CompoundEntry[1]->isVisibleTo(w)) << "a side holds 31 lines";
  EXPECT_TRUE(w->EScroll->isVisibleTo(w));
  EXPECT_EQ(Line(36).Notes, "Third");
  EXPECT_EQ(Line(35).Side, kDebit);
  EXPECT_EQ(Line(36).Side, kCredit);

  // The credit image is reached with Tab from the notes and clicked with Space.
  Focus(w->AccNote);
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), w->CompoundEntry[2]);
  Press(Qt::Key_Space);
  EXPECT_EQ(books().LastLineIndex(), 37);
  EXPECT_EQ(Focused(), w->CreditFolio(1));
  EXPECT_EQ(Line(37).Side, kCredit);
  EXPECT_EQ(Line(37).Notes, "Third");
  EXPECT_FALSE(CheckJournal(books().PostingLines).has_value());
}

TEST_F(EntryCommandsWindowTest, TheSumImageFillsTheOtherSideAndBalancesTheEntry) {
  Press(Qt::Key_N, Qt::ControlModifier);
  Focus(w->DebitAmountText(0));
  TypeKeys("250");
  ASSERT_TRUE(w->CalcCompound->isVisibleTo(w));
  QTest::mouseClick(w->CalcCompound, Qt::LeftButton);
  EXPECT_EQ(w->CreditAmountText(0)->text(), "250");
  EXPECT_EQ(Line(8).Amount, Money(250));
  EXPECT_EQ(Focused(), w->CreditAmountText(0));
  EXPECT_EQ(Status(), "Debit : 250.00     Credit : 250.00");
  EXPECT_FALSE(w->CalcCompound->isVisibleTo(w));

  // From the keyboard: Tab reaches the image after the notes and the add-line images.
  Press(Qt::Key_N, Qt::ControlModifier);
  Focus(w->CreditAmountText(0));
  TypeKeys("75");
  Focus(w->AccNote);
  for (int i = 0; i < 3 && Focused() != w->CalcCompound; ++i) Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), w->CalcCompound);
  Press(Qt::Key_Space);
  EXPECT_EQ(Line(9).Amount, Money(75));
  EXPECT_EQ(Focused(), w->DebitAmountText(0));
}

TEST_F(EntryCommandsWindowTest, DeletingAsksForTheAdminPasswordFromTheMenuAndCtrlD) {
  books().AdminPassword = "boss";
  books().FilePassword = "bos";  // the admin prompt takes the admin password only
  w->ScrollAcc->SetValue(2);  // A10
  const Books before = books();
  WhenPromptShows([](PasswordDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Secured Account");
    EXPECT_EQ(dialog.PasswordBox()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.PasswordBox()->maxLength(), 80);
    TypePassword(dialog, "bos");
    EXPECT_EQ(dialog.PasswordBox()->displayText(), "***");
    LeavePrompt(dialog);
  });
  Focus(w->JournalID);
  Press(Qt::Key_D, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(testing::FirstDifference(before, books()), "") << "Exit changes nothing";
  EXPECT_EQ(books().BooksStamp, before.BooksStamp);

  WhenPromptShows([](PasswordDialog& dialog) { TypePassword(dialog, "boss"); });
  w->MenuItem("ArUshore")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(books().LastLineIndex(), 3);
  EXPECT_EQ(Number(2), "B7");
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2) << "the entry after it is shown";
  EXPECT_EQ(w->JournalID->text(), "B7");
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 3);
  EXPECT_EQ(books().BooksStamp, before.BooksStamp + 1);
  EXPECT_TRUE(p.app->TheSession().LoginPassword.empty());

  // Help mode shows the command's card and asks nothing.
  HelpMode(true);
  w->MenuItem("ArUshore")->trigger();
  EXPECT_EQ(HelpTitle(), "Delete Entry");
  EXPECT_EQ(books().LastLineIndex(), 3);
  HelpMode(false);

  // Without an admin password Ctrl+D deletes at once, and the only entry left becomes an
  // empty one.
  books().AdminPassword.clear();
  Focus(w->JournalID);
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(books().LastLineIndex(), 1);
  EXPECT_EQ(Number(0), "A1");
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(books().LastLineIndex(), 1);
  EXPECT_TRUE(Line(0).Amount.IsZero());
  EXPECT_EQ(Line(1).Notes, "_");
  EXPECT_TRUE(w->CompoundEntry[1]->isVisibleTo(w));
}

TEST_F(EntryCommandsWindowTest, ThePromptsLockoutCountsOnlyKeysThatGotNoPasswordAccepted) {
  books().AdminPassword = "boss";
  w->ScrollAcc->SetValue(0);
  auto typeThenLeave = [](QString keys) {
    WhenPromptShows([keys](PasswordDialog& dialog) {
      TypePassword(dialog, keys);
      LeavePrompt(dialog);
    });
  };
  // 496 wrong keys, then "boss": its first three keys make 499, its last is accepted.
  typeThenLeave(QString(496, QChar('x')));
  w->MenuItem("ArUshore")->trigger();
  WhenPromptShows([](PasswordDialog& dialog) { TypePassword(dialog, "boss"); });
  w->MenuItem("ArUshore")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(books().LastLineIndex(), 4);
  EXPECT_EQ(p.lockouts, 0);

  // The count started again: 499 more over a showing are let be, the 500th ends the run.
  typeThenLeave(QString(499, QChar('x')));
  w->MenuItem("ArUshore")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(p.lockouts, 0);
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  WhenPromptShows([](PasswordDialog& dialog) { TypePassword(dialog, "b"); });
  w->MenuItem("ArUshore")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
  EXPECT_EQ(p.lockouts, 1);
  EXPECT_EQ(books().LastLineIndex(), 4) << "nothing deleted";
}

TEST_F(EntryCommandsWindowTest, InsertingOrOpeningAsksForTheOtherBooksOwnPassword) {
  Books other = testing::SmallBook();
  other.FilePassword = "theirs";
  const std::string path = testing::WriteBookFile(p.folder / "other.acc", other);
  books().FilePassword = "mine";
  // Exit, or this book's own password, inserts nothing.
  for (const char* typed : {"", "mine"}) {
    p.answers = {path};
    WhenPromptShows([typed](PasswordDialog& dialog) {
      TypePassword(dialog, typed);
      LeavePrompt(dialog);
    });
    w->MenuItem("InsertEntries")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(books().LastLineIndex(), 6) << typed;
  }
  p.answers = {path};
  WhenPromptShows([](PasswordDialog& dialog) { TypePassword(dialog, "theirs"); });
  w->MenuItem("InsertEntries")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(books().FilePassword, "mine") << "the book keeps its own password";
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 13);

  // Opening it: Exit leaves the open book, its password and its file as they were.
  const std::string own = p.app->TheSession().LastFilePath;
  p.answers = {path};
  WhenPromptShows([](PasswordDialog& dialog) { LeavePrompt(dialog); });
  w->MenuItem("LoadFile")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(books().FilePassword, "mine");
  EXPECT_EQ(p.app->TheSession().LastFilePath, own);
  p.answers = {path};
  WhenPromptShows([](PasswordDialog& dialog) { TypePassword(dialog, "theirs"); });
  w->MenuItem("LoadFile")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(books().LastLineIndex(), 6);
  EXPECT_EQ(books().FilePassword, "theirs");
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
}

TEST_F(EntryCommandsWindowTest, TheReconcileBoxMarksTheEntryAndInHelpModeOnlyExplains) {
  w->ScrollAcc->SetValue(2);
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  for (int i = 2; i <= 4; ++i) EXPECT_EQ(Line(i).Reconciled, 1) << i;
  EXPECT_EQ(Line(1).Reconciled, 0);
  EXPECT_EQ(Line(5).Reconciled, 0);
  HelpMode(true);
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "Reconcile Any Account");
  EXPECT_TRUE(w->Rr->isChecked()) << "the box shows what the books hold";
  EXPECT_EQ(Line(2).Reconciled, 1);
  HelpMode(false);
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(Line(3).Reconciled, 0);
}

TEST_F(EntryCommandsWindowTest, InHelpModeTheCommandsShowTheirCardsWithoutActingButTheSumActs) {
  w->ScrollAcc->SetValue(5);  // B7: Bank 10 / Sales 10
  HelpMode(true);
  const int32_t last = books().LastLineIndex();
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "New Entry");
  Press(Qt::Key_N, Qt::ControlModifier);
  QTest::mouseClick(w->CompoundEntry[2], Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "Compound Entries");
  EXPECT_EQ(books().LastLineIndex(), last);
  // The fields still store; the sum image has no card and acts.
  Focus(w->CreditAmountText(0));
  Press(Qt::Key_Backspace);
  Press(Qt::Key_Backspace);
  EXPECT_TRUE(Line(6).Amount.IsZero());
  ASSERT_TRUE(w->CalcCompound->isVisibleTo(w));
  QTest::mouseClick(w->CalcCompound, Qt::LeftButton);
  EXPECT_EQ(Line(6).Amount, Money(10));
  EXPECT_EQ(HelpTitle(), "Amount") << "the card of the last box focused";
}

TEST_F(EntryCommandsWindowTest, EntriesAreCopiedAndPastedByKeysMenusAndToolbar) {
  QClipboard* clipboard = QApplication::clipboard();
  w->ScrollAcc->SetValue(0);
  Focus(w->JournalID);
  Press(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text(), "110\t\tCash\t100\t\r\n\t400\tSales\t100\tFirst\r\nQV");
  const Books before = books();
  Press(Qt::Key_E, Qt::ControlModifier);
  ASSERT_EQ(books().LastLineIndex(), 8);
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(Line(i), before.PostingLines[static_cast<std::size_t>(i)]);
  EXPECT_EQ(Line(7).LineFolio, Money(110));
  EXPECT_EQ(Line(8).LineFolio, Money(400));
  EXPECT_EQ(Line(8).Amount, Money(100));
  EXPECT_EQ(Line(8).Notes, "First");
  EXPECT_EQ(Line(7).LineDate, Day(2026, 3, 15)) << "pasted entries are dated today";
  EXPECT_EQ(Number(7), "1");
  EXPECT_EQ(Number(8), "1");
  EXPECT_EQ(books().EntryCounter, before.EntryCounter + 1);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 7);
  EXPECT_EQ(w->JournalID->text(), "1");

  // The toolbar's copy and paste buttons; a compound entry comes back whole.
  w->ScrollAcc->SetValue(2);
  w->CalcButton_Click(2);
  w->CalcButton_Click(3);
  ASSERT_EQ(books().LastLineIndex(), 11);
  EXPECT_EQ(Line(10).LineFolio, Money(120));
  EXPECT_EQ(Line(11).Notes, "Second");
  EXPECT_EQ(w->Screen().EntryFirstLine(), 9);

  // Texts that are not an entry change nothing; the marker alone counts an entry.
  for (const char* text : {"QV\r\n", "qv", ""}) {
    clipboard->setText(text);
    w->MenuItem("PageTheEntry")->trigger();
    EXPECT_EQ(books().LastLineIndex(), 11) << text;
  }
  w->ScrollAcc->SetValue(0);
  const int32_t counter = books().EntryCounter;
  clipboard->setText("QV");
  w->MenuItem("PageTheEntry")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 11);
  EXPECT_EQ(books().EntryCounter, counter + 1);
  EXPECT_EQ(w->Screen().EntryLastLine(), 11) << "the journal's last entry is shown";
  // More lines on a side than an entry holds: refused whole.
  QString tooMany;
  for (int i = 0; i < 32; ++i) tooMany += "110\t\tCash\t1\t\r\n";
  clipboard->setText(tooMany + "\t400\tSales\t32\tBig\r\nQV");
  w->MenuItem("PageTheEntry")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 11);
}

}  // namespace
}  // namespace qv
