#include "books/entry_fields.h"

#include <algorithm>

#include "books/date_styles.h"
#include "books/entry_clipboard.h"
#include "books/module_procedures.h"
#include "platform/key_codes.h"
#include "platform/string_table.h"
#include "platform/utf8.h"

namespace qv {
namespace {

constexpr std::string_view kBackspace = "\b";
constexpr std::string_view kCtrlA = "\x01";
constexpr std::string_view kCtrlC = "\x03";
constexpr std::string_view kCtrlV = "\x16";

bool IsDigit(std::string_view typed) {
  return typed.size() == 1 && typed[0] >= '0' && typed[0] <= '9';
}

// True for a grouping symbol that is a blank of some width: a person types it as an
// ordinary space.
bool IsBlankGroupSymbol(std::string_view symbol) {
  return symbol == " " || symbol == "\u00A0" || symbol == "\u202F" || symbol == "\u2009";
}

// The grouping symbols an amount may hold: the locale's, and a space where that is a blank.
// None when the locale groups with its decimal symbol (a broken setting) or not at all.
std::vector<std::string_view> GroupSymbols(const LocaleInfo& locale) {
  std::vector<std::string_view> symbols;
  const std::string_view group = locale.GroupSymbol;
  if (group.empty() || group == locale.DecimalSymbol) return symbols;
  symbols.push_back(group);
  if (group != " " && IsBlankGroupSymbol(group)) symbols.push_back(" ");
  return symbols;
}

}  // namespace

// ---- Key filters.

bool AmountKeyPasses(std::string_view typed, const LocaleInfo& locale) {
  if (typed == kBackspace || typed == kCtrlA || typed == kCtrlC || typed == kCtrlV ||
      IsDigit(typed))
    return true;
  if (!typed.empty() && typed == locale.DecimalSymbol) return true;
  for (std::string_view group : GroupSymbols(locale))
    if (typed == group) return true;
  return false;
}

bool FolioKeyPasses(std::string_view typed, const LocaleInfo& locale) {
  if (typed == kBackspace || typed == kCtrlA) return true;
  // Codes 45 to 57: "-", ".", "/" and the digits.
  if (typed.size() == 1 && typed[0] >= '-' && typed[0] <= '9') return true;
  return !typed.empty() && typed == locale.DecimalSymbol;
}

bool DateKeyPasses(std::string_view typed) {
  if (typed == kBackspace || typed == kCtrlA) return true;
  return typed.size() == 1 && (typed[0] == '-' || (typed[0] >= '/' && typed[0] <= '9'));
}

// ---- Reading texts.

TypedAmount ReadTypedAmount(std::string_view text, const LocaleInfo& locale) {
  text = TrimAny(text, " \t");
  if (text.empty()) return {TypedAmountKind::Empty, Amount()};

  const std::string_view decimal = locale.DecimalSymbol;
  const std::vector<std::string_view> groups = GroupSymbols(locale);
  // The number in plain form ("1234.5"), checked against the locale's grammar first.
  std::string plain;
  plain.reserve(text.size());
  bool point = false;
  bool digits = false;
  bool wholeNonZero = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c >= '0' && c <= '9') {
      plain += c;
      digits = true;
      if (!point && c != '0') wholeNonZero = true;
      ++pos;
      continue;
    }
    if (!decimal.empty() && text.substr(pos).starts_with(decimal)) {
      if (point) return {TypedAmountKind::Unreadable, Amount()};
      point = true;
      plain += '.';
      pos += decimal.size();
      continue;
    }
    bool grouped = false;
    if (!point) {
      for (std::string_view group : groups) {
        if (text.substr(pos).starts_with(group)) {
          pos += group.size();
          grouped = true;
          break;
        }
      }
    }
    if (!grouped) return {TypedAmountKind::Unreadable, Amount()};
  }
  if (!digits) return {TypedAmountKind::Unreadable, Amount()};
  // The plain form is read, and rounded to four decimals, by the one number reader of the
  // entry texts. It gives 0 for a value out of range, which only a whole part above 0 can be.
  const Amount value = ClipboardNumber(plain, ".");
  if (value.IsZero() && wholeNonZero) return {TypedAmountKind::OutOfRange, Amount()};
  return {TypedAmountKind::Value, value};
}

