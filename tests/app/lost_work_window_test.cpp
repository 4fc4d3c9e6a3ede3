// Nothing a user does loses work: leaving asks while there are changes, Ctrl+D asks before
// it deletes, the wheel changes no list it passes over, a save asks before it replaces
// another book, and the book commands say what they did and what a copy leaves out.

#include <QtTest/qtestspontaneevent.h>
#include <QWheelEvent>
#include <QWindow>

#include "accounts/chart_editor_window.h"
#include "bookfiles/book_files.h"
#include "bookfiles/book_notices.h"
#include "controls/wait_screen_dialog.h"
#include "platform/file_stamp.h"
#include "platform/prompts_qt.h"
#include "platform/string_table.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

class LostWorkTest : public MainWindowTest {
 protected:
  // The question asked last, as the user saw it.
  const PromptRequest& Asked() const { return prompts.History().back().Request; }

  // One notch of the wheel (up when `notches` is positive) over `target`, delivered as the
  // window system delivers it: to the widget under the pointer, then to its parents while
  // none takes it.
  static void Wheel(QWidget* target, int notches) {
    const QPointF at(4, 4);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Only an event from the window system goes on to the parents (sendEvent would make it
    // the program's own); a list with the wheel focus policy takes the focus first.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(target, &wheel);
  }

  // A second copy of the book this one is on, started, and a new entry in each, unsaved.
  TAcount& EntryInEachCopy(Program& second) {
    TAcount& b = second.Start();
    w->MenuItem("NewEntryMenu")->trigger();
    books().PostingLines.back().Notes = "A's entry";
    b.MenuItem("NewEntryMenu")->trigger();
    second.books().PostingLines.back().Notes = "B's entry";
    return b;
  }

  PromptAnswerer prompts;
};

TEST_F(LostWorkTest, ExitAsksOnlyWhenTheBooksChangedSinceOpenedOrSavedAndEndsOnlyOnYes) {
  StartOn(SmallBook());
  // As opened, Exit ends at once.
  w->MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 1);
  EXPECT_TRUE(prompts.History().empty());
  // A corrected amount: No keeps the program and the change, Yes ends it.
  w->ScrollAcc->SetValue(5);
  Focus(w->DebitAmountText(0));
  TypeKeys("9");
  ASSERT_NE(Line(5).Amount, Money(10));
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(p.ended, 1);
  EXPECT_EQ(Asked().Text, Str(279));
  EXPECT_EQ(Asked().Buttons, PromptButtons::YesNo);
  EXPECT_EQ(Asked().Default, PromptAnswer::No);
  w->MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 2);
  // Saved, the books have nothing to lose again: Exit and the close box end at once.
  w->MenuItem("SaveFile(0)")->trigger();
  w->MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 3);
  EXPECT_TRUE(w->close());
  EXPECT_EQ(p.ended, 4);
  EXPECT_EQ(prompts.History().size(), 2u);
}

// The close box pressed while a long job runs (a print, a copy) is not lost: once the job is
// over the window closes its usual way, asking first about the changed books.
TEST_F(LostWorkTest, TheCloseBoxPressedDuringALongJobClosesAfterItWithTheUsualQuestion) {
  StartOn(SmallBook());
  books().BusinessName = "Changed since opened";
  {
    WaitScreen job(w, p.app->TheSession(), 100);
    w->windowHandle()->close();
    job.ProgressTick();
    EXPECT_TRUE(w->isVisible());
  }
  EXPECT_TRUE(prompts.History().empty()) << "nothing is asked in the middle of the job";
  prompts.Then(PromptAnswer::No);
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{Str(279)});
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(p.ended, 0);
}

// Enter on the exit question, from Exit and from the close box alike, keeps the program.
TEST_F(LostWorkTest, KeysEnterOnTheExitQuestionKeepsTheProgramRunning) {
  StartOn(SmallBook());
  books().BusinessName = "Changed since opened";
  QtPromptService boxes;
  ScopedPromptService shown(boxes);
  int boxesSeen = 0;
  const auto pressEnterOnTheBox = [&boxesSeen] {
    QTimer::singleShot(0, [&boxesSeen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text().toStdString(), Str(279));
      ++boxesSeen;
      QTest::keyClick(box, Qt::Key_Return);
    });
  };
  pressEnterOnTheBox();
  Press(Qt::Key_Q, Qt::ControlModifier);
  pressEnterOnTheBox();
  w->close();
  EXPECT_EQ(boxesSeen, 2);
  EXPECT_EQ(p.ended, 0);
  EXPECT_TRUE(w->isVisible());
}

