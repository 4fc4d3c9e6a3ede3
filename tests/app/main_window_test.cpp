// The main window as a user meets it: start-up and closing, the entry shown and moved
// through, its boxes and old entries, the book commands' failures and the file that Save
// writes.

#include "app/main_window.h"

#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
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

TEST(MainWindowStartup, StartsOnTheEmptyBookOfTodayWithEachLabelBeforeItsField) {
  Program p;
  TAcount& w = p.Start();
  EXPECT_EQ(p.books().LastLineIndex(), 1);
  EXPECT_EQ(w.Datetext->Text(), "3/15/26");
  EXPECT_EQ(w.GL(8)->text(), "$ :");
  for (auto [label, field] : {std::pair<QLabel*, QWidget*>{w.GL(2), w.JournalID},
                              {w.GL(3), w.Datetext},
                              {w.GL(4), w.DebitFolio(0)},
                              {w.GL(5), w.CreditFolio(0)},
                              {w.GL(6), w.AccNote}}) {
    EXPECT_NEAR(field->x() - (label->x() + label->width()), 3, 1) << label->text().toStdString();
  }
  EXPECT_EQ(w.CreditAccName(30)->itemText(0), "Balance b/f");
  EXPECT_FALSE(w.MenuItem("Samples(0)")->isVisible()) << "no example books, no separator";
}

TEST(MainWindowStartup, ExampleBooksBecomeHelpItemsThatStartATintedSecondCopy) {
  Program p({"quorvel"}, true);
  fs::create_directories(p.folder / "Examples");
  WriteBookFile(p.folder / "Examples" / "Sales & Stock.acc", SmallBook());
  TAcount& w = p.Start();
  EXPECT_TRUE(w.MenuItem("Samples(0)")->isVisible());
  EXPECT_EQ(w.MenuItem("Samples(1)")->text(), "Sales && Stock.acc");
  w.MenuItem("Samples(1)")->trigger();
  EXPECT_EQ(p.started, std::vector<QString>{QCoreApplication::applicationFilePath()});
  EXPECT_EQ(
      p.startedArguments,
      QStringList{QString::fromStdString((p.folder / "Examples" / "Sales & Stock.acc").string())});
  EXPECT_EQ(w.ScrollAcc->BackColor(), kSecondCopyTint) << "this run is a second copy";
}

// Whether another copy runs is found out at start-up: any copy that runs counts, also when the
// first one has ended.
TEST(MainWindowStartup, ACopyStartedWhileAnyOtherRunsIsTinted) {
  auto start = [] {
    auto copy = std::make_unique<Program>(std::vector<std::string>{"quorvel"}, std::nullopt);
    copy->Start();
    return copy;
  };
  auto tinted = [](Program& copy) {
    return copy.app->MainWindow().ScrollAcc->BackColor() == kSecondCopyTint;
  };
  std::unique_ptr<Program> first = start();
  EXPECT_FALSE(tinted(*first));
  std::unique_ptr<Program> second = start();
  EXPECT_TRUE(tinted(*second));
  first.reset();
  std::unique_ptr<Program> third = start();
  EXPECT_TRUE(tinted(*third)) << "the second copy still runs";
  second.reset();
  third.reset();
  EXPECT_FALSE(tinted(*start()));
}

TEST(MainWindowStartup, AFailedOpenKeepsTheEmptyBookAndNoPathToSaveOver) {
  Program p;
  Books locked = SmallBook();
  locked.FilePassword = "secret";
  const std::string lockedPath = WriteBookFile(p.folder / "locked.acc", locked);
  p.options.Arguments = {"quorvel", "\"" + lockedPath + "\""};
  TAcount& w = p.Start();
  EXPECT_EQ(p.prompt.asked, 1);
  EXPECT_EQ(w.windowTitle(), "Quorvel V6.2 : ");
  EXPECT_EQ(p.books().LastLineIndex(), 1);
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
  // The right password opens it.
  p.prompt.known = {"secret"};
  p.app->TheSession().ChosenFileName = lockedPath;
  EXPECT_TRUE(w.LoadAccFile(1));
  EXPECT_EQ(p.books().LastLineIndex(), 6);
}