Folio ReadFolioText(std::string_view text, const LocaleInfo& locale) {
  std::string read(text);
  std::replace(read.begin(), read.end(), '-', '.');
  return ClipboardNumber(read, locale.DecimalSymbol);
}

// ---- Type-ahead.

TypeAheadResult ComboTypeAhead(const std::vector<std::string>& items, std::string_view text,
                               std::size_t selectionStart, std::size_t selectionLength,
                               std::string_view typed) {
  TypeAheadResult result;
  if (typed == kBackspace || typed == "\r" || typed == "\n") {
    result.KeyPasses = true;
    return result;
  }
  if (typed.empty()) return result;
  std::string prefix(selectionLength == 0 ? text
                                          : text.substr(0, Utf8Offset(text, selectionStart)));
  prefix += typed;
  const std::string wanted = ToLowerText(prefix);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!ToLowerText(items[i]).starts_with(wanted)) continue;
    result.Found = true;
    result.Item = static_cast<int>(i);
    result.Text = items[i];
    result.SelectionStart = Utf8Length(prefix);
    const std::size_t length = Utf8Length(result.Text);
    result.SelectionLength = length > result.SelectionStart ? length - result.SelectionStart : 0;
    break;
  }
  return result;
}

// ---- Status texts.

std::string UnknownFolioText(std::string_view folioText) {
  std::string text(folioText);
  text += " : ";
  text += Str(291);
  return text;
}

// ---- The fields of the shown entry.

EntryFields::EntryFields(EntryScreen& screen, const Clock& clock)
    : screen_(screen), clock_(clock) {}

bool EntryFields::ShownEntryWritable() const { return !screen_.ReadOnly() && ShownEntryIntact(); }

bool EntryFields::ShownEntryIntact() const {
  const Books& b = books();
  const int32_t first = screen_.EntryFirstLine();
  const int32_t last = screen_.EntryLastLine();
  if (first < 0 || last < first || last > b.LastLineIndex()) return false;
  return EntryBounds(b, first) == EntryRange{first, last};
}

int32_t EntryFields::WritableLine(uint8_t side, int row) const {
  const int32_t line = side == kDebit
                           ? screen_.LineOfDebitRow(row)
                           : (side == kCredit ? screen_.LineOfCreditRow(row) : int32_t{-1});
  if (line < screen_.EntryFirstLine() || line > screen_.EntryLastLine()) return -1;
  if (!ShownEntryWritable()) return -1;
  if (books().PostingLines[static_cast<std::size_t>(line)].Side != side) return -1;
  return line;
}

std::optional<EntryFields::Totals> EntryFields::EntryTotals(int32_t replaced, Amount amount) const {
  const SideTotals totals = SumSides(books().PostingLines, screen_.EntryFirstLine(),
                                     screen_.EntryLastLine(), replaced, amount);
  if (!totals.Difference()) return std::nullopt;
  return Totals{*totals.Debit, *totals.Credit};
}

EntryFields::AmountStore EntryFields::StoreAmount(uint8_t side, int row, std::string_view text) {
  AmountStore store;
  const int32_t line = WritableLine(side, row);
  const TypedAmount typed = ReadTypedAmount(text, locale());
  const char* refusal = nullptr;
  if (line >= 0 && typed.Kind != TypedAmountKind::Unreadable) {
    if (typed.Kind == TypedAmountKind::OutOfRange) {
      refusal = kAmountOutOfRangeText;
    } else if (!EntryTotals(line, typed.Value)) {
      refusal = kTotalsOutOfRangeText;
    } else {
      books().PostingLines[static_cast<std::size_t>(line)].Amount = typed.Value;
      store.Stored = true;
    }
  }
  store.Status = screen_.SumEntry();
  if (refusal) {
    store.Status.Text = refusal;
    store.Status.Color = kRed;
    store.Status.CalcCompound = CalcCompoundChange::Keep;
  }
  return store;
}

std::string EntryFields::ShownAmountText(uint8_t side, int row) const {
  const int32_t line = side == kDebit ? screen_.LineOfDebitRow(row) : screen_.LineOfCreditRow(row);
  if (line < 0 || line > books().LastLineIndex()) return {};
  return screen_.AmountText(books().PostingLines[static_cast<std::size_t>(line)].Amount);
}

std::optional<std::string> EntryFields::StoreFolio(uint8_t side, int row, std::string_view text) {
  const int32_t line = WritableLine(side, row);
  if (line < 0) return std::nullopt;
  const Folio folio = ReadFolioText(text, locale());
  books().PostingLines[static_cast<std::size_t>(line)].LineFolio = folio;
  return AccountNameOfFolio(books(), folio);
}

