#include "statements/trial_balance.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "bench/book_generator.h"
#include "books/module_procedures.h"
#include "ledgers/running_balance_view.h"
#include "tests/statements/statement_sketch.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

__extension__ typedef __int128 Wide;

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;
using Rows = std::vector<std::string>;

// The rows as "folio name balance", balances with a sign (debits positive).
Rows RowsOf(const TrialBalance& tb) {
  Rows rows;
  for (const auto& row : tb.Rows)
    rows.push_back(PlainAmountText(row.RowFolio) + " " + row.Name + " " +
                   PlainAmountText(row.Balance));
  return rows;
}

const TrialBalanceRow* RowOf(const TrialBalance& tb, double folio) {
  for (const auto& row : tb.Rows)
    if (row.RowFolio == Money(folio)) return &row;
  return nullptr;
}

TEST(TrialBalance, RowsInChartOrderWithColumnsAndTheAsOfDate) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Sales", 400, kRevenue},
                               {"Rent", 600, kExpense},
                               {"Capital", 300, kCapital}});
  AddEntry(books, Day(2026, 12, 5), "1", {{110, 500}}, {{400, 500}});
  AddEntry(books, Day(2026, 12, 5), "2", {{400, 200}}, {{110, 200}});
  AddEntry(books, Day(2026, 12, 6), "3", {{600, 50}}, {{110, 50}});

  // Chart order; the free slots (folio 0) share one row; the line of the next day is left
  // out, so rent has no balance yet but keeps its row.
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 12, 5), false});
  ASSERT_FALSE(tb.Failed());
  EXPECT_EQ(RowsOf(tb), (Rows{"1 Balance b/f 0", "110 Cash 300", "400 Sales -300", "600 Rent 0",
                              "300 Capital 0", "0  0"}));
  EXPECT_EQ(std::pair(tb.DebitTotal, tb.CreditTotal), std::pair(Money(300), Money(300)));

  const TrialBalance next = ComputeTrialBalance(books, {Day(2026, 12, 6), false});
  EXPECT_EQ(std::pair(RowOf(next, 600)->Balance, RowOf(next, 110)->Balance),
            std::pair(Money(50), Money(250)));
  EXPECT_EQ(std::pair(next.DebitTotal, next.CreditTotal), std::pair(Money(300), Money(300)));
}

TEST(TrialBalance, SubAccountsRollIntoTheirMainAccountWhereverItStands) {
  // 110.1 stands before 110 in the chart.
  Books books = BookWithChart({{"Petty cash", 110.1, kCurrentAsset},
                               {"Bank", 110, kCurrentAsset},
                               {"Deposit", 110.2, kCurrentAsset},
                               {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110.1, 100}, {110.2, 40}, {110, 10}}, {{400, 150}});

  // The row of 110 opens where 110.1 stands and carries all three.
  const TrialBalance rolled = ComputeTrialBalance(books, {Day(2026, 3, 1), false});
  ASSERT_FALSE(rolled.Failed());
  EXPECT_EQ(RowsOf(rolled), (Rows{"1 Balance b/f 0", "110 Bank 150", "400 Sales -150", "0  0"}));
  const TrialBalance exact = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_EQ(RowsOf(exact), (Rows{"1 Balance b/f 0", "110.1 Petty cash 100", "110 Bank 10",
                                 "110.2 Deposit 40", "400 Sales -150", "0  0"}));

  // Without an account 110 the sub-accounts' postings appear nowhere when rolled up.
  books.AccountFolios[2] = Money(120);
  const TrialBalance orphan = ComputeTrialBalance(books, {Day(2026, 3, 1), false});
  EXPECT_EQ(RowsOf(orphan),
            (Rows{"1 Balance b/f 0", "110  0", "120 Bank 0", "400 Sales -150", "0  0"}));
  EXPECT_EQ(std::pair(orphan.DebitTotal, orphan.CreditTotal), std::pair(Amount(), Money(150)));
}

