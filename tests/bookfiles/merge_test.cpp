#include "bookfiles/merge.h"

#include <gtest/gtest.h>

#include <limits>

#include "bookfiles/book_notices.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using Numbers = std::vector<std::string>;

Numbers NumbersFrom(const Books& books, std::size_t from) {
  Numbers out;
  for (std::size_t i = from; i < books.EntryNumbers.size(); ++i)
    out.emplace_back(books.EntryNumbers[i].TrimmedText());
  return out;
}

Books OtherBook() {
  Books other = BookWithChart({{"Kasse", 110, kCurrentAsset}, {"Erlöse", 800, kRevenue}});
  AddEntry(other, Day(2024, 5, 1), "A1", {{110, 10}}, {{800, 10}}, "Verkauf Café");
  AddEntry(other, Day(2024, 5, 2), "A2", {{110, 5}, {999.5, 7}}, {{800, 12}});
  AddEntry(other, Day(2023, 1, 9), "A3", {{800, 1.2345}}, {{110, 1.2345}}, "Storno");
  other.PostingLines[5].Reconciled = other.PostingLines[6].Reconciled = 1;
  other.BusinessName = "Other business";
  other.PreparedGroups[0][0].Amount = testing::Money(99);
  other.PreparedEntryBuffer = other.PreparedGroups[0];
  return other;
}

TEST(InsertEntries, AppendsTheEntriesWithNewNumbersAndRefusesABrokenJournal) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2025, 2, 1), "11", {{110, 1}}, {{400, 1}});
  AddEntry(books, Day(2025, 2, 2), "12", {{110, 2}}, {{400, 2}});
  books.EntryCounter = 20;
  books.PreparedEntryBuffer[0].Amount = testing::Money(3);  // an edit in the groups window
  const Books other = OtherBook();
  // Nothing of the other book but its journal comes in; the working buffer is untouched.
  Books expected = books;
  expected.PostingLines.insert(expected.PostingLines.end(), other.PostingLines.begin(),
                               other.PostingLines.end());
  for (const char* number : {"13", "13", "14", "14", "14", "15", "15"})
    expected.EntryNumbers.emplace_back(number);
  expected.EntryCounter = 23;
  expected.BooksStamp = books.BooksStamp + 1;
  const MergeResult result = InsertEntries(books, other);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.EntriesInserted, 3);
  EXPECT_EQ(testing::FirstChange(expected, books), "");
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  // A new book keeps its empty entry and numbers after it.
  Books fresh = NewBooks(Day(2026, 1, 1));
  ASSERT_TRUE(InsertEntries(fresh, OtherBook()).Ok());
  EXPECT_TRUE(fresh.PostingLines[0].LineFolio.IsZero() && fresh.PostingLines[1].Notes == "_");
  EXPECT_EQ(NumbersFrom(fresh, 0), (Numbers{"1", "1", "2", "2", "3", "3", "3", "4", "4"}));
  EXPECT_EQ(fresh.EntryCounter, 4);
  // Numbers that do not start with a number count from 1; decimals count on; the entry
  // counter stops at its largest value rather than wrap.
  for (const auto& [last, next] : {std::pair{"INV7", "1"}, std::pair{"1.5", "2.5"}}) {
    Books numbered = BookWithChart({});
    AddEntry(numbered, Day(2025, 1, 1), last, {{110, 1}}, {{400, 1}});
    numbered.EntryCounter = std::numeric_limits<int32_t>::max() - 1;
    ASSERT_TRUE(InsertEntries(numbered, OtherBook()).Ok());
    EXPECT_EQ(NumbersFrom(numbered, 2).front(), next) << last;
    EXPECT_EQ(numbered.EntryCounter, std::numeric_limits<int32_t>::max());
  }
  // A broken journal is refused and the books stay as they were.
  const Books before = books;
  Books open = OtherBook(), creditFirst = OtherBook();
  open.PostingLines.back().Notes = "";  // the last entry never ends
  std::swap(creditFirst.PostingLines[0], creditFirst.PostingLines[1]);
  creditFirst.PostingLines[0].Notes.swap(creditFirst.PostingLines[1].Notes);
  EXPECT_EQ(InsertEntries(books, open).ErrorCode, kErrDataMismatch);
  EXPECT_EQ(InsertEntries(books, creditFirst).ErrorCode, kErrDataMismatch);
  EXPECT_EQ(testing::FirstChange(before, books), "");
}

// The report after inserting names every folio the chart lacks: one whose main account is
// missing too stays out of the statements, a sub-account folio whose main account exists is
// counted there.
TEST(InsertEntries, TheReportTellsMissingAccountsFromSubAccountsCountedInTheirMainAccount) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Stock", 150, kCurrentAsset}});
  Books other = BookWithChart({{"Cash", 110, kCurrentAsset}});
  AddEntry(other, Day(2024, 5, 1), "A1", {{150.5, 10}, {245, 2}}, {{110, 12}});
  const MergeResult merged = InsertEntries(books, other);
  ASSERT_TRUE(merged.Ok());
  EXPECT_EQ(merged.FoliosNotInChart, std::vector<Folio>{testing::Money(245)});
  EXPECT_EQ(merged.SubFoliosWithoutAccount, std::vector<Folio>{testing::Money(150.5)});
  EXPECT_EQ(InsertedEntriesReport("in.acc", merged),
            "1 entry was inserted from \"in.acc\". Their postings use folio 245, which this "
            "chart of accounts does not have: those postings show no account and stay out of the "
            "statements until an account is given that folio in Account Settings. Postings to "
            "folio 150.5 show no account, since this chart has no such sub-account; the "
            "statements count them in its main account.");
}

}  // namespace
}  // namespace qv
