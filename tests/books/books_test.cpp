#include "books/books.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

TEST(NewBooks, HoldsOneEmptyEntryAndTheStartValues) {
  const DaySerial today = Day(2026, 12, 5);
  const Books books = NewBooks(today);

  ASSERT_EQ(books.LastLineIndex(), 1);
  ASSERT_EQ(books.EntryNumbers.size(), 2u);
  const PostingLine& debit = books.PostingLines[0];
  const PostingLine& credit = books.PostingLines[1];
  EXPECT_EQ(debit.Side, kDebit);
  EXPECT_EQ(credit.Side, kCredit);
  EXPECT_EQ(debit.LineDate, today);
  EXPECT_EQ(credit.LineDate, today);
  EXPECT_EQ(debit.Notes, "");
  EXPECT_EQ(credit.Notes, "_");
  EXPECT_TRUE(debit.LineFolio.IsZero() && debit.Amount.IsZero());
  EXPECT_TRUE(credit.LineFolio.IsZero() && credit.Amount.IsZero());
  EXPECT_EQ(books.EntryNumbers[0].Text(), "1             ");
  EXPECT_EQ(books.EntryNumbers[1], books.EntryNumbers[0]);

  EXPECT_EQ(books.LastAccountIndex, 13);
  EXPECT_EQ(books.AccountNames.size(), 14u);
  EXPECT_EQ(books.AccountNames[0], "Balance b/f");
  EXPECT_EQ(books.AccountFolios[0], Folio::FromUnits(1));
  EXPECT_EQ(books.AccountTypes[0], kOtherAccount);

  EXPECT_EQ(books.EntryCounter, 1);
  EXPECT_EQ(books.AutoTrackingNumbers, 1);
  EXPECT_EQ(books.JournalDecimals, 2);
  EXPECT_EQ(books.LedgerDecimals, 2);
  EXPECT_EQ(books.TrialDecimals, 0);
  EXPECT_EQ(books.IncomeDecimals, 0);
  EXPECT_EQ(books.BalanceSheetDecimals, 0);
  for (const auto& group : books.PreparedGroups) EXPECT_EQ(group, books.PreparedEntryBuffer);
  EXPECT_EQ(CheckBooks(books), std::nullopt);
}

TEST(NewStart, EmptiesALongJournalAndNumbersTheEntryOne) {
  Books books = NewBooks(Day(2026, 1, 1));
  for (int i = 0; i < 250; ++i)
    testing::AddEntry(books, Day(2026, 2, 1), "A" + std::to_string(i), {{110, 5}}, {{400, 5}});
  ASSERT_EQ(books.LastLineIndex(), 499);
  const int32_t stamp = books.BooksStamp;

  EXPECT_EQ(NewStart(books, Day(2026, 3, 1)), 1);
  EXPECT_EQ(books.LastLineIndex(), 1);
  EXPECT_EQ(books.EntryNumbers[0], "1");
  EXPECT_EQ(books.EntryNumbers[1], "1");
  EXPECT_EQ(books.PostingLines[0].LineDate, Day(2026, 3, 1));
  EXPECT_GT(books.BooksStamp, stamp) << "views of the old journal must rebuild";
}

TEST(EntryBounds, FindsEveryEntryWhateverItsSize) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  // 250 lines without notes then one closing line, followed by a normal two-line entry.
  for (int i = 0; i < 251; ++i) {
    PostingLine line;
    line.Side = i < 125 ? kDebit : kCredit;
    books.AppendLine(line, EntryNumber("7"));
  }
  books.PostingLines.back().Notes = "closing";
  testing::AddEntry(books, Day(2026, 1, 2), "8", {{110, 1}}, {{400, 1}}, "next");

  for (int32_t i = 0; i <= 250; ++i) EXPECT_EQ(EntryBounds(books, i), (EntryRange{0, 250}));
  EXPECT_EQ(EntryBounds(books, 251), (EntryRange{251, 252}));
  EXPECT_EQ(EntryBounds(books, 252), (EntryRange{251, 252}));
  // Out-of-range lines are clamped into the journal.
  EXPECT_EQ(EntryBounds(books, -5), (EntryRange{0, 250}));
  EXPECT_EQ(EntryBounds(books, 9999), (EntryRange{251, 252}));
}

TEST(EntryBounds, BlankNotesDoNotEndAnEntryAndTheLastLineAlwaysDoes) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "1", {{110, 1}, {110, 2}}, {{1, 3}}, "first");
  books.PostingLines[0].Notes = "  \t ";
  testing::AddEntry(books, Day(2026, 1, 3), "2", {{110, 1}}, {{1, 1}}, "");
  EXPECT_EQ(EntryBounds(books, 0), (EntryRange{0, 2}));
  EXPECT_EQ(EntryBounds(books, 4), (EntryRange{3, 4}));
}

TEST(CheckJournal, NamesTheBrokenRule) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "1", {{110, 1}}, {{1, 1}}, "ok");
  EXPECT_EQ(CheckBooks(books), std::nullopt);

  Books creditFirst = books;
  std::swap(creditFirst.PostingLines[0].Side, creditFirst.PostingLines[1].Side);
  EXPECT_NE(CheckBooks(creditFirst), std::nullopt);

  Books openEnd = books;
  openEnd.PostingLines[1].Notes = "";
  EXPECT_NE(CheckBooks(openEnd), std::nullopt);

  Books twoDates = books;
  twoDates.PostingLines[0].LineDate += 1;
  EXPECT_NE(CheckBooks(twoDates), std::nullopt);

  Books badSide = books;
  badSide.PostingLines[1].Side = 3;
  EXPECT_NE(CheckBooks(badSide), std::nullopt);

  Books untrimmed = books;
  untrimmed.PostingLines[1].Notes = " ok";
  EXPECT_NE(CheckBooks(untrimmed), std::nullopt);

  Books shortChart = books;
  shortChart.ResizeChart(5);
  EXPECT_NE(CheckBooks(shortChart), std::nullopt);
}

TEST(FixedText, PadsCutsAndCountsCharacters) {
  EXPECT_EQ(EntryNumber("A1").Text(), "A1            ");
  EXPECT_EQ(EntryNumber("123456789012345678").Text(), "12345678901234");
  // Characters, not bytes: fourteen two-byte letters fit.
  const EntryNumber wide("ÄÖÜÄÖÜÄÖÜÄÖÜÄÖÜ");
  EXPECT_EQ(wide.Text(), "ÄÖÜÄÖÜÄÖÜÄÖÜÄÖ");
  EXPECT_EQ(EntryNumber("A1"), "A1");
  EXPECT_FALSE(EntryNumber("A1") == "A10");
  EXPECT_EQ(EntryNumber("A1 ").TrimmedText(), "A1");
}

}  // namespace
}  // namespace qv
