#include "bookfiles/rollover.h"

#include <gtest/gtest.h>

#include <map>

#include "bench/book_generator.h"
#include "books/module_procedures.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;

// The balance (debits minus credits) of every exact folio, folio 0 included.
std::map<int64_t, int64_t> Balances(const Books& books) {
  std::map<int64_t, int64_t> out;
  for (const PostingLine& l : books.PostingLines)
    out[l.LineFolio.Raw()] += l.Side == kDebit ? l.Amount.Raw() : -l.Amount.Raw();
  return out;
}
int64_t BalanceOf(const Books& books, double folio) {
  const auto all = Balances(books);
  const auto it = all.find(Money(folio).Raw());
  return it == all.end() ? 0 : it->second;
}

// The trial balance's totals as the statement computes them with sub-accounts rolled up:
// each line goes to the first chart account whose folio is the line's integer part.
std::pair<int64_t, int64_t> TrialTotals(const Books& books) {
  std::map<int, int64_t> rows;
  for (const PostingLine& l : books.PostingLines)
    if (auto i = AccountIndexOfFolio(books, TruncFolio(l.LineFolio, 0)))
      rows[*i] += l.Side == kDebit ? l.Amount.Raw() : -l.Amount.Raw();
  int64_t debit = 0, credit = 0;
  for (const auto& [i, v] : rows) (v > 0 ? debit : credit) += v > 0 ? v : -v;
  return {debit, credit};
}

struct Line {
  int side;
  double folio;
  double amount;
};
// The journal as (side, folio, amount) triples, checking every line's date, number, notes
// and reconciled mark on the way.
std::vector<std::tuple<int, int64_t, int64_t>> Journal(const Books& books, DaySerial today) {
  std::vector<std::tuple<int, int64_t, int64_t>> out;
  for (std::size_t i = 0; i < books.PostingLines.size(); ++i) {
    const PostingLine& l = books.PostingLines[i];
    EXPECT_EQ(l.LineDate, today) << i;
    EXPECT_EQ(books.EntryNumbers[i], "B/D") << i;
    EXPECT_EQ(l.Notes, i % 2 ? "Balance b/f" : "") << i;
    EXPECT_EQ(l.Reconciled, 0) << i;
    out.emplace_back(l.Side, l.LineFolio.Raw(), l.Amount.Raw());
  }
  return out;
}
std::vector<std::tuple<int, int64_t, int64_t>> Expected(std::initializer_list<Line> lines) {
  std::vector<std::tuple<int, int64_t, int64_t>> out;
  for (const Line& l : lines) out.emplace_back(l.side, Money(l.folio).Raw(), Money(l.amount).Raw());
  return out;
}

// Cash 1000 Dr / capital 1000 Cr, then cash 300 Dr / sales 300 Cr, with a second capital
// account that has no postings.
Books ExampleBook() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Capital", 300, kCapital},
                               {"Sales", 400, kRevenue},
                               {"Partner capital", 310, kCapital}});
  AddEntry(books, Day(2025, 1, 2), "1", {{110, 1000}}, {{300, 1000}});
  AddEntry(books, Day(2025, 3, 4), "2", {{110, 300}}, {{400, 300}}, "Sales");
  books.PostingLines[1].Reconciled = books.PostingLines[0].Reconciled = 1;
  return books;
}

TEST(Rollover, BringsTheExampleBalancesForward) {
  Books books = ExampleBook();
  const auto totals = TrialTotals(books);
  const Books before = books;
  const DaySerial today = Day(2026, 1, 1);

  const RolloverResult result = BringBalancesForward(books, today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.EntriesMade, 3);
  EXPECT_EQ(Journal(books, today), Expected({{kDebit, 110, 1300}, {kCredit, 1, 1300},
                                             {kDebit, 1, 1000}, {kCredit, 300, 1000},
                                             {kDebit, 1, 300}, {kCredit, 400, 300}}));
  EXPECT_EQ(TrialTotals(books), totals);
  EXPECT_EQ(totals.first, Money(1300).Raw());
  EXPECT_EQ(books.EntryCounter, 3);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp + 1);
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  EXPECT_EQ(books.AccountNames, before.AccountNames);
  EXPECT_EQ(books.PreparedEntryBuffer, before.PreparedEntryBuffer);
}

