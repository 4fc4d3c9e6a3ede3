#include "app/main_window.h"

#include <QMenu>
#include <fstream>

#include "app/application_hooks.h"
#include "bench/book_generator.h"
#include "controls/file_dialog.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// A window that must go with the book and records how it was closed.
class ChartEditorStandIn : public QWidget, public ClosesWithBook {
 public:
  bool forced = false;
  void CloseForNewBook() override {
    forced = true;
    close();
  }
};

// ---- Start-up and shut-down.

TEST(MainWindowStartup, StartsOnTheEmptyBookOfToday) {
  Program p;
  TAcount& w = p.Start();
  EXPECT_EQ(w.windowTitle(), "Quorvel V6.2 : ");
  EXPECT_EQ(p.books().LastLineIndex(), 1);
  EXPECT_EQ(w.Datetext->Text(), "3/15/26");
  EXPECT_EQ(w.JournalID->text(), "1");
  EXPECT_EQ(w.ScrollAcc->ValueMax(), 1);
  EXPECT_EQ(w.GL(8)->text(), "$ :");
  EXPECT_EQ(w.GL(7)->text(), "");
  // Each field label ends 40 twips (about 3 pixels) before its field.
  for (auto [label, field] : {std::pair<QLabel*, QWidget*>{w.GL(2), w.JournalID},
                              {w.GL(3), w.Datetext},
                              {w.GL(4), w.DebitFolio(0)},
                              {w.GL(5), w.CreditFolio(0)},
                              {w.GL(6), w.AccNote}}) {
    EXPECT_NEAR(field->x() - (label->x() + label->width()), 3, 1) << label->text().toStdString();
  }
  // The account lists hold the chart: account 0 only.
  EXPECT_EQ(w.DebitAccName(0)->count(), 1);
  EXPECT_EQ(w.CreditAccName(30)->itemText(0), "Balance b/f");
  // No example books: no separator, no item.
  EXPECT_FALSE(w.MenuItem("Samples(0)")->isVisible());
  EXPECT_EQ(w.MenuItem("Samples(1)"), nullptr);
  // A first copy is not tinted.
  EXPECT_NE(w.ScrollAcc->BackColor(), kSecondCopyTint);
}

TEST(MainWindowStartup, ExampleBooksBecomeHelpItemsThatStartATintedSecondCopy) {
  Program p({"quorvel"}, true);
  fs::create_directories(p.folder / "Examples" / "with blanks");
  WriteBookFile(p.folder / "Examples" / "Sales & Stock.acc", SmallBook());
  WriteBookFile(p.folder / "Examples" / "Payroll Example.acc", SmallBook());
  TAcount& w = p.Start();
  EXPECT_TRUE(w.MenuItem("Samples(0)")->isVisible());
  ASSERT_NE(w.MenuItem("Samples(2)"), nullptr);
  EXPECT_EQ(w.MenuItem("Samples(1)")->text(), "Payroll Example.acc");
  EXPECT_EQ(w.MenuItem("Samples(2)")->text(), "Sales && Stock.acc");
  w.MenuItem("Samples(2)")->trigger();
  ASSERT_EQ(p.started.size(), 1u);
  EXPECT_EQ(p.started[0], QCoreApplication::applicationFilePath());
  EXPECT_EQ(
      p.startedArguments,
      QStringList{QString::fromStdString((p.folder / "Examples" / "Sales & Stock.acc").string())});
  // This run is a second copy.
  EXPECT_EQ(w.ScrollAcc->BackColor(), kSecondCopyTint);
  EXPECT_EQ(w.eBox->palette().color(QPalette::Window), QColor(255, 255, 192));
}

TEST(MainWindowStartup, TheProjectsOwnExampleBooksOpen) {
  const fs::path examples =
      fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "Examples";
  ASSERT_TRUE(fs::exists(examples / "Trading Business.acc"));
  ASSERT_TRUE(fs::exists(examples / "Payroll Example.acc"));
  for (const char* name : {"Trading Business.acc", "Payroll Example.acc"}) {
    Program p({"quorvel", (examples / name).string()});
    TAcount& w = p.Start();
    EXPECT_EQ(w.windowTitle().toStdString(),
              "Quorvel V6.2 : " + (examples / name).string() + "    ");
    EXPECT_GT(p.books().LastLineIndex(), 20);
    EXPECT_FALSE(CheckBooks(p.books()).has_value());
    EXPECT_EQ(p.books().AccountNames[0], "Cash at Bank");
  }
}

