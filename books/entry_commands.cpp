#include "books/entry_commands.h"

#include <algorithm>
#include <limits>

#include "books/module_procedures.h"
#include "platform/string_table.h"

namespace qv {
namespace {

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

// A counter that only grows stops at its largest value rather than wrap.
void Raise(int32_t& counter) {
  if (counter < kInt32Max) ++counter;
}

}  // namespace

EntryCommands::EntryCommands(EntryScreen& screen, const Clock& clock)
    : screen_(screen), clock_(clock), fields_(screen, clock) {}

// ---- New Entry.

EntryCommands::NewEntryResult EntryCommands::NewEntry(std::string_view pickerText) {
  NewEntryResult result;
  Books& b = books();
  const int32_t last = b.LastLineIndex();

  DaySerial date = clock_.Today();
  if (!pickerText.empty() && fields_.DateTextUnedited(pickerText)) {
    // The picker still shows the shown entry's date as the display wrote it: reading it
    // back could move a two-digit year to another century, so the stored date is taken.
    date = b.PostingLines[static_cast<std::size_t>(screen_.EntryFirstLine())].LineDate;
  } else if (!pickerText.empty()) {
    const EntryFields::TypedDate typed = fields_.ReadTypedDate(pickerText);
    date = typed.Date;
    result.InvalidDate = typed.Invalid;
  }

  for (const PostingLine& line : EmptyEntry(date)) b.AppendLine(line, EntryNumber());
  const int32_t first = last + 1;
  Raise(b.EntryCounter);
  if (b.AutoTrackingNumbers == 1) {
    const EntryNumber number(NextEntryNumber(b, first));
    b.EntryNumbers[static_cast<std::size_t>(first)] = number;
    b.EntryNumbers[static_cast<std::size_t>(first + 1)] = number;
  }

  screen_.ShowLine(first);
  result.ScrollMax = b.LastLineIndex();
  result.ScrollValue = first;
  result.DateText = screen_.Layout().DateText;
  result.EntryNumberText = screen_.EntryNumberText();
  result.Status = JournalBalanceStatus();
  return result;
}

EntryStatus EntryCommands::JournalBalanceStatus() const {
  EntryStatus status;
  status.Color = kRed;
  const auto difference = SumSides(books().PostingLines, 0, books().LastLineIndex()).Difference();
  const auto size = difference ? CheckedAbs(*difference) : std::nullopt;
  if (!size) {
    status.Text = kJournalTotalsOutOfRangeText;
    return status;
  }
  if (size->IsZero()) {
    status.Text = Str(277);
    status.Color = kBlack;
    return status;
  }
  status.Text = Str(difference->IsNegative() ? 276 : 275) + " " + screen_.AmountText(*size);
  return status;
}

// ---- Add a line.

EntryCommands::AddLineResult EntryCommands::AddLine(uint8_t side, int32_t boxHeight) {
  AddLineResult result;
  if (side != kDebit && side != kCredit) return result;
  Books& b = books();
  const int32_t first = screen_.EntryFirstLine();
  const int32_t last = screen_.EntryLastLine();
  // Lines are appended at the journal's end, so only its last entry can grow.
  if (last != b.LastLineIndex() || !fields_.ShownEntryWritable()) return result;
  const auto begin = b.PostingLines.begin() + first;
  const auto end = b.PostingLines.begin() + last + 1;
  const auto onSide =
      std::count_if(begin, end, [side](const PostingLine& l) { return l.Side == side; });
  if (onSide >= kMaxRowsPerSide) {
    result.HideButton = true;
    return result;
  }

  PostingLine& lastLine = b.PostingLines[static_cast<std::size_t>(last)];
  std::string notes = std::move(lastLine.Notes);
  lastLine.Notes.clear();
  PostingLine added;
  added.LineDate = lastLine.LineDate;
  added.Side = side;
  // The entry's lines share one reconciled mark.
  added.Reconciled = b.PostingLines[static_cast<std::size_t>(first)].Reconciled;
  const EntryNumber number = b.EntryNumbers[static_cast<std::size_t>(last)];
  b.AppendLine(added, number);
  // Debit lines before credit lines, each side keeping its order: a new debit line becomes
  // the last debit line.
  std::stable_sort(b.PostingLines.begin() + first, b.PostingLines.end(),
                   [](const PostingLine& x, const PostingLine& y) { return x.Side < y.Side; });
  b.PostingLines.back().Notes = std::move(notes);
  screen_.SetShownEntry(first, last + 1);
  result.Added = true;
  result.HideButton = onSide + 1 >= kMaxRowsPerSide;

  // Lay the rows out again, scrolled so that the new row is in view.
  const int32_t offset = screen_.EntryScrollOffset();
  const EntryLayout& layout = screen_.SetRowOffset(offset);
  const int row = side == kDebit ? screen_.LastDebitRow() : screen_.LastCreditRow();
  const std::vector<EntryRowView>& rows = side == kDebit ? layout.Debit : layout.Credit;
  const int32_t top = rows[static_cast<std::size_t>(row)].Top;
  const int32_t bottom = top + screen_.Metrics().RowHeight;
  int64_t wanted = offset;
  if (top < 0)
    wanted = int64_t{offset} + top;
  else if (bottom > boxHeight)
    wanted = int64_t{offset} + (bottom - boxHeight);
  result.RowScroll = RowScrollFor(screen_.ContentBottom(), boxHeight, wanted);
  if (result.RowScroll.Value != offset) screen_.SetRowOffset(result.RowScroll.Value);
  result.Focus = side == kDebit ? EntryFocus::DebitFolio : EntryFocus::CreditFolio;
  result.FocusRow = row;
  return result;
}

// ---- The sum command.

EntryCommands::CalcCompoundResult EntryCommands::CalcCompound(std::string_view debitText,
                                                              std::string_view creditText) {
  CalcCompoundResult result;
  if (!fields_.ShownEntryWritable()) return result;
  const EntryLayout& layout = screen_.Layout();
  const bool severalDebits = layout.Debit.size() > 1;
  const bool severalCredits = layout.Credit.size() > 1;
  if (!severalDebits && !severalCredits) {
    if (!debitText.empty()) {
      result.Side = kCredit;
      result.Text = std::string(debitText);
    } else if (!creditText.empty()) {
      result.Side = kDebit;
      result.Text = std::string(creditText);
    } else {
      return result;
    }
  } else {
    const auto totals = fields_.EntryTotals();
    if (!totals) return result;
    if (severalCredits || !severalDebits) {
      result.Side = kDebit;
      result.Text = screen_.AmountText(totals->Credit);
    } else {
      result.Side = kCredit;
      result.Text = screen_.AmountText(totals->Debit);
    }
  }
  result.Acted = true;
  result.Status = fields_.StoreAmount(result.Side, 0, result.Text).Status;
  result.Focus = result.Side == kDebit ? EntryFocus::DebitAmount : EntryFocus::CreditAmount;
  return result;
}

// ---- Delete the shown entry.

EntryCommands::DeleteResult EntryCommands::DeleteShownEntry(bool gatePassed) {
  DeleteResult result;
  if (!gatePassed) return result;
  Books& b = books();
  if (b.LastLineIndex() < 0) return result;
  // The lines removed are those of the entry holding CurrentLine, found afresh now.
  const EntryRange range = EntryBounds(b, screen_.CurrentLine());
  b.PostingLines.erase(b.PostingLines.begin() + range.First,
                       b.PostingLines.begin() + range.Last + 1);
  b.EntryNumbers.erase(b.EntryNumbers.begin() + range.First,
                       b.EntryNumbers.begin() + range.Last + 1);
  RaiseBooksStamp(b);
  if (b.PostingLines.empty()) {
    NewStart(b, clock_.Today());
  } else if (b.PostingLines.size() == 1) {
    // A journal keeps two lines: a lone line left by a broken entry gets an empty line of
    // the other side.
    PostingLine& only = b.PostingLines.front();
    PostingLine other;
    other.LineDate = only.LineDate;
    other.Reconciled = only.Reconciled;
    const EntryNumber number = b.EntryNumbers.front();
    if (only.Side == kCredit) {
      other.Side = kDebit;
      b.PostingLines.insert(b.PostingLines.begin(), other);
      b.EntryNumbers.insert(b.EntryNumbers.begin(), number);
    } else {
      other.Side = kCredit;
      other.Notes = EndsEntry(only.Notes) ? only.Notes : std::string(kNoNotes);
      only.Notes.clear();
      b.AppendLine(other, number);
    }
  }
  const int32_t current = std::min(range.First, b.LastLineIndex());
  screen_.ShowLine(current);
  result.Deleted = true;
  result.ScrollMax = b.LastLineIndex();
  result.ScrollValue = current;
  return result;
}

// ---- The reconciled mark.

bool EntryCommands::SetReconciled(bool ticked) {
  if (!fields_.ShownEntryIntact()) return false;
  Books& b = books();
  for (int32_t i = screen_.EntryFirstLine(); i <= screen_.EntryLastLine(); ++i)
    b.PostingLines[static_cast<std::size_t>(i)].Reconciled = ticked ? 1 : 0;
  return true;
}

}  // namespace qv
