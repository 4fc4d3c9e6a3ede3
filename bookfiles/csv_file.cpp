#include "bookfiles/csv_file.h"

#include <new>
#include <utility>
#include <vector>

#include "books/module_procedures.h"
#include "platform/utf8.h"

namespace qv {
namespace {

struct CsvFault {
  int64_t line;
  std::string message;
};

// The most fields a row may hold: the widest block's layout (a spreadsheet pads every row to
// the width of the widest).
constexpr std::size_t kMaxFields = kCsvEntryColumns.size();

// Splits RFC 4180 text into rows of fields, counting physical lines from 1. A row ends with
// LF, CR LF or a lone CR outside quotes. A row with more fields than any block's layout, or
// a field longer than any text of a book, is refused as soon as it is seen.
class CsvRows {
 public:
  explicit CsvRows(ByteSource& in) : in_(in) {
    in_.Ensure(3);
    if (in_.Window().substr(0, 3) == "\xEF\xBB\xBF") in_.Skip(3);
  }

  // The next row; false at the end of the text. RowLine() is the line it begins on, Count()
  // the number of its fields (the first Count() of `fields`).
  bool Next() {
    if (in_.AtEnd()) return false;
    rowLine_ = line_;
    count_ = 0;
    while (true) {
      if (count_ == kMaxFields)
        throw CsvFault{rowLine_, "the row has more than " + std::to_string(kMaxFields) +
                                     " fields; a book's rows have at most " +
                                     std::to_string(kMaxFields) + "."};
      std::string& field = fields_[count_++];
      field.clear();
      if (in_.Ensure(1) && in_.Window().front() == '"')
        ReadQuoted(field);
      else
        ReadPlain(field);
      if (!in_.Ensure(1)) break;
      const char c = in_.Window().front();
      in_.Skip(1);
      if (c == ',') continue;
      // The end of the row: LF, CR LF or CR.
      if (c == '\r' && in_.Ensure(1) && in_.Window().front() == '\n') in_.Skip(1);
      ++line_;
      break;
    }
    return true;
  }

  std::size_t Count() const { return count_; }
  std::string& Field(std::size_t i) { return fields_[i]; }
  const std::string& Field(std::size_t i) const { return fields_[i]; }
  int64_t RowLine() const { return rowLine_; }
  uint64_t Position() const { return in_.Position(); }

 private:
  void TooLong() const {
    throw CsvFault{rowLine_, "field " + std::to_string(count_) + " is longer than " +
                                 std::to_string(kMaxTextBytes) + " bytes."};
  }

  // A field without quotes, up to a comma or the end of the row.
  void ReadPlain(std::string& field) {
    while (true) {
      const std::string_view window = in_.Window();
      std::size_t end = 0;
      while (end < window.size() && window[end] != ',' && window[end] != '\n' &&
             window[end] != '\r')
        ++end;
      field.append(window.data(), end);
      in_.Skip(end);
      if (field.size() > kMaxTextBytes) TooLong();
      if (end < window.size() || !in_.More()) return;
    }
  }

  void ReadQuoted(std::string& field) {
    const int64_t start = line_;
    in_.Skip(1);
    while (true) {
      const std::string_view window = in_.Window();
      const std::size_t quote = window.find('"');
      field.append(window.data(), quote == std::string_view::npos ? window.size() : quote);
      if (field.size() > kMaxTextBytes) TooLong();
      if (quote == std::string_view::npos) {
        in_.Skip(window.size());
        if (!in_.More())
          throw CsvFault{start, "a quoted field that begins on this line is never closed."};
        continue;
      }
      in_.Skip(quote + 1);
      // A doubled quote stands for one quote; any other ends the field.
      if (in_.Ensure(1) && in_.Window().front() == '"') {
        field += '"';
        in_.Skip(1);
        continue;
      }
      break;
    }
    for (std::size_t i = 0; i < field.size(); ++i)
      if (field[i] == '\n' || (field[i] == '\r' && (i + 1 == field.size() || field[i + 1] != '\n')))
        ++line_;
    // After the closing quote: a comma, the end of the row or the end of the text.
    if (in_.Ensure(1)) {
      const char c = in_.Window().front();
      if (c != ',' && c != '\n' && c != '\r')
        throw CsvFault{line_, "a quoted field is followed by text before the next comma."};
    }
  }