TEST(MainWindowStartup, AQuotedPathOnTheCommandLineOpensThatBook) {
  Program p;
  const std::string path = WriteBookFile(p.folder / "my books.acc", SmallBook());
  p.options.Arguments = {"quorvel", "\"" + path + "\""};
  TAcount& w = p.Start();
  EXPECT_EQ(w.windowTitle().toStdString(), "Quorvel V6.2 : " + path + "    ");
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  EXPECT_EQ(p.books().LastLineIndex(), 6);
  EXPECT_EQ(w.JournalID->text(), "A1");
  EXPECT_EQ(w.DebitAccName(0)->currentText(), "Cash");
  EXPECT_EQ(w.DebitAccName(0)->count(), 4);
}

TEST(MainWindowStartup, AFailedOpenKeepsTheEmptyBookAndNoPathToSaveOver) {
  Program p;
  Books locked = SmallBook();
  locked.FilePassword = "secret";
  const std::string lockedPath = WriteBookFile(p.folder / "locked.acc", locked);
  p.options.Arguments = {"quorvel", lockedPath};
  TAcount& w = p.Start();
  EXPECT_EQ(p.prompt.asked, 1);
  EXPECT_EQ(w.windowTitle(), "Quorvel V6.2 : ");
  EXPECT_EQ(p.books().LastLineIndex(), 1);
  EXPECT_TRUE(p.app->TheSession().LastFilePath.empty());
  // Save now asks for a name instead of writing over the book that did not open.
  w.MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(p.requests.size(), 1u);

  // A missing file is reported with its path; the book stays.
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  p.app->TheSession().ChosenFileName = (p.folder / "gone.acc").string();
  EXPECT_FALSE(w.LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("gone.acc"), std::string::npos);
  EXPECT_EQ(p.books().LastLineIndex(), 1);

  // The right password opens it.
  p.prompt.known = {"secret"};
  p.app->TheSession().ChosenFileName = lockedPath;
  EXPECT_TRUE(w.LoadAccFile(1));
  EXPECT_EQ(p.books().LastLineIndex(), 6);
  EXPECT_EQ(p.books().FilePassword, "secret");
}

TEST(MainWindowStartup, ClosingAsksAndSavesTheSizeWhileExitEndsAtOnce) {
  Program p;
  {
    TAcount& w = p.Start();
    w.resize(w.width() + 50, w.height());
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::No);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Do you want to exit without saving ?"});
    EXPECT_EQ(prompts.History()[0].Request.Buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.History()[0].Request.Icon, PromptIcon::None);
    EXPECT_EQ(p.ended, 0);
    EXPECT_EQ(p.app->Settings().Read("Width").toInt(), w.width() * 15);
    prompts.Then(PromptAnswer::Yes);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(p.ended, 1);
  }
  const int savedWidth = p.app->Settings().Read("Width").toInt();
  p.app.reset();
  // The next start takes the saved width and fits the height to the entry frame.
  TAcount& again = p.Start();
  EXPECT_EQ(again.width() * 15, savedWidth);
  EXPECT_EQ(again.Client()->height(), again.Client()->minimumHeight());
  // Exit asks nothing and saves nothing.
  p.app->Settings().Write("Width", "abc");
  again.MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 2);
  EXPECT_EQ(p.app->Settings().Read("Width"), "abc");
  EXPECT_EQ(again.MenuItem("Exitit")->shortcut(), QKeySequence("Ctrl+Q"));
  // A damaged width is ignored.
  p.app.reset();
  TAcount& third = p.Start();
  EXPECT_EQ(third.width(), std::max(725, third.minimumSizeHint().width()));
}

// ---- The entry display and navigation.

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) named on the command line.
class EntryWindowTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(SmallBook(), false); }
};

