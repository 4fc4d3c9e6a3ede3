#include "bookfiles/text_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "books/module_procedures.h"
#include "platform/utf8.h"

namespace qv {
namespace {

// The first byte from `from` on that is `a` or `b`, looked for eight bytes at a time: a byte
// equal to either leaves a high bit in `found`, and the lowest one is the first such byte (a
// borrow can mark only bytes after a true match).
std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  const uint64_t aa = kOnes * static_cast<unsigned char>(a);
  const uint64_t bb = kOnes * static_cast<unsigned char>(b);
  std::size_t i = from;
  for (; std::endian::native == std::endian::little && i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const uint64_t x = word ^ aa, y = word ^ bb;
    const uint64_t found = (((x - kOnes) & ~x) | ((y - kOnes) & ~y)) & kHighs;
    if (found != 0) return i + static_cast<std::size_t>(std::countr_zero(found) / 8);
  }
  for (; i < text.size(); ++i)
    if (text[i] == a || text[i] == b) return i;
  return std::string_view::npos;
}

constexpr std::string_view kTitlePrefix = "Quorvel book text, layout ";
constexpr std::string_view kJournalColumns =
    "# date\tentry number\tside\tfolio\tamount\tnotes\treconciled";
constexpr std::string_view kGroupColumns = "# date\tside\tfolio\tamount\tnotes\treconciled";
constexpr std::string_view kChartColumns = "# folio\tname\ttype\tnotes\tdetails\textras";

// The settings in the order they are written, with the variable each one names.
struct Setting {
  std::string_view name;
  int32_t Books::*long_ = nullptr;
  int16_t Books::*integer = nullptr;
  std::string Books::*text = nullptr;
};
const std::array<Setting, 15> kSettings = {{
    {"EntryCounter", &Books::EntryCounter},
    {"AutoTrackingNumbers", nullptr, &Books::AutoTrackingNumbers},
    {"FolioDashes", nullptr, &Books::FolioDashes},
    {"DateStyleIndex", nullptr, &Books::DateStyleIndex},
    {"JournalDecimals", nullptr, &Books::JournalDecimals},
    {"LedgerDecimals", nullptr, &Books::LedgerDecimals},
    {"TrialDecimals", nullptr, &Books::TrialDecimals},
    {"IncomeDecimals", nullptr, &Books::IncomeDecimals},
    {"BalanceSheetDecimals", nullptr, &Books::BalanceSheetDecimals},
    {"BusinessName", nullptr, nullptr, &Books::BusinessName},
    {"BusinessAddress", nullptr, nullptr, &Books::BusinessAddress},
    {"FontName", nullptr, nullptr, &Books::FontName},
    {"FontCharset", nullptr, &Books::FontCharset},
    {"ReservedLong", &Books::ReservedLong},
    {"ReservedInteger", nullptr, &Books::ReservedInteger},
}};

// ---- Writing.

// Appends a text with TAB, CR, LF, the backslash and other control characters escaped.
void AppendEscaped(std::string& out, std::string_view text) {
  std::string repaired;
  if (!IsValidUtf8(text)) {
    repaired = SanitizeUtf8(text);
    text = repaired;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != 0x7F && c != '\\') continue;
    out.append(text, start, i - start);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: {
        const char hex[] = "0123456789ABCDEF";
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 0xF];
      }
    }
    start = i + 1;
  }
  out.append(text, start, text.size() - start);
}

void AppendLine(std::string& out, const PostingLine& line, const EntryNumber* number) {
  AppendIsoDate(out, line.LineDate);
  out += '\t';
  if (number) {
    AppendEscaped(out, number->TrimmedText());
    out += '\t';
  }
  out += SideLetter(line.Side);
  out += '\t';
  out += PlainAmountText(line.LineFolio);
  out += '\t';
  out += PlainAmountText(line.Amount);
  out += '\t';
  AppendEscaped(out, line.Notes);
  out += '\t';
  out += std::to_string(line.Reconciled);
  out += '\n';
}

// ---- Reading.

struct TextFault {
  int64_t line;
  std::string message;
};

// The longest line a book text file can hold: a chart line of four texts of the largest
// size, each written with every byte escaped.
constexpr std::size_t kMaxLineBytes = 16 * kMaxTextBytes + 4096;

// Splits the source into lines, counting them from 1: a line ends with LF, CR LF or a lone
// CR. A line longer than any line of a book text file is refused as soon as it is seen.
class LineReader {
 public:
  explicit LineReader(ByteSource& in) : in_(in) {}