TEST(MainWindowStartup, APathWithQuotesInItsNameOpensFromTheCommandLine) {
  Program p;
  const std::string path = WriteBookFile(p.folder / "my \"best\" book.acc", SmallBook());
  // As given in one argument, and wrapped in quotes of its own.
  for (const std::string& argument : {path, "\"" + path + "\""}) {
    p.options.Arguments = {"quorvel", argument};
    TAcount& w = p.Start();
    EXPECT_EQ(w.windowTitle().toStdString(), "Quorvel V6.2 : " + path + "    ") << argument;
    EXPECT_EQ(p.books().LastLineIndex(), 6) << argument;
    p.app.reset();
  }
}

TEST(MainWindowStartup, ClosingAChangedBookAsksAndSavesTheWidthWhileExitEndsAtOnce) {
  Program p;
  {
    TAcount& w = p.Start();
    w.resize(w.width() + 50, w.height());
    p.books().BusinessName = "Changed";
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::No);
    EXPECT_FALSE(w.close());
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Do you want to exit without saving ?"});
    EXPECT_EQ(p.ended, 0);
    prompts.Then(PromptAnswer::Yes);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(p.ended, 1);
  }
  const int savedWidth = p.app->Settings().Read("Width").toInt();
  p.app.reset();
  TAcount& again = p.Start();
  EXPECT_EQ(again.width() * 15, savedWidth);
  // With no change since the book was opened, Exit asks nothing, saves nothing and ends at
  // once.
  p.app->Settings().Write("Width", "abc");
  again.MenuItem("Exitit")->trigger();
  EXPECT_EQ(p.ended, 2);
  EXPECT_EQ(p.app->Settings().Read("Width"), "abc");
  p.app.reset();
  TAcount& third = p.Start();
  EXPECT_EQ(third.width(), std::max(725, third.minimumWidth())) << "a damaged width is ignored";
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
  EXPECT_EQ(w->AccNote->text(), "Second");
  EXPECT_EQ(w->DebitAccName(1)->currentText(), "Bank");
  EXPECT_FALSE(w->CreditFolio(1)->isVisibleTo(w));
  EXPECT_FALSE(w->CompoundEntry[1]->isVisibleTo(w)) << "add-line buttons only on the last entry";
  w->ScrollAcc->SetValue(6);
  EXPECT_TRUE(w->CompoundEntry[2]->isVisibleTo(w));
}

TEST_F(EntryWindowTest, KeysAndButtonsMoveOneEntryAtATime) {
  w->show();
  const std::pair<QWidget*, Qt::Key> steps[] = {{w->ScrollAcc, Qt::Key_Down},
                                                {w->ScrollAcc, Qt::Key_Down},
                                                {w->ScrollAcc, Qt::Key_Down},
                                                {w->Text1, Qt::Key_Up},
                                                {w->JournalID, Qt::Key_Up},
                                                {w->JournalID, Qt::Key_Up},
                                                {w->DebitAmountText(0), Qt::Key_Down},
                                                {w, Qt::Key_Down}};
  std::vector<int32_t> firsts;
  for (auto [target, key] : steps) {
    Key(target, key);
    firsts.push_back(w->Screen().EntryFirstLine());
  }
  // One entry per key; the first and last entries show again at the ends.
  EXPECT_EQ(firsts, (std::vector<int32_t>{2, 5, 5, 2, 0, 0, 2, 5}));
  w->PNPage[0]->click();
  EXPECT_EQ(w->Screen().EntryFirstLine(), 2);
}

