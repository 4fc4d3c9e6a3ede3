#include "books/balance_point.h"

namespace qv {

// Fewer than 2^31 lines of less than 2^63 each: a 128-bit total of the debits less the
// credits never overflows.
__extension__ typedef __int128 Wide;

namespace {

Wide Signed(const PostingLine& line) {
  if (line.Side == kDebit) return line.Amount.Raw();
  if (line.Side == kCredit) return -static_cast<Wide>(line.Amount.Raw());
  return 0;
}

}  // namespace

int32_t BalancePoint(const std::vector<PostingLine>& lines) {
  const auto n = static_cast<int32_t>(lines.size());
  Wide debitsLessCredits = 0;  // of the lines before line i
  int32_t point = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (debitsLessCredits == 0) point = i;
    debitsLessCredits += Signed(lines[static_cast<std::size_t>(i)]);
  }
  return point;
}

bool Balances(const std::vector<PostingLine>& lines, int32_t first, int32_t last) {
  Wide debitsLessCredits = 0;
  for (int32_t i = first; i <= last; ++i)
    debitsLessCredits += Signed(lines[static_cast<std::size_t>(i)]);
  return debitsLessCredits == 0;
}

}  // namespace qv