TEST_F(EntryWindowTest, SettingTheScrollBarShowsTheEntryHoldingThatLine) {
  w->ScrollAcc->SetValue(3);
  EXPECT_EQ(w->Screen().CurrentLine(), 2);
  EXPECT_EQ(w->JournalID->text(), "A10");
  EXPECT_EQ(w->Text1->text(), "A10");
  EXPECT_EQ(w->AccNote->text(), "Second");
  EXPECT_TRUE(w->DebitFolio(1)->isVisibleTo(w));
  EXPECT_EQ(w->DebitFolio(1)->text(), "120");
  EXPECT_EQ(w->DebitAccName(1)->currentText(), "Bank");
  EXPECT_FALSE(w->CreditFolio(1)->isVisibleTo(w));
  EXPECT_EQ(w->GL(7)->text(), "");
  EXPECT_FALSE(w->CalcCompound->isVisibleTo(w));
  EXPECT_FALSE(w->CompoundEntry[1]->isVisibleTo(w)) << "add-line buttons only on the last entry";
  w->ScrollAcc->SetValue(6);
  EXPECT_TRUE(w->CompoundEntry[1]->isVisibleTo(w));
  EXPECT_TRUE(w->CompoundEntry[2]->isVisibleTo(w));
}

TEST_F(EntryWindowTest, KeysAndButtonsMoveOneEntryAtATime) {
  w->show();
  Key(w->ScrollAcc, Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2) << "one key press moves one entry";
  Key(w->ScrollAcc, Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5);
  Key(w->ScrollAcc, Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5) << "Down on the last entry shows it again";
  Key(w->Text1, Qt::Key_Up);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
  Key(w->JournalID, Qt::Key_Up);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0);
  Key(w->JournalID, Qt::Key_Up);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0) << "Up on the first entry shows it again";
  Key(w->DebitAmountText(0), Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
  Key(w, Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5) << "keys no box took reach the window";
  w->PNPage[0]->click();
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
  w->PNPage[1]->click();
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5);
  EXPECT_EQ(w->PNPage[0]->toolTip(), "Pervious Entry...");
}

TEST_F(EntryWindowTest, TheGoToBoxFindsTheExactEntryNumber) {
  w->Text1->setText("A1");
  emit w->Text1->returnPressed();
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0);
  Type(w->Text1, "a10");
  EXPECT_EQ(w->Text1->text().right(3), "A10") << "the box shows what is typed in upper case";
  w->Text1->setText("A10");
  emit w->Text1->returnPressed();
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
  w->Text1->setText("ZZ9");
  emit w->Text1->returnPressed();
  EXPECT_EQ(w->GL(7)->text(), "Entry number ZZ9 not found...");
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
  Click(w->Text1);
  EXPECT_EQ(w->Text1->text(), "") << "a press in the go-to box empties it";
}

TEST_F(EntryWindowTest, ATypedEntryNumberIsUpperCasedAndStoredOnEveryLine) {
  w->ScrollAcc->SetValue(2);
  w->JournalID->clear();
  Type(w->JournalID, "inv7");
  EXPECT_EQ(w->JournalID->text(), "INV7");
  for (int i = 2; i <= 4; ++i)
    EXPECT_EQ(books().EntryNumbers[static_cast<std::size_t>(i)].Text(), "INV7          ");
  EXPECT_EQ(books().EntryNumbers[5].TrimmedText(), "B7");
}

TEST_F(EntryWindowTest, OldEntriesAreReadOnlyBehindAnAdminPassword) {
  // Fifty two-line entries: with LastLineIndex 99 the entries from line 69 on are editable.
  books() = BookWithChart({{"Cash", 110, 0}});
  for (int i = 0; i < 50; ++i)
    AddEntry(books(), Day(2026, 1, 1), std::to_string(i), {{110, 1}}, {{110, 1}}, "E");
  books().AdminPassword = "boss";
  w->ScrollAcc->SetValueMax(books().LastLineIndex());
  w->ScrollAcc->SetValue(68);
  EXPECT_FALSE(w->JournalID->isEnabled());
  for (int row = 0; row < w->RowCount(); ++row) {
    EXPECT_FALSE(w->DebitFolio(row)->isEnabled()) << row;
    EXPECT_FALSE(w->CreditFolio(row)->isEnabled()) << row;
  }
  EXPECT_TRUE(w->Rr->isEnabled()) << "old entries can still be reconciled";
  Key(w->DebitFolio(0), Qt::Key_PageUp);  // no focus goes to a disabled box
  EXPECT_FALSE(w->JournalID->hasFocus());
  w->ScrollAcc->SetValue(70);
  EXPECT_TRUE(w->JournalID->isEnabled());
  EXPECT_TRUE(w->DebitFolio(0)->isEnabled());
}