TEST(Rollover, CarriesTheExampleOverWithTheProfitShared) {
  Books books = ExampleBook();
  const DaySerial today = Day(2026, 1, 1);

  const RolloverResult result = CarryAccountsOver(books, Money(300), today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.EntriesMade, 4);
  EXPECT_EQ(Journal(books, today), Expected({{kDebit, 110, 1300}, {kCredit, 1, 1300},
                                             {kDebit, 1, 1000}, {kCredit, 300, 1000},
                                             {kDebit, 1, 150}, {kCredit, 300, 150},
                                             {kDebit, 1, 150}, {kCredit, 310, 150}}));
  EXPECT_EQ(BalanceOf(books, 110), Money(1300).Raw());
  EXPECT_EQ(BalanceOf(books, 300), Money(-1150).Raw());
  EXPECT_EQ(BalanceOf(books, 310), Money(-150).Raw());
  EXPECT_EQ(BalanceOf(books, 400), 0) << "no sales line";
  EXPECT_EQ(BalanceOf(books, 1), 0);
  EXPECT_EQ(books.EntryCounter, 4);
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

TEST(Rollover, ALossIsDebitedAndWithoutCapitalStaysOnTheBalanceAccount) {
  // A loss of 100 over three capital accounts: 33.34 to the first, 33.33 to the others.
  Books books = ExampleBook();
  books.AccountNames[5] = "Reserve";
  books.AccountFolios[5] = Money(320);
  books.AccountTypes[5] = kCapital;
  ASSERT_TRUE(CarryAccountsOver(books, Money(-100), Day(2026, 1, 1)).Done);
  EXPECT_EQ(BalanceOf(books, 300), Money(-1000 + 33.34).Raw());
  EXPECT_EQ(BalanceOf(books, 310), Money(33.33).Raw());
  EXPECT_EQ(BalanceOf(books, 320), Money(33.33).Raw());
  EXPECT_EQ(BalanceOf(books, 1), Money(-1300 + 1000 - 100).Raw());

  // No capital account: no share entry; folio 1 holds the profit and the journal balances.
  Books alone = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(alone, Day(2025, 1, 2), "1", {{110, 300}}, {{400, 300}});
  const RolloverResult result = CarryAccountsOver(alone, Money(300), Day(2026, 1, 1));
  ASSERT_TRUE(result.Done);
  EXPECT_EQ(result.EntriesMade, 1);
  EXPECT_EQ(BalanceOf(alone, 110), Money(300).Raw());
  EXPECT_EQ(BalanceOf(alone, 1), Money(-300).Raw());
  EXPECT_EQ(CheckBooks(alone), std::nullopt);
}

TEST(Rollover, FindsIncomeAccountsByExactFolioElseByTheIntegerPart) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Sales", 400, kRevenue},
                               {"Sales deposits", 400.2, kCurrentLiability}});
  // 400.1 has no account of its own and rolls up to Sales; 400.2 is a liability; 999 is in
  // no chart at all and is carried rather than lost.
  AddEntry(books, Day(2025, 1, 2), "1", {{110, 60}}, {{400.1, 10}, {400.2, 20}, {999, 30}});
  ASSERT_TRUE(CarryAccountsOver(books, Money(10), Day(2026, 1, 1)).Done);
  EXPECT_EQ(BalanceOf(books, 400.1), 0);
  EXPECT_EQ(BalanceOf(books, 400.2), Money(-20).Raw());
  EXPECT_EQ(BalanceOf(books, 999), Money(-30).Raw());
  EXPECT_EQ(BalanceOf(books, 110), Money(60).Raw());
}

