// Edit > Unbalanced Entries and Edit > Balance Point on a generated book with three entries
// that do not balance.

#include <gtest/gtest.h>

#include "bench/book_generator.h"
#include "books/balance_point.h"
#include "ledgers/journal_view.h"

namespace qv {
namespace {

TEST(UnbalancedSearches, FindTheThreeEntriesThatDoNotBalanceInAGeneratedBook) {
  Books books = GenerateBook({.lines = 20000, .accounts = 40});
  const std::vector<int32_t> firsts = UnbalanceEntries(books, 3);
  ASSERT_EQ(firsts.size(), 3u);

  JournalOptions unbalanced{{}, kSearchUnbalanced, ""};
  unbalanced.Ledger.AllAccounts = true;
  unbalanced.Ledger.From = DefaultLedgerDates(books).First;
  unbalanced.Ledger.To = DefaultLedgerDates(books).Last;
  const JournalView view = ComputeJournal(books, unbalanced);
  std::vector<int32_t> listed;
  for (const LedgerEntry& entry : view.Entries) listed.push_back(entry.First);
  EXPECT_EQ(listed, firsts);

  // The balance point shows the first of them; once it is mended, the next one.
  int32_t lastEntryFirst = 0;
  ForEachEntry(books.PostingLines, [&](int32_t first, int32_t) { lastEntryFirst = first; });
  for (std::size_t k = 0; k < firsts.size(); ++k) {
    EXPECT_EQ(BalancePoint(books.PostingLines), firsts[k]) << "entry " << k;
    int32_t last = firsts[k];
    while (!EndsEntry(books.PostingLines[static_cast<std::size_t>(last)].Notes)) ++last;
    PostingLine& line = books.PostingLines[static_cast<std::size_t>(last)];
    line.Amount = Amount::FromRaw(line.Amount.Raw() - 100 * static_cast<int64_t>(k + 1));
  }
  EXPECT_EQ(BalancePoint(books.PostingLines), lastEntryFirst) << "every entry balances again";
  EXPECT_TRUE(ComputeJournal(books, unbalanced).Entries.empty());
}

}  // namespace
}  // namespace qv