TEST_F(EntryWindowTest, AnEntryOfAnySizeShowsEveryRow) {
  // An entry of forty debit lines, the first of them negative, after the small book.
  for (int i = 0; i < 40; ++i)
    books().AppendLine({.Side = kDebit, .Amount = Money(i == 0 ? -5 : i)}, EntryNumber("BIG"));
  books().AppendLine({.Side = kCredit, .Notes = "Big"}, EntryNumber("BIG"));
  w->ScrollAcc->SetValueMax(books().LastLineIndex());
  w->ScrollAcc->SetValue(20);
  ASSERT_GE(w->RowCount(), 40);
  EXPECT_TRUE(w->DebitAmountText(39)->isVisibleTo(w));
  EXPECT_EQ(w->DebitAmountText(0)->text(), "-5");
  EXPECT_EQ(w->DebitAmountText(39)->text(), "39");
  EXPECT_TRUE(w->EScroll->isVisibleTo(w)) << "forty rows overflow the row box";
  EXPECT_FALSE(w->CompoundEntry[1]->isVisibleTo(w));
  w->ScrollAcc->SetValue(0);
  EXPECT_FALSE(w->DebitAmountText(39)->isVisibleTo(w));
  EXPECT_FALSE(w->EScroll->isVisibleTo(w));
}

