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

// Splits RFC 4180 text into rows of fields, counting physical lines from 1.
class CsvRows {
 public:
  explicit CsvRows(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
  }

  // The next row; false at the end of the text. RowLine() is the line it begins on.
  bool Next(std::vector<std::string>& fields) {
    if (pos_ >= text_.size()) return false;
    rowLine_ = line_;
    std::size_t count = 0;
    while (true) {
      if (count == fields.size()) fields.emplace_back();
      std::string& field = fields[count++];
      field.clear();
      if (pos_ < text_.size() && text_[pos_] == '"') {
        ReadQuoted(field);
      } else {
        const std::size_t end = text_.find_first_of(",\n", pos_);
        std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        std::string_view value = text_.substr(pos_, stop - pos_);
        if (!value.empty() && value.back() == '\r' && stop < text_.size() && text_[stop] == '\n')
          value.remove_suffix(1);
        field.assign(value);
        pos_ = stop;
      }
      if (pos_ >= text_.size()) break;
      if (text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      // The end of the row: LF (a CR before it was left out of the field above).
      ++pos_;
      ++line_;
      break;
    }
    fields.resize(count);
    return true;
  }

  int64_t RowLine() const { return rowLine_; }
  std::size_t Position() const { return pos_; }

 private:
  void ReadQuoted(std::string& field) {
    const int64_t start = line_;
    ++pos_;
    while (true) {
      const std::size_t quote = text_.find('"', pos_);
      if (quote == std::string_view::npos)
        throw CsvFault{start, "a quoted field that begins on this line is never closed."};
      const std::string_view chunk = text_.substr(pos_, quote - pos_);
      for (char c : chunk) line_ += c == '\n';
      field.append(chunk);
      pos_ = quote + 1;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        field += '"';
        ++pos_;
        continue;
      }
      break;
    }
    // After the closing quote: a comma, the end of the row or the end of the text.
    if (pos_ < text_.size() && text_[pos_] == '\r' && pos_ + 1 < text_.size() &&
        text_[pos_ + 1] == '\n')
      ++pos_;
    if (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\n')
      throw CsvFault{line_, "a quoted field is followed by text before the next comma."};
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int64_t line_ = 1;
  int64_t rowLine_ = 1;
};

bool IsBlank(const std::vector<std::string>& fields) {
  for (const std::string& f : fields)
    if (!f.empty()) return false;
  return true;
}

template <std::size_t N>
bool IsHeader(const std::vector<std::string>& fields,
              const std::array<std::string_view, N>& columns) {
  if (fields.size() < N) return false;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (i < N ? ToLowerText(TrimText(fields[i])) != columns[i] : !fields[i].empty()) return false;
  return true;
}

template <std::size_t N>
std::string HeaderText(const std::array<std::string_view, N>& columns) {
  std::string text;
  for (std::string_view c : columns) text += (text.empty() ? "" : ",") + std::string(c);
  return text;
}

class CsvReader {
 public:
  CsvReader(std::string_view text, const ProgressFn& progress)
      : rows_(text), ticker_(progress, static_cast<int64_t>(text.size())) {}

  void Read(Books& book);
  const std::vector<int64_t>& FileLines() const { return fileLines_; }
  int64_t EntryHeaderLine() const { return entryHeaderLine_; }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw CsvFault{rows_.RowLine(), message};
  }
  bool Next() {
    const bool more = rows_.Next(fields_);
    ticker_.At(static_cast<int64_t>(rows_.Position()));
    return more;
  }
  // The row's fields beyond `n` must be empty (spreadsheets pad rows to one width).
  void Expect(std::size_t n, const char* row, const char* names) const {
    if (fields_.size() < n)
      Fail("a " + std::string(row) + " row has " + std::to_string(n) + " fields (" + names +
           "); this one has " + std::to_string(fields_.size()) + ".");
    for (std::size_t i = n; i < fields_.size(); ++i)
      if (!fields_[i].empty())
        Fail("a " + std::string(row) + " row has " + std::to_string(n) + " fields (" + names +
             "); this one has more.");
    for (std::size_t i = 0; i < n; ++i) {
      if (fields_[i].size() > kMaxTextBytes)
        Fail("field " + std::to_string(i + 1) + " is longer than " + std::to_string(kMaxTextBytes) +
             " bytes.");
      if (!IsValidUtf8(fields_[i])) Fail("the row is not UTF-8 text.");
    }
  }
  void ChartRow(Books& book);
  void EntryRow(Books& book);

  CsvRows rows_;
  ProgressTicker ticker_;
  std::vector<std::string> fields_;
  std::vector<int64_t> fileLines_;
  int64_t entryHeaderLine_ = 0;
};

void CsvReader::ChartRow(Books& book) {
  Expect(kCsvChartColumns.size(), "chart", "folio, name, type, notes, details");
  if (book.AccountNames.size() >= kMaxChartSlots)
    Fail("the chart holds more than " + std::to_string(kMaxChartSlots) + " accounts.");
  Folio folio;
  uint8_t type = 0;
  if (auto error = ReadAccountFields(fields_[0], fields_[2], folio, type)) Fail(*error);
  book.AccountFolios.push_back(folio);
  book.AccountNames.push_back(std::move(fields_[1]));
  book.AccountTypes.push_back(type);
  book.AccountNotes.push_back(std::move(fields_[3]));
  book.AccountDetails.push_back(std::move(fields_[4]));
  book.AccountExtras.emplace_back();
}

void CsvReader::EntryRow(Books& book) {
  Expect(kCsvEntryColumns.size(), "entry",
         "date, entry number, side, folio, amount, notes, reconciled");
  if (book.PostingLines.size() >= static_cast<std::size_t>(kMaxPostingLines))
    Fail("the journal holds more posting lines than a book can.");
  PostingLine line;
  if (auto error =
          ReadLineFields({fields_[0], fields_[2], fields_[3], fields_[4], fields_[6]}, line))
    Fail(*error);
  EntryNumber number;
  if (auto error = ReadEntryNumber(fields_[1], number)) Fail(*error);
  line.Notes = std::move(fields_[5]);
  book.PostingLines.push_back(std::move(line));
  book.EntryNumbers.push_back(std::move(number));
  fileLines_.push_back(rows_.RowLine());
}

void CsvReader::Read(Books& book) {
  bool more = Next();
  while (more && IsBlank(fields_)) more = Next();
  if (!more || !IsHeader(fields_, kCsvChartColumns))
    throw CsvFault{more ? rows_.RowLine() : 1,
                   "a book in CSV form begins with the chart's header row \"" +
                       HeaderText(kCsvChartColumns) + "\"."};

  // The chart block, up to a blank row (or straight to the entries' header).
  bool entries = false;
  while ((more = Next()) && !IsBlank(fields_)) {
    if (IsHeader(fields_, kCsvEntryColumns)) {
      entries = true;
      break;
    }
    ChartRow(book);
  }
  if (!entries) {
    while (more && IsBlank(fields_)) more = Next();
    if (!more) return;  // a chart without entries
    if (!IsHeader(fields_, kCsvEntryColumns))
      Fail("the entry block begins with the header row \"" + HeaderText(kCsvEntryColumns) + "\".");
  }
  entryHeaderLine_ = rows_.RowLine();

  while (Next())
    if (!IsBlank(fields_)) EntryRow(book);
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

BookReadResult ParseCsvBook(std::string_view text, DaySerial today, const ProgressFn& progress) {
  BookReadResult result;
  try {
    // A new book gives the settings and the prepared groups; the file gives the chart and
    // the journal. A chart block without rows keeps the chart of a new book.
    Books book = NewBooks(today);
    Books read;
    read.ResizeChart(-1);
    CsvReader reader(text, progress);
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
    if (auto fault = FinishReadBook(book, today))
      return DataMismatch(TextJournalFaultMessage(*fault, book.PostingLines, reader.FileLines(),
                                                  reader.EntryHeaderLine()));
    result.Book = std::move(book);
  } catch (const CsvFault& fault) {
    return DataMismatch("Line " + std::to_string(fault.line) + ": " + fault.message);
  } catch (const std::bad_alloc&) {
    result.ErrorCode = kErrOutOfMemory;
    result.Message = "There is not enough memory to read the CSV file.";
  }
  return result;
}

}  // namespace qv
