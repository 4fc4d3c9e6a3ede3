// An edit still in its box when a command comes is stored first, as leaving the box stores
// it: the entry's date, an account name the type-ahead did not complete, the boxes of the
// prepared entries and the chart editor, before Ctrl+S, the toolbar's Save, Ctrl+Q, a menu
// item, the wheel over the journal bar or a click on a journal's line. Another window used
// and closed, or a menu opened, leaves it in its box.

#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QWheelEvent>

#include "accounts/chart_editor_window.h"
#include "accounts/prepared_entries_window.h"
#include "ledgers/general_journal_window.h"
#include "ledgers/ledger_sheet_widget.h"
#include "platform/prompts_qt.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/statement_window.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// The small book with an account whose name goes on from another's: Cash and Cash Float.
class PendingEditWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Books book = SmallBook();
    book.AccountNames[4] = "Cash Float";
    book.AccountFolios[4] = Money(111);
    StartOn(book);
  }
  // The book as the file holds it.
  Books Saved() const {
    BookReadResult read = ReadBook(path, "acc", Day(2026, 3, 15));
    EXPECT_TRUE(read.Ok()) << read.Message;
    return std::move(read.Book).value_or(Books());
  }
  // Types over the date box of the entry holding `line` as a user does, not leaving it.
  void TypeDate(int line, const QString& text) {
    w->ScrollAcc->SetValue(line);
    Focus(w->Datetext->DateX());
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeKeys(text);
  }
  // "Cash" typed in a list as "Cash F" (which shows Cash Float, whose folio the entry screen
  // takes at once) and three Backspaces, which the type-ahead leaves to the box.
  static void TypeCashBack(QComboBox* list) {
    Focus(list);
    TypeKeys("cash f");
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Backspace);
    ASSERT_EQ(list->currentText(), "Cash");
  }
  // The toolbar's Save clicked; the window has the keyboard again after the wait screen, as
  // the window system gives it back.
  void ClickSave() {
    QTest::mouseClick(w->CalcButton(1), Qt::LeftButton);
    Activate(w);
  }
  // Opens a window with the main window's menu item, makes it the active one, clicks it
  // where nothing acts (on the window itself) and closes it, as its close box does.
  void UseAndClose(QAction* item, const std::function<QWidget*()>& opened) {
    QWidget* box = w->focusWidget();
    item->trigger();
    const QPointer<QWidget> window = opened();
    ASSERT_NE(window, nullptr);
    Activate(window);
    // A click that gives a widget there the keyboard before the window system has told the
    // program of the activation takes the focus from the box for a click's reason.
    ASSERT_TRUE(Focused() != nullptr && Focused()->window() == window);
    QFocusEvent taken(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(box, &taken);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(window->width() - 4, 4));
    QApplication::processEvents();
    EXPECT_TRUE(window->close());
    QApplication::processEvents();
    EXPECT_FALSE(window && window->isVisible()) << item->objectName().toStdString();
  }
  // The menu of the menu bar that holds `item`, opened by a click on its title.
  static QMenu* OpenMenuOf(QMenuBar* bar, const QAction* item) {
    for (QAction* title : bar->actions()) {
      QMenu* menu = title->menu();
      if (menu == nullptr || !menu->actions().contains(item)) continue;
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
      EXPECT_TRUE(menu->isVisible());
      return menu;
    }
    ADD_FAILURE() << "no menu holds " << item->objectName().toStdString();
    return nullptr;
  }
  // The newest window of a list of the program's windows.
  static QWidget* Newest(const std::vector<QPointer<QWidget>>& list) {
    return list.empty() ? nullptr : list.back().data();
  }
};

TEST_F(PendingEditWindowTest, KeysATypedDateOrNameIsTakenByCtrlSTheToolbarsSaveAndCtrlQ) {
  PromptAnswerer prompts;
  TypeDate(0, "5/1/2025");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[1].LineDate, Day(2025, 5, 1));
  EXPECT_EQ(w->Datetext->Text(), "5/1/25");
  // Saved as shown, Exit ends without a question.
  Activate(w);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(p.ended, 1);
  TypeDate(5, "6/2/2025");
  ClickSave();
  EXPECT_EQ(Saved().PostingLines[6].LineDate, Day(2025, 6, 2));
  w->ScrollAcc->SetValue(5);  // B7: Bank / Sales
  TypeCashBack(w->DebitAccName(0));
  ASSERT_EQ(Line(5).LineFolio, Money(111));
  // Taken before Exit looks for changes: it asks, and No keeps the program.
  prompts.Then(PromptAnswer::No);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(p.ended, 1);
  EXPECT_EQ(Line(5).LineFolio, Money(110));
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[5].LineFolio, Money(110));
  EXPECT_EQ(w->DebitFolio(0)->text(), "110");
  Activate(w);
  EXPECT_TRUE(w->DebitAccName(0)->hasFocus()) << "the box keeps the keyboard";
}