TEST_F(EntryWindowTest, TheStatusLineShowsTheTotalsAndEndsNearTheRightEdge) {
  w->show();
  w->ScrollAcc->SetValue(0);
  books().PostingLines[1].Amount = Money(0);
  w->SumEntry();
  EXPECT_EQ(w->GL(7)->text(), "Debit : 100.00     Credit : 0.00     Balance : 100.00  ");
  EXPECT_EQ(w->GL(7)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(w->CalcCompound->isVisibleTo(w));
  EXPECT_EQ(w->CalcCompound->y(), w->CompoundEntry[1]->y());
  w->resize(w->width() + 133, w->height());
  QApplication::processEvents();
  const int right = w->GL(7)->x() + w->GL(7)->width();
  EXPECT_NEAR((w->Client()->width() - right) * 15, 550, 15);
}

TEST_F(EntryWindowTest, TheWindowKeepsItsMinimumAndGivesExtraWidthToTheNames) {
  w->show();
  w->resize(100, 50);
  QApplication::processEvents();
  EXPECT_GE(w->Client()->width() * 15, kMinWindowWidth - kFrameWidthAllowance - 15);
  EXPECT_GE(w->Client()->height() * 15, kMinWindowHeight - kFrameHeightAllowance - 15);
  const int nameWidth = w->DebitAccName(0)->width();
  const int amountLeft = w->DebitAmountText(0)->x();
  w->resize(w->width() + 133, w->height());
  QApplication::processEvents();
  EXPECT_EQ(w->DebitAccName(0)->width(), nameWidth + 133);
  EXPECT_EQ(w->CreditAccName(5)->width(), nameWidth + 133);
  EXPECT_EQ(w->DebitAmountText(0)->x(), amountLeft + 133);
  EXPECT_NEAR(w->CreditAmountText(0)->x() - w->DebitAmountText(0)->x(), 51, 1) << "760 twips";
  // The credit rows are tinted, the boxes take their design lengths.
  EXPECT_EQ(w->CreditFolio(0)->palette().color(QPalette::Base), QColor(255, 240, 240));
  EXPECT_EQ(w->DebitFolio(0)->maxLength(), 9);
  EXPECT_EQ(w->CreditAmountText(3)->maxLength(), 14);
  EXPECT_EQ(w->Text1->maxLength(), 14);
  EXPECT_EQ(w->JournalID->maxLength(), 14);
}

// ---- Menus, toolbar and help mode.

TEST_F(EntryWindowTest, MenusAndToolbarCarryTheirCaptionsShortcutsAndTips) {
  EXPECT_EQ(w->Menu("Filemenu")->title(), "File");
  QStringList file;
  for (QAction* a : w->Menu("Filemenu")->actions()) file << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(file, (QStringList{"Open Project...", "-", "Save Project...", "Save Project As...", "-",
                               "Print Invoice...", "-", "Insert Entries...", "-", "Exit"}));
  EXPECT_EQ(w->MenuItem("ShowJournals")->shortcut(), QKeySequence("F1"));
  EXPECT_EQ(w->MenuItem("RA1(2)")->shortcut(), QKeySequence("Ctrl+T"));
  EXPECT_EQ(w->MenuItem("ArUshore")->text(), "Are you sure ?");
  EXPECT_EQ(w->Menu("BForward")->actions().size(), 1);
  EXPECT_TRUE(w->MenuItem("SaveFile(1)")->shortcut().isEmpty());
  EXPECT_EQ(w->CalcButton(0)->toolTip(), "Open Project...");
  EXPECT_EQ(w->CalcButton(12)->toolTip(), "Payroll Calculator...");
  EXPECT_TRUE(w->CalcButton(13)->toolTip().isEmpty());
  EXPECT_EQ(w->CalcButton(13)->x() * 15, 945);
  // The pressed look stands over the pressed picture until the button is released.
  w->show();
  QTest::mousePress(w->CalcButton(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_TRUE(w->CalcButtonDown()->isVisible());
  EXPECT_EQ(w->CalcButtonDown()->pos(), w->CalcButton(4)->pos());
  QTest::mouseRelease(w->CalcButton(4), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_FALSE(w->CalcButtonDown()->isVisible());
}

TEST_F(EntryWindowTest, InHelpModeTheCommandsOnlyShowTheirHelp) {
  w->show();
  const Books before = books();
  w->MenuItem("HelpSelect")->trigger();
  ASSERT_TRUE(TheHelpDesk().IsOn());
  EXPECT_TRUE(w->MenuItem("HelpSelect")->isChecked());
  // The toolbar's open button runs Open Project, which in help mode shows its card.
  w->CalcButton_Click(0);
  ASSERT_NE(TheHelpDesk().Window(), nullptr);
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Open Project");
  w->MenuItem("SaveFile(1)")->trigger();
  w->MenuItem("InsertEntries")->trigger();
  w->MenuItem("Brought_Forward")->trigger();
  w->MenuItem("BalBForword")->trigger();
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Carried Over Accounts");
  EXPECT_TRUE(p.requests.empty()) << "no file dialog in help mode";
  EXPECT_EQ(FirstDifference(before, books()), "");
  Click(w->JournalID);
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Entry Number");
  Click(w->Text1);
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Go to Reference Number");
  w->MenuItem("HelpSelect")->trigger();
  EXPECT_FALSE(TheHelpDesk().IsOn());
  EXPECT_FALSE(w->MenuItem("HelpSelect")->isChecked());
}

// ---- Book commands.

TEST_F(EntryWindowTest, OpeningCloseTheViewsOfTheOldBookAndRaisesTheStamp) {
  WindowLists& lists = p.app->Windows();
  for (int i = 0; i < 25; ++i) {
    auto* view = new QWidget;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
    lists.JournalWindows.push_back(view);
  }
  auto* ledger = new QWidget;
  ledger->show();
  lists.LedgerWindows.push_back(ledger);
  lists.LedgerWindows.push_back(nullptr);  // a window the user closed
  auto* cashFlow = new QWidget;
  cashFlow->show();
  lists.CashFlow = cashFlow;
  auto* editor = new ChartEditorStandIn;
  editor->show();
  lists.ConfigAccounts = editor;

  Books other = SmallBook();
  AddEntry(other, Day(2026, 4, 1), "X1", {{110, 7}}, {{400, 7}}, "Fourth");
  const std::string second = WriteBookFile(p.folder / "second.acc", other);
  const int32_t stamp = books().BooksStamp;
  p.answers = {second};
  w->MenuItem("LoadFile")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.requests[0].captionId, 111);
  EXPECT_EQ(p.requests[0].acceptCaptionId, 285);
  EXPECT_EQ(books().LastLineIndex(), 8);
  EXPECT_NE(books().BooksStamp, stamp);
  QApplication::processEvents();
  for (const QPointer<QWidget>& view : lists.JournalWindows)
    EXPECT_TRUE(!view || !view->isVisible());
  EXPECT_FALSE(ledger->isVisible());
  EXPECT_FALSE(cashFlow->isVisible());
  EXPECT_TRUE(editor->forced);
  EXPECT_EQ(w->windowTitle().toStdString(), "Quorvel V6.2 : " + second + "    ");
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0);
  delete ledger;
  delete cashFlow;
  delete editor;
}

TEST_F(EntryWindowTest, AReadShowsTheBusyPointerAndAFailureIsReportedWithTheBookKept) {
  std::vector<PointerShape> shapes;
  const int id = TheScreenPointer().AddObserver([&](PointerShape s) { shapes.push_back(s); });
  p.app->TheSession().ChosenFileName = path;
  EXPECT_TRUE(w->LoadAccFile(1));
  TheScreenPointer().RemoveObserver(id);
  EXPECT_EQ(shapes, (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Normal}));

  std::ofstream(p.folder / "broken.acc") << "not a book";
  p.app->TheSession().ChosenFileName = (p.folder / "broken.acc").string();
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_FALSE(w->LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0].rfind("Opening / File Data Mismatch Error", 0), 0u);
  EXPECT_EQ(books().LastLineIndex(), 6);
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);

  // The text and CSV forms carry no password: opening one needs the open book's admin
  // password.
  p.app->TheSession().ChosenFileName = WriteBookFile(p.folder / "other.txt", SmallBook());
  books().AdminPassword = "boss";
  EXPECT_FALSE(w->LoadAccFile(1));
  EXPECT_EQ(p.prompt.asked, 1);
  EXPECT_EQ(books().AdminPassword, "boss") << "the open book stays";
  p.prompt.known = {"boss"};
  EXPECT_TRUE(w->LoadAccFile(1));
  EXPECT_TRUE(books().AdminPassword.empty());
}

