// Carrying accounts over takes its net profit from the income statement of all dates; the
// statements before and after tell the same story.

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

Amount ProfitOfAllDates(const Books& books) {
  const IncomeStatement income = ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false});
  EXPECT_FALSE(income.Failed());
  return income.NetProfit;
}

TEST(CarryOverProfit, TheIncomeStatementOfAllDatesFeedsTheCarryOver) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Capital A", 510, kCapital},
                                        {"Capital B", 520, kCapital},
                                        {"Sales", 610, kRevenue}});
  // The entries lie in two years: the profit of all dates counts both.
  AddEntry(books, Day(2025, 7, 1), "1", {{110, 1000}}, {{510, 1000}});
  AddEntry(books, Day(2026, 2, 1), "2", {{110, 300}}, {{610, 300}});
  const DaySerial today = Day(2026, 12, 31);
  const Amount profit = ProfitOfAllDates(books);
  EXPECT_EQ(profit, Money(300));
  const BalanceSheet before = ComputeBalanceSheet(books, {today, false});

  const RolloverResult result = CarryAccountsOver(books, profit, today);
  ASSERT_TRUE(result.Done) << result.Problem;
  // Income accounts start again from zero; cash is carried; each capital account took an
  // equal share of the profit.
  EXPECT_EQ(ProfitOfAllDates(books), Amount());
  const TrialBalance tb = ComputeTrialBalance(books, {today, false});
  ASSERT_FALSE(tb.Failed());
  std::vector<std::pair<Folio, Amount>> rows;
  for (const TrialBalanceRow& row : tb.Rows)
    if (row.RowFolio > Money(1)) rows.emplace_back(row.RowFolio, row.Balance);
  EXPECT_EQ(rows, (std::vector<std::pair<Folio, Amount>>{{Money(110), Money(1300)},
                                                         {Money(510), Money(-1150)},
                                                         {Money(520), Money(-150)},
                                                         {Money(610), Amount()}}));
  EXPECT_EQ(tb.DebitTotal, tb.CreditTotal);

  // The balance sheet shows the same position, the profit now inside the capital.
  const BalanceSheet after = ComputeBalanceSheet(books, {today, false});
  EXPECT_EQ(std::pair(after.SheetProfit, after.CapitalTotal), std::pair(Amount(), Money(1300)));
  EXPECT_EQ(std::pair(after.CapitalBalance, after.NetAssets),
            std::pair(before.CapitalBalance, before.NetAssets));
}

}  // namespace
}  // namespace qv
