#include "books/balance_point.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Money;

// Lines as (side, amount); sides other than 1 and 2 count on neither side.
std::vector<PostingLine> Lines(std::initializer_list<std::pair<int, double>> sides) {
  std::vector<PostingLine> lines;
  for (const auto& [side, amount] : sides) {
    PostingLine line;
    line.Side = static_cast<uint8_t>(side);
    line.Amount = Money(amount);
    lines.push_back(line);
  }
  return lines;
}

TEST(BalancePoint, IsTheLastLineBeforeWhichTheTotalsMeet) {
  const struct {
    const char* book;
    std::vector<PostingLine> lines;
    int32_t point;
  } cases[] = {
      {"an unbalanced middle entry (D100 C100 | D50 C40 | D10 C10)",
       Lines({{1, 100}, {2, 100}, {1, 50}, {2, 40}, {1, 10}, {2, 10}}), 2},
      {"every entry balances: the first line of the last entry",
       Lines({{1, 100}, {2, 100}, {1, 30}, {1, 20}, {2, 50}}), 2},
      {"the last entry is empty: the last line", Lines({{1, 100}, {2, 100}, {1, 0}, {2, 0}}), 3},
      {"one unbalanced entry at line 0", Lines({{1, 100}, {2, 90}}), 0},
      {"a later part makes up for an earlier one", Lines({{1, 5}, {2, 1}, {2, 4}, {1, 7}}), 3},
      {"a line of neither side", Lines({{1, 5}, {0, 9}, {2, 5}, {1, 1}}), 3},
      {"an empty journal", {}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(BalancePoint(c.lines), c.point) << c.book;
}

TEST(BalancePoint, TotalsBeyondTheRangeOfAnAmountAreStillComparedExactly) {
  std::vector<PostingLine> lines = Lines({{1, 0}, {1, 0}, {2, 0}, {2, 0}, {1, 0}, {2, 0}});
  for (PostingLine& line : lines) line.Amount = Amount::Max();
  lines[4].Amount = Amount::FromRaw(1);
  // Debits of twice the largest amount meet credits of the same before line 4.
  EXPECT_EQ(BalancePoint(lines), 4);
}

}  // namespace
}  // namespace qv
