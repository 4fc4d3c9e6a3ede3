// The ledger views' openers as a user meets them: the searches in their own journals, a
// click through to the entry, the default ledgers of the statements.

#include "app/ledger_openers_qt.h"

#include "controls/date_picker_control.h"
#include "ledgers/find_entry_dialog.h"
#include "ledgers/ledger_sheet_widget.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

class LedgerOpenersTest : public MainWindowTest {
 protected:
  LedgerOpeners& openers() { return p.app->Ledgers(); }
  WindowLists& lists() { return p.app->Windows(); }
  template <class Window>
  static Window* At(const std::vector<QPointer<QWidget>>& list, std::size_t i) {
    return i < list.size() ? qobject_cast<Window*>(list[i].data()) : nullptr;
  }
  // The entry numbers a journal window shows, in order.
  static std::vector<std::string> Numbers(const LedgerWindow& window) {
    std::vector<std::string> numbers;
    TableRow row;
    for (int64_t r = 0; r < window.Sheet().Table.RowCount; ++r) {
      window.Sheet().Table.Row(r, row);
      if (!row.Cells[1].empty()) numbers.push_back(row.Cells[1]);
    }
    return numbers;
  }
};

TEST_F(LedgerOpenersTest, SearchesShowTheirResultsInTheirOwnJournals) {
  Books book = SmallBook();
  book.PostingLines[6].Amount = Money(9);  // B7 no longer balances
  StartOn(book);
  w->MenuItem("SearchMenu(1)")->trigger();
  auto* find = qobject_cast<Find_Entry*>(lists().Find_Entry.data());
  ASSERT_NE(find, nullptr);
  EXPECT_TRUE(find->isVisible());
  EXPECT_EQ(find->windowTitle(), "Search Entries Notes...");
  find->SearchBox->setText("SECOND");
  QTest::mouseClick(find->FindButton, Qt::LeftButton);
  auto* results = qobject_cast<GeneralJournal*>(lists().FindJournal.data());
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  EXPECT_EQ(Numbers(*results), std::vector<std::string>{"A10"});
  EXPECT_EQ(p.app->TheSession().SearchPending, 0);

  // The entry-number search from the menu and from the entry number's double click.
  w->MenuItem("SearchMenu(0)")->trigger();
  EXPECT_EQ(find->windowTitle(), "Search Entries No...");
  find->SearchBox->setText(" b7 ");
  find->Find_Click();
  EXPECT_EQ(Numbers(*results), std::vector<std::string>{"B7"});

  // A journal opened afterwards shows every entry: the search was the find journal's own.
  w->MenuItem("ShowJournals")->trigger();
  EXPECT_EQ(Numbers(*At<GeneralJournal>(lists().JournalWindows, 0)).size(), 3u);

  w->MenuItem("SearchMenu(4)")->trigger();
  GeneralJournal* unbalanced = openers().UnbalancedJournal();
  EXPECT_TRUE(unbalanced->isVisible());
  EXPECT_EQ(unbalanced->windowTitle(), "Unbalanced Entries...");
  EXPECT_EQ(unbalanced->BackColor(), kUnbalancedTint);
  EXPECT_EQ(unbalanced->JJournal->BackColor(), kUnbalancedTint);
  EXPECT_EQ(Numbers(*unbalanced), std::vector<std::string>{"B7"});
}

TEST_F(LedgerOpenersTest, AClickOnALineShowsTheEntryAndADeletedEntryLeavesTheView) {
  StartOn(SmallBook());
  w->MenuItem("Rb_MenuItem")->trigger();
  Running_Balance* rb = At<Running_Balance>(lists().RunningBalanceWindows, 0);
  ASSERT_NE(rb, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(rb));
  rb->tReportAcc->setEditText("Cash");
  rb->tReportAcc_Click();
  ASSERT_EQ(rb->Sheet().Table.RowCount, 2);

  // The second row is entry A10's Cash line (line 2): the main window shows A10.
  LedgerSheetWidget* area = rb->SheetArea();
  const double twips = 1440.0 / area->logicalDpiX();
  double rowsTop = 0;
  for (const DrawOp& op : area->Recording())
    if (const auto* line = std::get_if<LineOp>(&op); line && rowsTop == 0) rowsTop = line->Y1;
  const QPoint second(static_cast<int>(area->Layout().Left[2] / twips) + 4,
                      static_cast<int>((rowsTop + 1.5 * area->Layout().RowHeight) / twips));
  w->showMinimized();
  QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, second);
  EXPECT_FALSE(w->isMinimized());
  EXPECT_EQ(w->ScrollAcc->Value(), 2);
  EXPECT_EQ(w->JournalID->text(), "A10");
  EXPECT_EQ(w->DebitAccName(0)->currentText(), "Cash");

  // Deleting that entry in the main window, then coming back to the view, removes it.
  w->MenuItem("ArUshore")->trigger();
  EXPECT_EQ(books().LastLineIndex(), 3);
  QApplication::setActiveWindow(w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  QApplication::setActiveWindow(rb);
  ASSERT_TRUE(QTest::qWaitForWindowActive(rb));
  EXPECT_EQ(rb->Sheet().Table.RowCount, 1);
  TableRow row;
  rb->Sheet().Table.Row(0, row);
  EXPECT_EQ(row.Cells[1], "A1");
}

TEST_F(LedgerOpenersTest, TheDefaultLedgersTakeTheStatementsDrillDown) {
  StartOn(SmallBook());
  Running_Balance* rb = openers().DefaultRunningBalance();
  rb->Form_Load();
  rb->DateSearch(1)->SetText("3/2/26");
  rb->tReportAcc->setEditText("Bank");
  rb->tReportAcc_Click();
  rb->show();
  EXPECT_EQ(rb->Sheet().Table.Title,
            (std::vector<std::string>{"Bank (120)", "From 3/1/26 to 3/2/26"}));
  EXPECT_EQ(rb->Sheet().Table.RowCount, 1) << "A10's line; B7 is after the end date";
  EXPECT_EQ(openers().DefaultRunningBalance(), rb) << "one default window";

  Report* report = openers().DefaultReport();
  report->show();
  // The chart editor closes the default T-account window when it closes; the next
  // drill-down makes a new one.
  w->MenuItem("EditAccounts")->trigger();
  ASSERT_FALSE(lists().ConfigAccounts.isNull());
  lists().ConfigAccounts->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(lists().Report.isNull());
  EXPECT_NE(openers().DefaultReport(), nullptr);
}

}  // namespace
}  // namespace qv::testing
