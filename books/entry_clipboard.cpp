#include "books/entry_clipboard.h"

#include <algorithm>
#include <limits>

#include "books/module_procedures.h"

namespace qv {

namespace {

constexpr std::string_view kRowEnd = "\r\n";

// A text fit for one field: TABs dropped or written as "~~", CR and LF made blanks.
std::string FieldText(std::string_view text, NotesTabs tabs) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\t') {
      if (tabs == NotesTabs::AsTildes) out += "~~";
    } else if (c == '\r' || c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

ClipboardRow ReadRow(std::string_view piece, std::string_view decimalSymbol) {
  const std::vector<std::string_view> fields = SplitAt(piece, "\t");
  auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string_view(); };
  ClipboardRow row;
  if (field(0).empty()) {
    row.Side = kCredit;
    row.LineFolio = ClipboardNumber(field(1), decimalSymbol);
  } else {
    row.Side = kDebit;
    row.LineFolio = ClipboardNumber(field(0), decimalSymbol);
  }
  row.Amount = ClipboardNumber(field(3), decimalSymbol);
  row.Notes = std::string(field(4));
  return row;
}

PostingLine EmptyLine(uint8_t side, DaySerial today) {
  PostingLine line;
  line.LineDate = today;
  line.Side = side;
  return line;
}

// Brings one pasted entry under the journal's rules and appends it to `out`; false when it
// holds more lines on a side than the entry screen shows.
bool AppendEntry(std::vector<ClipboardRow>::const_iterator begin,
                 std::vector<ClipboardRow>::const_iterator end, std::string notes, DaySerial today,
                 std::vector<PostingLine>& out) {
  std::vector<PostingLine> debits, credits;
  for (auto row = begin; row != end; ++row) {
    PostingLine line = EmptyLine(row->Side == kDebit ? kDebit : kCredit, today);
    line.LineFolio = row->LineFolio;
    line.Amount = row->Amount;
    (line.Side == kDebit ? debits : credits).push_back(std::move(line));
  }
  if (debits.empty()) debits.push_back(EmptyLine(kDebit, today));
  if (credits.empty()) credits.push_back(EmptyLine(kCredit, today));
  if (debits.size() > static_cast<std::size_t>(kMaxRowsPerSide) ||
      credits.size() > static_cast<std::size_t>(kMaxRowsPerSide))
    return false;
  credits.back().Notes = notes.empty() ? std::string(kNoNotes) : std::move(notes);
  out.insert(out.end(), std::make_move_iterator(debits.begin()),
             std::make_move_iterator(debits.end()));
  out.insert(out.end(), std::make_move_iterator(credits.begin()),
             std::make_move_iterator(credits.end()));
  return true;
}

}  // namespace

std::vector<std::string_view> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
}

std::string WriteEntryClipboardText(const Books& books, const std::vector<PostingLine>& lines,
                                    int32_t first, int32_t last, NotesTabs tabs) {
  std::string text;
  const auto lastIndex = static_cast<int32_t>(lines.size()) - 1;
  first = std::max(first, 0);
  last = std::min(last, lastIndex);
  for (int32_t i = first; i <= last; ++i) {
    const PostingLine& line = lines[static_cast<std::size_t>(i)];
    const std::string folio = PlainAmountText(line.LineFolio);
    if (line.Side == kDebit) {
      text += folio;
      text += "\t\t";
    } else {
      text += '\t';
      text += folio;
      text += '\t';
    }
    text += FieldText(AccountNameOfFolio(books, line.LineFolio), NotesTabs::Removed);
    text += '\t';
    text += PlainAmountText(line.Amount);
    text += '\t';
    text += FieldText(line.Notes, tabs);
    text += kRowEnd;
  }
  text += kEntryClipboardMarker;
  return text;
}

std::string WriteEntryClipboardText(const Books& books, EntryRange entry) {
  return WriteEntryClipboardText(books, books.PostingLines, entry.First, entry.Last);
}