std::optional<std::string> EntryFields::FolioLeftMessage(std::string_view text) const {
  if (!AccountNameOfFolio(books(), ReadFolioText(text, locale())).empty()) return std::nullopt;
  // The number as typed, "-" not read as the decimal point: a box holding no number (empty,
  // "-", "/") says nothing.
  if (ClipboardNumber(text, locale().DecimalSymbol).IsZero()) return std::nullopt;
  return UnknownFolioText(text);
}

std::optional<std::string> EntryFields::CommitAccountName(uint8_t side, int row,
                                                          std::string_view name) {
  const int32_t line = WritableLine(side, row);
  if (line < 0) return std::nullopt;
  Folio& posted = books().PostingLines[static_cast<std::size_t>(line)].LineFolio;
  const Folio folio = FolioOfAccountFor(books(), name, posted);
  if (folio.IsZero()) return std::nullopt;
  posted = folio;
  return screen_.FolioText(folio);
}

StatusChange EntryFields::AccountChosenStatus(uint8_t side, std::string_view name) {
  StatusChange change;
  if (side == kDebit) change.Text = Str(162) + " " + std::string(name);
  return change;
}

StatusChange EntryFields::AccountKeyUpStatus(uint8_t side) {
  StatusChange change;
  if (side == kCredit) {
    change.Text = Str(163) + " ";
    change.Color = kRed;
  } else {
    change.Color = kBlack;
  }
  return change;
}

bool EntryFields::StoreNotes(std::string_view text) {
  if (!ShownEntryWritable()) return false;
  std::string notes(text.substr(0, Utf8Offset(text, kMaxNotesLength)));
  // A line break would split the entry's row in the clipboard and text forms of the book.
  std::replace(notes.begin(), notes.end(), '\r', ' ');
  std::replace(notes.begin(), notes.end(), '\n', ' ');
  const std::string_view trimmed = TrimText(notes);
  books().PostingLines[static_cast<std::size_t>(screen_.EntryLastLine())].Notes =
      trimmed.empty() ? std::string(kNoNotes) : std::string(trimmed);
  return true;
}

std::optional<std::string> EntryFields::ShownDateText() const {
  const Books& b = books();
  const int32_t first = screen_.EntryFirstLine();
  if (first < 0 || first > b.LastLineIndex()) return std::nullopt;
  return FormatDateStyle(b.PostingLines[static_cast<std::size_t>(first)].LineDate, b.DateStyleIndex,
                         locale());
}

bool EntryFields::DateTextUnedited(std::string_view text) const {
  const std::optional<std::string> shown = ShownDateText();
  return shown && text == *shown;
}

EntryFields::DateCommit EntryFields::CommitDate(std::string_view text) {
  DateCommit commit;
  const std::optional<std::string> shown = ShownDateText();
  if (!ShownEntryWritable() || (shown && text == *shown)) {
    commit.Text = shown.value_or(std::string());
    return commit;
  }
  Books& b = books();
  const int32_t first = screen_.EntryFirstLine();
  const TypedDate typed = ReadTypedDate(text);
  commit.InvalidDate = typed.Invalid;
  for (int32_t i = first; i <= screen_.EntryLastLine(); ++i)
    b.PostingLines[static_cast<std::size_t>(i)].LineDate = typed.Date;
  commit.Changed = true;
  commit.Text = FormatDateStyle(typed.Date, b.DateStyleIndex, locale());
  return commit;
}

EntryFields::TypedDate EntryFields::ReadTypedDate(std::string_view text) const {
  std::string typed(text);
  const DaySerial today = clock_.Today();
  const DaySerial date = ParseDateStyle(typed, books().DateStyleIndex, locale(), today);
  if (date == kZeroDate) return {today, true};
  return {date, false};
}

EntryFields::DateKey EntryFields::DateKeyDown(int keyCode, std::string_view text) {
  DateKey key;
  if (keyCode != kKeyUp && keyCode != kKeyDown) return key;
  key.Handled = true;
  key.Commit = CommitDate(text);
  key.ScrollValue = keyCode == kKeyUp ? screen_.PreviousEntryTarget() : screen_.NextEntryTarget();
  return key;
}

}  // namespace qv
