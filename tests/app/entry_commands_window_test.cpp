// The entry commands in the main window: New Entry, the add-line and sum images, deleting
// behind the admin password (with the program's own password prompt), the Reconcile box,
// help mode, and copying and pasting entries.

#include <QElapsedTimer>
#include <algorithm>

#include "accounts/password_dialog.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// Answers the password prompt once it shows, through its own box and button: types `keys`,
// then leaves with Exit when `leave`. Other modal windows (the wait screen of a book read)
// are let be; a prompt still open after five seconds is closed, so that a test never hangs.
void WhenPromptShows(QString keys, bool leave,
                     std::function<void(PasswordDialog&)> check = nullptr) {
  auto* poll = new QTimer;
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(poll, &QTimer::timeout, [=] {
    if (auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        dialog != nullptr && dialog->isVisible()) {
      poll->deleteLater();
      poll->stop();
      QTest::keyClicks(dialog->PasswordBox(), keys);
      if (check) check(*dialog);
      if (leave) QTest::mouseClick(dialog->ExitButton(), Qt::LeftButton);
    } else if (started->elapsed() > 5000) {
      poll->deleteLater();
      poll->stop();
      ADD_FAILURE() << "no password prompt was shown";
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    }
  });
  poll->start(5);
}

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) in an active window whose
// gates ask with the program's own password prompt.
class EntryCommandsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    p.UseRealPrompt();
    StartOn(SmallBook());
  }
  // Runs a menu command and lets the prompt it shows be answered.
  void Run(const char* item) {
    w->MenuItem(item)->trigger();
    QApplication::processEvents();
  }
};

TEST_F(EntryCommandsWindowTest, NewEntryFromTheButtonTheMenuOrCtrlNSelectsItsNumber) {
  QTest::mouseClick(w->Command1, Qt::LeftButton);
  EXPECT_EQ(books().LastLineIndex(), 8);
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 8);
  EXPECT_EQ(w->JournalID->selectedText(), "1");
  EXPECT_EQ(Line(7).LineDate, Day(2026, 3, 1)) << "dated as the picker showed";
  EXPECT_EQ(Status(), "The Accounts are balanced");
  // An unmatched debit: the next New Entry reports the journal out of balance, in red.
  Focus(w->DebitAmountText(0));
  TypeKeys("100");
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Focused(), w->JournalID);
  EXPECT_EQ(w->JournalID->selectedText(), "2");
  EXPECT_EQ(Status(), "Credit Accounts are out of balance by 100");
  EXPECT_EQ(StatusColor(), QColor(255, 0, 0));
  w->MenuItem("NewEntryMenu")->trigger();
  EXPECT_EQ(w->JournalID->selectedText(), "3");
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

  // The credit image is reached with Tab from the notes and clicked with Space.
  Focus(w->AccNote);
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), w->CompoundEntry[2]);
  Press(Qt::Key_Space);
  EXPECT_EQ(books().LastLineIndex(), 37);
  EXPECT_EQ(Focused(), w->CreditFolio(1));
  EXPECT_FALSE(CheckJournal(books().PostingLines).has_value());
}

TEST_F(EntryCommandsWindowTest, TheSumImageFillsTheOtherSideAndBalancesTheEntry) {
  Press(Qt::Key_N, Qt::ControlModifier);
  Focus(w->DebitAmountText(0));
  TypeKeys("250");
  QTest::mouseClick(w->CalcCompound, Qt::LeftButton);
  EXPECT_EQ(w->CreditAmountText(0)->text(), "250");
  EXPECT_EQ(Line(8).Amount, Money(250));
  EXPECT_EQ(Focused(), w->CreditAmountText(0));
  EXPECT_FALSE(w->CalcCompound->isVisibleTo(w));
}

TEST_F(EntryCommandsWindowTest, DeletingAsksForTheAdminPasswordFromTheMenuAndCtrlD) {
  books().AdminPassword = "boss";
  books().FilePassword = "bos";  // the admin prompt takes the admin password only
  w->ScrollAcc->SetValue(2);     // A10
  const Books before = books();
  WhenPromptShows("bos", true, [](PasswordDialog& dialog) {
    EXPECT_EQ(dialog.PasswordBox()->displayText(), "***");
  });
  {
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::Yes);  // Ctrl+D first asks "Are you sure ?"
    Focus(w->JournalID);
    Press(Qt::Key_D, Qt::ControlModifier);
    QApplication::processEvents();
  }
  EXPECT_EQ(FirstDifference(before, books()), "") << "Exit changes nothing";
  EXPECT_EQ(books().BooksStamp, before.BooksStamp);

  WhenPromptShows("boss", false);
  Run("ArUshore");
  EXPECT_EQ(books().LastLineIndex(), 3);
  EXPECT_EQ(w->JournalID->text(), "B7") << "the entry after it is shown";
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 3);

  // Help mode shows the command's card and asks nothing.
  HelpMode(true);
  w->MenuItem("ArUshore")->trigger();
  EXPECT_EQ(HelpTitle(), "Delete Entry");
  EXPECT_EQ(books().LastLineIndex(), 3);
  HelpMode(false);

  // Without an admin password Ctrl+D deletes once its question is answered Yes.
  books().AdminPassword.clear();
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Yes);
  Focus(w->JournalID);
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(books().LastLineIndex(), 1);
  EXPECT_EQ(Number(0), "A1");
}

