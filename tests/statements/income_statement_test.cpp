#include "statements/income_statement.h"

#include <gtest/gtest.h>

#include "tests/statements/statement_sketch.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Caption;
using testing::Day;
using testing::Money;
using testing::Sketch;
using Lines = std::vector<std::string>;

Books TradingBook() {
  return testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                 {"Sales", 410, kRevenue},
                                 {"Purchases", 500, kCostOfGoodsSold},
                                 {"Rent", 610, kExpense},
                                 {"Wages", 620, kExpense}});
}

IncomeStatement Year2026(const Books& books, bool exact = false) {
  return ComputeIncomeStatement(books,
                                {IncomePeriod::Between(Day(2026, 1, 1), Day(2026, 12, 31)), exact});
}

TEST(IncomeStatement, SectionsResultsAndRatiosForProfitLossAndNoRevenue) {
  Books books = TradingBook();
  AddEntry(books, Day(2026, 2, 1), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(books, Day(2026, 2, 2), "2", {{500, 600}}, {{110, 600}});
  AddEntry(books, Day(2026, 2, 3), "3", {{610, 300}}, {{110, 300}});
  AddEntry(books, Day(2026, 2, 4), "4", {{620, 40}}, {{110, 40}});
  AddEntry(books, Day(2026, 2, 5), "5", {{110, 40}}, {{620, 40}});  // wages cancel out

  const IncomeStatement is = Year2026(books);
  ASSERT_FALSE(is.Failed());
  EXPECT_EQ(is.NetProfit, Money(100));
  EXPECT_EQ(Sketch(IncomeStatementLines(is)),
            (Lines{"# REVENUE", "1 Sales 1,000", "= Balance 1,000", "# Less Cost of Goods Sold",
                   "2 Purchases 600", "= Gross Profit 400", "# EXPENSES", "3 Rent 300",
                   "= Balance 300", "== Net Profit 100"}));
  EXPECT_EQ(Caption(is.GrossRatio), "Gross Profit : 40.00%");
  EXPECT_EQ(Caption(is.NetRatio), "Net Profit : 10.00%");

  // Without cost of goods sold: no gross line, the net line is PROFIT / LOSS.
  books.AccountTypes[3] = kOtherAccount;
  const IncomeStatement plain = Year2026(books);
  EXPECT_EQ(Sketch(IncomeStatementLines(plain)),
            (Lines{"# REVENUE", "1 Sales 1,000", "= Balance 1,000", "# EXPENSES", "2 Rent 300",
                   "= Balance 300", "== PROFIT / LOSS 700"}));
  EXPECT_EQ(Caption(plain.GrossRatio), "(hidden)");
  EXPECT_EQ(Caption(plain.NetRatio), "Net Profit : 70.00%");

  // A loss: the net label does not follow the sign; the ratio captions do.
  Books lossBook = TradingBook();
  AddEntry(lossBook, Day(2026, 2, 1), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(lossBook, Day(2026, 2, 2), "2", {{500, 1200}}, {{110, 1200}});
  const IncomeStatement loss = Year2026(lossBook);
  EXPECT_EQ(Sketch(IncomeStatementLines(loss)),
            (Lines{"# REVENUE", "1 Sales 1,000", "= Balance 1,000", "# Less Cost of Goods Sold",
                   "2 Purchases 1,200", "= Gross Profit (200)", "== Net Profit (200)"}));
  EXPECT_EQ(Caption(loss.GrossRatio) + " " + Caption(loss.NetRatio),
            "Gross Loss : (20.00%) Net Loss : (20.00%)");

  // Cost of goods sold without revenue: no division by zero, both ratios hidden.
  Books noRevenue = TradingBook();
  AddEntry(noRevenue, Day(2026, 2, 2), "1", {{500, 600}}, {{110, 600}});
  const IncomeStatement cost = Year2026(noRevenue);
  EXPECT_EQ(cost.NetProfit, Money(-600));
  EXPECT_EQ(Caption(cost.GrossRatio) + Caption(cost.NetRatio), "(hidden)(hidden)");
}

TEST(IncomeStatement, PeriodEndsCountAllDatesCountsEverythingAndSubAccountsRollUp) {
  Books books = TradingBook();
  AddEntry(books, Day(2025, 12, 31), "1", {{110, 1}}, {{410, 1}});
  AddEntry(books, Day(2026, 1, 1), "2", {{110, 10}}, {{410, 10}});
  AddEntry(books, Day(2026, 12, 31), "3", {{110, 100}}, {{410, 100}});
  AddEntry(books, Day(2027, 1, 1), "4", {{110, 1000}}, {{410, 1000}});
  EXPECT_EQ(Year2026(books).NetProfit, Money(110));
  EXPECT_EQ(ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false}).NetProfit,
            Money(1111));

  // Sub-accounts roll up into their main account or stand alone.
  Books subs = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                       {"Online sales", 410.1, kRevenue},
                                       {"Sales", 410, kRevenue},
                                       {"Export sales", 420.5, kRevenue}});
  AddEntry(subs, Day(2026, 3, 1), "1", {{110, 175}}, {{410.1, 100}, {410, 50}, {420.5, 25}});
  // 420.5 has no account 420: rolled up, it is left out.
  EXPECT_EQ(Sketch(IncomeStatementLines(Year2026(subs))),
            (Lines{"# REVENUE", "1 Sales 150", "= Balance 150", "== PROFIT / LOSS 150"}));
  const IncomeStatement exact = Year2026(subs, true);
  EXPECT_EQ(Sketch(IncomeStatementLines(exact)).at(1), "1 Online sales 100");
  EXPECT_EQ(exact.NetProfit, Money(175));
}

TEST(IncomeStatement, SumsThatWouldOverflowGiveAnError) {
  Books books = TradingBook();
  books.AccountNames[6] = "Fees";
  books.AccountFolios[6] = Money(420);
  books.AccountTypes[6] = kRevenue;
  testing::AddEntryOf(books, Day(2026, 1, 2), 110, 410, testing::kHalfRange);
  ASSERT_FALSE(Year2026(books).Failed());
  testing::AddEntryOf(books, Day(2026, 1, 2), 110, 420, testing::kHalfRange);
  const IncomeStatement is = Year2026(books);  // the revenue total passes the range
  EXPECT_TRUE(is.Failed() && is.RevenueRows.empty() && is.NetProfit.IsZero() && !is.NetRatio);
}

}  // namespace
}  // namespace qv
