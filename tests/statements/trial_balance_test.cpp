#include "statements/trial_balance.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "bench/book_generator.h"
#include "books/module_procedures.h"
#include "statements/statement_texts.h"
#include "tests/statements/statement_sketch.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

__extension__ typedef __int128 Wide;

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;

// The rows as "folio name balance", balances with a sign (debits positive).
std::vector<std::string> RowsOf(const TrialBalance& tb) {
  std::vector<std::string> rows;
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
  EXPECT_EQ(RowsOf(tb),
            (std::vector<std::string>{"1 Balance b/f 0", "110 Cash 300", "400 Sales -300",
                                      "600 Rent 0", "300 Capital 0", "0  0"}));
  const TrialBalanceRow& cash = tb.Rows[1];
  EXPECT_TRUE(cash.Shown() && cash.IsDebit() && !cash.IsBroughtForward());
  EXPECT_EQ(TrialAmountText(cash.Balance, 2, UsEnglishLocale()), "300.00");
  EXPECT_TRUE(tb.Rows[2].Shown() && !tb.Rows[2].IsDebit());
  EXPECT_FALSE(tb.Rows[3].Shown());
  EXPECT_TRUE(tb.Rows[0].IsBroughtForward());
  EXPECT_EQ(tb.DebitTotal, Money(300));
  EXPECT_EQ(tb.CreditTotal, Money(300));

  const TrialBalance next = ComputeTrialBalance(books, {Day(2026, 12, 6), false});
  EXPECT_EQ(RowOf(next, 600)->Balance, Money(50));
  EXPECT_EQ(RowOf(next, 110)->Balance, Money(250));
  EXPECT_EQ(next.DebitTotal, Money(300));
  EXPECT_EQ(next.CreditTotal, Money(300));
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
  EXPECT_EQ(RowsOf(rolled), (std::vector<std::string>{"1 Balance b/f 0", "110 Bank 150",
                                                      "400 Sales -150", "0  0"}));
  const TrialBalance exact = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_EQ(RowsOf(exact),
            (std::vector<std::string>{"1 Balance b/f 0", "110.1 Petty cash 100", "110 Bank 10",
                                      "110.2 Deposit 40", "400 Sales -150", "0  0"}));
  EXPECT_EQ(exact.DebitTotal, Money(150));

  // Without an account 110 the sub-accounts' postings appear nowhere when rolled up.
  books.AccountFolios[2] = Money(120);
  const TrialBalance orphan = ComputeTrialBalance(books, {Day(2026, 3, 1), false});
  EXPECT_EQ(RowOf(orphan, 110)->Balance, Amount());
  EXPECT_EQ(RowOf(orphan, 110)->Name, "");
  EXPECT_EQ(RowOf(orphan, 120)->Balance, Amount());  // the line to 110 lost its account too
  EXPECT_EQ(orphan.DebitTotal, Amount());
  EXPECT_EQ(orphan.CreditTotal, Money(150));
}

TEST(TrialBalance, AttributionGoesToTheFirstAccountOfAFolioAndFolioZeroToAFreeSlot) {
  Books books = BookWithChart(
      {{"Cash", 110, kCurrentAsset}, {"Cash again", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 70}}, {{400, 70}});
  AddEntry(books, Day(2026, 3, 1), "2", {{0, 5}}, {{999, 5}});  // no account, unknown folio
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  // A nameless row for folio 0; the line to folio 999 is left out.
  EXPECT_EQ(RowsOf(tb),
            (std::vector<std::string>{"1 Balance b/f 0", "110 Cash 70", "400 Sales -70", "0  5"}));
  EXPECT_EQ(tb.DebitTotal, Money(75));
  EXPECT_EQ(tb.CreditTotal, Money(70));

  books.LastAccountIndex = -1;  // the chart editor has emptied the chart
  const TrialBalance none = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_FALSE(none.Failed());
  EXPECT_TRUE(none.Rows.empty());
  EXPECT_EQ(none.DebitTotal, Amount());
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
  EXPECT_TRUE(totals.Failed());
  EXPECT_TRUE(totals.Rows.empty());
  EXPECT_EQ(totals.DebitTotal, Amount());
  // One account's debits pass the range.
  EXPECT_TRUE(withEntries({{110, 400}, {110, 410}}).Failed());
}

// The balances of a generated book, checked against sums taken line by line here.
TEST(TrialBalance, GeneratedBookBalancesAndEveryRowIsTheSumOfItsPostings) {
  const Books books = GenerateBook({.lines = 20000, .accounts = 300});
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
    }
    std::erase_if(expected, [](const auto& kv) { return kv.second == 0; });
    EXPECT_EQ(shown, expected.size());  // every account with a balance has a row
  }
}

}  // namespace
}  // namespace qv