TEST_F(EntryWindowTest, SaveWritesToTheOpenFileAndSaveAsOffersEveryForm) {
  books().BusinessName = "Changed";
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_TRUE(p.requests.empty()) << "a plain save writes to the file the book came from";
  BookReadResult reread = ReadBook(path, "acc", Day(2026, 1, 1));
  ASSERT_TRUE(reread.Ok());
  EXPECT_EQ(reread.Book->BusinessName, "Changed");

  const std::string sheet = (p.folder / "copy.xls").string();
  p.answers = {sheet};
  w->MenuItem("SaveFile(1)")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.requests[0].patterns, (std::vector<std::string>{"*.acc", "*.txt", "*.csv", "*.xls"}));
  EXPECT_TRUE(fs::exists(sheet));
  EXPECT_EQ(p.app->TheSession().LastFilePath, path) << "the spreadsheet is only a copy";

  // A write that fails is reported and leaves the book's file path as it was.
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  p.answers = {(p.folder / "missing-folder" / "x.acc").string()};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
}

TEST_F(EntryWindowTest, InsertAndBroughtForwardPassTheAdminGateFirst) {
  const std::string other = WriteBookFile(p.folder / "other.acc", SmallBook());
  books().AdminPassword = "boss";
  p.answers = {other};
  w->MenuItem("InsertEntries")->trigger();
  EXPECT_TRUE(p.requests.empty()) << "a failed gate ends the command silently";
  p.prompt.known = {"boss"};
  w->MenuItem("InsertEntries")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.requests[0].captionId, 283);
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 13);
  // Numbered after the entry before each: "B7" reads as no number, so "1", then "2".
  EXPECT_EQ(books().EntryNumbers[7].TrimmedText(), "1");
  EXPECT_EQ(books().EntryNumbers[9].TrimmedText(), "2");

  w->MenuItem("Brought_Forward")->trigger();
  EXPECT_EQ(books().EntryNumbers[0].TrimmedText(), "B/D");
  EXPECT_EQ(w->ScrollAcc->ValueMax(), books().LastLineIndex());
  EXPECT_EQ(w->JournalID->text(), "B/D");
}

