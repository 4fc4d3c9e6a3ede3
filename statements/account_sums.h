#pragma once
// The first step of every statement: the debits and credits of each chart account over a
// span of dates, summed in one pass over the journal.
//
// Attribution: a posting line's key is its folio when sub-accounts are shown on their own,
// else the folio's integer part, so that 110.1 and 110.2 roll into 110. The line goes to
// the first chart account (in index order) whose folio equals the key exactly; folio 0
// matches too (the first unused slot). A line whose key matches no account is left out.
// A line whose side is not a debit counts as a credit.

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "books/amount.h"
#include "books/books.h"

namespace qv {

// The dates a statement counts: First <= date <= Last.
struct DateSpan {
  DaySerial First = std::numeric_limits<DaySerial>::min();
  DaySerial Last = std::numeric_limits<DaySerial>::max();

  static constexpr DateSpan Every() { return DateSpan{}; }
  static constexpr DateSpan UpTo(DaySerial last) {
    return DateSpan{std::numeric_limits<DaySerial>::min(), last};
  }
  static constexpr DateSpan Between(DaySerial first, DaySerial last) {
    return DateSpan{first, last};
  }
  constexpr bool Contains(DaySerial date) const { return date >= First && date <= Last; }
};

// A folio's key under the attribution rule above.
Folio AttributionKey(Folio folio, bool includeSubAccounts);

// Constant-time lookup of the first chart index that holds a folio.
class ChartFolioIndex {
 public:
  explicit ChartFolioIndex(const Books& books);

  // The first chart index whose folio equals `folio` exactly (0 included), or -1.
  int Find(Folio folio) const;
  // The name of that account, "" when there is none or the folio is 0 or below (the
  // statements name their rows as AccountNameOfFolio does).
  const std::string& NameOf(Folio folio) const;

 private:
  const Books& books_;
  std::vector<int64_t> keys_;
  std::vector<int32_t> slots_;  // chart index, -1 = empty
  uint64_t mask_ = 0;
  int shift_ = 64;
};

// The debit and credit sums of every chart account (indexes 0 to ChartAccountCount - 1).
struct AccountSums {
  std::vector<Amount> Debits;
  std::vector<Amount> Credits;
  // True when a sum left the range of an Amount; the sums are then meaningless.
  bool Overflow = false;
  // The earliest date of the whole journal, counted or not (kZeroDate when it is empty).
  DaySerial EarliestDate = kZeroDate;

  // Debits - credits of account j, or nothing when that overflows.
  std::optional<Amount> DebitBalance(int j) const;
  // Credits - debits of account j, or nothing when that overflows.
  std::optional<Amount> CreditBalance(int j) const;
};

// The earliest and the latest date of the posting lines (both kZeroDate for an empty
// journal).
struct PostingDates {
  DaySerial Earliest = kZeroDate;
  DaySerial Latest = kZeroDate;
};
PostingDates PostingDateRange(const Books& books);

AccountSums SumPostings(const Books& books, const ChartFolioIndex& index, DateSpan dates,
                        bool includeSubAccounts);

}  // namespace qv
