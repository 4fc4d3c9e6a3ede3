#include "books/books.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

// The two lines of an empty entry dated `date`.
std::vector<PostingLine> EmptyEntry(DaySerial date) {
  return {PostingLine{.LineDate = date, .Side = kDebit},
          PostingLine{.LineDate = date, .Side = kCredit, .Notes = "_"}};
}

TEST(NewBooks, HoldsOneEmptyEntryAndTheOpeningAccountAndNewStartEmptiesALongJournal) {
  Books books = NewBooks(Day(2026, 12, 5));
  EXPECT_EQ(books.PostingLines, EmptyEntry(Day(2026, 12, 5)));
  EXPECT_EQ(books.EntryNumbers, (std::vector<EntryNumber>(2, EntryNumber("1"))));
  EXPECT_EQ(books.AccountNames[0] + " " + PlainAmountText(books.AccountFolios[0]), "Balance b/f 1");
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  for (int i = 0; i < 250; ++i)
    testing::AddEntry(books, Day(2026, 2, 1), "A" + std::to_string(i), {{110, 5}}, {{400, 5}});
  const int32_t stamp = books.BooksStamp;
  EXPECT_EQ(NewStart(books, Day(2026, 3, 1)), 1);
  EXPECT_EQ(books.PostingLines, EmptyEntry(Day(2026, 3, 1)));
  EXPECT_EQ(books.EntryNumbers.size(), 2u);
  EXPECT_GT(books.BooksStamp, stamp) << "views of the old journal must rebuild";
}

TEST(EntryBounds, FindsEveryEntryWhateverItsSize) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  // 250 lines without notes then one closing line, followed by a normal two-line entry.
  for (int i = 0; i < 251; ++i)
    books.AppendLine(PostingLine{.Side = i < 125 ? kDebit : kCredit}, EntryNumber("7"));
  books.PostingLines.back().Notes = "closing";
  testing::AddEntry(books, Day(2026, 1, 2), "8", {{110, 1}}, {{400, 1}}, "next");

  // Out-of-range lines are clamped into the journal.
  for (int32_t i = -5; i <= 250; ++i) EXPECT_EQ(EntryBounds(books, i), (EntryRange{0, 250}));
  for (int32_t i : {251, 252, 9999}) EXPECT_EQ(EntryBounds(books, i), (EntryRange{251, 252}));

  // Blank notes do not end an entry; the journal's last line always does.
  books.PostingLines[250].Notes = "  \t ";
  books.PostingLines.back().Notes.clear();
  EXPECT_EQ(EntryBounds(books, 3), (EntryRange{0, 252}));
}

TEST(CheckJournal, NamesTheBrokenRule) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "1", {{110, 1}}, {{1, 1}}, "ok");
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  const std::function<void(Books&)> breaks[] = {
      [](Books& b) { std::swap(b.PostingLines[0].Side, b.PostingLines[1].Side); },
      [](Books& b) { b.PostingLines[1].Notes = ""; },
      [](Books& b) { b.PostingLines[0].LineDate += 1; },
      [](Books& b) { b.PostingLines[1].Side = 3; },
      [](Books& b) { b.PostingLines[1].Notes = " ok"; },
      [](Books& b) { b.ResizeChart(5); },
  };
  for (std::size_t i = 0; i < std::size(breaks); ++i) {
    Books broken = books;
    breaks[i](broken);
    EXPECT_NE(CheckBooks(broken), std::nullopt) << "case " << i;
  }
}

TEST(FixedText, PadsCutsAndCountsCharacters) {
  EXPECT_EQ(EntryNumber("A1").Text(), "A1            ");
  EXPECT_EQ(EntryNumber("123456789012345678").Text(), "12345678901234");
  // Characters, not bytes: fourteen two-byte letters fit.
  EXPECT_EQ(EntryNumber("ÄÖÜÄÖÜÄÖÜÄÖÜÄÖÜ").Text(), "ÄÖÜÄÖÜÄÖÜÄÖÜÄÖ");
  EXPECT_FALSE(EntryNumber("A1") == "A10");
}

}  // namespace
}  // namespace qv