TEST_F(EntryWindowTest, TheFileDialogReturnsAnAbsolutePathThatSaveKeeps) {
  // The real dialog, answered through its own controls.
  w->ChooseBookFile = nullptr;
  const fs::path sub = p.folder / "in.a.folder";
  fs::create_directories(sub);
  WriteBookFile(sub / "dialog.acc", SmallBook());
  SharedFileDialogModel().OpenFolder(sub.string());
  QTimer::singleShot(0, [] {
    if (auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget())) {
      dialog->NameBox()->setText("dialog.acc");
      emit dialog->NameBox()->textEdited("dialog.acc");
      dialog->AcceptButton()->click();
    }
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  ASSERT_TRUE(w->LoadAccFile(0));
  EXPECT_EQ(p.app->TheSession().LastFilePath, (sub / "dialog.acc").string());
}

// ---- A large book from the command line: paging, saving in every form, reopening.

TEST(MainWindowLargeBook, PagesSavesInEveryFormAndReopensTheSameBook) {
  GeneratorOptions options;
  options.lines = 100'000;
  options.accounts = 300;
  options.fillSettings = true;
  const Books generated = GenerateBook(options);
  Program p;
  p.prompt.known = {generated.FilePassword, generated.AdminPassword};
  const std::string path = WriteBookFile(p.folder / "large.acc", generated);
  p.options.Arguments = {"quorvel", path};
  TAcount& w = p.Start();
  w.show();
  ASSERT_EQ(p.books().LastLineIndex(), 99'999);
  EXPECT_EQ(w.ScrollAcc->ValueMax(), 99'999);

  // Page with the keys: each Down shows the next entry.
  int32_t first = w.Screen().EntryFirstLine();
  for (int i = 0; i < 20; ++i) {
    Key(w.ScrollAcc, Qt::Key_Down);
    ASSERT_EQ(w.Screen().EntryFirstLine(), EntryBounds(generated, first).Last + 1);
    first = w.Screen().EntryFirstLine();
  }
  // Jump near the end with the go-to box, then page back up.
  const EntryRange lastEntry = EntryBounds(generated, 99'999);
  const std::string number(
      generated.EntryNumbers[static_cast<std::size_t>(lastEntry.First)].TrimmedText());
  w.Text1->setText(QString::fromStdString(number));
  emit w.Text1->returnPressed();
  const auto firstWithNumber =
      std::find(generated.EntryNumbers.begin(), generated.EntryNumbers.end(), EntryNumber(number));
  EXPECT_EQ(w.Screen().EntryFirstLine(), firstWithNumber - generated.EntryNumbers.begin());
  EXPECT_EQ(w.JournalID->text().toStdString(), number);
  w.ScrollAcc->SetValue(99'999);
  EXPECT_EQ(w.Screen().EntryLastLine(), 99'999);
  EXPECT_TRUE(w.CompoundEntry[1]->isVisibleTo(&w));
  Key(w.ScrollAcc, Qt::Key_Up);
  EXPECT_EQ(w.Screen().EntryLastLine(), lastEntry.First - 1);

  // Save As in the four forms, then reopen the book forms.
  for (const char* type : {"acc", "txt", "csv", "xls"}) {
    const std::string target = (p.folder / (std::string("saved.") + type)).string();
    p.answers = {target};
    w.SaveFile_Click(1);
    ASSERT_TRUE(fs::exists(target)) << type;
  }
  // The text and CSV forms carry no passwords, the CSV form only the journal and chart.
  for (const std::string type : {"acc", "txt", "csv"}) {
    p.app->TheSession().ChosenFileName = (p.folder / ("saved." + type)).string();
    ASSERT_TRUE(w.LoadAccFile(1)) << type;
    const CompareParts parts{type == "acc", type != "csv", type != "csv"};
    EXPECT_EQ(FirstDifference(generated, p.books(), parts), "") << type;
    EXPECT_EQ(w.ScrollAcc->ValueMax(), 99'999);
  }
}

}  // namespace
}  // namespace qv::testing