TEST_F(EntryCommandsWindowTest, ThePromptsLockoutCountsOnlyKeysThatGotNoPasswordAccepted) {
  books().AdminPassword = "boss";
  w->ScrollAcc->SetValue(0);
  // 496 wrong keys, then "boss": its first three keys make 499, its last is accepted.
  WhenPromptShows(QString(496, QChar('x')), true);
  Run("ArUshore");
  WhenPromptShows("boss", false);
  Run("ArUshore");
  EXPECT_EQ(books().LastLineIndex(), 4);
  EXPECT_EQ(p.lockouts, 0);

  // The count started again: 499 more over a showing are let be, the 500th ends the run.
  WhenPromptShows(QString(499, QChar('x')), true);
  Run("ArUshore");
  EXPECT_EQ(p.lockouts, 0);
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  WhenPromptShows("b", false);
  Run("ArUshore");
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
  EXPECT_EQ(p.lockouts, 1);
  EXPECT_EQ(books().LastLineIndex(), 4) << "nothing deleted";
}

TEST_F(EntryCommandsWindowTest, InsertingOrOpeningAsksForTheOtherBooksOwnPassword) {
  Books other = SmallBook();
  other.FilePassword = "theirs";
  const std::string otherPath = WriteBookFile(p.folder / "other.acc", other);
  books().FilePassword = "mine";
  // Exit, or this book's own password, inserts nothing.
  for (const char* typed : {"", "mine"}) {
    p.answers = {otherPath};
    WhenPromptShows(typed, true);
    Run("InsertEntries");
    EXPECT_EQ(books().LastLineIndex(), 6) << typed;
  }
  p.answers = {otherPath};
  WhenPromptShows("theirs", false);
  Run("InsertEntries");
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(books().FilePassword, "mine") << "the book keeps its own password";

  // Opening it (the inserted entries given up): Exit leaves the open book, its password and
  // its file as they were.
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Yes).Then(PromptAnswer::Yes);
  p.answers = {otherPath};
  WhenPromptShows("", true);
  Run("LoadFile");
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(books().FilePassword, "mine");
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  p.answers = {otherPath};
  WhenPromptShows("theirs", false);
  Run("LoadFile");
  EXPECT_EQ(books().LastLineIndex(), 6);
  EXPECT_EQ(books().FilePassword, "theirs");
  EXPECT_EQ(p.app->TheSession().LastFilePath, otherPath);
}

TEST_F(EntryCommandsWindowTest, InHelpModeTheCommandsOnlyExplainButTheFieldsAndTheSumAct) {
  w->ScrollAcc->SetValue(5);  // B7: Bank 10 / Sales 10
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(Line(5).Reconciled, 1);
  EXPECT_EQ(Line(6).Reconciled, 1);
  EXPECT_EQ(Line(4).Reconciled, 0);
  HelpMode(true);
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "Reconcile Any Account");
  EXPECT_TRUE(w->Rr->isChecked()) << "the box shows what the books hold";
  EXPECT_EQ(Line(6).Reconciled, 1);
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
  HelpMode(false);
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(Line(5).Reconciled, 0);
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
  EXPECT_TRUE(std::equal(before.PostingLines.begin(), before.PostingLines.end(),
                         books().PostingLines.begin()));
  EXPECT_EQ(Line(8), (PostingLine{Day(2026, 3, 15), kCredit, 0, Money(400), Money(100), "First"}))
      << "pasted entries are dated today";
  EXPECT_EQ(w->Screen().EntryFirstLine(), 7);
  EXPECT_EQ(w->JournalID->text(), "1");

  // The toolbar's copy and paste buttons; a compound entry comes back whole. A text that
  // is not an entry changes nothing.
  w->ScrollAcc->SetValue(2);
  w->CalcButton_Click(2);
  w->CalcButton_Click(3);
  ASSERT_EQ(books().LastLineIndex(), 11);
  EXPECT_EQ(Line(11).Notes, "Second");
  clipboard->setText("QV\r\n");
  w->MenuItem("PageTheEntry")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 11);
}

}  // namespace
}  // namespace qv::testing
