#include "bookfiles/merge.h"

#include <gtest/gtest.h>

#include "bench/book_generator.h"
#include "books/module_procedures.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;

std::vector<std::string> Numbers(const Books& books, std::size_t from) {
  std::vector<std::string> out;
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

TEST(InsertEntries, AppendsTheEntriesAsTheyStandWithNewNumbers) {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2025, 2, 1), "11", {{110, 1}}, {{400, 1}});
  AddEntry(books, Day(2025, 2, 2), "12", {{110, 2}}, {{400, 2}});
  books.EntryCounter = 20;
  books.PreparedEntryBuffer[0].Amount = testing::Money(3);  // an edit in the groups window
  const Books before = books;
  const Books other = OtherBook();

  const MergeResult result = InsertEntries(books, other);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.EntriesInserted, 3);
  EXPECT_EQ(result.FirstNewLine, 4);
  ASSERT_EQ(books.PostingLines.size(), 4 + other.PostingLines.size());
  EXPECT_TRUE(std::equal(other.PostingLines.begin(), other.PostingLines.end(),
                         books.PostingLines.begin() + 4))
      << "dates, sides, folios, amounts, notes and reconciled marks are kept";
  EXPECT_TRUE(std::equal(before.PostingLines.begin(), before.PostingLines.end(),
                         books.PostingLines.begin()));
  EXPECT_EQ(Numbers(books, 4),
            (std::vector<std::string>{"13", "13", "14", "14", "14", "15", "15"}));
  EXPECT_EQ(books.EntryCounter, 23);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp + 1);
  // Nothing of the other book but its journal comes in; the working buffer is untouched.
  EXPECT_EQ(books.AccountNames, before.AccountNames);
  EXPECT_EQ(books.BusinessName, before.BusinessName);
  EXPECT_EQ(books.PreparedGroups, before.PreparedGroups);
  EXPECT_EQ(books.PreparedEntryBuffer, before.PreparedEntryBuffer);
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

TEST(InsertEntries, KeepsTheEmptyEntryOfANewBookAndNumbersAfterIt) {
  Books books = NewBooks(Day(2026, 1, 1));
  ASSERT_TRUE(InsertEntries(books, OtherBook()).Ok());
  ASSERT_EQ(books.PostingLines.size(), 9u);
  EXPECT_TRUE(books.PostingLines[0].LineFolio.IsZero() && books.PostingLines[1].Notes == "_");
  EXPECT_EQ(Numbers(books, 0),
            (std::vector<std::string>{"1", "1", "2", "2", "3", "3", "3", "4", "4"}));
  EXPECT_EQ(books.EntryCounter, 4);
  EXPECT_EQ(CheckBooks(books), std::nullopt);

  // Numbers that do not start with a number count from 1; decimals count on.
  Books invoices = BookWithChart({});
  AddEntry(invoices, Day(2025, 1, 1), "INV7", {{110, 1}}, {{400, 1}});
  ASSERT_TRUE(InsertEntries(invoices, OtherBook()).Ok());
  EXPECT_EQ(Numbers(invoices, 2),
            (std::vector<std::string>{"1", "1", "2", "2", "2", "3", "3"}));
  Books halves = BookWithChart({});
  AddEntry(halves, Day(2025, 1, 1), "1.5", {{110, 1}}, {{400, 1}});
  ASSERT_TRUE(InsertEntries(halves, OtherBook()).Ok());
  EXPECT_EQ(Numbers(halves, 2).back(), "4.5");
}

TEST(InsertEntries, RefusesABrokenJournalAndLeavesTheBooksAsTheyWere) {
  Books books = BookWithChart({});
  AddEntry(books, Day(2025, 1, 1), "1", {{110, 1}}, {{400, 1}});
  const Books before = books;
  Books other = OtherBook();
  other.PostingLines.back().Notes = "";  // the last entry never ends
  EXPECT_EQ(InsertEntries(books, other).ErrorCode, kErrDataMismatch);
  other = OtherBook();
  std::swap(other.PostingLines[0], other.PostingLines[1]);  // a credit before a debit
  other.PostingLines[0].Notes.swap(other.PostingLines[1].Notes);
  EXPECT_EQ(InsertEntries(books, other).ErrorCode, kErrDataMismatch);
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  EXPECT_EQ(books.EntryNumbers, before.EntryNumbers);
  EXPECT_EQ(books.EntryCounter, before.EntryCounter);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp);
}

TEST(InsertEntries, MergesGeneratedBooksIntoASoundJournal) {
  GeneratorOptions options;
  options.lines = 3000;
  options.nonAscii = true;
  Books books = GenerateBook(options);
  options.seed = 9;
  options.lines = 5001;
  const Books other = GenerateBook(options);
  int32_t otherEntries = 0;
  for (const PostingLine& l : other.PostingLines) otherEntries += EndsEntry(l.Notes) ? 1 : 0;
  books.EntryCounter = std::numeric_limits<int32_t>::max() - 5;

  const MergeResult result = InsertEntries(books, other);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.EntriesInserted, otherEntries);
  EXPECT_EQ(books.PostingLines.size(), 8001u);
  EXPECT_EQ(books.EntryCounter, std::numeric_limits<int32_t>::max()) << "stops, never wraps";
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

}  // namespace
}  // namespace qv