  // The next line, valid until the following call; false at the end.
  bool Next(std::string_view& line) {
    if (in_.AtEnd()) return false;
    ++number_;
    std::size_t from = 0;
    for (;;) {
      std::string_view window = in_.Window();
      std::size_t end = LineEnd(window, from);
      // A CR at the end of what is at hand may have its LF still in the file.
      if (end != std::string_view::npos && end + 1 == window.size() && window[end] == '\r' &&
          in_.More())
        window = in_.Window();
      if (end != std::string_view::npos) {
        line = window.substr(0, end);
        const bool crlf = window[end] == '\r' && end + 1 < window.size() && window[end + 1] == '\n';
        in_.Skip(end + (crlf ? 2 : 1));
        return true;
      }
      if (window.size() > kMaxLineBytes)
        throw TextFault{number_, "the line is longer than any line of a book text file."};
      from = window.size();
      if (!in_.More()) {
        line = in_.Window();
        in_.Skip(line.size());
        return true;
      }
    }
  }
  int64_t Number() const { return number_; }
  uint64_t Position() const { return in_.Position(); }

 private:
  // The first CR or LF from `from` on.
  static std::size_t LineEnd(std::string_view text, std::size_t from) {
    return FindEither(text, from, '\n', '\r');
  }

  ByteSource& in_;
  int64_t number_ = 0;
};

class TextReader {
 public:
  TextReader(ByteSource& in, const ProgressFn& progress)
      : lines_(in), ticker_(progress, static_cast<int64_t>(in.Size())) {}

  void Read(Books& book);
  // The file lines of the journal's posting lines and of each group's.
  const FileLineMap& JournalLines() const { return journalLines_; }
  const FileLineMap& GroupLines(int group) const {
    return groupLines_[static_cast<std::size_t>(group)];
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw TextFault{lines_.Number(), message};
  }
  std::string Unescape(std::string_view field, std::string_view what) const;
  int Split(std::string_view line, std::string_view* fields, int max) const;
  PostingLine Line(const std::string_view* fields, int count, bool numbered,
                   EntryNumber* number) const;
  void ReadSetting(Books& book, std::string_view line);
  void ReadChartLine(Books& book, std::string_view line) const;

  LineReader lines_;
  ProgressTicker ticker_;
  FileLineMap journalLines_;
  std::array<FileLineMap, kPreparedGroupCount> groupLines_;
  std::array<bool, kSettings.size()> seen_{};
};

std::string TextReader::Unescape(std::string_view field, std::string_view what) const {
  std::string out;
  std::size_t start = 0;
  for (std::size_t i = field.find('\\'); i != std::string_view::npos; i = field.find('\\', start)) {
    out.append(field, start, i - start);
    if (i + 1 >= field.size()) Fail("the " + std::string(what) + " ends with a lone backslash.");
    const char c = field[i + 1];
    start = i + 2;
    switch (c) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 'x': {
        auto digit = [](char h) {
          return h >= '0' && h <= '9'   ? h - '0'
                 : h >= 'A' && h <= 'F' ? h - 'A' + 10
                 : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                        : -1;
        };
        const int hi = i + 2 < field.size() ? digit(field[i + 2]) : -1;
        const int lo = i + 3 < field.size() ? digit(field[i + 3]) : -1;
        if (hi < 0 || lo < 0 || hi * 16 + lo >= 0x80)
          Fail("the " + std::string(what) +
               " holds \\x without two hexadecimal digits of a character below 80.");
        out += static_cast<char>(hi * 16 + lo);
        start = i + 4;
        break;
      }
      default:
        Fail("the " + std::string(what) + " holds the unknown escape \\" + std::string(1, c) +
             " (a backslash is written \\\\).");
    }
  }
  out.append(field, start, field.size() - start);
  if (out.size() > kMaxTextBytes)
    Fail("the " + std::string(what) + " is longer than " + std::to_string(kMaxTextBytes) +
         " bytes.");
  return out;
}

