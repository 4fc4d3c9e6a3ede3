#include "bookfiles/rollover.h"

#include <gtest/gtest.h>

#include <map>

#include "bench/book_generator.h"
#include "tests/bookfiles/book_compare.h"
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

// What changed besides the journal, its entry counter and the change stamp ("" for nothing).
std::string ChangedBesidesTheJournal(const Books& before, Books after) {
  after.PostingLines = before.PostingLines;
  after.EntryNumbers = before.EntryNumbers;
  after.EntryCounter = before.EntryCounter;
  after.BooksStamp = before.BooksStamp;
  return testing::FirstChange(before, after);
}

using Triples = std::vector<std::tuple<int, int64_t, int64_t>>;
// The journal as (side, folio, amount) triples, checking every line's date, number, notes
// and reconciled mark on the way.
Triples Journal(const Books& books, DaySerial today) {
  Triples out;
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
// Entries of a folio against folio 1, as (folio, amount) with the folio's side first: a
// positive amount debits the folio, a negative one credits it.
Triples Expected(std::initializer_list<std::pair<double, double>> entries) {
  Triples out;
  for (const auto& [folio, amount] : entries) {
    const int64_t f = Money(folio).Raw(), one = Money(1).Raw(), a = Money(std::abs(amount)).Raw();
    if (amount > 0)
      out.insert(out.end(), {{kDebit, f, a}, {kCredit, one, a}});
    else
      out.insert(out.end(), {{kDebit, one, a}, {kCredit, f, a}});
  }
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

TEST(Rollover, BringsTheExampleBalancesForwardAndCarriesItOverWithTheProfitShared) {
  const DaySerial today = Day(2026, 1, 1);
  Books books = ExampleBook();
  const auto totals = TrialTotals(books);
  const Books before = books;
  RolloverResult result = BringBalancesForward(books, today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.EntriesMade, 3);
  EXPECT_EQ(Journal(books, today), Expected({{110, 1300}, {300, -1000}, {400, -300}}));
  EXPECT_EQ(TrialTotals(books), totals);
  EXPECT_EQ(totals.first, Money(1300).Raw());
  EXPECT_EQ(books.EntryCounter, 3);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp + 1);
  EXPECT_EQ(ChangedBesidesTheJournal(before, books), "");
  EXPECT_EQ(CheckBooks(books), std::nullopt);

  books = ExampleBook();
  result = CarryAccountsOver(books, Money(300), today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.EntriesMade, 4);
  EXPECT_EQ(Journal(books, today), Expected({{110, 1300}, {300, -1000}, {300, -150}, {310, -150}}))
      << "no sales line";
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
  EXPECT_EQ(Journal(alone, Day(2026, 1, 1)), Expected({{110, 300}}));
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
  const RolloverResult result = BringBalancesForward(books, Day(2026, 1, 1));
  EXPECT_FALSE(result.Done);
  EXPECT_FALSE(result.Problem.empty());
  EXPECT_EQ(testing::FirstChange(before, books), "");

  // A balance of exactly the most negative amount has no positive amount to carry.
  books.PostingLines[0].Amount = books.PostingLines[2].Amount = Amount::FromRaw(0);
  books.PostingLines[1].Amount = Amount::Max();
  books.PostingLines[3].Amount = Amount::FromRaw(1);
  before = books;
  EXPECT_FALSE(CarryAccountsOver(books, Amount(), Day(2026, 1, 1)).Done);
  EXPECT_EQ(testing::FirstChange(before, books), "");

  // Nor can a loss that large be shared.
  Books example = ExampleBook();
  EXPECT_FALSE(CarryAccountsOver(example, Amount::Min(), Day(2026, 1, 1)).Done);
  EXPECT_EQ(testing::FirstChange(ExampleBook(), example), "");
}

TEST(Rollover, SharesAreEqualToTheCentWithTheRemainderFirst) {
  const std::tuple<double, int, std::vector<int64_t>> cases[] = {
      {300, 2, {1500000, 1500000}},
      {100, 3, {333400, 333300, 333300}},
      {-100, 3, {-333400, -333300, -333300}},
      {0.01, 3, {100, 0, 0}},
      {1.2345, 2, {6245, 6100}},
      {5, 0, {}}};
  for (const auto& [total, count, expected] : cases) {
    std::vector<int64_t> raw;
    for (Amount a : EqualShares(Money(total), count)) raw.push_back(a.Raw());
    EXPECT_EQ(raw, expected) << total << " / " << count;
  }
  EXPECT_EQ(EqualShares(Amount::Max(), 7).size(), 7u);
}

class RolloverInvariants : public ::testing::TestWithParam<uint64_t> {
 protected:
  Books Generated() const {
    Books books = GenerateBook({.lines = 4000, .accounts = 60, .seed = GetParam()});
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
  EXPECT_EQ(ChangedBesidesTheJournal(before, books), "");
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
  auto after = Balances(books);
  std::map<int64_t, int64_t> rise;
  for (std::size_t k = 0; k < capital.size(); ++k) rise[capital[k]] += shares[k].Raw();
  for (const auto& [folio, v] : balances) {
    if (folio == 0 || folio == Money(1).Raw()) continue;
    EXPECT_EQ(after[folio], income(folio) ? 0 : v - rise[folio]) << folio;
  }
  int64_t debits = 0, credits = 0;
  for (const PostingLine& l : books.PostingLines)
    (l.Side == kDebit ? debits : credits) += l.Amount.Raw();
  EXPECT_EQ(debits, credits);
  // Folio 1 keeps its balance: the carried balances and the profit offset each other.
  EXPECT_EQ(after[Money(1).Raw()], balances.at(Money(1).Raw()));
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RolloverInvariants, ::testing::Values(1u, 7u, 42u));

}  // namespace
}  // namespace qv