// The close box ends at once while the books hold no change, and asks while they do.
TEST_F(LostWorkTest, KeysTheCloseBoxAsksOnlyWhenTheBooksChanged) {
  StartOn(SmallBook());
  QtPromptService boxes;
  ScopedPromptService shown(boxes);
  std::vector<std::string> seen;
  // Any box that shows is read and answered with Enter.
  QTimer answering;
  answering.setInterval(10);
  QObject::connect(&answering, &QTimer::timeout, [&seen] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen.push_back(box->text().toStdString());
      QTest::keyClick(box, Qt::Key_Return);
    }
  });
  answering.start();
  EXPECT_TRUE(w->close());
  EXPECT_EQ(p.ended, 1);
  EXPECT_TRUE(seen.empty());
  // A typed note: the question, and Enter keeps the program and the note.
  Activate(w);
  w->ScrollAcc->SetValue(2);
  Focus(w->AccNote);
  TypeKeys("!");
  EXPECT_FALSE(w->close());
  EXPECT_EQ(seen, std::vector<std::string>{Str(279)});
  EXPECT_EQ(p.ended, 1);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(Line(4).Notes, "!");
  // Saved, nothing is lost by closing.
  w->MenuItem("SaveFile(0)")->trigger();
  Activate(w);
  EXPECT_TRUE(w->close());
  EXPECT_EQ(p.ended, 2);
  EXPECT_EQ(seen.size(), 1u);
}

// Open asks before it drops changes: No leaves everything as it was, Yes opens.
TEST_F(LostWorkTest, KeysOpenAsksBeforeItDropsATypedChangeAndNoLeavesEverythingAsItWas) {
  Books other = SmallBook();
  other.BusinessName = "Other";
  StartOn(SmallBook());
  const std::string otherPath = WriteBookFile(p.folder / "other.acc", other);
  w->ScrollAcc->SetValue(2);
  Focus(w->AccNote);
  TypeKeys("!");
  const Books typed = books();
  prompts.Then(PromptAnswer::No);
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(
      Asked().Text,
      "The books have changed since they were saved. Open another book without saving them ?");
  EXPECT_EQ(Asked().Buttons, PromptButtons::YesNo);
  EXPECT_EQ(Asked().Default, PromptAnswer::No);
  EXPECT_TRUE(p.requests.empty()) << "no book was asked for";
  EXPECT_EQ(FirstDifference(typed, books()), "");
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  // The toolbar's button asks the same; Yes opens the other book, which has nothing to lose.
  prompts.Then(PromptAnswer::Yes);
  p.answers = {otherPath};
  Click(w->CalcButton(0));
  EXPECT_EQ(Asked().Text, OpenWithoutSavingQuestion());
  EXPECT_EQ(books().BusinessName, "Other");
  EXPECT_EQ(p.app->TheSession().LastFilePath, otherPath);
  w->MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 1);
  EXPECT_EQ(prompts.History().size(), 2u);
}

// An open that fails (a password not given, a file that is no book, a missing file) leaves
// the books, their passwords and what counts as saved exactly as they were.
TEST_F(LostWorkTest, ARefusedOpenLeavesTheBooksTheirPasswordsAndTheirSavedStateAsTheyWere) {
  Books mine = SmallBook();
  mine.FilePassword = "mine";
  mine.AdminPassword = "boss";
  p.prompt.known = {"mine"};
  StartOn(mine);
  Books theirs = SmallBook();
  theirs.FilePassword = "theirs";
  const std::string locked = WriteBookFile(p.folder / "locked.acc", theirs);
  const std::string junk = p.scratch.File("junk.acc", "no book");
  const std::string missing = (p.folder / "missing.acc").string();
  const Session& session = p.app->TheSession();
  const uint64_t saved = session.SavedBookDigest;
  auto refuseEach = [&] {
    for (const std::string& file : {locked, junk, missing}) {
      SCOPED_TRACE(file);
      const uint64_t digest = BookDigest(books());
      if (w->BooksChangedSinceSaved()) prompts.Then(PromptAnswer::Yes);  // open without saving
      if (file != locked) prompts.Then(PromptAnswer::Ok);                // why it was not opened
      p.answers = {file};
      w->MenuItem("LoadFile")->trigger();
      EXPECT_EQ(BookDigest(books()), digest);
      EXPECT_EQ(session.SavedBookDigest, saved);
      EXPECT_EQ(std::pair(books().FilePassword, books().AdminPassword),
                std::pair(std::string("mine"), std::string("boss")));
      EXPECT_EQ(session.LastFilePath, path);
    }
  };
  refuseEach();
  EXPECT_EQ(p.prompt.wanted, (std::vector<std::string>{"mine", "theirs"}));
  EXPECT_FALSE(w->BooksChangedSinceSaved());
  // With a change: the change stays, and still counts as one.
  books().BusinessName = "Changed";
  refuseEach();
  EXPECT_TRUE(w->BooksChangedSinceSaved());
}

