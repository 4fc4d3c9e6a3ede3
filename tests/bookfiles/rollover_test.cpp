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
using Balances = std::map<int64_t, int64_t>;

const DaySerial kNewYear = Day(2026, 1, 1);
const int64_t kOne = Money(1).Raw();

// The balance (debits minus credits) of every exact folio, folio 0 included; zeros left out.
Balances BalancesOf(const Books& books) {
  Balances out;
  for (const PostingLine& l : books.PostingLines)
    out[l.LineFolio.Raw()] += l.Side == kDebit ? l.Amount.Raw() : -l.Amount.Raw();
  std::erase_if(out, [](const auto& kv) { return kv.second == 0; });
  return out;
}

// Checks an opening journal dated `date`, and that nothing but it, its counter and the stamp
// changed.
void ExpectOpeningJournal(const Books& before, const Books& after, DaySerial date) {
  for (std::size_t i = 0; i < after.PostingLines.size(); ++i) {
    const PostingLine& l = after.PostingLines[i];
    ASSERT_EQ(l.LineDate, date) << i;
    ASSERT_EQ(after.EntryNumbers[i], "B/D") << i;
    ASSERT_EQ(l.Notes, i % 2 ? "Balance b/f" : "") << i;
    ASSERT_EQ(l.Reconciled, 0) << i;
    ASSERT_TRUE((i % 2 == 0) == (l.Side == kDebit)) << i;
    ASSERT_TRUE(l.LineFolio.Raw() == kOne || after.PostingLines[i ^ 1].LineFolio.Raw() == kOne);
  }
  EXPECT_EQ(after.EntryCounter, static_cast<int32_t>(after.PostingLines.size() / 2));
  EXPECT_GT(after.BooksStamp, before.BooksStamp);
  Books same = after;
  same.PostingLines = before.PostingLines;
  same.EntryNumbers = before.EntryNumbers;
  same.EntryCounter = before.EntryCounter;
  same.BooksStamp = before.BooksStamp;
  EXPECT_EQ(testing::FirstChange(before, same), "");
  EXPECT_EQ(CheckBooks(after), std::nullopt);
}

// Capital 1000, sales 300, drawings 50, a line without an account on each side of one entry,
// a sub-account 150.5 of type expense under the asset 150, and a partner's capital of 10.
Books ExampleBook() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Stock", 150, kCurrentAsset},
                               {"Stock losses", 150.5, kExpense},
                               {"Capital", 300, kCapital},
                               {"Drawings", 310, kCapital},
                               {"Partner", 320, kCapital},
                               {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2025, 1, 2), "1", {{110, 1000}}, {{300, 1000}});
  AddEntry(books, Day(2025, 3, 4), "2", {{110, 300}}, {{400, 300}}, "Sales");
  AddEntry(books, Day(2025, 4, 1), "3", {{310, 50}}, {{110, 50}});
  AddEntry(books, Day(2025, 5, 1), "4", {{150.5, 20}, {0, 7}}, {{150, 20}, {0, 7}});
  AddEntry(books, Day(2025, 6, 1), "5", {{0, 4}}, {{110, 4}});
  AddEntry(books, Day(2025, 6, 2), "6", {{110, 10}}, {{320, 10}});
  return books;
}

