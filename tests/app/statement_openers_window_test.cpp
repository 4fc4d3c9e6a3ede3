// The main window's statement commands: the windows they open, a row's click into the
// ledgers, and how open statements follow a new period.

#include <set>

#include "app/ledger_openers_qt.h"
#include "bookfiles/rollover.h"
#include "books/date_styles.h"
#include "platform/units.h"
#include "statements/balance_sheet_window.h"
#include "statements/cash_flow_window.h"
#include "statements/statement_texts.h"
#include "statements/trial_balance_window.h"
#include "tests/app/main_window_program_qt.h"
#include "tests/support/biff2_records.h"
#include "tests/support/html_table_qt.h"
#include "tests/support/pdf_text.h"
#include "tests/support/table_readers.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

class StatementOpenersTest : public MainWindowTest {
 protected:
  TrialBalanceWindow* TrialBalance() {
    return qobject_cast<TrialBalanceWindow*>(p.app->Windows().Trial_Balance.data());
  }
  BalanceSheetWindow* Sheet(int index) {
    return qobject_cast<BalanceSheetWindow*>(
        p.app->Windows().BalanceSheetWindows[static_cast<std::size_t>(index)].data());
  }
  void Run(const char* item) {
    w->MenuItem(item)->trigger();
    QApplication::processEvents();
  }
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(window, &activation);
  }
};

TEST_F(StatementOpenersTest, TheTradingBusinessTrialBalanceShowsEachAccountOnceInBalance) {
  const fs::path example = fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." /
                           "Examples" / "Trading Business.acc";
  ASSERT_TRUE(fs::exists(example));
  p.options.Arguments = {"quorvel", example.string()};
  w = &p.StartActive();
  Run("TrialBalance");
  TrialBalanceWindow* tb = TrialBalance();
  ASSERT_NE(tb, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tb));
  tb->resize(900, 1400);
  QApplication::processEvents();
  // Every account with a balance is drawn once, and the totals line shows equal totals.
  const qv::TrialBalance& rows = tb->Statement();
  std::multiset<std::string> drawn;
  for (const DrawOp& op : tb->Drawing().Ops)
    if (const auto* text = std::get_if<TextOp>(&op)) drawn.insert(text->Text);
  std::size_t shown = 0;
  for (const TrialBalanceRow& row : rows.Rows) {
    if (!row.Shown()) continue;
    ++shown;
    EXPECT_EQ(drawn.count(row.Name), 1u) << row.Name;
  }
  EXPECT_EQ(tb->Drawing().Rows.size(), shown);
  EXPECT_GT(shown, 20u);
  EXPECT_EQ(rows.DebitTotal, rows.CreditTotal);
  EXPECT_EQ(drawn.count(TrialAmountText(rows.DebitTotal, books().TrialDecimals, p.app->Locale())),
            2u);
  EXPECT_TRUE(tb->grab().save(QString::fromStdString(TestOutputPath("trial_balance_trading.png"))));
}

TEST_F(StatementOpenersTest, F6AndExportWriteTheTradingBusinessComparativeStatementThreeWays) {
  const fs::path example = fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." /
                           "Examples" / "Trading Business.acc";
  p.options.Arguments = {"quorvel", example.string()};
  w = &p.StartActive();
  Activate(w);
  Press(Qt::Key_F6);
  QApplication::processEvents();
  auto* cashFlow = qobject_cast<CashFlow*>(p.app->Windows().CashFlow.data());
  ASSERT_NE(cashFlow, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(cashFlow));
  EXPECT_EQ(cashFlow->tReportAcc->currentText() + " " + cashFlow->DateTerm->currentText(),
            "Revenue / Expense Monthly");
  ASSERT_TRUE(cashFlow->SaveA->isVisible());
  // The ending balance of every period shown, as the window shows it.
  const CashFlowStatement& statement = cashFlow->Statement();
  ASSERT_GT(statement.PeriodCount(), 1);
  std::vector<std::string> endings;
  for (int period = 1; period < statement.TotalColumn; ++period)
    endings.push_back(CashFlowAmountText(statement.BalanceAfter(period),
                                         books().BalanceSheetDecimals, p.app->Locale()));
  std::string chosen;
  for (const char* type : {"xls", "csv", "htm"}) {
    chosen = TestOutputPath(std::string("comparative.") + type);
    fs::remove(chosen);
    cashFlow->ChooseExportFile = [&chosen](const FileDialogRequest&) { return chosen; };
    cashFlow->SaveA->trigger();
    ASSERT_TRUE(fs::exists(chosen)) << type;
  }
  // The sheet: the row headed "Ending Balance:", read through the BIFF reader.
  const auto cells = CellMap(TestOutputPath("comparative.xls"));
  std::vector<std::string> fromSheet;
  for (const auto& [at, text] : cells)
    if (at.second == 1 && text == "Ending Balance:")
      for (int column = 2; cells.contains({at.first, column}); ++column)
        fromSheet.push_back(cells.at({at.first, column}));
  EXPECT_EQ(fromSheet, endings);
  // The CSV: one value per field, the last field empty after the trailing comma.
  std::vector<std::string> fromCsv;
  for (const auto& record : ParseCsv(ScratchFolder::Read(TestOutputPath("comparative.csv"))))
    if (record.front() == "Ending Balance: ") fromCsv.assign(record.begin() + 1, record.end() - 1);
  EXPECT_EQ(fromCsv, endings);
  // The page, as a browser reads its table.
  std::vector<std::string> fromPage;
  for (const auto& row : HtmlTableRows(ScratchFolder::Read(TestOutputPath("comparative.htm"))))
    if (!row.empty() && row.front() == "Ending Balance:")
      for (std::size_t c = 1; c < row.size() && !row[c].empty(); ++c) fromPage.push_back(row[c]);
  EXPECT_EQ(fromPage, endings);
}

