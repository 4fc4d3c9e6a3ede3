// The main window's statement commands: the windows they open, on which dates, and how the
// open statements follow the book when entries are deleted or a new period starts.

#include <QImage>
#include <set>

#include "app/ledger_openers_qt.h"
#include "bookfiles/rollover.h"
#include "books/date_styles.h"
#include "platform/units.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/statement_texts.h"
#include "statements/trial_balance_window.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

class StatementOpenersTest : public MainWindowTest {
 protected:
  TrialBalanceWindow* TrialBalance() {
    return qobject_cast<TrialBalanceWindow*>(p.app->Windows().Trial_Balance.data());
  }
  IncomeStatementWindow* Income() {
    return qobject_cast<IncomeStatementWindow*>(p.app->Windows().Income_Statement.data());
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
  const std::string total =
      TrialAmountText(rows.DebitTotal, books().TrialDecimals, p.app->Locale());
  EXPECT_EQ(drawn.count(total), 2u);

  const QImage shot = tb->grab().toImage();
  const fs::path png = fs::path(std::getenv("QV_TEST_OUTPUT")) / "trial_balance_trading.png";
  EXPECT_TRUE(shot.save(QString::fromStdString(png.string())));
}

TEST_F(StatementOpenersTest, OpenersNeedTwoLinesHonourHelpModeAndDateInTheBooksStyle) {
  Books book = SmallBook();
  book.DateStyleIndex = kDdMmYyyySlash;  // day first, on a month-first machine
  StartOn(book);
  HelpMode(true);
  for (const char* item : {"TrialBalance", "IncomeStatement", "Show_Balance"}) Run(item);
  EXPECT_EQ(HelpTitle(), "Balance Sheet");
  EXPECT_EQ(TrialBalance(), nullptr);
  EXPECT_EQ(Income(), nullptr);
  EXPECT_TRUE(p.app->Windows().BalanceSheetWindows.empty());
  HelpMode(false);

  Run("TrialBalance");
  ASSERT_NE(TrialBalance(), nullptr);
  EXPECT_EQ(TrialBalance()->ISCalander->Text(), "15/03/2026");
  EXPECT_EQ(TrialBalance()->TrialDate(), Day(2026, 3, 15));
  // A second command makes the window afresh.
  const QPointer<QWidget> first = TrialBalance();
  Run("TrialBalance");
  EXPECT_TRUE(first.isNull());
  ASSERT_NE(TrialBalance(), nullptr);
  Run("IncomeStatement");
  ASSERT_NE(Income(), nullptr);
  EXPECT_EQ(Income()->DateSearch[0]->Text(), "01/03/2026");
  EXPECT_EQ(p.app->TheSession().NetProfit, Money(210));
  // Every Balance Sheet command opens one more.
  Run("Show_Balance");
  Run("Show_Balance");
  EXPECT_EQ(p.app->Windows().BalanceSheetWindowCount, 2);
  ASSERT_NE(Sheet(0), nullptr);
  ASSERT_NE(Sheet(1), nullptr);
  EXPECT_NE(Sheet(0), Sheet(1));
  EXPECT_EQ(Sheet(1)->ISCalander->Text(), "03/03/2026");
  // A journal of one line opens no statement.
  books().PostingLines.resize(1);
  books().EntryNumbers.resize(1);
  Run("Show_Balance");
  EXPECT_EQ(p.app->Windows().BalanceSheetWindowCount, 2);
}

TEST_F(StatementOpenersTest, OpenStatementsFollowDeletionsAndANewPeriod) {
  StartOn(SmallBook());
  Run("TrialBalance");
  Run("Show_Balance");
  TrialBalanceWindow* tb = TrialBalance();
  BalanceSheetWindow* bs = Sheet(0);
  ASSERT_TRUE(tb && bs);
  const auto balanceOf = [&](const std::string& name) {
    for (const TrialBalanceRow& row : tb->Statement().Rows)
      if (row.Name == name) return row.Balance;
    return Amount();
  };
  EXPECT_EQ(balanceOf("Bank"), Money(60));

  // The entry shown in the main window is deleted there; the trial balance follows once it
  // is activated.
  const int64_t bankLines =
      std::count_if(books().PostingLines.begin(), books().PostingLines.end(),
                    [](const PostingLine& line) { return line.LineFolio == Money(120); });
  w->ScrollAcc->SetValue(books().LastLineIndex());
  Run("ArUshore");
  ASSERT_LT(std::count_if(books().PostingLines.begin(), books().PostingLines.end(),
                          [](const PostingLine& line) { return line.LineFolio == Money(120); }),
            bankLines);
  Activate(tb);
  EXPECT_EQ(tb->ComputedStamp(), books().BooksStamp);
  EXPECT_EQ(balanceOf("Bank"), Money(50));

  // Balances brought forward: both windows take the new period's dates when activated.
  p.clock.Set(Day(2026, 4, 1));
  Run("Brought_Forward");
  ASSERT_NE(TrialBalance(), nullptr);
  ASSERT_NE(Sheet(0), nullptr);
  Activate(bs);
  EXPECT_EQ(bs->ISCalander->Text(), "4/1/26");
  EXPECT_EQ(bs->Statement().SheetDate, Day(2026, 4, 1));
  Activate(tb);
  EXPECT_EQ(tb->TrialDate(), Day(2026, 4, 1));
  EXPECT_EQ(balanceOf("Bank"), Money(50));
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
  // Rows drawn: Cash, Bank, Sales.
  click(1, Qt::LeftButton);
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
  Activate(bs);
  EXPECT_EQ(bs->Statement().SheetDate, Day(2026, 4, 1));
  EXPECT_EQ(bs->Statement().SheetProfit, Amount());
  EXPECT_EQ(bs->Statement().CapitalBalance, Money(1300));
}

}  // namespace
}  // namespace qv::testing
