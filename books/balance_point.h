#pragma once
// The balance point of the journal: the posting line after which the running debit and
// credit totals never meet again. Edit > Balance Point moves the entry screen there, so that
// the user sees the first entry of the part of the journal that does not balance. Edit >
// Unbalanced Entries lists the entries that do not balance.

#include <cstdint>
#include <vector>

#include "books/books.h"

namespace qv {

// The largest line index i (0 to the last line) at which the debits of lines 0 to i - 1
// equal their credits; 0 for an empty journal. In a journal whose entries all balance that
// is the first line of the last entry, or the last line when the last entry's amounts are
// 0. Lines of neither side count on neither. The totals are kept exactly, whatever their
// size, in one pass over the journal.
int32_t BalancePoint(const std::vector<PostingLine>& lines);

// True when the debits of lines `first` to `last` equal their credits, counted exactly
// (an entry whose totals are each beyond the range of an amount may still balance).
bool Balances(const std::vector<PostingLine>& lines, int32_t first, int32_t last);

}  // namespace qv
