// The main window's commands that open windows, search and show help: the window lists and
// their counters, Balance Point, Unbalanced Entries, About and Help > Contents, and opening
// another book with many views open.

#include <limits>

#include "app/ledger_openers_qt.h"
#include "books/date_styles.h"
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
  static void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(MenuCommandsTest, EachNewWindowTakesTheNextIndexOfItsOwnListAndAClosedOneKeepsItsSlot) {
  StartOn(SmallBook());
  for (const ListedCommand& c : kListedCommands) {
    // Windows of the other kinds opened in between do not count in this list.
    w->MenuItem("ShowTaccount")->trigger();
    w->MenuItem(c.item)->trigger();
    w->MenuItem(c.item)->trigger();
    std::vector<QPointer<QWidget>>& list = lists().*c.list;
    const int16_t count = lists().*c.count;
    ASSERT_GE(count, 2) << c.item;
    ASSERT_EQ(list.size(), static_cast<std::size_t>(count)) << c.item;
    QWidget* newest = list[static_cast<std::size_t>(count - 1)];
    ASSERT_NE(newest, nullptr) << c.item;
    EXPECT_TRUE(newest->isVisible()) << c.item;
    EXPECT_NE(list[static_cast<std::size_t>(count - 2)], newest) << c.item;

    list[0]->close();
    DeleteClosedWindows();
    w->MenuItem(c.item)->trigger();
    EXPECT_TRUE(list[0].isNull()) << c.item << ": the closed window's slot stays empty";
    EXPECT_EQ(lists().*c.count, count + 1) << c.item;
    EXPECT_NE(list[static_cast<std::size_t>(count)], nullptr) << c.item;
  }
}

TEST_F(MenuCommandsTest, ACounterAtItsLargestValueRefusesANewWindowWithAMessage) {
  StartOn(SmallBook());
  for (const ListedCommand& c : kListedCommands) {
    lists().*c.count = std::numeric_limits<int16_t>::max();
    (lists().*c.list).resize(static_cast<std::size_t>(lists().*c.count));
    const QWidgetList before = QApplication::topLevelWidgets();
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::Ok);
    w->MenuItem(c.item)->trigger();
    ASSERT_EQ(prompts.Texts().size(), 1u) << c.item;
    EXPECT_NE(prompts.Texts()[0].find("No more windows of this kind"), std::string::npos);
    EXPECT_EQ(lists().*c.count, std::numeric_limits<int16_t>::max()) << c.item;
    EXPECT_EQ((lists().*c.list).size(), static_cast<std::size_t>(lists().*c.count)) << c.item;
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before.size()) << c.item;
  }
}

TEST_F(MenuCommandsTest, BalancePointShowsTheEntryAfterWhichTheTotalsNeverMeetAgain) {
  // Lines 0 D100, 1 C100 | 2 D50, 3 C40 | 4 D10, 5 C10.
  Books book = BookWithChart({{"Cash", 110, 0}, {"Sales", 400, 5}});
  AddEntry(book, Day(2026, 3, 1), "E1", {{110, 100}}, {{400, 100}}, "One");
  AddEntry(book, Day(2026, 3, 2), "E2", {{110, 50}}, {{400, 40}}, "Two");
  AddEntry(book, Day(2026, 3, 3), "E3", {{110, 10}}, {{400, 10}}, "Three");
  StartOn(book);

  // In help mode it only explains.
  HelpMode(true);
  w->MenuItem("SearchMenu(3)")->trigger();
  EXPECT_EQ(HelpTitle(), "Balance Point...");
  EXPECT_EQ(w->ScrollAcc->Value(), 0);
  EXPECT_TRUE(TheHelpDesk().IsOn()) << "the wait does not end help mode";
  HelpMode(false);

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

TEST_F(MenuCommandsTest, UnbalancedEntriesComesForwardListingTheEntriesAsTheyAreNow) {
  Books book = SmallBook();
  book.PostingLines[6].Amount = Money(9);  // B7 does not balance
  StartOn(book);
  w->MenuItem("SearchMenu(4)")->trigger();
  GeneralJournal* journal = p.app->Ledgers().UnbalancedJournal();
  ASSERT_TRUE(journal->isVisible());
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

TEST(TrialBalanceOpener, TakesTodayInEveryDateStyleOfTheBookWhateverTheSystemsDateOrder) {
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
  }
}

TEST_F(MenuCommandsTest, AboutShowsItsTextAndEndsHelpModeAndContentsSwitchesHelpMode) {
  StartOn(SmallBook());
  w->MenuItem("HelpSelect")->trigger();
  EXPECT_TRUE(w->MenuItem("HelpSelect")->isChecked());
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Help);
  ASSERT_NE(TheHelpDesk().Window(), nullptr);
  EXPECT_TRUE(TheHelpDesk().Window()->isVisible());

  w->MenuItem("AboutMenu")->trigger();
  HelpWindow* help = TheHelpDesk().Window();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "About...");
  EXPECT_EQ(help->Title(), "Quorvel");
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

TEST_F(MenuCommandsTest, OpeningAnotherBookClosesEveryJournalAndLedgerWindowHoweverMany) {
  StartOn(SmallBook());
  for (int k = 0; k < 23; ++k) w->MenuItem("ShowJournals")->trigger();
  w->MenuItem("RA1(2)")->trigger();
  w->MenuItem("Rb_MenuItem")->trigger();
  ASSERT_EQ(lists().JournalWindowCount, 23);

  p.answers = {WriteBookFile(p.folder / "other.acc", SmallBook())};
  w->MenuItem("LoadFile")->trigger();
  DeleteClosedWindows();
  for (const auto* list :
       {&lists().JournalWindows, &lists().LedgerWindows, &lists().RunningBalanceWindows})
    for (const QPointer<QWidget>& window : *list) EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace qv::testing