TEST_F(EntryWindowTest, TheGoToBoxFindsTheExactEntryNumberAndTheNumberBoxStoresUpperCase) {
  w->show();
  for (auto [typed, first] : {std::pair{"A1", 0}, {"A10", 2}}) {
    w->Text1->setText(typed);
    emit w->Text1->returnPressed();
    EXPECT_EQ(w->Screen().EntryFirstLine(), first) << typed;
  }
  w->Text1->setText("ZZ9");
  emit w->Text1->returnPressed();
  EXPECT_EQ(Status(), "Entry number ZZ9 not found...");
  Click(w->Text1);
  EXPECT_EQ(w->Text1->text(), "") << "a press in the go-to box empties it";

  w->JournalID->clear();
  Focus(w->JournalID);
  QTest::keyClicks(w->JournalID, "inv7");
  EXPECT_EQ(w->JournalID->text(), "INV7");
  for (int i = 2; i <= 4; ++i) EXPECT_EQ(Number(i), "INV7");
  EXPECT_EQ(Number(5), "B7");
}

TEST_F(EntryWindowTest, AnEntryOfAnySizeShowsEveryRow) {
  // An entry of forty debit lines, the first of them negative, after the small book.
  for (int i = 0; i < 40; ++i)
    books().AppendLine({.Side = kDebit, .Amount = Money(i == 0 ? -5 : i)}, EntryNumber("BIG"));
  books().AppendLine({.Side = kCredit, .Notes = "Big"}, EntryNumber("BIG"));
  w->ScrollAcc->SetValueMax(books().LastLineIndex());
  w->ScrollAcc->SetValue(20);
  EXPECT_TRUE(w->DebitAmountText(39)->isVisibleTo(w));
  EXPECT_EQ(w->DebitAmountText(0)->text(), "-5");
  EXPECT_TRUE(w->EScroll->isVisibleTo(w)) << "forty rows overflow the row box";
  w->ScrollAcc->SetValue(0);
  EXPECT_FALSE(w->DebitAmountText(39)->isVisibleTo(w));
  EXPECT_FALSE(w->EScroll->isVisibleTo(w));
}

TEST_F(EntryWindowTest, TheControlsStandApartAndInsideTheWindow) {
  w->show();
  const int width = w->Client()->width();
  for (QWidget* control : std::initializer_list<QWidget*>{w->Text1, w->PNPage[0], w->PNPage[1],
                                                          w->Command1, w->xFrame1, w->Rr}) {
    QStringList overlaps = OverlapsOf(w, control);
    overlaps.removeAll("ButtonBar");  // the strip the go-to box stands on
    EXPECT_EQ(overlaps, QStringList()) << control->objectName().toStdString();
    EXPECT_LE(RectIn(w->Client(), control).right(), width - 1)
        << control->objectName().toStdString();
  }
  EXPECT_TRUE(w->xFrame1->rect().contains(QRect(w->EScroll->pos(), w->EScroll->size())));
  // The status line ends 550 twips from the right edge, whatever its text.
  w->SumEntry();
  const int right = w->GL(7)->x() + w->GL(7)->width();
  EXPECT_NEAR((width - right) * 15, 550, 15);
}

TEST_F(EntryWindowTest, TheWindowKeepsItsMinimumAndGivesExtraWidthToTheNames) {
  w->show();
  w->resize(100, 50);
  QApplication::processEvents();
  EXPECT_GE(w->Client()->width() * 15, kMinWindowWidth - kFrameWidthAllowance - 15);
  EXPECT_GE(w->Client()->height() * 15, kMinWindowHeight - kFrameHeightAllowance - 15);
  const int nameWidth = w->CreditAccName(5)->width();
  const int amountLeft = w->CreditAmountText(0)->x();
  w->resize(w->width() + 133, w->height());
  QApplication::processEvents();
  EXPECT_EQ(w->CreditAccName(5)->width(), nameWidth + 133);
  EXPECT_EQ(w->CreditAmountText(0)->x(), amountLeft + 133);
}