// Two copies on one book file: a save writes over the file only as this copy last read or
// wrote it, or on the user's word.
TEST_F(LostWorkTest, ASaveOverTheBookFileThatAnotherCopyWroteAsksAndNoWritesNothing) {
  StartOn(SmallBook());
  Program second({"quorvel", path}, true);
  TAcount& b = second.Start();
  // A adds an entry and saves.
  w->MenuItem("NewEntryMenu")->trigger();
  books().PostingLines.back().Notes = "A's entry";
  w->MenuItem("SaveFile(0)")->trigger();
  const std::string firsts = ScratchFolder::Read(path);
  // B, opened before, adds another: its save asks, and No writes nothing.
  b.MenuItem("NewEntryMenu")->trigger();
  second.books().PostingLines.back().Notes = "B's entry";
  prompts.Then(PromptAnswer::No);
  b.MenuItem("SaveFile(0)")->trigger();
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(Asked().Text, "\"" + path +
                              "\" was changed by another program since it was opened here. "
                              "Replace it with the books shown here ?");
  EXPECT_EQ(Asked().Buttons, PromptButtons::YesNo);
  EXPECT_EQ(Asked().Default, PromptAnswer::No);
  EXPECT_EQ(ScratchFolder::Read(path), firsts) << "the first copy's file, byte for byte";
  EXPECT_EQ(second.books().PostingLines.back().Notes, "B's entry");
  EXPECT_TRUE(b.BooksChangedSinceSaved());
  // Save As onto the same file asks the same; Yes writes, and B's next save asks nothing.
  prompts.Then(PromptAnswer::Yes);
  second.answers = {path};
  b.MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->PostingLines.back().Notes, "B's entry");
  b.MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(prompts.History().size(), 2u);
  // Now A's file was written by another.
  prompts.Then(PromptAnswer::No);
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(prompts.History().size(), 3u);
  EXPECT_EQ(Asked().Text.find("\"" + path + "\" was changed"), 0u);
}

// Two copies save one book at once: B's save finds the file unchanged before it writes, and
// A's whole save runs while B writes (the wait screen lets timers run). B replaces nothing
// and asks; No leaves A's file byte for byte, and A keeps the stamp of the file it wrote.
TEST_F(LostWorkTest, OfTwoCopiesSavingAtOnceTheLaterIsAskedAndNoKeepsTheFirstsFile) {
  StartOn(SmallBook());
  Program second({"quorvel", path}, true);
  TAcount& b = EntryInEachCopy(second);
  std::string firsts;
  QTimer::singleShot(0, [&] {
    w->MenuItem("SaveFile(0)")->trigger();
    firsts = ScratchFolder::Read(path);
  });
  prompts.Then(PromptAnswer::No);
  b.MenuItem("SaveFile(0)")->trigger();
  ASSERT_FALSE(firsts.empty()) << "A did not save while B wrote";
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(Asked().Text.find("\"" + path + "\" was changed"), 0u) << Asked().Text;
  EXPECT_TRUE(ScratchFolder::Read(path) == firsts) << "the first copy's file, byte for byte";
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->PostingLines.back().Notes, "A's entry");
  EXPECT_TRUE(b.BooksChangedSinceSaved());
  EXPECT_FALSE(w->BooksChangedSinceSaved());
  EXPECT_TRUE(p.app->TheSession().BookFileStamp == StampOfFile(path));
}

