#include "ledgers/journal_view.h"

#include <optional>

#include "books/balance_point.h"
#include "ledgers/text_match.h"

namespace qv {
namespace {

// Answers the journal's search for one entry.
class EntrySearch {
 public:
  explicit EntrySearch(const JournalOptions& options)
      : mode_(options.SearchMode), text_(TrimText(options.SearchText)) {
    if (mode_ == kSearchNotes) text_ = CaseInsensitiveText(options.SearchText);
  }

  bool Matches(const Books& books, int32_t first, int32_t last) const {
    switch (mode_) {
      case kSearchNotes:
        return text_.FoundIn(books.PostingLines[static_cast<std::size_t>(last)].Notes);
      case kSearchEntryNumber:
        return static_cast<std::size_t>(first) < books.EntryNumbers.size() &&
               text_.Equals(books.EntryNumbers[static_cast<std::size_t>(first)].TrimmedText());
      case kSearchUnbalanced: return !Balances(books.PostingLines, first, last);
      default: return true;
    }
  }

 private:
  int16_t mode_;
  CaseInsensitiveText text_;
};

}  // namespace

JournalView ComputeJournal(const Books& books, const JournalOptions& options) {
  JournalView view;
  view.Options = options;
  const LedgerOptions& ledger = options.Ledger;
  const EntrySearch search(options);
  const std::vector<PostingLine>& lines = books.PostingLines;
  AmountSum debitTotal, creditTotal;
  if (options.SearchMode == kNoSearch) {
    // Most entries are shown: room for every line and a notes row for every other one.
    view.Rows.reserve(lines.size() + lines.size() / 4);
    view.Entries.reserve(lines.size() / 2);
  }

  ForEachEntry(lines, [&](int32_t first, int32_t last) {
    // The lines of an entry share its date and reconciled mark, but each is tested, so an
    // entry that breaks that rule still shows only lines that answer the selection.
    bool shown = false, inAccount = false;
    for (int32_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      if (!LineShown(line, ledger)) continue;
      shown = true;
      if (InAccount(line.LineFolio, ledger)) {
        inAccount = true;
        break;
      }
    }
    if (!shown || !inAccount || !search.Matches(books, first, last)) return;

    const auto entry = static_cast<int32_t>(view.Entries.size());
    view.Entries.push_back(SnapshotEntry(books, first, last));
    bool firstRow = true;
    for (int32_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      if (!LineShown(line, ledger)) continue;
      const bool debit = line.Side == kDebit;
      (debit ? debitTotal : creditTotal).Add(line.Amount);
      view.Rows.push_back(JournalRow{debit ? JournalRowKind::kDebit : JournalRowKind::kCredit,
                                     firstRow, entry, i, line.LineFolio, line.Amount});
      firstRow = false;
    }
    if (!view.Entries.back().Notes.empty())
      view.Rows.push_back(
          JournalRow{JournalRowKind::kNotes, false, entry, first, Folio(), Amount()});
  });

  const std::optional<Amount> debit = debitTotal.Value();
  const std::optional<Amount> credit = creditTotal.Value();
  if (!debit || !credit) {
    view.Rows.clear();
    view.Entries.clear();
    view.Message = kLedgerOverflowText;
    return view;
  }
  view.DebitTotal = *debit;
  view.CreditTotal = *credit;
  view.Rows.push_back(JournalRow{JournalRowKind::kTotals, false, -1, -1, Folio(), *debit});
  return view;
}

}  // namespace qv
