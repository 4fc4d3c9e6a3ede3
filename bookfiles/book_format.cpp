#include "bookfiles/book_format.h"

#include <sys/mman.h>
#include <algorithm>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <utility>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "platform/system_error_text.h"
#include "platform/utf8.h"

namespace qv {

ProgressTicker::ProgressTicker(const ProgressFn& report, int64_t total)
    : report_(report),
      total_(total < 0 ? 0 : total),
      step_(std::max<int64_t>(1, total_ / 99)),
      next_(report ? step_ : INT64_MAX) {}

void ProgressTicker::Tick(int64_t done) {
  report_(done, total_);
  // Catch up when one call jumped over several steps.
  next_ = (done / step_ + 1) * step_;
}

BookOutput::BookOutput(Consumer consumer) : consumer_(std::move(consumer)) {
  buffer_.reserve(kChunk + 64 * 1024);
}

void BookOutput::Flush() {
  if (buffer_.empty()) return;
  consumer_(buffer_);
  buffer_.clear();
}

std::size_t ChartSlotsToWrite(const Books& books) {
  const std::size_t slots =
      static_cast<std::size_t>(std::max(books.LastAccountIndex, kMinLastAccountIndex) + 1);
  return std::min(slots, kMaxChartSlots);
}

const EntryNumber& EntryNumberOfLine(const Books& books, std::size_t i) {
  static const EntryNumber blank;
  return i < books.EntryNumbers.size() ? books.EntryNumbers[i] : blank;
}

BookReadResult DataMismatch(std::string message) {
  BookReadResult result;
  result.ErrorCode = kErrDataMismatch;
  result.Message = std::move(message);
  return result;
}

namespace {

// The bytes a writer writes for a text: malformed UTF-8 is written replaced, which may make
// it longer.
std::size_t WrittenBytes(std::string_view text) {
  // Each malformed byte becomes at most three.
  if (text.size() <= kMaxTextBytes / 3 || IsValidUtf8(text)) return text.size();
  return SanitizeUtf8(text).size();
}

std::string TooLongText(const std::string& what, bool plural, std::size_t bytes) {
  return what + (plural ? " hold " : " holds ") + std::to_string(bytes) +
         " bytes; a book file holds at most " + std::to_string(kMaxTextBytes) +
         " bytes in one text.";
}

}  // namespace

std::optional<std::string> OverlongBookText(const Books& books, bool withSettings,
                                            bool withPasswords) {
  auto over = [](std::string_view text) { return WrittenBytes(text) > kMaxTextBytes; };
  const std::size_t slots = ChartSlotsToWrite(books);
  const std::pair<const std::vector<std::string>*, const char*> chartTexts[] = {
      {&books.AccountNames, "name"},
      {&books.AccountNotes, "notes"},
      {&books.AccountDetails, "details"},
      {&books.AccountExtras, "extra text"}};
  for (const auto& [list, what] : chartTexts)
    for (std::size_t i = 0; i < slots; ++i)
      if (over(ChartSlot(*list, i)))
        return TooLongText(std::string("The ") + what + " of account " +
                               PlainAmountText(ChartSlot(books.AccountFolios, i)) +
                               " (chart slot " + std::to_string(i + 1) + ")",
                           std::string_view(what) == "notes" || std::string_view(what) == "details",
                           WrittenBytes(ChartSlot(*list, i)));
  for (std::size_t i = 0; i < books.PostingLines.size(); ++i)
    if (over(books.PostingLines[i].Notes))
      return TooLongText("The notes of posting line " + std::to_string(i + 1), true,
                         WrittenBytes(books.PostingLines[i].Notes));
  if (withSettings) {
    for (std::size_t g = 0; g < books.PreparedGroups.size(); ++g)
      for (std::size_t i = 0; i < books.PreparedGroups[g].size(); ++i)
        if (over(books.PreparedGroups[g][i].Notes))
          return TooLongText("The notes of line " + std::to_string(i + 1) + " of prepared group " +
                                 std::to_string(g + 1),
                             true, WrittenBytes(books.PreparedGroups[g][i].Notes));
    const std::pair<const std::string*, const char*> settings[] = {
        {&books.BusinessName, "The business name"},
        {&books.BusinessAddress, "The business address"},
        {&books.FontName, "The font name"}};
    for (const auto& [text, what] : settings)
      if (over(*text)) return TooLongText(what, false, WrittenBytes(*text));
  }
  if (withPasswords) {
    const std::pair<const std::string*, const char*> passwords[] = {
        {&books.FilePassword, "The file password"}, {&books.AdminPassword, "The admin password"}};
    for (const auto& [text, what] : passwords)
      if (over(*text)) return TooLongText(what, false, WrittenBytes(*text));
  }
  return std::nullopt;
}

BookFileResult WriteFailure(const std::string& path, int err) {
  BookFileResult result;
  const std::string quoted = "\"" + path + "\"";
  if (err == ENOMEM) {
    result.ErrorCode = kErrOutOfMemory;
    result.Message =
        "There is not enough memory to write " + quoted + "; the file was not changed.";
    return result;
  }
  // A named pipe, device or socket that the writer would not replace: the sentence alone
  // names it.
  if (std::string what = NotOrdinaryFileText(path, err); !what.empty()) {
    result.ErrorCode = kErrDataMismatch;
    result.Message = std::move(what);
    return result;
  }
  result.ErrorCode = err != 0 ? FileErrorCodeFromErrno(err) : kErrDeviceIo;
  result.Message = "Writing " + quoted + " failed" +
                   (err != 0 ? std::string(": ") + SystemErrorText(err) : std::string()) +
                   ". The file was not changed.";
  return result;
}

void AppendIsoDate(std::string& out, DaySerial day) {
  day = day < kMinDaySerial ? kMinDaySerial : day > kMaxDaySerial ? kMaxDaySerial : day;
  const CalendarDate d = DateOf(day);
  char text[10] = {static_cast<char>('0' + d.Year / 1000),
                   static_cast<char>('0' + d.Year / 100 % 10),
                   static_cast<char>('0' + d.Year / 10 % 10),
                   static_cast<char>('0' + d.Year % 10),
                   '-',
                   static_cast<char>('0' + d.Month / 10),
                   static_cast<char>('0' + d.Month % 10),
                   '-',
                   static_cast<char>('0' + d.Day / 10),
                   static_cast<char>('0' + d.Day % 10)};
  out.append(text, 10);
}

std::optional<DaySerial> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int parts[3] = {0, 0, 0};
  const int starts[3] = {0, 5, 8};
  const int lengths[3] = {4, 2, 2};
  for (int p = 0; p < 3; ++p)
    for (int i = 0; i < lengths[p]; ++i) {
      const char c = text[static_cast<std::size_t>(starts[p] + i)];
      if (c < '0' || c > '9') return std::nullopt;
      parts[p] = parts[p] * 10 + (c - '0');
    }
  return SerialOf(parts[0], parts[1], parts[2]);
}

