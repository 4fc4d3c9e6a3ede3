#include "books/balance_point.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

// Lines as (side, amount); sides other than 1 and 2 count on neither side.
std::vector<PostingLine> Lines(std::initializer_list<std::pair<int, double>> sides) {
  std::vector<PostingLine> lines;
  for (const auto& [side, amount] : sides)
    lines.push_back({.Side = static_cast<uint8_t>(side), .Amount = testing::Money(amount)});
  return lines;
}

// (The menu command's window test shows the common cases.)
TEST(BalancePoint, IsTheLastLineBeforeWhichTheTotalsMeet) {
  const std::pair<std::vector<PostingLine>, int32_t> cases[] = {
      {Lines({{1, 100}, {2, 100}, {1, 0}, {2, 0}}), 3},  // the last entry is empty
      {Lines({{1, 100}, {2, 90}}), 0},
      {Lines({{1, 5}, {2, 1}, {2, 4}, {1, 7}}), 3},  // a later part makes up for an earlier one
      {Lines({{1, 5}, {0, 9}, {2, 5}, {1, 1}}), 3},  // a line of neither side
      {{}, 0},
  };
  for (const auto& [lines, point] : cases) EXPECT_EQ(BalancePoint(lines), point) << point;
  // Totals beyond the range of an amount are still compared exactly: debits of twice the
  // largest amount meet credits of the same before line 4.
  std::vector<PostingLine> big = Lines({{1, 0}, {1, 0}, {2, 0}, {2, 0}, {1, 0}, {2, 0}});
  for (PostingLine& line : big) line.Amount = Amount::Max();
  big[4].Amount = Amount::FromRaw(1);
  EXPECT_EQ(BalancePoint(big), 4);
}

}  // namespace
}  // namespace qv
