#include "accounts/prepared_groups.h"

#include <algorithm>
#include <limits>

#include "accounts/chart_editor.h"
#include "books/entry_clipboard.h"
#include "books/module_procedures.h"
#include "platform/utf8.h"

namespace qv {
namespace {

constexpr std::size_t kGroupNameLength = GroupName::kLength;

// True when the field is one number: blanks around it, an optional sign, digits with at
// most one decimal point ("." or the locale's symbol).
bool IsNumberField(std::string_view field, std::string_view decimalSymbol) {
  field = TrimAny(field, " \t");
  if (!field.empty() && (field[0] == '-' || field[0] == '+')) field.remove_prefix(1);
  bool digits = false;
  bool point = false;
  std::size_t pos = 0;
  while (pos < field.size()) {
    if (field[pos] >= '0' && field[pos] <= '9') {
      digits = true;
      ++pos;
      continue;
    }
    std::size_t length = 0;
    if (field[pos] == '.')
      length = 1;
    else if (!decimalSymbol.empty() && field.substr(pos).starts_with(decimalSymbol))
      length = decimalSymbol.size();
    if (length == 0 || point) return false;
    point = true;
    pos += length;
  }
  return digits;
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = text.find(from, start);
    if (at == std::string_view::npos) break;
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string DefaultCaption(int group) { return "Group " + std::to_string(group + 1) + "..."; }

}  // namespace

PreparedPaste ReadPreparedPaste(std::string_view text, std::string_view decimalSymbol) {
  PreparedPaste paste;
  const std::vector<std::string_view> rows = SplitAt(text, "\r\n");
  if (rows.size() < 2 || rows.back() != kEntryClipboardMarker) return paste;
  for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
    const std::vector<std::string_view> fields = SplitAt(rows[r], "\t");
    const bool wellFormed =
        fields.size() == 5 &&
        IsNumberField(fields[0].empty() ? fields[1] : fields[0], decimalSymbol) &&
        IsNumberField(fields[3], decimalSymbol);
    if (wellFormed) continue;
    paste.Result = PreparedPaste::Kind::Refused;
    paste.Message = "Row " + std::to_string(r + 1) +
                    " of the clipboard's entry is not a line of an entry (a folio, an account "
                    "name, an amount and notes, separated by tabs); nothing was pasted.";
    return paste;
  }
  std::optional<std::vector<ClipboardRow>> read = ReadEntryClipboardText(text, decimalSymbol);
  if (!read) return paste;
  for (ClipboardRow& row : *read) row.Notes = Replaced(row.Notes, "~~", ",");
  std::optional<std::vector<PostingLine>> lines = PastedLines(*read, kZeroDate);
  if (!lines) {
    paste.Result = PreparedPaste::Kind::Refused;
    paste.Message = "The clipboard's entry has more than " + std::to_string(kMaxRowsPerSide) +
                    " lines on one side; nothing was pasted.";
    return paste;
  }
  paste.Result = PreparedPaste::Kind::Lines;
  paste.Lines = std::move(*lines);
  return paste;
}

PreparedGroupsModel::PreparedGroupsModel(Books& books) : books_(books) {
  for (int g = 0; g < kPreparedGroupCount; ++g)
    captions_[static_cast<std::size_t>(g)] = DefaultCaption(g);
}

void PreparedGroupsModel::Load() {
  for (int g = 0; g < kPreparedGroupCount; ++g) {
    const std::string name = ShownGroupName(g);
    captions_[static_cast<std::size_t>(g)] = name.empty() ? DefaultCaption(g) : name;
  }
  nameBox_ = ShownGroupName(0);
  group_ = 0;
  List() = books_.PreparedGroups[0];
  SelectFirstEntry();
}

std::string PreparedGroupsModel::ShownGroupName(int group) const {
  std::string text = books_.GroupNames[static_cast<std::size_t>(group)].Text();
  std::replace(text.begin(), text.end(), '\0', ' ');
  return std::string(TrimText(text));
}

void PreparedGroupsModel::Store() {
  std::vector<PostingLine>& group = books_.PreparedGroups[static_cast<std::size_t>(group_)];
  // The empty entry shown for a group without lines goes back as it came, as no lines.
  if (group.empty() && Lines() == EmptyPreparedEntry()) return;
  group = Lines();
}

void PreparedGroupsModel::SwitchGroup(int group) {
  if (group < 0 || group >= kPreparedGroupCount) return;
  Store();
  List() = books_.PreparedGroups[static_cast<std::size_t>(group)];
  nameBox_ = captions_[static_cast<std::size_t>(group)];
  group_ = group;
  SelectFirstEntry();
}

void PreparedGroupsModel::SelectFirstEntry() {
  // A group read from a file always holds an entry; an empty one gets the empty entry.
  if (List().empty()) List() = EmptyPreparedEntry();
  focus_ = 0;
}

const std::string& PreparedGroupsModel::Caption(int group) const {
  return captions_[static_cast<std::size_t>(std::clamp(group, 0, kPreparedGroupCount - 1))];
}

std::optional<std::string> PreparedGroupsModel::StoreGroupName(std::string_view text) {
  const std::string_view trimmed = TrimText(text);
  if (Utf8Length(trimmed) > kGroupNameLength)
    return "A group name holds at most " + std::to_string(kGroupNameLength) +
           " characters; the name typed was not stored, and the group keeps the name \"" +
           std::string(TrimText(books_.GroupNames[static_cast<std::size_t>(group_)].Text())) +
           "\".";
  captions_[static_cast<std::size_t>(group_)] = std::string(trimmed);
  books_.GroupNames[static_cast<std::size_t>(group_)] = trimmed;
  return std::nullopt;
}

std::vector<PreparedRow> PreparedGroupsModel::Rows(int32_t top, int count,
                                                   const LocaleInfo& locale) const {
  std::vector<PreparedRow> rows;
  const std::vector<PostingLine>& lines = Lines();
  const int32_t last = LastWorkLine();
  for (int32_t line = std::max(top, 0); line <= last && line < top + count; ++line) {
    const PostingLine& l = lines[static_cast<std::size_t>(line)];
    PreparedRow row;
    row.Line = line;
    row.Side = l.Side;
    const PostingLine* previous = line > 0 ? &lines[static_cast<std::size_t>(line - 1)] : nullptr;
    if (l.Side == kDebit)
      row.SideLabel = previous == nullptr || EndsEntry(previous->Notes);
    else if (l.Side == kCredit)
      row.SideLabel = previous != nullptr && previous->Side == kDebit;
    if (l.LineFolio > Folio()) row.FolioText = PlainAmountText(l.LineFolio, locale.DecimalSymbol);
    row.AccountName = AccountNameOfFolio(books_, l.LineFolio);
    if (!l.Amount.IsZero()) row.AmountText = PlainAmountText(l.Amount, locale.DecimalSymbol);
    row.NotesBox = EndsEntry(l.Notes);
    if (row.NotesBox && l.Notes != kNoNotes) row.NotesText = l.Notes;
    rows.push_back(std::move(row));
  }
  return rows;
}

void PreparedGroupsModel::Focus(int32_t line) { focus_ = std::clamp(line, 0, LastWorkLine()); }

EntryRange PreparedGroupsModel::Selection() const { return EntryBounds(Lines(), focus_); }

uint8_t PreparedGroupsModel::AddLineSide() const {
  const uint8_t side = Lines()[static_cast<std::size_t>(focus_)].Side;
  if (side != kDebit && side != kCredit) return 0;
  const EntryRange entry = Selection();
  const auto begin = Lines().begin();
  const auto sideLines = std::count_if(begin + entry.First, begin + entry.Last + 1,
                                       [side](const PostingLine& l) { return l.Side == side; });
  return sideLines < kPreparedSideLimit ? side : 0;
}

std::optional<std::string> PreparedGroupsModel::StoreFolio(int32_t line, std::string_view text,
                                                           const LocaleInfo& locale) {
  if (line < 0 || line > LastWorkLine()) return std::nullopt;
  const FolioReading reading = ReadChartFolio(text, locale.DecimalSymbol);
  if (!reading.Stores()) return std::nullopt;
  List()[static_cast<std::size_t>(line)].LineFolio = reading.Value;
  return AccountNameOfFolio(books_, reading.Value);
}

std::optional<std::string> PreparedGroupsModel::FolioLeftMessage(int32_t line,
                                                                 std::string_view text,
                                                                 const LocaleInfo& locale) const {
  if (line < 0 || line > LastWorkLine()) return std::nullopt;
  const FolioReading reading = ReadChartFolio(text, locale.DecimalSymbol);
  if (reading.Stores()) return std::nullopt;
  const Folio kept = Lines()[static_cast<std::size_t>(line)].LineFolio;
  return RefusedFolioMessage(reading, text, PlainAmountText(kept, locale.DecimalSymbol));
}

std::optional<std::string> PreparedGroupsModel::StoreAccountName(int32_t line,
                                                                 std::string_view name,
                                                                 const LocaleInfo& locale) {
  if (line < 0 || line > LastWorkLine()) return std::nullopt;
  Folio& posted = List()[static_cast<std::size_t>(line)].LineFolio;
  const Folio folio = FolioOfAccountFor(books_, name, posted);
  if (folio.IsZero()) return std::nullopt;
  posted = folio;
  return ChartFolioText(folio, books_.FolioDashes != 0, locale.DecimalSymbol);
}

bool PreparedGroupsModel::StoreAmount(int32_t line, std::string_view text,
                                      const LocaleInfo& locale) {
  if (line < 0 || line > LastWorkLine()) return false;
  const TypedAmount typed = ReadTypedAmount(text, locale);
  if (typed.Kind != TypedAmountKind::Value && typed.Kind != TypedAmountKind::Empty) return false;
  List()[static_cast<std::size_t>(line)].Amount = typed.Value;
  return true;
}

void PreparedGroupsModel::StoreNotes(int32_t line, std::string_view text) {
  if (line < 0 || line > LastWorkLine()) return;
  PostingLine& l = List()[static_cast<std::size_t>(line)];
  // Only an entry's last line carries notes.
  if (!EndsEntry(l.Notes) && line != LastWorkLine()) return;
  l.Notes = TrimText(text).empty() ? std::string(kNoNotes) : std::string(text);
}

int32_t PreparedGroupsModel::NewEntry() {
  const int32_t first = LastWorkLine() + 1;
  for (const PostingLine& line : EmptyPreparedEntry()) List().push_back(line);
  focus_ = first;
  return first;
}

bool PreparedGroupsModel::AddLine(uint8_t side) {
  if (side == 0 || AddLineSide() != side) return false;
  PostingLine line;
  line.Side = side;
  List().insert(List().begin() + focus_, line);
  return true;
}

bool PreparedGroupsModel::DeleteEntry() {
  const EntryRange entry = Selection();
  if (LastWorkLine() + 1 - entry.Size() < 2) return false;
  List().erase(List().begin() + entry.First, List().begin() + entry.Last + 1);
  focus_ = EntryBounds(Lines(), LastWorkLine()).First;
  return true;
}

std::string PreparedGroupsModel::CopyText() const {
  const EntryRange entry = Selection();
  return WriteEntryClipboardText(books_, Lines(), entry.First, entry.Last, NotesTabs::Removed);
}

PreparedPaste PreparedGroupsModel::Paste(std::string_view text, const LocaleInfo& locale) {
  PreparedPaste paste = ReadPreparedPaste(text, locale.DecimalSymbol);
  if (paste.Result != PreparedPaste::Kind::Lines) return paste;
  const int32_t first = LastWorkLine() + 1;
  List().insert(List().end(), paste.Lines.begin(), paste.Lines.end());
  focus_ = first;
  return paste;
}

IncludeResult PreparedGroupsModel::Include(bool wholeGroup, DaySerial today) {
  IncludeResult result;
  const EntryRange range = wholeGroup ? EntryRange{0, LastWorkLine()} : Selection();
  const auto begin = Lines().begin();
  std::vector<PostingLine> lines(begin + range.First, begin + range.Last + 1);
  for (PostingLine& line : lines) {
    line.LineDate = today;
    line.Reconciled = 0;
  }
  // An included run always ends its last entry.
  if (!EndsEntry(lines.back().Notes)) lines.back().Notes = std::string(kNoNotes);
  if (const std::optional<JournalFault> fault = FindJournalFault(lines)) {
    result.Message = "The prepared entries were not included: line " +
                     std::to_string(range.First + fault->Line + 1) +
                     " of the group breaks a "
                     "rule of the journal (" +
                     fault->Text + ").";
    return result;
  }

  // The number that follows the journal's last entry number, taken once.
  double number = 1;
  if (books_.LastLineIndex() >= 0)
    number = LeadingNumber(books_.EntryNumbers.back().TrimmedText()) + 1;
  const bool numbered = books_.AutoTrackingNumbers == 1;
  result.FirstLine = books_.LastLineIndex() + 1;
  for (const PostingLine& line : lines) {
    books_.AppendLine(line, numbered ? EntryNumber(PlainNumberText(number)) : EntryNumber());
    if (books_.EntryCounter < std::numeric_limits<int32_t>::max()) ++books_.EntryCounter;
    if (EndsEntry(line.Notes)) number += 1;
  }
  result.LastLine = books_.LastLineIndex();
  result.Done = true;
  return result;
}

}  // namespace qv
