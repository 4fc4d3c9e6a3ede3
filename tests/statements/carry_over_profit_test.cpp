// The statements before and after a roll-over tell the same story: bringing balances forward
// keeps the trial balance, lines without an account included; carrying over shares out the
// profit of the income statement of all dates with sub-accounts as their own accounts.

#include <gtest/gtest.h>

#include "bookfiles/rollover.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/trial_balance.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

// Cash, stock and its sub-account of losses (an expense under an asset), two capital
// accounts, sales; entries in two years, one with lines that have no account.
Books Example() {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Stock", 150, kCurrentAsset},
                                        {"Stock losses", 150.5, kExpense},
                                        {"Capital A", 510, kCapital},
                                        {"Capital B", 520, kCapital},
                                        {"Sales", 610, kRevenue}});
  AddEntry(books, Day(2025, 7, 1), "1", {{110, 1000}}, {{510, 600}, {520, 400}});
  AddEntry(books, Day(2026, 2, 1), "2", {{110, 300}, {0, 5}}, {{610, 300}, {0, 5}});
  AddEntry(books, Day(2026, 3, 1), "3", {{150.5, 20}, {0, 2}}, {{150, 20}, {110, 2}});
  return books;
}

TEST(RolloverStatements, BroughtForwardKeepsTheTrialBalance) {
  for (bool exact : {false, true}) {
    Books books = Example();
    const TrialBalanceOptions options{Day(2026, 12, 31), exact};
    const TrialBalance before = ComputeTrialBalance(books, options);
    ASSERT_TRUE(BringBalancesForward(books, Day(2026, 12, 31)).Done);
    const TrialBalance after = ComputeTrialBalance(books, options);
    EXPECT_EQ(after.Rows, before.Rows) << exact;
    EXPECT_EQ(after.DebitTotal, before.DebitTotal) << exact;
  }
}

TEST(RolloverStatements, CarryOverSharesTheExactIncomeStatementsProfit) {
  Books books = Example();
  const DaySerial today = Day(2026, 12, 31);
  const IncomeStatement income =
      ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), /*IncludeSubAccounts=*/true});
  EXPECT_EQ(income.NetProfit, Money(280));
  const BalanceSheet before = ComputeBalanceSheet(books, {today, true});

  const RolloverResult result = CarryAccountsOver(books, today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.ProfitShared, income.NetProfit);
  const BalanceSheet after = ComputeBalanceSheet(books, {today, true});
  EXPECT_EQ(after.SheetProfit, Amount());
  EXPECT_EQ(after.CapitalBalance, before.CapitalBalance);
  EXPECT_EQ(after.NetAssets, before.NetAssets);
  const TrialBalance tb = ComputeTrialBalance(books, {today, true});
  EXPECT_EQ(tb.DebitTotal, tb.CreditTotal);
}

}  // namespace
}  // namespace qv