TEST(Rollover, BroughtForwardKeepsEveryBalanceAndCarryOverSharesTheClosedNet) {
  Books forward = ExampleBook();
  ASSERT_TRUE(BringBalancesForward(forward, kNewYear).Done);
  // The new period starts the day after the old journal's last date.
  ExpectOpeningJournal(ExampleBook(), forward, Day(2025, 6, 3));
  EXPECT_EQ(BalancesOf(forward), BalancesOf(ExampleBook())) << "folio 0 included";
  Books books = ExampleBook();
  const Books before = books;
  const RolloverResult result = CarryAccountsOver(books, kNewYear);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.EntriesMade, 9);
  // Sales 300, shared by the two capital accounts with a credit balance (the drawings take
  // none). The stock losses of sub-account 150.5 count in the asset Stock, as the statements
  // count them, so they are carried.
  EXPECT_EQ(result.ProfitShared, Money(300));
  ExpectOpeningJournal(before, books, Day(2025, 6, 3));
  Balances expected = BalancesOf(before);
  expected.erase(Money(400).Raw());
  expected[Money(300).Raw()] -= Money(150).Raw();
  expected[Money(320).Raw()] -= Money(150).Raw();
  EXPECT_EQ(BalancesOf(books), expected) << "folio 1 and every other folio keep their balance";
  // Without a capital account in credit the first capital account, or else folio 1, takes the
  // profit. Sales of 100 against cash; the capital accounts (if any) have no postings.
  const std::pair<std::vector<testing::AccountSpec>, double> cases[] = {
      {{{"Drawings", 310, kCapital}, {"Capital", 300, kCapital}}, 310}, {{}, 1}};
  for (const auto& [capital, taker] : cases) {
    Books small = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
    for (std::size_t i = 0; i < capital.size(); ++i) {
      small.AccountNames[3 + i] = capital[i].name;
      small.AccountFolios[3 + i] = Money(capital[i].folio);
      small.AccountTypes[3 + i] = static_cast<uint8_t>(capital[i].type);
    }
    AddEntry(small, Day(2025, 1, 2), "1", {{110, 100}}, {{400, 100}});
    ASSERT_TRUE(CarryAccountsOver(small, kNewYear).Done);
    EXPECT_EQ(BalancesOf(small), (Balances{{Money(110).Raw(), Money(100).Raw()},
                                           {Money(taker).Raw(), Money(-100).Raw()}}));
  }
}

TEST(Rollover, UnbalancedEmptyOrTooLargeJournalsAndEqualShares) {
  Books books = ExampleBook();
  books.PostingLines[0].Amount = Money(1012.5);
  EXPECT_EQ(JournalDifference(books), Money(12.5));
  EXPECT_EQ(JournalDifference(ExampleBook()), Amount());
  Balances expected = BalancesOf(books);
  expected[kOne] = -Money(12.5).Raw();
  ASSERT_TRUE(BringBalancesForward(books, kNewYear).Done);
  EXPECT_EQ(BalancesOf(books), expected);
  // With nothing to carry a fresh journal starts, on the day after the old one ends.
  Books empty = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Bank", 120, kCurrentAsset}});
  AddEntry(empty, Day(2025, 1, 2), "7", {{110, 50}}, {{120, 50}});
  AddEntry(empty, Day(2025, 1, 3), "8", {{120, 50}}, {{110, 50}});
  const RolloverResult result = BringBalancesForward(empty, Day(2026, 2, 1));
  ASSERT_TRUE(result.Done);
  EXPECT_EQ(std::pair(result.EntriesMade, empty.EntryCounter), std::pair(0, 1));
  EXPECT_EQ(empty.PostingLines, NewBooks(Day(2025, 1, 4)).PostingLines);
  // A balance or profit too large changes nothing.
  Books large = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Bank", 120, kCurrentAsset},
                               {"Sales", 400, kRevenue},
                               {"Fees", 410, kRevenue}});
  AddEntry(large, Day(2025, 1, 2), "1", {{110, 0}}, {{400, 0}});
  AddEntry(large, Day(2025, 1, 2), "2", {{120, 0}}, {{410, 0}});
  for (PostingLine& line : large.PostingLines) line.Amount = Amount::Max();
  // Each balance fits, but not the profit of both sales accounts.
  Books carried = large;
  EXPECT_FALSE(CarryAccountsOver(carried, kNewYear).Done);
  EXPECT_EQ(testing::FirstChange(large, carried), "");
  // Nor a balance of two debits.
  large.PostingLines[2].LineFolio = Money(110);
  const Books before = large;
  const RolloverResult refused = BringBalancesForward(large, kNewYear);
  EXPECT_FALSE(refused.Done || refused.Problem.empty());
  EXPECT_EQ(testing::FirstChange(before, large), "");
  // Shares are equal to the cent, the remainder first.
  auto shares = [](double total, int count) {
    std::vector<int64_t> raw;
    for (Amount a : EqualShares(Money(total), count)) raw.push_back(a.Raw());
    return raw;
  };
  using Raw = std::vector<int64_t>;
  EXPECT_EQ(shares(300, 2), (Raw{1500000, 1500000}));
  EXPECT_EQ(shares(100, 3), (Raw{333400, 333300, 333300}));
  EXPECT_EQ(shares(-100, 3), (Raw{-333400, -333300, -333300}));
  EXPECT_EQ(shares(0.01, 3), (Raw{100, 0, 0}));
  EXPECT_EQ(shares(1.2345, 2), (Raw{6245, 6100}));
  EXPECT_EQ(shares(5, 0), Raw{});
  EXPECT_EQ(EqualShares(Amount::Max(), 7).size(), 7u);
}

