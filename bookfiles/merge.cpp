#include "bookfiles/merge.h"

#include <iterator>
#include <limits>
#include <new>
#include <set>
#include <utility>
#include <vector>

#include "bookfiles/book_format.h"
#include "books/module_procedures.h"

namespace qv {

MergeResult InsertEntries(Books& books, const Books& other) {
  MergeResult result;
  if (FindJournalFault(other.PostingLines)) {
    result.ErrorCode = kErrDataMismatch;
    return result;
  }
  const std::size_t have = books.PostingLines.size();
  const std::size_t add = other.PostingLines.size();
  if (add > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - have) {
    result.ErrorCode = kErrOutOfMemory;  // the journal's last index is a 32-bit number
    return result;
  }
  try {
    // Everything is built apart first, so that a failure leaves the books as they were.
    std::vector<PostingLine> lines(other.PostingLines);
    std::vector<EntryNumber> numbers;
    numbers.reserve(add);
    std::string previous(books.EntryNumbers.empty() ? std::string_view()
                                                    : books.EntryNumbers.back().TrimmedText());
    int32_t entries = 0;
    for (std::size_t first = 0; first < add;) {
      std::size_t last = first;
      while (last + 1 < add && !EndsEntry(lines[last].Notes)) ++last;
      // Each entry is numbered from the one before it, as a new entry is.
      const EntryNumber number(PlainNumberText(LeadingNumber(previous) + 1));
      numbers.insert(numbers.end(), last - first + 1, number);
      previous = number.TrimmedText();
      ++entries;
      first = last + 1;
    }
    // The folios used are few beside the lines: each is looked up in the chart once.
    std::set<Folio> used;
    for (const PostingLine& line : lines) used.insert(line.LineFolio);
    std::vector<Folio> notInChart, subWithoutAccount;
    for (const Folio folio : used) {
      if (folio == Folio() || AccountIndexOfFolio(books, folio)) continue;
      const Folio main = TruncFolio(folio, 0);
      (main != folio && AccountIndexOfFolio(books, main) ? subWithoutAccount : notInChart)
          .push_back(folio);
    }
    books.PostingLines.reserve(have + add);
    books.EntryNumbers.reserve(have + add);
    // Nothing below can fail: the room is there and the moves do not throw.
    books.PostingLines.insert(books.PostingLines.end(), std::make_move_iterator(lines.begin()),
                              std::make_move_iterator(lines.end()));
    books.EntryNumbers.insert(books.EntryNumbers.end(), std::make_move_iterator(numbers.begin()),
                              std::make_move_iterator(numbers.end()));
    result.EntriesInserted = entries;
    result.FoliosNotInChart = std::move(notInChart);
    result.SubFoliosWithoutAccount = std::move(subWithoutAccount);
    // The counter counts entries made; it stops at its largest value rather than wrap.
    const int64_t counted = static_cast<int64_t>(books.EntryCounter) + entries;
    books.EntryCounter = counted > std::numeric_limits<int32_t>::max()
                             ? std::numeric_limits<int32_t>::max()
                             : static_cast<int32_t>(counted);
    RaiseBooksStamp(books);
  } catch (const std::bad_alloc&) {
    result = MergeResult{};
    result.ErrorCode = kErrOutOfMemory;
  }
  return result;
}

}  // namespace qv