int TextReader::Split(std::string_view line, std::string_view* fields, int max) const {
  int count = 0;
  for (std::size_t start = 0;;) {
    const std::size_t tab = FindEither(line, start, '\t', '\t');
    if (count == max) Fail("the line has more than " + std::to_string(max) + " fields.");
    fields[count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
    if (tab == std::string_view::npos) return count;
    start = tab + 1;
  }
}

PostingLine TextReader::Line(const std::string_view* f, int count, bool numbered,
                             EntryNumber* number) const {
  const int expected = numbered ? 7 : 6;
  if (count != expected)
    Fail("a posting line has " + std::to_string(expected) + " fields separated by TABs, " +
         "this one has " + std::to_string(count) + ".");
  PostingLine line;
  const int n = numbered ? 1 : 0;  // the entry number stands after the date
  if (auto error = ReadLineFields({f[0], f[1 + n], f[2 + n], f[3 + n], f[5 + n]}, line))
    Fail(*error);
  if (numbered)
    if (auto error = ReadEntryNumber(Unescape(f[1], "entry number"), *number)) Fail(*error);
  line.Notes = Unescape(f[4 + n], "notes");
  return line;
}

void TextReader::ReadSetting(Books& book, std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) Fail("a setting is written name=value.");
  const std::string_view name = line.substr(0, eq);
  const std::string_view value = line.substr(eq + 1);
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const Setting& s = kSettings[i];
    if (s.name != name) continue;
    if (seen_[i]) Fail("the setting " + std::string(name) + " is given twice.");
    seen_[i] = true;
    if (s.text) {
      book.*s.text = Unescape(value, name);
    } else {
      const int64_t low = s.long_ ? INT32_MIN : INT16_MIN;
      const int64_t high = s.long_ ? INT32_MAX : INT16_MAX;
      const auto number = ParseWholeNumber(value, low, high);
      if (!number)
        Fail("the setting " + std::string(name) + " must be a whole number from " +
             std::to_string(low) + " to " + std::to_string(high) + ".");
      if (s.long_)
        book.*s.long_ = static_cast<int32_t>(*number);
      else
        book.*s.integer = static_cast<int16_t>(*number);
    }
    return;
  }
  Fail(QuotedPiece(name) + " is not the name of a setting.");
}

void TextReader::ReadChartLine(Books& book, std::string_view line) const {
  std::string_view f[6];
  const int count = Split(line, f, 6);
  if (count < 3) Fail("a chart line holds at least a folio, a name and a type.");
  if (book.AccountNames.size() >= kMaxChartSlots)
    Fail("the chart holds more than " + std::to_string(kMaxChartSlots) + " slots.");
  Folio folio;
  uint8_t type = 0;
  if (auto error = ReadAccountFields(f[0], f[2], folio, type)) Fail(*error);
  book.AccountFolios.push_back(folio);
  book.AccountNames.push_back(Unescape(f[1], "account name"));
  book.AccountTypes.push_back(type);
  book.AccountNotes.push_back(count > 3 ? Unescape(f[3], "account notes") : std::string());
  book.AccountDetails.push_back(count > 4 ? Unescape(f[4], "account details") : std::string());
  book.AccountExtras.push_back(count > 5 ? Unescape(f[5], "extra text") : std::string());
}

void TextReader::Read(Books& book) {
  // Sections in their order; the groups are [Group 1] to [Group 10].
  enum Section { kNone, kSettings, kChart, kGroup, kJournal, kEnd };
  Section section = kNone;
  int group = -1;
  bool groupNamed = false;
  bool titled = false;
  std::string_view line;
  while (lines_.Next(line)) {
    ticker_.At(static_cast<int64_t>(lines_.Position()));
    if (lines_.Number() == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#') continue;
    if (!IsValidUtf8(line)) Fail("the line is not UTF-8 text.");
    if (!titled) {
      if (line.substr(0, kTitlePrefix.size()) != kTitlePrefix)
        Fail("this is not a book text file; its first line should read \"" +
             std::string(kTextTitle) + "\".");
      if (line != kTextTitle)
        Fail("the file is a book text of layout " + QuotedPiece(line.substr(kTitlePrefix.size())) +
             ", which this program cannot read; it reads layout 6.");
      titled = true;
      continue;
    }
    if (section == kEnd) Fail("nothing may follow the [End] line.");
    if (line.front() == '[') {
      // The next section in order.
      std::string expected;
      Section next = kNone;
      if (section == kNone) {
        expected = "[Settings]", next = kSettings;
      } else if (section == kSettings) {
        expected = "[Chart]", next = kChart;
      } else if (section == kChart || (section == kGroup && group + 1 < kPreparedGroupCount)) {
        expected = "[Group " + std::to_string(section == kChart ? 1 : group + 2) + "]";
        next = kGroup;
      } else if (section == kGroup) {
        expected = "[Journal]", next = kJournal;
      } else {
        expected = "[End]", next = kEnd;
      }
      if (line != expected)
        Fail("found " + QuotedPiece(line) + " where the section " + expected + " should begin.");
      if (next == kGroup) {
        group = section == kChart ? 0 : group + 1;
        groupNamed = false;
      }
      section = next;
      continue;
    }
    std::string_view f[7];
    switch (section) {
      case kNone: Fail("the section [Settings] should begin here.");
      case kSettings: ReadSetting(book, line); break;
      case kChart: ReadChartLine(book, line); break;
      case kGroup: {
        auto& lines = book.PreparedGroups[static_cast<std::size_t>(group)];
        if (line.substr(0, 5) == "Name=") {
          if (groupNamed || !lines.empty())
            Fail("a group's Name= line comes once, before its posting lines.");
          const std::string name = Unescape(line.substr(5), "group name");
          if (Utf8Length(name) > GroupName::kLength)
            Fail("the group name is longer than 120 characters.");
          book.GroupNames[static_cast<std::size_t>(group)] = name;
          groupNamed = true;
          break;
        }
        const int count = Split(line, f, 6);
        lines.push_back(Line(f, count, false, nullptr));
        groupLines_[static_cast<std::size_t>(group)].Add(lines_.Number());
        break;
      }
      case kJournal: {
        const int count = Split(line, f, 7);
        if (book.PostingLines.size() >= static_cast<std::size_t>(kMaxPostingLines))
          Fail("the journal holds more posting lines than a book can.");
        EntryNumber number;
        book.PostingLines.push_back(Line(f, count, true, &number));
        book.EntryNumbers.push_back(std::move(number));
        journalLines_.Add(lines_.Number());
        break;
      }
      case kEnd: break;
    }
  }
  if (!titled)
    throw TextFault{1, "the file is empty; a book text file begins with the line \"" +
                           std::string(kTextTitle) + "\"."};
  if (section != kEnd)
    throw TextFault{lines_.Number(), "the file ends before its [End] line, so it is incomplete."};
}

}  // namespace