  ByteSource& in_;
  std::array<std::string, kMaxFields> fields_;
  std::size_t count_ = 0;
  int64_t line_ = 1;
  int64_t rowLine_ = 1;
};

template <std::size_t N>
std::string HeaderText(const std::array<std::string_view, N>& columns) {
  std::string text;
  for (std::string_view c : columns) text += (text.empty() ? "" : ",") + std::string(c);
  return text;
}

class CsvReader {
 public:
  CsvReader(ByteSource& in, const ProgressFn& progress)
      : rows_(in), ticker_(progress, static_cast<int64_t>(in.Size())) {}

  void Read(Books& book);
  const FileLineMap& JournalLines() const { return journalLines_; }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw CsvFault{rows_.RowLine(), message};
  }
  bool Next() {
    const bool more = rows_.Next();
    ticker_.At(static_cast<int64_t>(rows_.Position()));
    return more;
  }
  bool IsBlank() const {
    for (std::size_t i = 0; i < rows_.Count(); ++i)
      if (!rows_.Field(i).empty()) return false;
    return true;
  }
  template <std::size_t N>
  bool IsHeader(const std::array<std::string_view, N>& columns) const {
    if (rows_.Count() < N) return false;
    for (std::size_t i = 0; i < rows_.Count(); ++i)
      if (i < N ? ToLowerText(TrimText(rows_.Field(i))) != columns[i] : !rows_.Field(i).empty())
        return false;
    return true;
  }
  // The row's fields beyond `n` must be empty (spreadsheets pad rows to one width).
  void Expect(std::size_t n, const char* row, const char* names) const {
    const std::size_t count = rows_.Count();
    if (count < n)
      Fail("an " + std::string(row) + " row has " + std::to_string(n) + " fields (" + names +
           "); this one has " + std::to_string(count) + ".");
    for (std::size_t i = n; i < count; ++i)
      if (!rows_.Field(i).empty())
        Fail("an " + std::string(row) + " row has " + std::to_string(n) + " fields (" + names +
             "); this one has more.");
    for (std::size_t i = 0; i < n; ++i)
      if (!IsValidUtf8(rows_.Field(i))) Fail("the row is not UTF-8 text.");
  }
  void ChartRow(Books& book);
  void EntryRow(Books& book);