TEST(Rollover, WithNothingToCarryStartsAFreshJournal) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Bank", 120, kCurrentAsset}});
  AddEntry(books, Day(2025, 1, 2), "7", {{110, 50}}, {{120, 50}});
  AddEntry(books, Day(2025, 1, 3), "8", {{120, 50}}, {{110, 50}});
  books.EntryCounter = 9;
  const int32_t stamp = books.BooksStamp;
  const RolloverResult result = BringBalancesForward(books, Day(2026, 2, 1));
  ASSERT_TRUE(result.Done);
  EXPECT_EQ(result.EntriesMade, 0);
  ASSERT_EQ(books.LastLineIndex(), 1);
  EXPECT_TRUE(books.PostingLines[0].LineFolio.IsZero() && books.PostingLines[1].Notes == "_");
  EXPECT_EQ(books.PostingLines[0].LineDate, Day(2026, 2, 1));
  EXPECT_EQ(books.EntryCounter, 1);
  EXPECT_GT(books.BooksStamp, stamp);
}

TEST(Rollover, ABalanceTooLargeLeavesTheBooksUnchanged) {
  // Two debits whose sum leaves the amount's range.
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Bank", 120, kCurrentAsset}});
  AddEntry(books, Day(2025, 1, 2), "1", {{110, 0}}, {{120, 0}});
  AddEntry(books, Day(2025, 1, 2), "2", {{110, 0}}, {{120, 0}});
  books.PostingLines[0].Amount = books.PostingLines[2].Amount = Amount::Max();
  Books before = books;
  RolloverResult result = BringBalancesForward(books, Day(2026, 1, 1));
  EXPECT_FALSE(result.Done);
  EXPECT_FALSE(result.Problem.empty());
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  EXPECT_EQ(books.EntryCounter, before.EntryCounter);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp);

  // A balance of exactly the most negative amount has no positive amount to carry.
  books.PostingLines[0].Amount = books.PostingLines[2].Amount = Amount::FromRaw(0);
  books.PostingLines[1].Amount = Amount::Max();
  books.PostingLines[3].Amount = Amount::FromRaw(1);
  before = books;
  EXPECT_FALSE(CarryAccountsOver(books, Amount(), Day(2026, 1, 1)).Done);
  EXPECT_EQ(books.PostingLines, before.PostingLines);

  // Nor can a loss that large be shared.
  Books example = ExampleBook();
  EXPECT_FALSE(CarryAccountsOver(example, Amount::Min(), Day(2026, 1, 1)).Done);
  EXPECT_EQ(example.PostingLines, ExampleBook().PostingLines);
}

TEST(Rollover, SharesAreEqualToTheCentWithTheRemainderFirst) {
  auto raw = [](const std::vector<Amount>& shares) {
    std::vector<int64_t> out;
    for (Amount a : shares) out.push_back(a.Raw());
    return out;
  };
  EXPECT_EQ(raw(EqualShares(Money(300), 2)), (std::vector<int64_t>{1500000, 1500000}));
  EXPECT_EQ(raw(EqualShares(Money(100), 3)), (std::vector<int64_t>{333400, 333300, 333300}));
  EXPECT_EQ(raw(EqualShares(Money(-100), 3)), (std::vector<int64_t>{-333400, -333300, -333300}));
  EXPECT_EQ(raw(EqualShares(Money(0.01), 3)), (std::vector<int64_t>{100, 0, 0}));
  EXPECT_EQ(raw(EqualShares(Money(1.2345), 2)), (std::vector<int64_t>{6245, 6100}));
  EXPECT_TRUE(EqualShares(Money(5), 0).empty());
  EXPECT_EQ(raw(EqualShares(Amount::Max(), 7)).size(), 7u);
}

class RolloverInvariants : public ::testing::TestWithParam<uint64_t> {
 protected:
  Books Generated() const {
    GeneratorOptions options;
    options.lines = 4000;
    options.accounts = 60;
    options.seed = GetParam();
    Books books = GenerateBook(options);
    // Postings to the Balance b/f account, and a second line on one folio of an entry.
    testing::AddEntry(books, Day(2025, 6, 1), "X", {{1, 250}}, {{101, 200}, {101, 50}});
    return books;
  }
};