// On a work area narrower than its controls (a small screen at a large scale) the window is
// kept narrower than they are, as the screen fit lowers its minimum: the controls keep their
// places and scroll sideways, and only so; the keyboard reaches each, scrolled into view. At
// its own minimum and wider, they fill the window and nothing scrolls.
TEST_F(EntryWindowTest, KeysReachEveryControlOfAWindowNarrowerThanItsControls) {
  w->show();
  auto* scroller = w->findChild<QScrollArea*>();
  ASSERT_NE(scroller, nullptr) << "the controls cannot be scrolled";
  const QSize minimum = w->minimumSize();
  const auto fills = [&] {
    return w->Client()->size() == scroller->viewport()->size() &&
           scroller->viewport()->size() == scroller->size() &&
           !scroller->horizontalScrollBar()->isVisible() &&
           !scroller->verticalScrollBar()->isVisible();
  };
  for (const QSize size : {minimum, minimum + QSize(133, 40)}) {
    w->resize(size);
    QApplication::processEvents();
    EXPECT_TRUE(fills()) << size.width() << " x " << size.height();
  }
  const QRect newEntry = RectIn(w->Client(), w->Command1);
  w->setMinimumSize(minimum - QSize(100, 0));
  w->resize(w->minimumSize());
  QApplication::processEvents();
  EXPECT_EQ(w->Client()->width(), minimum.width());
  EXPECT_EQ(RectIn(w->Client(), w->Command1), newEntry);
  EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(scroller->verticalScrollBar()->isVisible()) << "the window is not taller by the bar";
  // Tab from the entry number round to it again, by New Entry at the far right.
  Focus(w->JournalID);
  QStringList walked;
  for (int i = 0; i < 40 && (walked.isEmpty() || Focused() != w->JournalID); ++i) {
    Press(Qt::Key_Tab);
    QWidget* focused = Focused();
    walked << focused->objectName();
    if (!w->Client()->isAncestorOf(focused)) continue;
    const QRect shown = RectIn(scroller->viewport(), focused);
    EXPECT_TRUE(scroller->viewport()->rect().contains(shown))
        << walked.last().toStdString() << " at x " << shown.left() << " to " << shown.right()
        << ", y " << shown.top() << " to " << shown.bottom() << " is out of view";
  }
  EXPECT_TRUE(walked.contains("Command1")) << walked.join(" ").toStdString();
  EXPECT_EQ(Focused(), w->JournalID) << walked.join(" ").toStdString();
  w->setMinimumSize(minimum);
  w->resize(minimum + QSize(20, 0));
  QApplication::processEvents();
  EXPECT_TRUE(fills());
}

// ---- Menus, toolbar and help mode.

TEST_F(EntryWindowTest, AToolbarImageShowsThePressedLookUntilReleased) {
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
  HelpMode(true);
  w->CalcButton_Click(0);  // the toolbar's open button runs Open Project
  EXPECT_EQ(HelpTitle(), "Open Project");
  for (const char* item : {"SaveFile(1)", "InsertEntries", "Brought_Forward", "BalBForword"})
    w->MenuItem(item)->trigger();
  EXPECT_EQ(HelpTitle(), "Carried Over Accounts");
  EXPECT_TRUE(p.requests.empty()) << "no file dialog in help mode";
  EXPECT_EQ(FirstDifference(before, books()), "");
  Click(w->JournalID);
  EXPECT_EQ(HelpTitle(), "Entry Number");
  HelpMode(false);
}

// ---- Book commands.

TEST_F(EntryWindowTest, OpeningClosesTheViewsOfTheOldBookAndRaisesTheStamp) {
  WindowLists& lists = p.app->Windows();
  auto* view = new QWidget;
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->show();
  lists.JournalWindows.push_back(view);
  lists.LedgerWindows.push_back(nullptr);  // a window the user closed
  auto editor = std::make_unique<ChartEditorStandIn>();
  editor->show();
  lists.ConfigAccounts = editor.get();

  Books other = SmallBook();
  AddEntry(other, Day(2026, 4, 1), "X1", {{110, 7}}, {{400, 7}}, "Fourth");
  const std::string second = WriteBookFile(p.folder / "second.acc", other);
  const int32_t stamp = books().BooksStamp;
  p.answers = {second};
  w->MenuItem("LoadFile")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 8);
  EXPECT_NE(books().BooksStamp, stamp);
  QApplication::processEvents();
  EXPECT_TRUE(lists.JournalWindows[0].isNull());
  EXPECT_TRUE(editor->forced);
  EXPECT_EQ(w->windowTitle().toStdString(), "Quorvel V6.2 : " + second + "    ");
}