std::optional<int64_t> ParseWholeNumber(std::string_view text, int64_t low, int64_t high) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
    return std::nullopt;
  return value;
}

std::optional<uint8_t> ParseSide(std::string_view text) {
  if (text == "D" || text == "d" || text == "1") return kDebit;
  if (text == "C" || text == "c" || text == "2") return kCredit;
  return std::nullopt;
}

namespace {

std::optional<Amount> AmountField(std::string_view text) {
  return text.empty() ? std::optional<Amount>(Amount()) : ParsePlainAmount(text);
}

std::string NotANumber(std::string_view what, std::string_view text) {
  return "the " + std::string(what) + " " + QuotedPiece(text) +
         " is not a number written with \".\" and at most four decimals.";
}

}  // namespace

std::optional<std::string> ReadLineFields(const LineFields& f, PostingLine& line) {
  const auto date = ParseIsoDate(f.date);
  if (!date)
    return "the date " + QuotedPiece(f.date) +
           " is not a real day of the years 100 to 9999 written yyyy-mm-dd.";
  const auto side = ParseSide(f.side);
  if (!side) return "the side " + QuotedPiece(f.side) + " is not D (debit) or C (credit).";
  const auto folio = AmountField(f.folio);
  if (!folio) return NotANumber("folio", f.folio);
  const auto amount = AmountField(f.amount);
  if (!amount) return NotANumber("amount", f.amount);
  const auto reconciled = ParseWholeNumber(f.reconciled, 0, 255);
  if (!reconciled)
    return "the reconciled mark " + QuotedPiece(f.reconciled) +
           " is not a whole number (1 = reconciled, 0 = not).";
  line.LineDate = *date;
  line.Side = *side;
  line.LineFolio = *folio;
  line.Amount = *amount;
  line.Reconciled = static_cast<uint8_t>(*reconciled);
  return std::nullopt;
}