TEST(TrialBalance, AFolioGoesToItsFirstAccountFolioZeroToAFreeSlotAndAnUnknownOneNowhere) {
  Books books = BookWithChart(
      {{"Cash", 110, kCurrentAsset}, {"Cash again", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 70}}, {{400, 70}});
  AddEntry(books, Day(2026, 3, 1), "2", {{0, 5}}, {{999, 5}});
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_EQ(RowsOf(tb), (Rows{"1 Balance b/f 0", "110 Cash 70", "400 Sales -70", "0  5"}));
  EXPECT_EQ(std::pair(tb.DebitTotal, tb.CreditTotal), std::pair(Money(75), Money(70)));

  books.LastAccountIndex = -1;  // the chart editor has emptied the chart
  const TrialBalance none = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_TRUE(!none.Failed() && none.Rows.empty());
}

TEST(TrialBalance, SumsThatWouldOverflowGiveAnErrorNotAWrappedFigure) {
  const Books chart = BookWithChart({{"Cash", 110, kCurrentAsset},
                                     {"Bank", 120, kCurrentAsset},
                                     {"Sales", 400, kRevenue},
                                     {"Fees", 410, kRevenue}});
  auto withEntries = [&](std::initializer_list<std::pair<double, double>> entries) {
    Books books = chart;
    for (const auto& [debit, credit] : entries)
      testing::AddEntryOf(books, Day(2026, 1, 2), debit, credit, testing::kHalfRange);
    return ComputeTrialBalance(books, {Day(2026, 1, 2), false});
  };
  EXPECT_FALSE(withEntries({{110, 400}}).Failed());
  // Each account fits, the column totals do not.
  const TrialBalance totals = withEntries({{110, 400}, {120, 410}});
  EXPECT_TRUE(totals.Failed() && totals.Rows.empty() && totals.DebitTotal.IsZero());
  // One account's debits pass the range.
  EXPECT_TRUE(withEntries({{110, 400}, {110, 410}}).Failed());
}

// The balances of a generated book against sums taken line by line here, and against the
// last figure of each account's running-balance ledger on the same date.
TEST(TrialBalance, GeneratedBookRowsAreTheSumsOfTheirPostingsAndEndTheRunningBalances) {
  const Books books = GenerateBook({.lines = 20000, .accounts = 300});
  const LedgerDates dates = DefaultLedgerDates(books);
  const DaySerial asOf = books.PostingLines[12000].LineDate;
  std::set<int64_t> chartFolios;
  for (int j = 0; j <= books.LastAccountIndex; ++j)
    chartFolios.insert(books.AccountFolios[static_cast<std::size_t>(j)].Raw());

  for (const bool exact : {false, true}) {
    SCOPED_TRACE(exact ? "exact folios" : "sub-accounts rolled up");
    std::map<int64_t, Wide> expected;
    for (const PostingLine& line : books.PostingLines) {
      const int64_t key = exact ? line.LineFolio.Raw() : TruncFolio(line.LineFolio, 0).Raw();
      if (line.LineDate <= asOf && chartFolios.count(key))
        expected[key] += line.Side == kDebit ? line.Amount.Raw() : -line.Amount.Raw();
    }
    const TrialBalance tb = ComputeTrialBalance(books, {asOf, exact});
    ASSERT_FALSE(tb.Failed());
    EXPECT_EQ(tb.DebitTotal, tb.CreditTotal);
    EXPECT_GT(tb.DebitTotal, Amount());
    std::size_t shown = 0;
    for (const TrialBalanceRow& row : tb.Rows) {
      const auto it = expected.find(row.RowFolio.Raw());
      EXPECT_TRUE((it == expected.end() ? 0 : it->second) == row.Balance.Raw())
          << PlainAmountText(row.RowFolio);
      shown += row.Shown();
      if (row.RowFolio <= Folio()) continue;  // the free slots
      LedgerOptions options;
      options.Account = row.RowFolio;
      options.WithSubAccounts = !exact;
      options.From = dates.First;
      options.To = asOf;
      const RunningBalanceView view = ComputeRunningBalance(books, options);
      ASSERT_TRUE(view.Message.empty());
      EXPECT_EQ(view.Closing, row.Balance) << row.Name;
    }
    std::erase_if(expected, [](const auto& kv) { return kv.second == 0; });
    EXPECT_EQ(shown, expected.size());  // every account with a balance has a row
  }
}

}  // namespace
}  // namespace qv