// The program's own message boxes: "Invalid Date" once, then the save; Exit asks about a
// date typed since.
TEST_F(PendingEditWindowTest, KeysAnInvalidDateIsToldOnceBeforeTheSaveAndExitAsksAboutATypedDate) {
  QtPromptService boxes;
  ScopedPromptService shown(boxes);
  std::vector<std::string> seen;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen.push_back(box->text().toStdString());
    QTest::keyClick(box, Qt::Key_Return);
  });
  answerer.start(10);
  TypeDate(2, "13/45/26");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(seen, std::vector<std::string>{"Invalid Date"});
  const Books saved = Saved();
  for (int i = 2; i <= 4; ++i) EXPECT_EQ(saved.PostingLines[i].LineDate, Day(2026, 3, 15)) << i;
  // Chosen from the File menu: the menu closes, the message shows once over the window, and
  // the item runs.
  Activate(w);
  TypeDate(5, "2/30/26");
  books().BusinessName = "Saved from the menu";
  QAction* save = w->MenuItem("SaveFile(0)");
  QMenu* file = OpenMenuOf(w->menuBar(), save);
  ASSERT_NE(file, nullptr);
  QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(save).center());
  EXPECT_EQ(seen, (std::vector<std::string>{"Invalid Date", "Invalid Date"}));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Saved().BusinessName, "Saved from the menu");
  EXPECT_EQ(Saved().PostingLines[5].LineDate, Day(2026, 3, 15));
  Activate(w);
  TypeDate(2, "4/1/2026");
  Press(Qt::Key_Q, Qt::ControlModifier);  // Enter on the question: No, the default
  EXPECT_EQ(seen, (std::vector<std::string>{"Invalid Date", "Invalid Date", Str(279)}));
  EXPECT_EQ(p.ended, 0);
  EXPECT_EQ(Line(2).LineDate, Day(2026, 4, 1));
}

// A box of another window is stored when the main window's toolbar is clicked, before the
// click makes that window the active one; a chart folio that did not store is told about
// before its window's menu opens.
TEST_F(PendingEditWindowTest, KeysTheBoxesOfTheOtherWindowsAreStoredBeforeACommand) {
  PromptAnswerer prompts;
  w->MenuItem("EnTryDic")->trigger();
  auto* prepared = qobject_cast<RecurringEntries*>(p.app->Windows().RecurringEntries.data());
  ASSERT_NE(prepared, nullptr);
  Activate(prepared);
  TypeCashBack(prepared->Account_Name[0]);
  ClickSave();
  ASSERT_FALSE(Saved().PreparedGroups[0].empty());
  EXPECT_EQ(Saved().PreparedGroups[0][0].LineFolio, Money(110));

  w->MenuItem("EditAccounts")->trigger();
  auto* editor = qobject_cast<ConfigAccounts*>(p.app->Windows().ConfigAccounts.data());
  ASSERT_NE(editor, nullptr);
  Activate(editor);
  QLineEdit* folio = editor->Folio[1];
  const std::string kept = folio->text().toStdString();
  Focus(folio);
  folio->end(false);
  TypeKeys("..7");
  // Each menu of the window opens over the unfinished folio without a word.
  QMenuBar* bar = editor->menuBar();
  for (QMenu* menu : {editor->AccountMenu, editor->HelpConfig}) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    EXPECT_TRUE(menu->isVisible());
    menu->close();
  }
  EXPECT_TRUE(prompts.History().empty());
  EXPECT_EQ(folio->text().toStdString(), kept + "..7");
  // An item chosen there finds the folio told about, and runs.
  prompts.Then(PromptAnswer::Ok);
  QMenu* help = OpenMenuOf(bar, editor->HelpSelect);
  ASSERT_NE(help, nullptr);
  QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(editor->HelpSelect).center());
  EXPECT_FALSE(help->isVisible());
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("keeps folio " + kept + "."), std::string::npos)
      << prompts.Texts()[0];
  EXPECT_EQ(folio->text().toStdString(), kept);
  EXPECT_TRUE(editor->HelpSelect->isChecked()) << "help mode is on";
  editor->HelpSelect->trigger();
}

// Another window of the program made the active one, clicked where nothing acts and closed
// leaves a half-typed date and a typed folio in their boxes: no message, the entry as it was,
// each close carried out. The date is stored when its box is left.
TEST_F(PendingEditWindowTest, KeysAnEditWaitsInItsBoxWhileAnotherWindowIsUsedAndClosed) {
  PromptAnswerer prompts;  // any message fails the test
  WindowLists& lists = p.app->Windows();
  QLineEdit* date = w->Datetext->DateX();
  TypeDate(0, "3/");
  UseAndClose(w->MenuItem("TrialBalance"), [&lists] { return lists.Trial_Balance.data(); });
  UseAndClose(w->MenuItem("Show_Balance"), [&lists] { return Newest(lists.BalanceSheetWindows); });
  EXPECT_EQ(date->text(), "3/");
  EXPECT_EQ(Line(0).LineDate, Day(2026, 3, 1));
  Activate(w);
  EXPECT_EQ(Focused(), date);
  TypeKeys("5/2026");
  Press(Qt::Key_Tab);
  EXPECT_EQ(Line(1).LineDate, Day(2026, 3, 5));

  // Folio 999, which no account has, typed over B7's credit folio.
  w->ScrollAcc->SetValue(5);
  QLineEdit* folio = w->CreditFolio(0);
  Focus(folio);
  TypeKeys("999");
  const QString status = Status();
  const QString name = w->CreditAccName(0)->currentText();
  const Books typed = books();
  UseAndClose(w->MenuItem("Rolling_Calculator_Menu"),
              [&lists] { return Newest(lists.RollingCalculatorWindows); });
  UseAndClose(w->MenuItem("Show_Balance"), [&lists] { return Newest(lists.BalanceSheetWindows); });
  EXPECT_EQ(Status(), status);
  EXPECT_EQ(w->CreditAccName(0)->currentText(), name);
  EXPECT_EQ(folio->text(), "999");
  EXPECT_EQ(FirstDifference(typed, books()), "");
  EXPECT_TRUE(prompts.History().empty());
}