std::optional<std::string> ReadEntryNumber(std::string_view text, EntryNumber& number) {
  if (Utf8Length(text) > EntryNumber::kLength)
    return "the entry number " + QuotedPiece(text) + " is longer than 14 characters.";
  number = text;
  return std::nullopt;
}

std::optional<std::string> ReadAccountFields(std::string_view folio, std::string_view type,
                                             Folio& folioOut, uint8_t& typeOut) {
  const auto f = AmountField(folio);
  if (!f) return NotANumber("folio", folio);
  const auto t = ParseWholeNumber(type, 0, kAccountTypeCount - 1);
  if (!t) return "the account type " + QuotedPiece(type) + " is not a number from 0 to 8.";
  folioOut = *f;
  typeOut = static_cast<uint8_t>(*t);
  return std::nullopt;
}

std::string QuotedPiece(std::string_view text) {
  constexpr std::size_t kShown = 60;
  std::string piece = IsValidUtf8(text) ? std::string(text) : SanitizeUtf8(text);
  bool cut = false;
  if (Utf8Length(piece) > kShown) {
    piece.resize(Utf8Offset(piece, kShown));
    cut = true;
  }
  for (char& c : piece)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return "\"" + piece + (cut ? "...\"" : "\"");
}

void FileLineMap::Add(int64_t fileLine) {
  if (jumps_.empty() || fileLine != jumps_.back().second + (count_ - jumps_.back().first))
    jumps_.emplace_back(count_, fileLine);
  ++count_;
}

int64_t FileLineMap::Of(int32_t index) const {
  auto it = std::upper_bound(jumps_.begin(), jumps_.end(), int64_t{index},
                             [](int64_t i, const auto& jump) { return i < jump.first; });
  if (it == jumps_.begin()) return 0;
  --it;
  return it->second + (index - it->first);
}