TEST_F(EntryWindowTest, AFailedReadIsReportedWithTheBookKeptAndTheBusyPointerGone) {
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
  // The text form carries no password: opening one needs the open book's admin password.
  p.app->TheSession().ChosenFileName = WriteBookFile(p.folder / "other.txt", SmallBook());
  books().AdminPassword = "boss";
  EXPECT_FALSE(w->LoadAccFile(1));
  EXPECT_EQ(books().AdminPassword, "boss") << "the open book stays";
}

TEST_F(EntryWindowTest, SaveWritesToTheOpenFileAndAFailedSaveAsKeepsThePath) {
  books().BusinessName = "Changed";
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_TRUE(p.requests.empty()) << "a plain save writes to the file the book came from";
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->BusinessName, "Changed");
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
  EXPECT_EQ(books().LastLineIndex(), 13);
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 13);
  w->MenuItem("Brought_Forward")->trigger();
  EXPECT_EQ(w->JournalID->text(), "B/D");
  EXPECT_EQ(w->ScrollAcc->ValueMax(), books().LastLineIndex());
}

TEST_F(EntryWindowTest, TheFileDialogReturnsAnAbsolutePathThatSaveKeeps) {
  w->ChooseBookFile = nullptr;  // the real dialog, answered through its own controls
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
  p.options.Arguments = {"quorvel", WriteBookFile(p.folder / "large.acc", generated)};
  TAcount& w = p.Start();
  w.show();
  ASSERT_EQ(w.ScrollAcc->ValueMax(), 99'999);
  int32_t first = w.Screen().EntryFirstLine();
  for (int i = 0; i < 20; ++i) {
    Key(w.ScrollAcc, Qt::Key_Down);
    ASSERT_EQ(w.Screen().EntryFirstLine(), EntryBounds(generated, first).Last + 1);
    first = w.Screen().EntryFirstLine();
  }
  w.ScrollAcc->SetValue(99'999);
  EXPECT_TRUE(w.CompoundEntry[1]->isVisibleTo(&w));
  for (const char* type : {"acc", "txt", "csv", "xls"}) {
    p.answers = {(p.folder / (std::string("saved.") + type)).string()};
    w.SaveFile_Click(1);
  }
  // The text and CSV forms carry no passwords, the CSV form only the journal and chart.
  for (const std::string type : {"acc", "txt", "csv"}) {
    p.app->TheSession().ChosenFileName = (p.folder / ("saved." + type)).string();
    ASSERT_TRUE(w.LoadAccFile(1)) << type;
    const CompareParts parts{type == "acc", type != "csv", type != "csv"};
    EXPECT_EQ(FirstDifference(generated, p.books(), parts), "") << type;
  }
  EXPECT_TRUE(fs::exists(p.folder / "saved.xls"));
}

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) in an active window.
class EntryBoxesTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(SmallBook()); }
};

