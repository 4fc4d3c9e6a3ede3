// The main window's commands that open windows, search and show help: window lists, views,
// statements, Balance Point, About, the admin gate, calculators, another book opened.

#include <limits>

#include "accounts/chart_editor_window.h"
#include "app/ledger_openers_qt.h"
#include "bookfiles/book_notices.h"
#include "books/date_styles.h"
#include "calculators/payroll_window.h"
#include "calculators/rolling_calculator_window.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_window.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// A command that opens a new window per click, and the list that keeps them.
struct ListedCommand {
  const char* item;
  std::vector<QPointer<QWidget>> WindowLists::*list;
  int16_t WindowLists::*count;
};

const ListedCommand kListedCommands[] = {
    {"ShowJournals", &WindowLists::JournalWindows, &WindowLists::JournalWindowCount},
    {"ShowTaccount", &WindowLists::LedgerWindows, &WindowLists::LedgerWindowCount},
    {"Rb_MenuItem", &WindowLists::RunningBalanceWindows, &WindowLists::RunningBalanceWindowCount},
    {"Show_Balance", &WindowLists::BalanceSheetWindows, &WindowLists::BalanceSheetWindowCount},
    {"PayCalc", &WindowLists::PayRollWindows, &WindowLists::PayRollWindowCount},
    {"Rolling_Calculator_Menu", &WindowLists::RollingCalculatorWindows,
     &WindowLists::RollingCalculatorWindowCount},
};

class MenuCommandsTest : public MainWindowTest {
 protected:
  WindowLists& lists() { return p.app->Windows(); }
  template <class Window>
  static Window* At(const std::vector<QPointer<QWidget>>& list, std::size_t i) {
    return i < list.size() ? qobject_cast<Window*>(list[i].data()) : nullptr;
  }
  static void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(MenuCommandsTest, EachNewWindowTakesTheNextIndexOfItsListAndAFullCounterRefuses) {
  StartOn(SmallBook());
  for (const ListedCommand& c : kListedCommands) {
    // Windows of the other kinds opened in between do not count in this list.
    w->MenuItem("ShowTaccount")->trigger();
    w->MenuItem(c.item)->trigger();
    w->MenuItem(c.item)->trigger();
    SCOPED_TRACE(c.item);
    std::vector<QPointer<QWidget>>& list = lists().*c.list;
    const int16_t count = lists().*c.count;
    ASSERT_GE(count, 2);
    ASSERT_EQ(list.size(), static_cast<std::size_t>(count));
    ASSERT_NE(list.back(), nullptr);
    EXPECT_TRUE(list.back()->isVisible());
    EXPECT_NE(list[list.size() - 2], list.back());
    list[0]->close();
    DeleteClosedWindows();
    w->MenuItem(c.item)->trigger();
    EXPECT_TRUE(list[0].isNull()) << "the closed window's slot stays empty";
    EXPECT_EQ(lists().*c.count, count + 1);
    EXPECT_NE(list.back(), nullptr);
  }
  constexpr int16_t kFull = std::numeric_limits<int16_t>::max();
  for (const ListedCommand& c : kListedCommands) {
    SCOPED_TRACE(c.item);
    lists().*c.count = kFull;
    (lists().*c.list).resize(static_cast<std::size_t>(kFull));
    const auto before = QApplication::topLevelWidgets().size();
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::Ok);
    w->MenuItem(c.item)->trigger();
    ASSERT_EQ(prompts.Texts().size(), 1u);
    EXPECT_NE(prompts.Texts()[0].find("No more windows of this kind"), std::string::npos);
    EXPECT_EQ(lists().*c.count, kFull);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
  }
}