namespace {

// Asks for large pages over the whole pages of a block not yet touched.
void PreferLargePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

void ReserveJournalLines(Books& book, std::size_t count) {
  book.PostingLines.reserve(count);
  book.EntryNumbers.reserve(count);
  PreferLargePages(book.PostingLines.data(), count * sizeof(PostingLine));
  PreferLargePages(book.EntryNumbers.data(), count * sizeof(EntryNumber));
}

void ReserveJournal(Books& book, uint64_t lines, uint64_t bytes) {
  // "yyyy-mm-dd", a side, a reconciled mark, six separators and a line end.
  constexpr uint64_t kLeastLineBytes = 19;
  const uint64_t most = std::min<uint64_t>(
      {lines, bytes / kLeastLineBytes + 1, static_cast<uint64_t>(kMaxPostingLines)});
  ReserveJournalLines(book, static_cast<std::size_t>(most));
}

void FitJournal(Books& book) {
  if (book.PostingLines.capacity() / 2 > book.PostingLines.size() + 1024) {
    book.PostingLines.shrink_to_fit();
    book.EntryNumbers.shrink_to_fit();
  }
}

std::string JournalFaultMessage(const JournalFault& fault, const std::vector<PostingLine>& lines,
                                std::string_view where, std::string_view word,
                                const std::function<int64_t(int32_t)>& numberOf) {
  auto number = [&](int32_t index) {
    const int32_t last = lines.empty() ? 0 : static_cast<int32_t>(lines.size()) - 1;
    return std::to_string(numberOf(std::clamp(index, 0, last)));
  };
  std::string head = std::string(where) + " " + number(fault.Line) + ": ";
  // Faults about one entry read "The entry at line <index> has ...": name the lines.
  const std::string_view prefix = "The entry at line ";
  std::string_view text = fault.Text;
  if (text.substr(0, prefix.size()) == prefix && !lines.empty()) {
    text.remove_prefix(prefix.size());
    while (!text.empty() && text.front() >= '0' && text.front() <= '9') text.remove_prefix(1);
    const int32_t first = EntryBounds(lines, fault.Line).First;
    return head + "the entry that starts on " + std::string(word) + " " + number(first) +
           std::string(text);
  }
  return head + fault.Text;
}

namespace {

void TrimNotes(std::vector<PostingLine>& lines) {
  for (PostingLine& line : lines) {
    const std::string_view trimmed = TrimText(line.Notes);
    if (trimmed.size() != line.Notes.size()) line.Notes = std::string(trimmed);
  }
}

void CloseLastEntry(std::vector<PostingLine>& lines) {
  if (!lines.empty() && lines.back().Notes.empty()) lines.back().Notes = std::string(kNoNotes);
}

}  // namespace

std::optional<ReadFault> FinishReadBook(Books& book, DaySerial today) {
  TrimNotes(book.PostingLines);
  if (book.PostingLines.empty()) {
    const int32_t stamp = book.BooksStamp;
    NewStart(book, today);
    book.BooksStamp = stamp;
  }
  CloseLastEntry(book.PostingLines);
  for (auto& group : book.PreparedGroups) {
    TrimNotes(group);
    CloseLastEntry(group);
  }

  book.DateStyleIndex = static_cast<int16_t>(EffectiveDateStyle(book.DateStyleIndex));
  for (int16_t* decimals : {&book.JournalDecimals, &book.LedgerDecimals, &book.TrialDecimals,
                            &book.IncomeDecimals, &book.BalanceSheetDecimals})
    *decimals = std::clamp<int16_t>(*decimals, 0, 3);
  if (book.FolioDashes != 0) book.FolioDashes = -1;

  const int slots = static_cast<int>(book.AccountNames.size());
  book.ResizeChart(std::max(slots, kMinLastAccountIndex + 1) - 1);
  book.PreparedEntryBuffer =
      book.PreparedGroups[0].empty() ? EmptyPreparedEntry() : book.PreparedGroups[0];

  if (auto fault = FindJournalFault(book.PostingLines, &book.EntryNumbers))
    return ReadFault{-1, std::move(*fault)};
  for (int g = 0; g < kPreparedGroupCount; ++g) {
    const auto& group = book.PreparedGroups[static_cast<std::size_t>(g)];
    if (group.size() == 1)
      return ReadFault{g,
                       {0,
                        "The group holds a single line; a prepared entry has a debit and a "
                        "credit line."}};
    if (group.empty()) continue;
    // Including a group dates its lines today and clears their reconciled marks, so only
    // the rules those leave are the group's.
    std::vector<PostingLine> included = group;
    for (PostingLine& line : included) {
      line.LineDate = kZeroDate;
      line.Reconciled = 0;
    }
    if (auto fault = FindJournalFault(included)) return ReadFault{g, std::move(*fault)};
  }
  return std::nullopt;
}

}  // namespace qv