Amount ClipboardNumber(std::string_view field, std::string_view decimalSymbol) {
  std::size_t pos = 0;
  auto next = [&]() -> int {
    while (pos < field.size() && IsBlankChar(field[pos])) ++pos;
    return pos < field.size() ? static_cast<unsigned char>(field[pos]) : -1;
  };
  auto atPoint = [&]() -> std::size_t {  // the length of a decimal point at pos, or 0
    if (field[pos] == '.') return 1;
    if (!decimalSymbol.empty() && field.substr(pos).starts_with(decimalSymbol))
      return decimalSymbol.size();
    return 0;
  };

  bool negative = false;
  if (const int c = next(); c == '+' || c == '-') {
    negative = c == '-';
    ++pos;
  }
  // The whole part is held up to 10^15, beyond which no amount lies; the first four
  // decimals are kept, the fifth decides the rounding and the rest only tell whether
  // anything follows it.
  constexpr uint64_t kWholeLimit = 1'000'000'000'000'000ull;
  uint64_t whole = 0, fraction = 0;
  int decimals = 0, roundDigit = 0;
  bool digits = false, point = false, tooLarge = false, sticky = false;
  for (int c = next(); c != -1; c = next()) {
    if (c >= '0' && c <= '9') {
      const auto d = static_cast<uint64_t>(c - '0');
      digits = true;
      if (!point) {
        whole = whole * 10 + d;
        if (whole >= kWholeLimit) {
          tooLarge = true;
          whole = kWholeLimit;
        }
      } else if (decimals < Amount::kDecimals) {
        fraction = fraction * 10 + d;
        ++decimals;
      } else if (decimals == Amount::kDecimals) {
        roundDigit = static_cast<int>(d);
        ++decimals;
      } else {
        sticky = sticky || d != 0;
      }
      ++pos;
      continue;
    }
    const std::size_t pointLength = point ? 0 : atPoint();
    if (pointLength == 0) break;
    point = true;
    pos += pointLength;
  }
  if (!digits || tooLarge) return Amount();
  for (int i = std::min(decimals, Amount::kDecimals); i < Amount::kDecimals; ++i) fraction *= 10;
  uint64_t raw = whole * static_cast<uint64_t>(Amount::kScale) + fraction;
  if (roundDigit > 5 || (roundDigit == 5 && (sticky || raw % 2 == 1))) ++raw;

  constexpr auto kMaxRaw = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (negative) {
    if (raw > kMaxRaw + 1) return Amount();
    if (raw == kMaxRaw + 1) return Amount::Min();
    return Amount::FromRaw(-static_cast<int64_t>(raw));
  }
  if (raw > kMaxRaw) return Amount();
  return Amount::FromRaw(static_cast<int64_t>(raw));
}

std::optional<std::vector<ClipboardRow>> ReadEntryClipboardText(std::string_view text,
                                                                std::string_view decimalSymbol) {
  std::vector<std::string_view> pieces = SplitAt(text, kRowEnd);
  if (pieces.back() != kEntryClipboardMarker) return std::nullopt;
  pieces.pop_back();
  std::vector<ClipboardRow> rows;
  rows.reserve(pieces.size());
  for (std::string_view piece : pieces) rows.push_back(ReadRow(piece, decimalSymbol));
  return rows;
}

std::optional<std::vector<PostingLine>> PastedLines(const std::vector<ClipboardRow>& rows,
                                                    DaySerial today) {
  std::vector<PostingLine> lines;
  lines.reserve(rows.size() + 2);
  auto begin = rows.begin();
  for (auto row = rows.begin(); row != rows.end(); ++row) {
    const std::string_view notes = TrimText(row->Notes);
    if (notes.empty()) continue;
    if (!AppendEntry(begin, row + 1, std::string(notes), today, lines)) return std::nullopt;
    begin = row + 1;
  }
  // Rows after the last one with notes still make an entry, closed with "_".
  if (begin != rows.end() && !AppendEntry(begin, rows.end(), std::string(), today, lines))
    return std::nullopt;
  return lines;
}

std::optional<PastedEntry> PasteEntry(Books& books, std::string_view text, const LocaleInfo& locale,
                                      DaySerial today) {
  const auto rows = ReadEntryClipboardText(text, locale.DecimalSymbol);
  if (!rows) return std::nullopt;
  auto lines = PastedLines(*rows, today);
  if (!lines) return std::nullopt;

  PastedEntry where;
  where.FirstLine = books.LastLineIndex() + 1;
  books.PostingLines.reserve(books.PostingLines.size() + lines->size());
  books.EntryNumbers.reserve(books.EntryNumbers.size() + lines->size());
  EntryNumber number;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    books.AppendLine((*lines)[i], EntryNumber());
    // The number follows the book's last entry, so it is taken once the first line stands
    // after it, and every pasted line shares it.
    if (i == 0 && books.AutoTrackingNumbers == 1) number = NextEntryNumber(books, where.FirstLine);
    books.EntryNumbers.back() = number;
  }
  where.LastLine = books.LastLineIndex();
  if (books.EntryCounter < std::numeric_limits<int32_t>::max()) ++books.EntryCounter;
  return where;
}

}  // namespace qv