TEST_F(MenuCommandsTest, ReconciliationViewsAreTintedAndUnbalancedEntriesComesForwardAfresh) {
  Books book = SmallBook();
  book.PostingLines[6].Amount = Money(9);  // B7 does not balance
  StartOn(book);
  w->MenuItem("ShowTaccount")->trigger();
  w->MenuItem("RA1(2)")->trigger();
  EXPECT_EQ(lists().LedgerWindowCount, 2) << "counted in the plain list";
  Report* reconciled = At<Report>(lists().LedgerWindows, 1);
  ASSERT_NE(reconciled, nullptr);
  EXPECT_EQ(reconciled->windowTitle(), "Reconciled T-Accounts Ledger...");
  EXPECT_TRUE(reconciled->HideReconciled);
  EXPECT_EQ(std::pair(reconciled->BackColor(), reconciled->Vs->BackColor()),
            std::pair(kReconciliationTint, kReconciliationTint));
  w->MenuItem("RA1(0)")->trigger();
  w->MenuItem("RA1(3)")->trigger();
  EXPECT_TRUE(At<GeneralJournal>(lists().JournalWindows, 0)->HideReconciled);
  EXPECT_EQ(At<Running_Balance>(lists().RunningBalanceWindows, 0)->VScroll1->BackColor(),
            kReconciliationTint);
  w->MenuItem("SearchMenu(4)")->trigger();
  GeneralJournal* journal = p.app->Ledgers().UnbalancedJournal();
  ASSERT_TRUE(journal->isVisible());
  EXPECT_EQ(std::pair(journal->windowTitle(), journal->BackColor()),
            std::pair(QString("Unbalanced Entries..."), kUnbalancedTint));
  EXPECT_EQ(journal->Sheet().Table.RowCount, 4) << "B7's two lines, its notes and the totals";
  // A1 stops balancing while the window is behind the main window.
  QApplication::setActiveWindow(w);
  books().PostingLines[1].Amount = Money(99);
  RaiseBooksStamp(books());
  w->MenuItem("SearchMenu(4)")->trigger();
  EXPECT_EQ(p.app->Ledgers().UnbalancedJournal(), journal) << "the one window";
  EXPECT_TRUE(QTest::qWaitForWindowActive(journal));
  EXPECT_EQ(journal->Sheet().Table.RowCount, 7) << "A1 and B7";
}

TEST_F(MenuCommandsTest, BalancePointShowsTheEntryAfterWhichTheTotalsNeverMeetAgain) {
  // Lines 0 D100, 1 C100 | 2 D50, 3 C40 | 4 D10, 5 C10.
  Books book = BookWithChart({{"Cash", 110, 0}, {"Sales", 400, 5}});
  AddEntry(book, Day(2026, 3, 1), "E1", {{110, 100}}, {{400, 100}}, "One");
  AddEntry(book, Day(2026, 3, 2), "E2", {{110, 50}}, {{400, 40}}, "Two");
  AddEntry(book, Day(2026, 3, 3), "E3", {{110, 10}}, {{400, 10}}, "Three");
  StartOn(book);
  w->MenuItem("SearchMenu(3)")->trigger();
  EXPECT_EQ(w->ScrollAcc->Value(), 2);
  EXPECT_EQ(w->JournalID->text(), "E2");
  EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << "the wait is over";
  // Mended, the book balances; a new, empty entry at its end is then the balance point.
  books().PostingLines[3].Amount = Money(50);
  w->MenuItem("SearchMenu(3)")->trigger();
  EXPECT_EQ(w->JournalID->text(), "E3");
  w->MenuItem("NewEntryMenu")->trigger();
  w->ScrollAcc->SetValue(0);
  w->MenuItem("SearchMenu(3)")->trigger();
  EXPECT_EQ(w->ScrollAcc->Value(), books().LastLineIndex());
}