void WriteTextBook(const Books& books, const BookOutput::Consumer& consumer,
                   const ProgressFn& progress) {
  BookOutput output(consumer);
  std::string& out = output.Text();
  out += kTextTitle;
  out += "\n\n[Settings]\n";
  for (const Setting& s : kSettings) {
    out += s.name;
    out += '=';
    if (s.text)
      AppendEscaped(out, books.*s.text);
    else
      out += std::to_string(s.long_ ? books.*s.long_ : books.*s.integer);
    out += '\n';
  }

  out += "\n[Chart]\n";
  out += kChartColumns;
  out += '\n';
  const std::size_t slots = ChartSlotsToWrite(books);
  for (std::size_t i = 0; i < slots; ++i) {
    out += PlainAmountText(ChartSlot(books.AccountFolios, i));
    out += '\t';
    AppendEscaped(out, ChartSlot(books.AccountNames, i));
    out += '\t';
    out += std::to_string(ChartTypeToWrite(books, i));
    for (const auto* list : {&books.AccountNotes, &books.AccountDetails, &books.AccountExtras}) {
      out += '\t';
      AppendEscaped(out, ChartSlot(*list, i));
    }
    out += '\n';
    output.Spill();
  }

  for (int g = 0; g < kPreparedGroupCount; ++g) {
    out += "\n[Group " + std::to_string(g + 1) + "]\nName=";
    AppendEscaped(out, books.GroupNames[static_cast<std::size_t>(g)].TrimmedText());
    out += '\n';
    out += kGroupColumns;
    out += '\n';
    for (const PostingLine& line : books.PreparedGroups[static_cast<std::size_t>(g)]) {
      AppendLine(out, line, nullptr);
      output.Spill();
    }
  }

  out += "\n[Journal]\n";
  out += kJournalColumns;
  out += '\n';
  const std::size_t count = books.PostingLines.size();
  ProgressTicker ticker(progress, static_cast<int64_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    AppendLine(out, books.PostingLines[i], &EntryNumberOfLine(books, i));
    output.Spill();
    ticker.At(static_cast<int64_t>(i + 1));
  }
  out += "\n[End]\n";
  output.Flush();
}

BookReadResult ReadTextBook(ByteSource& source, DaySerial today, const ProgressFn& progress) {
  BookReadResult result;
  try {
    // Start from a new book with an empty journal, chart and groups: the file fills them.
    Books book = NewBooks(today);
    book.PostingLines.clear();
    book.EntryNumbers.clear();
    book.ResizeChart(-1);
    for (auto& group : book.PreparedGroups) group.clear();
    book.FilePassword.clear();
    book.AdminPassword.clear();

    ReserveJournal(book, source.CountLines(), source.Size());
    TextReader reader(source, progress);
    reader.Read(book);
    FitJournal(book);
    if (const auto broken = FinishReadBook(book, today)) {
      const bool journal = broken->Group < 0;
      const FileLineMap& map = journal ? reader.JournalLines() : reader.GroupLines(broken->Group);
      return DataMismatch(JournalFaultMessage(
          broken->Fault,
          journal ? book.PostingLines
                  : book.PreparedGroups[static_cast<std::size_t>(broken->Group)],
          "Line", "line", [&](int32_t index) { return map.Of(index); }));
    }
    result.Book = std::move(book);
  } catch (const TextFault& fault) {
    return DataMismatch("Line " + std::to_string(fault.line) + ": " + fault.message);
  } catch (const std::bad_alloc&) {
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read the text file.";
  }
  return result;
}

BookReadResult ParseTextBook(std::string_view text, DaySerial today, const ProgressFn& progress) {
  ByteSource source(text);
  return ReadTextBook(source, today, progress);
}

}  // namespace qv
