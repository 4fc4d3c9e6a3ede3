#include "books/books.h"

#include <algorithm>

#include "platform/string_table.h"

namespace qv {

std::string_view TrimText(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

void Books::ResizeChart(int lastIndex) {
  const auto n = static_cast<std::size_t>(lastIndex + 1);
  AccountNames.resize(n);
  AccountFolios.resize(n);
  AccountTypes.resize(n, 0);
  AccountNotes.resize(n);
  AccountDetails.resize(n);
  AccountExtras.resize(n);
  LastAccountIndex = lastIndex;
}

int ChartAccountCount(const Books& books) {
  const std::size_t lists =
      std::min({books.AccountNames.size(), books.AccountFolios.size(), books.AccountTypes.size()});
  if (books.LastAccountIndex < 0) return 0;
  return static_cast<int>(
      std::min<std::size_t>(lists, static_cast<std::size_t>(books.LastAccountIndex) + 1));
}

void Books::AppendLine(const PostingLine& line, const EntryNumber& number) {
  PostingLines.push_back(line);
  EntryNumbers.push_back(number);
}

int32_t NewStart(Books& books, DaySerial today) {
  books.PostingLines = EmptyEntry(today);
  // A fresh journal has no entry before the new one, so its number is always "1".
  books.EntryNumbers.assign(2, EntryNumber("1"));
  RaiseBooksStamp(books);
  return 1;
}

std::vector<PostingLine> EmptyEntry(DaySerial date) {
  std::vector<PostingLine> entry(2);
  entry[0].LineDate = date;
  entry[0].Side = kDebit;
  entry[1].LineDate = date;
  entry[1].Side = kCredit;
  entry[1].Notes = std::string(kNoNotes);
  return entry;
}

Books NewBooks(DaySerial today) {
  Books books;
  books.ResizeChart(kMinLastAccountIndex);
  books.AccountNames[0] = Str(155) + " b/f";
  books.AccountFolios[0] = Folio::FromUnits(1);
  books.AccountTypes[0] = kOtherAccount;
  books.PreparedEntryBuffer = EmptyPreparedEntry();
  for (auto& group : books.PreparedGroups) group = books.PreparedEntryBuffer;
  NewStart(books, today);
  books.BooksStamp = 0;
  return books;
}

EntryRange EntryBounds(const std::vector<PostingLine>& lines, int32_t line) {
  const auto last = static_cast<int32_t>(lines.size()) - 1;
  if (last < 0) return {};
  if (line < 0) line = 0;
  if (line > last) line = last;
  int32_t first = line;
  while (first > 0 && !EndsEntry(lines[static_cast<std::size_t>(first - 1)].Notes)) --first;
  int32_t end = line;
  while (end < last && !EndsEntry(lines[static_cast<std::size_t>(end)].Notes)) ++end;
  return {first, end};
}

std::optional<Amount> SideTotals::Difference() const {
  return Debit && Credit ? CheckedSub(*Debit, *Credit) : std::nullopt;
}

SideTotals SumSides(const std::vector<PostingLine>& lines, int32_t first, int32_t last,
                    int32_t replaced, Amount amount) {
  AmountSum debit;
  AmountSum credit;
  last = std::min(last, static_cast<int32_t>(lines.size()) - 1);
  for (int32_t i = std::max(first, 0); i <= last; ++i) {
    const PostingLine& line = lines[static_cast<std::size_t>(i)];
    const Amount value = i == replaced ? amount : line.Amount;
    if (line.Side == kDebit)
      debit.Add(value);
    else if (line.Side == kCredit)
      credit.Add(value);
  }
  return SideTotals{debit.Value(), credit.Value()};
}

std::optional<JournalFault> FindJournalFault(const std::vector<PostingLine>& lines,
                                             const std::vector<EntryNumber>* numbers) {
  const auto count = static_cast<int32_t>(lines.size());
  if (count < 2) return JournalFault{0, "The journal holds fewer than two lines."};
  if (numbers && numbers->size() != lines.size())
    return JournalFault{0, "The journal's entry numbers do not match its lines."};
  if (!EndsEntry(lines.back().Notes))
    return JournalFault{count - 1, "The journal's last line carries no notes."};
  for (int32_t first = 0; first < count;) {
    const EntryRange entry = EntryBounds(lines, first);
    // The text is only built for a fault: a long journal is checked without allocating.
    auto fault = [first](int32_t line, const char* what) {
      return JournalFault{line, "The entry at line " + std::to_string(first) + what};
    };
    const PostingLine& head = lines[static_cast<std::size_t>(entry.First)];
    int debits = 0, credits = 0;
    for (int32_t i = entry.First; i <= entry.Last; ++i) {
      const PostingLine& l = lines[static_cast<std::size_t>(i)];
      if (l.Side == kDebit) {
        if (credits > 0) return fault(i, " has a debit line after a credit line.");
        ++debits;
      } else if (l.Side == kCredit) {
        ++credits;
      } else {
        return fault(i, " has a line that is neither a debit nor a credit.");
      }
      if (l.LineDate != head.LineDate) return fault(i, " has lines of different dates.");
      if (l.Reconciled != head.Reconciled)
        return fault(i, " has lines with different reconciled marks.");
      if (numbers && (*numbers)[static_cast<std::size_t>(i)] !=
                         (*numbers)[static_cast<std::size_t>(entry.First)])
        return fault(i, " has lines with different entry numbers.");
      if (TrimText(l.Notes) != l.Notes) return fault(i, " has notes that are not trimmed.");
    }
    if (debits == 0 || credits == 0) return fault(first, " lacks a debit or a credit line.");
    if (debits > kMaxRowsPerSide || credits > kMaxRowsPerSide)
      return fault(first, " has more than 31 lines on one side.");
    first = entry.Last + 1;
  }
  return std::nullopt;
}

std::optional<std::string> CheckJournal(const std::vector<PostingLine>& lines,
                                        const std::vector<EntryNumber>* numbers) {
  if (auto fault = FindJournalFault(lines, numbers)) return std::move(fault->Text);
  return std::nullopt;
}

std::optional<std::string> CheckBooks(const Books& books) {
  if (auto fault = CheckJournal(books.PostingLines, &books.EntryNumbers)) return fault;
  const std::size_t n = books.AccountNames.size();
  if (books.AccountFolios.size() != n || books.AccountTypes.size() != n ||
      books.AccountNotes.size() != n || books.AccountDetails.size() != n ||
      books.AccountExtras.size() != n)
    return "The chart's lists differ in length.";
  if (n < static_cast<std::size_t>(kMinLastAccountIndex + 1))
    return "The chart holds fewer than 14 slots.";
  if (books.LastAccountIndex < 0 || static_cast<std::size_t>(books.LastAccountIndex) >= n)
    return "The chart's highest index lies outside its lists.";
  for (uint8_t t : books.AccountTypes)
    if (t >= kAccountTypeCount) return "The chart holds an unknown account type.";
  return std::nullopt;
}

}  // namespace qv