// The trial balance is dated today in every date style of the book, whatever the system's
// date order; it, the income statement and the comparative statement are made afresh.
TEST(StatementOpeners, TheTrialBalanceTakesTodayAndEachStatementIsMadeAfresh) {
  for (const char* pattern : {"M/d/yy", "dd.MM.yyyy", "yyyy-MM-dd"}) {
    Program p;
    p.options.Locale->ShortDatePattern = pattern;
    p.options.Arguments = {"quorvel", WriteBookFile(p.folder / "book.acc", SmallBook())};
    TAcount& w = p.Start();
    for (int style = 0; style < kDateStyleCount; ++style) {
      p.books().DateStyleIndex = static_cast<int16_t>(style);
      w.MenuItem("TrialBalance")->trigger();
      auto* trial = qobject_cast<TrialBalanceWindow*>(p.app->Windows().Trial_Balance.data());
      ASSERT_NE(trial, nullptr);
      EXPECT_EQ(trial->TrialDate(), p.clock.Today()) << pattern << ", style " << style;
    }
    WindowLists& lists = p.app->Windows();
    p.books().DateStyleIndex = kDdMmYyyySlash;
    for (auto [item, window] : {std::pair{"TrialBalance", &lists.Trial_Balance},
                                {"IncomeStatement", &lists.Income_Statement},
                                {"CashFlowMenu", &lists.CashFlow}}) {
      w.MenuItem(item)->trigger();
      const QPointer<QWidget> first = *window;
      ASSERT_FALSE(first.isNull()) << item;
      w.MenuItem(item)->trigger();
      QApplication::processEvents();
      EXPECT_TRUE(first.isNull()) << item;
      EXPECT_FALSE(window->isNull()) << item;
    }
    // The income statement and the balance sheet open on dates in the book's style.
    if (std::string(pattern) != "M/d/yy") continue;  // its date separator is the system's
    w.MenuItem("IncomeStatement")->trigger();
    w.MenuItem("Show_Balance")->trigger();
    const auto* income = qobject_cast<IncomeStatementWindow*>(lists.Income_Statement.data());
    const auto* sheet = qobject_cast<BalanceSheetWindow*>(lists.BalanceSheetWindows.back().data());
    EXPECT_EQ(income->DateSearch[0]->Text() + " " + sheet->ISCalander->Text(),
              "01/03/2026 03/03/2026");
  }
}

TEST_F(MenuCommandsTest, AboutAndContentsSwitchHelpModeWhereTwoCalculatorsStillOpen) {
  StartOn(SmallBook());
  for (QWidget* window : QApplication::topLevelWidgets())  // what earlier tests left open
    if (window != w && window->isVisible()) window->close();
  HelpMode(false);
  w->MenuItem("HelpSelect")->trigger();
  EXPECT_TRUE(w->MenuItem("HelpSelect")->isChecked());
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Help);
  ASSERT_TRUE(TheHelpDesk().Window() && TheHelpDesk().Window()->isVisible());
  for (const char* item : {"Rolling_Calculator_Menu", "Depreciation_Menu", "PayCalc"})
    w->MenuItem(item)->trigger();
  EXPECT_EQ(HelpTitle(), "Payroll Calculator...");
  EXPECT_EQ(lists().RollingCalculatorWindowCount, 1);
  EXPECT_FALSE(lists().Depreciation.isNull());
  EXPECT_EQ(lists().PayRollWindowCount, 0);
  w->MenuItem("AboutMenu")->trigger();
  HelpWindow* help = TheHelpDesk().Window();
  ASSERT_TRUE(help && help->isVisible());
  EXPECT_EQ(help->windowTitle() + " " + help->Title(), "About... Quorvel");
  EXPECT_EQ(help->Text(), QString::fromStdString(AboutText()).replace("\r\n", "\n"));
  EXPECT_TRUE(help->Text().endsWith("Accounts Paid in May"));
  EXPECT_FALSE(w->MenuItem("HelpSelect")->isChecked());
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  EXPECT_FALSE(TheHelpDesk().IsOn());
  // Contents on again; closing the help window ends help mode.
  w->MenuItem("HelpSelect")->trigger();
  ASSERT_TRUE(TheHelpDesk().IsOn());
  TheHelpDesk().Window()->close();
  EXPECT_FALSE(TheHelpDesk().IsOn());
  EXPECT_FALSE(w->MenuItem("HelpSelect")->isChecked());
}

