#include "bookfiles/books_export.h"

#include <cerrno>
#include <new>

#include "bookfiles/csv_file.h"
#include "bookfiles/excel_file.h"
#include "books/module_procedures.h"

namespace qv {
namespace {

constexpr int kPlain = 0;
constexpr int kBold = 1 * kExcelFontShift;  // font 1, the bold one

class SheetRows {
 public:
  explicit SheetRows(ExcelFile& sheet) : sheet_(sheet) {}
  void Text(int32_t row, int32_t col, std::string_view text, int font = kPlain) {
    if (text.empty()) return;  // an empty cell needs no record
    sheet_.WriteValue(kExcelLabel, font, kExcelLeft, 0, row, col, SheetCellText(text));
  }
  void Number(int32_t row, int32_t col, Amount value) {
    sheet_.WriteValue(kExcelNumber, kPlain, kExcelRight, 0, row, col, value.ToDouble());
  }
  void Whole(int32_t row, int32_t col, int64_t value) {
    sheet_.WriteValue(kExcelInteger, kPlain, kExcelRight, 0, row, col, value);
  }
  template <std::size_t N>
  void Header(int32_t row, const std::array<std::string_view, N>& columns) {
    for (std::size_t c = 0; c < N; ++c) Text(row, static_cast<int32_t>(c + 1), columns[c], kBold);
  }

 private:
  ExcelFile& sheet_;
};

std::string Count(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string SheetCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out.push_back(text[i]);
  return out;
}

BooksSheetResult WriteBooksSheet(const std::string& path, const Books& books,
                                 const ProgressFn& progress) {
  BooksSheetResult result;
  auto failed = [&](int err) {
    static_cast<BookFileResult&>(result) = WriteFailure(path, err);
    result.LinesWritten = 0;
    return result;
  };

  // Rows: the chart's header and slots, a blank row, the entries' header and the lines.
  const std::size_t slots = ChartSlotsToWrite(books);
  const auto chartRows = static_cast<int32_t>(1 + slots);
  const int32_t firstLineRow = chartRows + 3;
  const int64_t room = int64_t{kExcelMaxRows} - firstLineRow + 1;
  const auto total = static_cast<int64_t>(books.PostingLines.size());
  int64_t lines = total;
  if (lines > room) {
    // End with the last whole entry that fits.
    lines = EntryBounds(books.PostingLines, static_cast<int32_t>(room)).First;
  }

  ExcelFile sheet;
  if (sheet.CreateFile(path) != 0) return failed(sheet.SystemError());
  sheet.PrintGridLines(true);
  sheet.SetMargin(kExcelTopMargin, 0.5);
  sheet.SetMargin(kExcelLeftMargin, 0.5);
  sheet.SetMargin(kExcelRightMargin, 0.5);
  sheet.SetMargin(kExcelBottomMargin, 0.5);
  sheet.SetFont(books.FontName, 10, 0);
  sheet.SetFont(books.FontName, 10, kExcelBold);
  // Columns: folio or date, name or entry number, type or side, notes or folio, details or
  // amount, notes, reconciled.
  constexpr int kWidths[] = {12, 30, 6, 30, 30, 40, 10};
  for (int c = 0; c < 7; ++c) sheet.SetColumnWidth(c + 1, c + 1, kWidths[c]);
  sheet.SetHeader(books.BusinessName);
  sheet.SetFooter(books.BusinessName);

  SheetRows cells(sheet);
  try {
    cells.Header(1, kCsvChartColumns);
    for (std::size_t i = 0; i < slots; ++i) {
      const auto row = static_cast<int32_t>(i + 2);
      cells.Number(row, 1, ChartSlot(books.AccountFolios, i));
      cells.Text(row, 2, ChartSlot(books.AccountNames, i));
      cells.Whole(row, 3, ChartSlot(books.AccountTypes, i));
      cells.Text(row, 4, ChartSlot(books.AccountNotes, i));
      cells.Text(row, 5, ChartSlot(books.AccountDetails, i));
    }
    cells.Header(firstLineRow - 1, kCsvEntryColumns);
    ProgressTicker ticker(progress, lines);
    std::string date;
    for (int64_t i = 0; i < lines; ++i) {
      const PostingLine& line = books.PostingLines[static_cast<std::size_t>(i)];
      const auto row = static_cast<int32_t>(firstLineRow + i);
      date.clear();
      AppendIsoDate(date, line.LineDate);
      cells.Text(row, 1, date);
      cells.Text(row, 2, EntryNumberOfLine(books, static_cast<std::size_t>(i)).TrimmedText());
      const char side = SideLetter(line.Side);
      cells.Text(row, 3, std::string_view(&side, 1));
      cells.Number(row, 4, line.LineFolio);
      cells.Number(row, 5, line.Amount);
      cells.Text(row, 6, line.Notes);
      cells.Whole(row, 7, line.Reconciled);
      ticker.At(i + 1);
    }
  } catch (const std::bad_alloc&) {
    return failed(ENOMEM);
  }
  if (sheet.CloseFile() != 0) return failed(sheet.SystemError());

  result.LinesWritten = lines;
  result.LinesLeftOut = total - lines;
  result.TextsCut = sheet.TextsCut();
  result.CharactersReplaced = sheet.CharactersReplaced();
  result.CodePage = sheet.CodePage();
  if (result.LinesLeftOut > 0)
    result.Notice += "An Excel 2.1 sheet holds 65,536 rows: the sheet holds the first " +
                     Count(lines, "posting line", "posting lines") + " of " +
                     std::to_string(total) + ", and the last " +
                     Count(result.LinesLeftOut, "line was", "lines were") +
                     " left out. Save the book as CSV to keep every line.";
  if (result.TextsCut > 0)
    result.Notice += std::string(result.Notice.empty() ? "" : " ") +
                     Count(result.TextsCut, "text was", "texts were") +
                     " longer than the format's 255 characters and cut.";
  if (result.CharactersReplaced > 0)
    result.Notice += std::string(result.Notice.empty() ? "" : " ") +
                     Count(result.CharactersReplaced, "character", "characters") +
                     " that the sheet's code page (" + std::to_string(result.CodePage) +
                     ") cannot hold " + (result.CharactersReplaced == 1 ? "was" : "were") +
                     " written as \"?\".";
  return result;
}

}  // namespace qv