// A copy's stamp after a save is the file it wrote, not whatever stands at the path when the
// save ends: here B replaces A's file (asked, Yes) as A's wait screen closes. A's stamp is
// still A's file, so A's next save asks, and No leaves B's file.
TEST_F(LostWorkTest, TheStampAfterASaveIsTheFileThatCopyWrote) {
  StartOn(SmallBook());
  Program second({"quorvel", path}, true);
  TAcount& b = EntryInEachCopy(second);
  FileStamp written;  // A's file, as it stands once A's save wrote it
  QTimer::singleShot(0, [&] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* wait = qobject_cast<WaitScreenDialog*>(top))
        QObject::connect(wait, &QObject::destroyed, [&] {
          written = StampOfFile(path);
          QTimer::singleShot(0, [&] { b.MenuItem("SaveFile(0)")->trigger(); });
        });
  });
  prompts.Then(PromptAnswer::Yes);
  w->MenuItem("SaveFile(0)")->trigger();
  ASSERT_EQ(prompts.History().size(), 1u) << "B did not save as A's save ended";
  ASSERT_TRUE(written.Known);
  EXPECT_TRUE(p.app->TheSession().BookFileStamp == written) << "A's stamp is B's file";
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->PostingLines.back().Notes, "B's entry");
  const std::string seconds = ScratchFolder::Read(path);
  prompts.Then(PromptAnswer::No);
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(prompts.History().size(), 2u);
  EXPECT_TRUE(ScratchFolder::Read(path) == seconds) << "B's file, byte for byte";
}

// Ctrl+D skips the "Are you sure ?" submenu, so it asks the same: No keeps the entry.
TEST_F(LostWorkTest, KeysCtrlDAsksBeforeDeletingTheShownEntryWhereTheMenuDoesNot) {
  StartOn(SmallBook());
  const Books before = books();
  w->ScrollAcc->SetValue(2);  // A10
  Focus(w->DebitAmountText(0));
  prompts.Then(PromptAnswer::No);
  Press(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(FirstDifference(before, books()), "");
  EXPECT_EQ(Asked().Text, Str(122));
  EXPECT_EQ(Asked().Buttons, PromptButtons::YesNo);
  EXPECT_EQ(Asked().Icon, PromptIcon::Question);
  EXPECT_EQ(Asked().Default, PromptAnswer::No);
  prompts.Then(PromptAnswer::Yes);
  Press(Qt::Key_D, Qt::ControlModifier);
  ASSERT_EQ(books().LastLineIndex(), 3) << "A10's three lines went";
  EXPECT_EQ(books().EntryNumbers[2].TrimmedText(), "B7");
  // The submenu item is the confirmation: chosen there, it deletes without a question.
  w->MenuItem("ArUshore")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 1);
  EXPECT_EQ(prompts.History().size(), 2u);
}

// The wheel over a list without the keyboard leaves its account; over the rows of a long
// entry it moves the row bar as its arrows do.
TEST_F(LostWorkTest, KeysTheWheelChangesNoUnfocusedAccountListAndScrollsTheRows) {
  Books book = SmallBook();
  AddEntry(book, Day(2026, 3, 4), "C1",
           {{110, 1}, {120, 1}, {110, 1}, {120, 1}, {110, 1}, {120, 1}, {110, 1}, {120, 1}},
           {{400, 8}}, "Long");
  StartOn(book);
  w->ScrollAcc->SetValue(2);  // A10: Cash, Bank / Sales
  Focus(w->DebitAmountText(0));
  QComboBox* list = w->DebitAccName(1);
  for (int notches : {-3, 3, -1}) Wheel(list, notches);
  EXPECT_EQ(list->currentText(), "Bank");
  EXPECT_EQ(Line(3).LineFolio, Money(120));
  EXPECT_EQ(Focused(), w->DebitAmountText(0));
  // Nine debit rows do not fit: the wheel down over a row's boxes moves the rows down.
  w->ScrollAcc->SetValue(7);
  ASSERT_TRUE(w->EScroll->isVisible());
  const int step = w->EScroll->ValueSmallChange();
  Wheel(w->DebitAccName(2), -1);
  EXPECT_EQ(w->EScroll->Value(), step);
  Wheel(w->DebitFolio(3), -2);
  EXPECT_EQ(w->EScroll->Value(), std::min(3 * step, w->EScroll->ValueMax()));
  Wheel(w->eBox, 5);
  EXPECT_EQ(w->EScroll->Value(), 0);
  EXPECT_EQ(Line(7).LineFolio, Money(110));
  EXPECT_EQ(Line(8).LineFolio, Money(120));
}