TEST_P(RolloverInvariants, BroughtForwardKeepsEveryBalance) {
  Books books = Generated();
  const auto balances = Balances(books);
  const auto totals = TrialTotals(books);
  const Books before = books;
  ASSERT_TRUE(BringBalancesForward(books, Day(2026, 1, 1)).Done);

  auto after = Balances(books);
  std::erase_if(after, [](const auto& kv) { return kv.second == 0; });
  auto expected = balances;
  std::erase_if(expected, [](const auto& kv) { return kv.second == 0 || kv.first == 0; });
  EXPECT_EQ(after, expected);
  EXPECT_EQ(TrialTotals(books), totals);
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  EXPECT_EQ(books.EntryCounter, static_cast<int32_t>(books.PostingLines.size() / 2));
  // Everything but the journal, its counter and the stamp is untouched.
  EXPECT_EQ(books.AccountFolios, before.AccountFolios);
  EXPECT_EQ(books.AccountTypes, before.AccountTypes);
  EXPECT_EQ(books.PreparedGroups, before.PreparedGroups);
  EXPECT_EQ(books.BusinessName, before.BusinessName);
}

TEST_P(RolloverInvariants, CarriedOverClosesIncomeIntoCapital) {
  Books books = Generated();
  const auto balances = Balances(books);
  // The profit is the credit balance of the income accounts.
  auto income = [&](int64_t folio) {
    auto i = AccountIndexOfFolio(books, Folio::FromRaw(folio));
    if (!i) i = AccountIndexOfFolio(books, TruncFolio(Folio::FromRaw(folio), 0));
    const uint8_t t = i ? books.AccountTypes[static_cast<std::size_t>(*i)] : 0;
    return i && (t == kCostOfGoodsSold || t == kRevenue || t == kExpense);
  };
  int64_t profit = 0;
  for (const auto& [folio, v] : balances)
    if (folio != 0 && income(folio)) profit -= v;
  std::vector<int64_t> capital;
  for (int i = 0; i <= books.LastAccountIndex; ++i)
    if (books.AccountTypes[static_cast<std::size_t>(i)] == kCapital &&
        books.AccountFolios[static_cast<std::size_t>(i)].Raw() > Money(1).Raw())
      capital.push_back(books.AccountFolios[static_cast<std::size_t>(i)].Raw());
  ASSERT_GE(capital.size(), 2u);
  const std::vector<Amount> shares =
      EqualShares(Amount::FromRaw(profit), static_cast<int>(capital.size()));

  ASSERT_TRUE(CarryAccountsOver(books, Amount::FromRaw(profit), Day(2026, 1, 1)).Done);
  const auto after = Balances(books);
  auto balanceAfter = [&](int64_t folio) {
    const auto it = after.find(folio);
    return it == after.end() ? 0 : it->second;
  };
  std::map<int64_t, int64_t> rise;
  for (std::size_t k = 0; k < capital.size(); ++k) rise[capital[k]] += shares[k].Raw();
  for (const auto& [folio, v] : balances) {
    if (folio == 0 || folio == Money(1).Raw()) continue;
    if (income(folio))
      EXPECT_EQ(balanceAfter(folio), 0) << folio;
    else
      EXPECT_EQ(balanceAfter(folio), v - rise[folio]) << folio;
  }
  int64_t debits = 0, credits = 0;
  for (const PostingLine& l : books.PostingLines) (l.Side == kDebit ? debits : credits) += l.Amount.Raw();
  EXPECT_EQ(debits, credits);
  // Folio 1 keeps its balance: the carried balances and the profit offset each other.
  EXPECT_EQ(balanceAfter(Money(1).Raw()), balances.at(Money(1).Raw()));
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RolloverInvariants, ::testing::Values(1u, 7u, 42u));

}  // namespace
}  // namespace qv
