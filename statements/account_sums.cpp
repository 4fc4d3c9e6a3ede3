#include "statements/account_sums.h"

#include <algorithm>

#include "books/module_procedures.h"

namespace qv {

Folio AttributionKey(Folio folio, bool includeSubAccounts) {
  return includeSubAccounts ? folio : TruncFolio(folio, 0);
}

namespace {

// Fibonacci hashing of the folio's scaled integer.
inline uint64_t HashOf(int64_t key) { return static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull; }

const std::string kNoName;

}  // namespace

ChartFolioIndex::ChartFolioIndex(const Books& books) : books_(books) {
  const int count = ChartAccountCount(books);
  std::size_t capacity = 16;
  int bits = 4;
  while (capacity < static_cast<std::size_t>(count) * 2) {
    capacity *= 2;
    ++bits;
  }
  keys_.assign(capacity, 0);
  slots_.assign(capacity, -1);
  mask_ = capacity - 1;
  shift_ = 64 - bits;
  for (int j = 0; j < count; ++j) {
    const int64_t key = books.AccountFolios[static_cast<std::size_t>(j)].Raw();
    std::size_t at = static_cast<std::size_t>(HashOf(key) >> shift_);
    while (slots_[at] >= 0 && keys_[at] != key) at = (at + 1) & mask_;
    if (slots_[at] < 0) {  // the first account with this folio keeps the slot
      keys_[at] = key;
      slots_[at] = j;
    }
  }
}

int ChartFolioIndex::Find(Folio folio) const {
  const int64_t key = folio.Raw();
  std::size_t at = static_cast<std::size_t>(HashOf(key) >> shift_);
  while (slots_[at] >= 0) {
    if (keys_[at] == key) return slots_[at];
    at = (at + 1) & mask_;
  }
  return -1;
}

const std::string& ChartFolioIndex::NameOf(Folio folio) const {
  if (folio.Raw() <= 0) return kNoName;
  const int j = Find(folio);
  return j < 0 ? kNoName : books_.AccountNames[static_cast<std::size_t>(j)];
}

std::optional<Amount> AccountSums::DebitBalance(int j) const {
  const auto s = static_cast<std::size_t>(j);
  return CheckedSub(Debits[s], Credits[s]);
}

std::optional<Amount> AccountSums::CreditBalance(int j) const {
  const auto s = static_cast<std::size_t>(j);
  return CheckedSub(Credits[s], Debits[s]);
}

PostingDates PostingDateRange(const Books& books) {
  PostingDates dates;
  if (books.PostingLines.empty()) return dates;
  dates.Earliest = dates.Latest = books.PostingLines.front().LineDate;
  for (const PostingLine& line : books.PostingLines) {
    dates.Earliest = std::min(dates.Earliest, line.LineDate);
    dates.Latest = std::max(dates.Latest, line.LineDate);
  }
  return dates;
}

AccountSums SumPostings(const Books& books, const ChartFolioIndex& index, DateSpan dates,
                        bool includeSubAccounts) {
  const auto count = static_cast<std::size_t>(ChartAccountCount(books));
  std::vector<AmountSum> debits(count), credits(count);
  DaySerial earliest = books.PostingLines.empty() ? kZeroDate : books.PostingLines.front().LineDate;
  for (const PostingLine& line : books.PostingLines) {
    earliest = std::min(earliest, line.LineDate);
    if (!dates.Contains(line.LineDate)) continue;
    const int j = index.Find(AttributionKey(line.LineFolio, includeSubAccounts));
    if (j < 0) continue;
    if (line.Side == kDebit)
      debits[static_cast<std::size_t>(j)].Add(line.Amount);
    else
      credits[static_cast<std::size_t>(j)].Add(line.Amount);
  }

  AccountSums sums;
  sums.EarliestDate = earliest;
  sums.Debits.resize(count);
  sums.Credits.resize(count);
  for (std::size_t j = 0; j < count; ++j) {
    const auto d = debits[j].Value();
    const auto c = credits[j].Value();
    if (!d || !c) {
      sums.Overflow = true;
      continue;
    }
    sums.Debits[j] = *d;
    sums.Credits[j] = *c;
  }
  return sums;
}

}  // namespace qv