TEST_F(MenuCommandsTest, TheGuardedWindowsOpenOnlyWithTheAdminPassword) {
  Books book = SmallBook();
  book.AdminPassword = "boss";
  StartOn(book);
  PromptAnswerer prompts;  // a refused gate shows no message
  for (const char* command : {"EditAccounts", "SoftwareSettings", "ReplaceAccountsMenu"})
    w->MenuItem(command)->trigger();
  EXPECT_EQ(p.prompt.asked, 3);
  EXPECT_TRUE(lists().ConfigAccounts.isNull());
  EXPECT_TRUE(lists().QVMainsettings.isNull());
  p.prompt.known = {"boss"};
  w->MenuItem("EditAccounts")->trigger();
  EXPECT_FALSE(lists().ConfigAccounts.isNull());
  EXPECT_EQ(p.app->TheSession().LoginPassword, "");
}

// A copied entry pastes into a calculator as a list whose total is 0; the list copied from
// it pastes into a second one the same. Payroll sheets are many, the depreciation window one.
TEST_F(MenuCommandsTest, CalculatorsTakeACopiedEntryAndEachOtherList) {
  StartOn(SmallBook());
  w->MenuItem("CopyTheEntry")->trigger();  // Cash 100 debit, Sales 100 credit
  std::vector<Rolling_Caculator*> calculators;
  for (int k = 0; k < 2; ++k) {
    w->MenuItem("Rolling_Calculator_Menu")->trigger();
    calculators.push_back(
        At<Rolling_Caculator>(lists().RollingCalculatorWindows, static_cast<std::size_t>(k)));
    ASSERT_NE(calculators.back(), nullptr);
    calculators.back()->MenuItem("P_m")->trigger();
    calculators.back()->MenuItem("C_m")->trigger();
  }
  EXPECT_EQ(calculators[0]->Op(1)->text() + " " + calculators[0]->CalAmount(1)->text(), "- 100.00");
  EXPECT_EQ(calculators[0]->TotalAmount->text() + calculators[1]->TotalAmount->text(), ".00.00");
  EXPECT_EQ(calculators[1]->Tape().CopyText(), calculators[0]->Tape().CopyText());
  w->MenuItem("Depreciation_Menu")->trigger();
  const QPointer<QWidget> depreciation = lists().Depreciation;
  w->CalcButton_Click(11);
  EXPECT_EQ(lists().Depreciation, depreciation);
  w->MenuItem("PayCalc")->trigger();
  w->CalcButton_Click(12);
  ASSERT_EQ(lists().PayRollWindowCount, 2);
  auto* sheet = At<PayRoll>(lists().PayRollWindows, 1);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->PayTitle[12]->text(), "Net " + w->GL(8)->text());
}

// The chart editor and the configuration window go without their checks and questions.
TEST_F(MenuCommandsTest, OpeningAnotherBookClosesEveryViewAndEditorHoweverMany) {
  StartOn(SmallBook());
  PromptAnswerer prompts;  // the chart's checks would ask; only the changed books may
  for (int k = 0; k < 23; ++k) w->MenuItem("ShowJournals")->trigger();
  for (const char* item :
       {"RA1(2)", "Rb_MenuItem", "CashFlowMenu", "EditAccounts", "SoftwareSettings"})
    w->MenuItem(item)->trigger();
  ASSERT_EQ(lists().JournalWindowCount, 23);
  ASSERT_FALSE(lists().ConfigAccounts.isNull());
  qobject_cast<ConfigAccounts*>(lists().ConfigAccounts.data())->RenameAccount[1]->setText("");
  books().AccountNames[1] = "";  // a folio without a name: the checks would refuse
  p.answers = {WriteBookFile(p.folder / "other.acc", SmallBook())};
  prompts.Then(PromptAnswer::Yes);
  w->MenuItem("LoadFile")->trigger();
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{OpenWithoutSavingQuestion()});
  DeleteClosedWindows();
  QApplication::processEvents();
  for (const auto* list :
       {&lists().JournalWindows, &lists().LedgerWindows, &lists().RunningBalanceWindows})
    for (const QPointer<QWidget>& window : *list) EXPECT_TRUE(window.isNull());
  for (const auto* single : {&lists().CashFlow, &lists().ConfigAccounts, &lists().QVMainsettings})
    EXPECT_TRUE(single->isNull());
  EXPECT_EQ(books().AccountNames[1], "Cash");
}

}  // namespace
}  // namespace qv::testing