TEST_F(LostWorkTest, SaveAsAsksBeforeReplacingAnotherBookAndProposesTheOpenBooksOwnName) {
  Books other = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Wages", 245, kExpense}});
  AddEntry(other, Day(2026, 2, 1), "P1", {{245, 300}}, {{110, 300}}, "Pay");
  AddEntry(other, Day(2026, 2, 8), "P2", {{245, 310}}, {{110, 310}}, "Pay");
  AddEntry(other, Day(2026, 2, 9), "P3", {{110, 5}}, {{110, 5}}, "Float");
  StartOn(SmallBook());
  const std::string payroll = WriteBookFile(p.folder / "payroll.acc", other);
  const std::string payrollBytes = ScratchFolder::Read(payroll);
  // Inserting says how many entries came and names the folio the chart lacks.
  prompts.Then(PromptAnswer::Ok);
  p.answers = {payroll};
  w->MenuItem("InsertEntries")->trigger();
  ASSERT_EQ(books().LastLineIndex(), 12);
  EXPECT_EQ(Asked().Text,
            "3 entries were inserted from \"" + payroll +
                "\". Their postings use folio 245, which this chart of accounts does not have: "
                "those postings show no account and stay out of the statements until an account "
                "is given that folio in Account Settings.");
  // Save As proposes the open book's own file, not the one just inserted from.
  p.answers = {payroll};
  prompts.Then(PromptAnswer::No);
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(p.requests.back().presetName, path);
  EXPECT_TRUE(p.requests.back().nameGiven);
  EXPECT_EQ(Asked().Default, PromptAnswer::No);
  EXPECT_NE(Asked().Text.find(payroll), std::string::npos);
  EXPECT_EQ(ScratchFolder::Read(payroll), payrollBytes) << "answered No, nothing is written";
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  // The book's own file is written without a question; Yes replaces another.
  p.answers = {path};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->LastLineIndex(), 12);
  p.answers = {payroll};
  prompts.Then(PromptAnswer::Yes);
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(ReadBook(payroll, "acc", Day(2026, 1, 1)).Book->LastLineIndex(), 12);
  EXPECT_EQ(prompts.History().size(), 3u);
}

// A copy in a form that holds less than the book says once what it leaves out.
TEST_F(LostWorkTest, ACopyInALesserFormSaysOnceWhatItLeavesOut) {
  Books book = SmallBook();
  book.BusinessName = "Corner Shop";
  StartOn(book);
  const std::string csv = (p.folder / "copy.csv").string();
  const std::string txt = (p.folder / "copy.txt").string();
  prompts.Then(PromptAnswer::Ok);
  p.answers = {csv};
  w->MenuItem("SaveFile(1)")->trigger();
  ASSERT_EQ(prompts.History().size(), 1u);
  EXPECT_EQ(Asked().Text, "The copy in \"" + csv +
                              "\" leaves out these parts of the book, which only the book "
                              "file (.acc) keeps: settings; business name and address.");
  // The text form holds all but the passwords: without one it says nothing.
  p.answers = {txt};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(prompts.History().size(), 1u);
  books().AdminPassword = "secret";
  prompts.Then(PromptAnswer::Yes).Then(PromptAnswer::Ok);  // replace the first copy
  p.answers = {txt};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(Asked().Text, "The copy in \"" + txt +
                              "\" leaves out these parts of the book, which only the book "
                              "file (.acc) keeps: passwords.");
  EXPECT_EQ(LeftOutOfCopyText(books(), "CSV", csv),
            "The copy in \"" + csv +
                "\" leaves out these parts of the book, which only the book file (.acc) keeps: "
                "settings; business name and address; passwords.");
}

// The roll-over closes the chart editor as the user does: a duplicate folio keeps the
// editor open and the journal as it was.
TEST_F(LostWorkTest, ARollOverFirstClosesTheChartEditorWithItsChecks) {
  StartOn(SmallBook());
  w->MenuItem("EditAccounts")->trigger();
  auto* editor = qobject_cast<ConfigAccounts*>(p.app->Windows().ConfigAccounts.data());
  ASSERT_NE(editor, nullptr);
  const Books before = books();
  books().AccountFolios[2] = books().AccountFolios[1];  // Bank takes Cash's folio
  for (const char* command : {"BalBForword", "Brought_Forward"}) {
    prompts.Then(PromptAnswer::Ok);  // the editor's message on the duplicate
    w->MenuItem(command)->trigger();
    EXPECT_TRUE(editor->isVisible()) << command;
    EXPECT_EQ(books().PostingLines, before.PostingLines) << command;
  }
  // Mended, the editor closes and the roll-over runs.
  books().AccountFolios[2] = Money(120);
  w->MenuItem("Brought_Forward")->trigger();
  EXPECT_FALSE(p.app->Windows().ConfigAccounts && p.app->Windows().ConfigAccounts->isVisible());
  EXPECT_NE(books().PostingLines, before.PostingLines);
}

}  // namespace
}  // namespace qv::testing