// The user never sees an amount the books do not hold; Ctrl+A selects the whole amount.
TEST_F(EntryBoxesTest, AnAmountBoxStoresWhatIsTypedAndShowsTheStoredAmountWhenLeft) {
  w->ScrollAcc->SetValue(5);  // B7: Bank 10 / Sales 10
  QLineEdit* amount = w->DebitAmountText(0);
  Focus(amount);
  TypeKeys("1,234.5-a");  // a minus sign and letters never reach the box
  EXPECT_EQ(amount->text(), "1,234.5");
  EXPECT_EQ(Line(5).Amount, Money(1234.5));
  EXPECT_EQ(Status(), "Debit : 1,234.50     Credit : 10.00     Balance : 1,224.50  ");
  Press(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(amount->selectedText(), "1,234.5");
  amount->end(false);
  TypeKeys(".6");
  EXPECT_EQ(Line(5).Amount, Money(1234.5));
  Press(Qt::Key_Tab);
  EXPECT_EQ(amount->text(), "1234.5");
  // Pasted text that is no amount, a negative one included, leaves the amount as it was.
  Focus(amount);
  for (auto [pasted, stored] : {std::pair{"abc", 1234.5}, {"-50", 1234.5}, {"20", 20.0}}) {
    QApplication::clipboard()->setText(pasted);
    amount->selectAll();
    amount->paste();
    EXPECT_EQ(Line(5).Amount, Money(stored)) << pasted;
  }
}

// The message stays while the user goes on through the row (the key that left the box comes
// up in the account list) and goes once the folio is corrected.
TEST_F(EntryBoxesTest, AnUnknownFolioIsReportedOnLeavingUntilItIsCorrected) {
  w->ScrollAcc->SetValue(5);
  Focus(w->CreditFolio(0));
  TypeKeys("999a");
  EXPECT_EQ(w->CreditFolio(0)->text(), "999");
  EXPECT_EQ(w->CreditAccName(0)->currentText(), "");
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), w->CreditAccName(0));
  EXPECT_EQ(Status(), "999 : This account does not exists...");
  Press(Qt::Key_Tab);
  TypeKeys("7");
  EXPECT_EQ(Status(), "999 : This account does not exists...");
  Focus(w->CreditFolio(0));
  TypeKeys("400");
  EXPECT_EQ(w->CreditAccName(0)->currentText(), "Sales");
  EXPECT_EQ(Status(), "");
}

TEST_F(EntryBoxesTest, OldEntriesAreReadOnlyLookItTakeNoSumAndCanStillBeReconciled) {
  // Fifty two-line entries: with LastLineIndex 99 the entries from line 69 on are editable.
  books() = BookWithChart({{"Cash", 110, 0}});
  for (int i = 0; i < 50; ++i)
    AddEntry(books(), Day(2026, 1, 1), std::to_string(i), {{110, 1}}, {{110, 1}}, "E");
  books().AdminPassword = "boss";
  Line(1).Amount = Money(0);  // a sum would fill it
  w->ScrollAcc->SetValueMax(books().LastLineIndex());
  w->ScrollAcc->SetValue(68);
  EXPECT_FALSE(w->JournalID->isEnabled());
  for (int row = 0; row < w->RowCount(); ++row) EXPECT_FALSE(w->CreditFolio(row)->isEnabled());
  const QImage date = w->Datetext->DateX()->grab().toImage();
  const QImage number = w->JournalID->grab().toImage();
  EXPECT_EQ(date.pixelColor(date.width() - 5, 3), number.pixelColor(number.width() - 5, 3));
  w->ScrollAcc->SetValue(0);
  w->SumEntry();
  EXPECT_FALSE(w->CalcCompound->isVisibleTo(w));
  w->CalcCompound_Click();
  EXPECT_EQ(Line(1).Amount, Money(0));
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(Line(1).Reconciled, 1);
  w->ScrollAcc->SetValue(70);
  EXPECT_TRUE(w->DebitFolio(0)->isEnabled());
}

// After a copy in another form, a plain Save still writes the book file it was opened from.
TEST_F(EntryBoxesTest, OnlyABookFileIsTheTargetOfSave) {
  const std::string copy = (p.folder / "in.a.folder" / "copy.csv").string();
  std::filesystem::create_directories(p.folder / "in.a.folder");
  p.answers = {copy};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_FALSE(ScratchFolder::Read(copy).empty());
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  books().BusinessName = "Changed";
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->BusinessName, "Changed");
  // A book opened from its text form has no book file: Save asks for one.
  p.app->TheSession().ChosenFileName = WriteBookFile(p.folder / "other.txt", SmallBook());
  ASSERT_TRUE(w->LoadAccFile(1));
  p.answers = {(p.folder / "other.acc").string()};
  p.requests.clear();
  w->MenuItem("SaveFile(0)")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.app->TheSession().LastFilePath, (p.folder / "other.acc").string());
}

}  // namespace
}  // namespace qv::testing