TEST_F(StatementOpenersTest, ARowClickFillsAndShowsTheDefaultLedgers) {
  StartOn(SmallBook());
  Run("TrialBalance");
  TrialBalanceWindow* tb = TrialBalance();
  ASSERT_NE(tb, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tb));
  const auto click = [&](int row, Qt::MouseButton button) {
    const QPoint at(60, Px(tb->Drawing().Rows[static_cast<std::size_t>(row)].Bottom - 100));
    QTest::mouseClick(tb->Canvas(), button, Qt::NoModifier, at);
  };
  click(1, Qt::LeftButton);  // rows drawn: Cash, Bank, Sales
  Running_Balance* running = p.app->Ledgers().DefaultRunningBalance();
  EXPECT_TRUE(running->isVisible());
  EXPECT_EQ(running->tReportAcc->currentText(), "Bank");
  EXPECT_EQ(running->DateSearch(1)->Text(), tb->ISCalander->Text());
  click(2, Qt::RightButton);
  Report* report = p.app->Ledgers().DefaultReport();
  EXPECT_TRUE(report->isVisible());
  EXPECT_EQ(report->tReportAcc->currentText(), "Sales");
  // Another row refills the same window.
  click(0, Qt::LeftButton);
  EXPECT_EQ(p.app->Ledgers().DefaultRunningBalance(), running);
  EXPECT_EQ(running->tReportAcc->currentText(), "Cash");
  // The comparative statement's rows open the same ledgers, which keep their own dates.
  Run("CashFlowMenu");
  auto* cashFlow = qobject_cast<CashFlow*>(p.app->Windows().CashFlow.data());
  ASSERT_NE(cashFlow, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(cashFlow));
  cashFlow->tReportAcc->setEditText("Cash");
  cashFlow->tReportAcc_Click();
  running->DateSearch(1)->SetText("03/02/2026");
  const QPoint at(60, Px(cashFlow->Drawing().Drawing.Rows[0].Bottom - 100));
  QMouseEvent move(QEvent::MouseMove, at, cashFlow->Canvas()->mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(cashFlow->Canvas(), &move);
  QTest::mouseClick(cashFlow->Canvas(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(running->tReportAcc->currentText(), "Sales");
  EXPECT_EQ(running->DateSearch(1)->Text(), "03/02/2026");
}

TEST_F(StatementOpenersTest, CarryingOverGivesTheRulesJournalAndOpenStatementsTheNewPeriod) {
  Books book = BookWithChart({{"Cash", 110, kCurrentAsset},
                              {"Capital", 300, kCapital},
                              {"Sales", 400, kRevenue},
                              {"Rent", 600, kExpense}});
  AddEntry(book, Day(2026, 3, 1), "1", {{110, 1000}}, {{300, 1000}});
  AddEntry(book, Day(2026, 3, 2), "2", {{110, 500}}, {{400, 500}});
  AddEntry(book, Day(2026, 3, 3), "3", {{600, 200}}, {{110, 200}});
  StartOn(book);
  Run("TrialBalance");
  Run("Show_Balance");
  TrialBalanceWindow* tb = TrialBalance();
  BalanceSheetWindow* bs = Sheet(0);
  ASSERT_TRUE(tb && bs);
  EXPECT_EQ(bs->Statement().SheetProfit, Money(300));
  p.clock.Set(Day(2026, 4, 1));
  Books expected = books();
  ASSERT_TRUE(CarryAccountsOver(expected, Day(2026, 4, 1)).Done);
  Run("BalBForword");
  EXPECT_EQ(FirstDifference(expected, books()), "");
  ASSERT_EQ(TrialBalance(), tb);
  ASSERT_EQ(Sheet(0), bs);
  // Activated, both show the new period: the profit sits in the capital, and nothing is
  // left on sales or rent.
  Activate(tb);
  EXPECT_EQ(tb->TrialDate(), Day(2026, 4, 1));
  std::vector<std::string> shown;
  for (const TrialBalanceRow& row : tb->Statement().Rows)
    if (row.Shown()) shown.push_back(row.Name + " " + PlainAmountText(row.Balance));
  EXPECT_EQ(shown, (std::vector<std::string>{"Cash 1300", "Capital -1300"}));
  // The balance sheet stands at the journal's last date: the new period's first day, the day
  // after the old journal's last entry.
  Activate(bs);
  EXPECT_EQ(bs->Statement().SheetDate, Day(2026, 3, 4));
  EXPECT_EQ(bs->Statement().SheetProfit, Amount());
  EXPECT_EQ(bs->Statement().CapitalBalance, Money(1300));
  // A month on, balances brought forward: the balance sheet that was the active window when
  // the command ran catches up with the new journal, not the one being rolled over.
  p.clock.Set(Day(2026, 5, 1));
  Run("Brought_Forward");
  // The carried-over journal was dated 4 March: the new one opens on 5 March.
  EXPECT_EQ(books().PostingLines.back().LineDate, Day(2026, 3, 5));
  ASSERT_EQ(TrialBalance(), tb);
  Activate(tb);
  EXPECT_EQ(tb->TrialDate(), Day(2026, 5, 1));
  Activate(bs);
  EXPECT_EQ(bs->ISCalander->Text(), "3/5/26");
  EXPECT_EQ(bs->Statement().SheetDate, Day(2026, 3, 5));
}

}  // namespace
}  // namespace qv::testing
