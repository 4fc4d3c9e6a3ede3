#include "accounts/move_postings.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;

Books MoveBook() {
  Books books = BookWithChart(
      {{"Receivable", 110, 0}, {"Peter", 110.1, 0}, {"Payable", 200, 1}, {"Receivable", 120, 0}});
  AddEntry(books, Day(2026, 1, 2), "1", {{110, 10}, {110.1, 5}}, {{200, 15}}, "A");
  AddEntry(books, Day(2026, 1, 3), "2", {{200, 7}}, {{110, 7}}, "B");
  return books;
}

TEST(MovePostingsTest, OnlyLinesOnExactlyTheSourceFolioMoveAndNoAccountMovesNothing) {
  Books books = MoveBook();
  const Books before = books;
  const auto request = MoveRequestOf(books, "Receivable", "Payable");
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->From, Money(110));  // the first account of that name
  EXPECT_EQ(MoveQuestionText(*request, "."), "Move Account 110 to 200, Are you sure ?");
  EXPECT_EQ(MoveQuestionText({Money(110.1), Money(200)}, ","),
            "Move Account 110,1 to 200, Are you sure ?");
  EXPECT_EQ(MovePostings(books, *request), 2);
  const Folio expected[] = {Money(200), Money(110.1), Money(200), Money(200), Money(200)};
  for (std::size_t i = 0; i < books.PostingLines.size(); ++i) {
    EXPECT_EQ(books.PostingLines[i].LineFolio, expected[i]) << i;
    PostingLine other = books.PostingLines[i];
    other.LineFolio = before.PostingLines[i].LineFolio;
    EXPECT_EQ(other, before.PostingLines[i]);  // nothing else of a line changes
  }
  EXPECT_EQ(std::tie(books.AccountNames, books.AccountFolios),
            std::tie(before.AccountNames, before.AccountFolios));
  EXPECT_NE(books.BooksStamp, before.BooksStamp);
  EXPECT_EQ(MovedPostingsText(2, *request, "."),
            "2 posting lines were moved from account 110 to account 200.");
  // Empty or unmatched texts, and the same account, move nothing.
  for (const auto& [from, to] :
       {std::pair{"", "Payable"}, {"Receivab", "Payable"}, {"Payable", "Nobody"}})
    EXPECT_FALSE(MoveRequestOf(books, from, to).has_value()) << from << " " << to;
  const int32_t stamp = books.BooksStamp;
  const MoveRequest same{Money(200), Money(200)};
  EXPECT_EQ(MovePostings(books, same), 0);
  EXPECT_EQ(books.BooksStamp, stamp);
  EXPECT_EQ(MovedPostingsText(0, same, "."),
            "Both accounts have folio 200; no posting line was moved.");
}

}  // namespace
}  // namespace qv
