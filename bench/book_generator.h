#pragma once
// Synthetic books for benchmarks and large tests. The same options always give the same
// book, byte for byte.

#include <cstdint>
#include <vector>

#include "books/books.h"

namespace qv {

struct GeneratorOptions {
  // Posting lines in the journal (at least 2). Entries are two-line or compound (up to
  // four debit and three credit lines), so the last entry may be cut short to fit.
  int64_t lines = 10000;
  // Accounts in the chart besides account 0 (at least 1).
  int accounts = 300;
  uint64_t seed = 1;
  // Give about one account in eight a sub-account folio (110.1 under 110).
  bool subAccounts = true;
  // Use names and notes with characters outside ASCII.
  bool nonAscii = false;
  // Fill every setting, the ten prepared groups and their names with non-default values.
  bool fillSettings = false;
  // Dates run from this day, `entriesPerDay` entries a day.
  DaySerial firstDate = 45658;  // 1 January 2025
  int entriesPerDay = 4;
};

Books GenerateBook(const GeneratorOptions& options);

// Makes `count` entries, spread evenly over the journal, not balance: the last line of the
// k-th of them (k from 1) gets k cents more, so that the running totals never meet again
// after the first. Returns the first line of each, in order.
std::vector<int32_t> UnbalanceEntries(Books& books, int count);

}  // namespace qv