// A typed date is stored before a menu item chosen, the wheel over the journal bar, a click
// on a line of the journal window (made the active one before the click arrives, as the
// window system does) and Exit: each time it is in the saved file. A typed folio is told
// about before a command.
TEST_F(PendingEditWindowTest, KeysTheEditsAreStoredBeforeACommandTheWheelARowClickAndExit) {
  PromptAnswerer prompts;
  QAction* save = w->MenuItem("SaveFile(0)");
  TypeDate(0, "1/20/2025");
  QMenu* file = OpenMenuOf(w->menuBar(), save);
  ASSERT_NE(file, nullptr);
  QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(save).center());
  EXPECT_EQ(Saved().PostingLines[1].LineDate, Day(2025, 1, 20));

  // One notch up over the journal bar, from B7 to A10.
  Activate(w);
  TypeDate(5, "2/21/2025");
  QWheelEvent wheel(QPointF(4, 4), w->ScrollAcc->mapToGlobal(QPointF(4, 4)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w->ScrollAcc, &wheel);
  EXPECT_EQ(w->JournalID->text(), "A10");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[6].LineDate, Day(2025, 2, 21));

  Activate(w);
  Press(Qt::Key_F1);
  auto* journal = qobject_cast<GeneralJournal*>(Newest(p.app->Windows().JournalWindows));
  ASSERT_NE(journal, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(journal));
  Activate(w);
  TypeDate(0, "1/16/2025");
  LedgerSheetWidget* area = journal->SheetArea();
  QApplication::setActiveWindow(journal);
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(area->width() / 2, area->height() / 2));
  EXPECT_NE(w->ScrollAcc->Value(), 0) << "the main window shows the line clicked";
  Activate(w);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[1].LineDate, Day(2025, 1, 16));

  // A statement's row, clicked in the trial balance as it becomes the active one: the
  // running-balance ledger it opens counts the date.
  w->MenuItem("TrialBalance")->trigger();
  auto* trial = qobject_cast<StatementWindow*>(p.app->Windows().Trial_Balance.data());
  ASSERT_NE(trial, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(trial));
  Activate(w);
  TypeDate(5, "3/4/2025");
  QApplication::setActiveWindow(trial);
  const QPoint row(60, Px(trial->Drawing().Rows[0].Bottom - 100 - trial->ScrollValue()));
  QTest::mouseClick(trial->Canvas(), Qt::LeftButton, {}, row);
  EXPECT_EQ(Line(5).LineDate, Day(2025, 3, 4));
  EXPECT_TRUE(p.app->Windows().Running_Balance && p.app->Windows().Running_Balance->isVisible());

  // Exit finds the date stored and asks; No keeps the program, and the save keeps the date.
  Activate(w);
  TypeDate(2, "3/9/2025");
  prompts.Then(PromptAnswer::No);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{Str(279)});
  EXPECT_EQ(p.ended, 0);
  Activate(w);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[4].LineDate, Day(2025, 3, 9));

  // The folio: the toolbar's Save tells about it.
  Activate(w);
  Focus(w->CreditFolio(0));
  TypeKeys("999");
  ClickSave();
  EXPECT_TRUE(Status().startsWith("999 : ")) << Status().toStdString();
}

// The sum on an entry it balances turns the status line black, even over the message of a
// folio stored as the sum was clicked.
TEST_F(PendingEditWindowTest, KeysTheSumOnABalancedEntryTurnsTheStatusLineBlackOverAFolioMessage) {
  PromptAnswerer prompts;
  Click(w->Command1);
  Focus(w->DebitFolio(0));
  TypeKeys("110");
  Focus(w->DebitAmountText(0));
  TypeKeys("250");
  Focus(w->CreditFolio(0));
  TypeKeys("999");
  ASSERT_TRUE(w->CalcCompound->isVisible());
  QTest::mouseClick(w->CalcCompound, Qt::LeftButton);
  EXPECT_EQ(w->CreditAmountText(0)->text(), "250");
  EXPECT_TRUE(Status().startsWith("999 : ")) << Status().toStdString();
  EXPECT_EQ(StatusColor(), QColor(Qt::black));
}

}  // namespace
}  // namespace qv::testing