// The new lines are dated the day after the old journal's last date, lines that post nothing
// left aside; today when that day is later than today or when nothing was posted.
TEST(Rollover, NewLinesStartTheDayAfterTheJournalEndsAndNeverAfterToday) {
  using RollOver = RolloverResult (*)(Books&, DaySerial);
  for (const RollOver rollOver : {&BringBalancesForward, &CarryAccountsOver}) {
    // The example ends on 2 June 2025; an entry begun on 24 December and left blank, and
    // lines of 0 in a dated entry, post nothing.
    Books blankAtEnd = ExampleBook();
    AddEntry(blankAtEnd, Day(2025, 7, 1), "7", {{110, 0}}, {{400, 0}});
    for (const PostingLine& line : EmptyEntry(Day(2025, 12, 24)))
      blankAtEnd.AppendLine(line, EntryNumber("8"));
    const std::pair<Books, std::pair<DaySerial, DaySerial>> cases[] = {
        {ExampleBook(), {Day(2025, 6, 4), Day(2025, 6, 3)}},  // ended before: the day after
        {ExampleBook(), {Day(2025, 6, 2), Day(2025, 6, 2)}},  // ended today: today
        {ExampleBook(), {Day(2025, 5, 1), Day(2025, 5, 1)}},  // later lines than today: today
        {blankAtEnd, {kNewYear, Day(2025, 6, 3)}},            // nothing posted after June 2
        {NewBooks(Day(2025, 3, 1)), {kNewYear, kNewYear}},    // nothing posted at all
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const auto& [book, dates] = cases[i];
      Books books = book;
      ASSERT_TRUE(rollOver(books, dates.first).Done);
      for (const PostingLine& line : books.PostingLines)
        ASSERT_EQ(line.LineDate, dates.second) << "case " << i;
    }
  }
}

// Generated books: sub-accounts of every type under other types, capital of either balance.
class RolloverInvariants : public ::testing::TestWithParam<uint64_t> {
 protected:
  Books Generated() const {
    Books books = GenerateBook({.lines = 4000, .accounts = 60, .seed = GetParam()});
    AddEntry(books, Day(2025, 6, 1), "X", {{1, 250}, {0, 9}}, {{101, 200}, {101, 50}, {0, 9}});
    AddEntry(books, Day(2025, 6, 2), "Y", {{0, 3}}, {{101, 3}});
    return books;
  }
};

TEST_P(RolloverInvariants, CarriedOverMovesExactlyTheClosedNetIntoCapital) {
  Books books = Generated();
  const Books before = books;
  // A day before the generated journal starts: the new lines are dated that day.
  const DaySerial today = Day(2024, 12, 31);
  const RolloverResult result = CarryAccountsOver(books, today);
  ASSERT_TRUE(result.Done);
  ExpectOpeningJournal(before, books, today);
  // Each folio either kept its balance, was closed to 0 (an income account's), or is a
  // capital account that took a share; the shares add up to the closed lines' net.
  const Balances old = BalancesOf(before);
  Balances now = BalancesOf(books);
  int64_t closed = 0, shared = 0;
  for (const auto& [folio, balance] : old) {
    const int64_t after = now.contains(folio) ? now.at(folio) : 0;
    if (after == balance) continue;
    // The account a folio counts in: the first with the folio rounded down.
    const auto i = AccountIndexOfFolio(before, TruncFolio(Folio::FromRaw(folio), 0));
    ASSERT_TRUE(i) << folio;
    const uint8_t type = before.AccountTypes[static_cast<std::size_t>(*i)];
    if (type == kCapital) {
      shared += balance - after;
    } else {
      ASSERT_TRUE(type == kCostOfGoodsSold || type == kRevenue || type == kExpense) << folio;
      ASSERT_EQ(after, 0) << folio;
      closed -= balance;
    }
  }
  EXPECT_EQ(shared, closed);
  EXPECT_EQ(result.ProfitShared.Raw(), closed);
  EXPECT_EQ(now[kOne], old.at(kOne)) << "folio 1 keeps its balance";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RolloverInvariants, ::testing::Values(1u, 7u, 42u));

}  // namespace
}  // namespace qv