  CsvRows rows_;
  ProgressTicker ticker_;
  FileLineMap journalLines_;
};

void CsvReader::ChartRow(Books& book) {
  Expect(kCsvChartColumns.size(), "account", "folio, name, type, notes, details");
  if (book.AccountNames.size() >= kMaxChartSlots)
    Fail("the chart holds more than " + std::to_string(kMaxChartSlots) + " accounts.");
  Folio folio;
  uint8_t type = 0;
  if (auto error = ReadAccountFields(rows_.Field(0), rows_.Field(2), folio, type)) Fail(*error);
  book.AccountFolios.push_back(folio);
  book.AccountNames.push_back(std::move(rows_.Field(1)));
  book.AccountTypes.push_back(type);
  book.AccountNotes.push_back(std::move(rows_.Field(3)));
  book.AccountDetails.push_back(std::move(rows_.Field(4)));
  book.AccountExtras.emplace_back();
}

void CsvReader::EntryRow(Books& book) {
  Expect(kCsvEntryColumns.size(), "entry",
         "date, entry number, side, folio, amount, notes, reconciled");
  if (book.PostingLines.size() >= static_cast<std::size_t>(kMaxPostingLines))
    Fail("the journal holds more posting lines than a book can.");
  PostingLine line;
  if (auto error = ReadLineFields(
          {rows_.Field(0), rows_.Field(2), rows_.Field(3), rows_.Field(4), rows_.Field(6)}, line))
    Fail(*error);
  EntryNumber number;
  if (auto error = ReadEntryNumber(rows_.Field(1), number)) Fail(*error);
  line.Notes = std::move(rows_.Field(5));
  book.PostingLines.push_back(std::move(line));
  book.EntryNumbers.push_back(std::move(number));
  journalLines_.Add(rows_.RowLine());
}

void CsvReader::Read(Books& book) {
  bool more = Next();
  while (more && IsBlank()) more = Next();
  if (!more || !IsHeader(kCsvChartColumns))
    throw CsvFault{more ? rows_.RowLine() : 1,
                   "a book in CSV form begins with the chart's header row \"" +
                       HeaderText(kCsvChartColumns) + "\"."};

  // The chart block, up to a blank row (or straight to the entries' header).
  bool entries = false;
  while ((more = Next()) && !IsBlank()) {
    if (IsHeader(kCsvEntryColumns)) {
      entries = true;
      break;
    }
    ChartRow(book);
  }
  if (!entries) {
    while (more && IsBlank()) more = Next();
    // A file that ends before the entry block's header was cut short.
    if (!more)
      Fail("the file ends before the entry block's header row \"" + HeaderText(kCsvEntryColumns) +
           "\", so it is incomplete.");
    if (!IsHeader(kCsvEntryColumns))
      Fail("the entry block begins with the header row \"" + HeaderText(kCsvEntryColumns) + "\".");
  }

  int64_t lastRow = rows_.RowLine();
  while (Next())
    if (!IsBlank()) {
      EntryRow(book);
      lastRow = rows_.RowLine();
    }
  // Every entry ends with a line that has notes: a last line without them is what is left of
  // a file cut in the middle of an entry.
  FitJournal(book);
  if (!book.PostingLines.empty() && TrimText(book.PostingLines.back().Notes).empty())
    throw CsvFault{lastRow,
                   "the file ends in the middle of an entry (its last line has no "
                   "notes), so it was cut short."};
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(field);
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void WriteCsvBook(const Books& books, const BookOutput::Consumer& consumer,
                  const ProgressFn& progress) {
  BookOutput output(consumer);
  std::string& out = output.Text();
  auto field = [&](std::string_view text) {
    if (IsValidUtf8(text))
      AppendCsvField(out, text);
    else
      AppendCsvField(out, SanitizeUtf8(text));
  };

  out += HeaderText(kCsvChartColumns) + "\r\n";
  const std::size_t slots = ChartSlotsToWrite(books);
  for (std::size_t i = 0; i < slots; ++i) {
    out += PlainAmountText(ChartSlot(books.AccountFolios, i));
    out += ',';
    field(ChartSlot(books.AccountNames, i));
    out += ',';
    out += std::to_string(ChartTypeToWrite(books, i));
    out += ',';
    field(ChartSlot(books.AccountNotes, i));
    out += ',';
    field(ChartSlot(books.AccountDetails, i));
    out += "\r\n";
    output.Spill();
  }

  out += "\r\n" + HeaderText(kCsvEntryColumns) + "\r\n";
  const std::size_t count = books.PostingLines.size();
  ProgressTicker ticker(progress, static_cast<int64_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    const PostingLine& line = books.PostingLines[i];
    AppendIsoDate(out, line.LineDate);
    out += ',';
    field(EntryNumberOfLine(books, i).TrimmedText());
    out += ',';
    out += SideLetter(line.Side);
    out += ',';
    out += PlainAmountText(line.LineFolio);
    out += ',';
    out += PlainAmountText(line.Amount);
    out += ',';
    field(line.Notes);
    out += ',';
    out += std::to_string(line.Reconciled);
    out += "\r\n";
    output.Spill();
    ticker.At(static_cast<int64_t>(i + 1));
  }
  output.Flush();
}

BookReadResult ReadCsvBook(ByteSource& source, DaySerial today, const ProgressFn& progress) {
  BookReadResult result;
  try {
    // A new book gives the settings and the prepared groups; the file gives the chart and
    // the journal. A chart block without rows keeps the chart of a new book.
    Books book = NewBooks(today);
    Books read;
    read.ResizeChart(-1);
    ReserveJournal(read, source.CountLines(), source.Size());
    CsvReader reader(source, progress);
    reader.Read(read);
    if (!read.AccountNames.empty()) {
      book.AccountNames = std::move(read.AccountNames);
      book.AccountFolios = std::move(read.AccountFolios);
      book.AccountTypes = std::move(read.AccountTypes);
      book.AccountNotes = std::move(read.AccountNotes);
      book.AccountDetails = std::move(read.AccountDetails);
      book.AccountExtras = std::move(read.AccountExtras);
    }
    book.PostingLines = std::move(read.PostingLines);
    book.EntryNumbers = std::move(read.EntryNumbers);
    if (const auto broken = FinishReadBook(book, today))
      return DataMismatch(
          JournalFaultMessage(broken->Fault, book.PostingLines, "Line", "line",
                              [&](int32_t index) { return reader.JournalLines().Of(index); }));
    result.Book = std::move(book);
  } catch (const CsvFault& fault) {
    return DataMismatch("Line " + std::to_string(fault.line) + ": " + fault.message);
  } catch (const std::bad_alloc&) {
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read the CSV file.";
  }
  return result;
}

BookReadResult ParseCsvBook(std::string_view text, DaySerial today, const ProgressFn& progress) {
  ByteSource source(text);
  return ReadCsvBook(source, today, progress);
}

}  // namespace qv
