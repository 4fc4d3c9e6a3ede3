#include "bookfiles/table_files.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "bookfiles/books_export.h"
#include "bookfiles/excel_file.h"
#include "bookfiles/table_formats.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"

namespace qv {
namespace {

constexpr std::string_view kTextTypes[] = {"csv", "rtf", "htm", "txt"};

struct WriteStopped {};

TableFileResult Failed(const std::string& path, int err) {
  TableFileResult result;
  static_cast<BookFileResult&>(result) = WriteFailure(path, err);
  return result;
}

TableFileResult WriteTextFile(const std::string& path, std::string_view type,
                              const TableDocument& table, const ProgressFn& progress) {
  AtomicFileWriter writer(path);
  int err = writer.Open();
  if (err == 0) {
    const TextSink sink = [&](std::string_view piece) {
      writer.Write(piece);
      if (writer.Error() != 0) throw WriteStopped{};
    };
    try {
      if (type == "csv")
        WriteTableCsv(table, sink, progress);
      else if (type == "rtf")
        WriteTableRtf(table, sink, progress);
      else if (type == "htm")
        WriteTableHtml(table, sink, progress);
      else
        WriteTableText(table, sink, progress);
    } catch (const WriteStopped&) {
    } catch (const std::bad_alloc&) {
      writer.Discard();
      return Failed(path, ENOMEM);
    }
    err = writer.Commit();
  }
  if (err != 0) return Failed(path, err);
  TableFileResult result;
  result.RowsWritten = table.RowCount;
  return result;
}

int SheetAlign(CellAlign align) {
  switch (align) {
    case CellAlign::kRight: return kExcelRight;
    case CellAlign::kCentre: return kExcelCentre;
    case CellAlign::kLeft: break;
  }
  return kExcelLeft;
}

std::string Count(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The notice of a sheet: the rows left out (of `total`, with `advice` after them),
// the texts cut and the characters replaced.
void SetSheetNotice(TableFileResult& result, int64_t total, std::string_view advice) {
  auto add = [&](const std::string& sentence) {
    result.Notice += (result.Notice.empty() ? "" : " ") + sentence;
  };
  result.Notice.clear();
  if (result.RowsLeftOut > 0)
    add("An Excel 2.1 sheet holds 65,536 rows: the sheet holds the first " +
        std::to_string(result.RowsWritten) + " rows of " + std::to_string(total) +
        ", and the last " + Count(result.RowsLeftOut, "row was", "rows were") + " left out." +
        std::string(advice));
  if (result.TextsCut > 0)
    add(Count(result.TextsCut, "text was", "texts were") +
        " longer than the format's 255 characters and cut.");
  if (result.CharactersReplaced > 0)
    add(Count(result.CharactersReplaced, "character", "characters") +
        " that the sheet's code page (" + std::to_string(result.CodePage) + ") cannot hold " +
        (result.CharactersReplaced == 1 ? "was" : "were") + " written as \"?\".");
}

// The sheet of a table: the title lines, an empty row, the headings in bold, then the rows;
// empty cells are not written.
SheetDocument SheetOfTable(const TableDocument& table, const std::string& fontName,
                           int64_t& firstTableRow) {
  constexpr int kPlain = 0;
  constexpr int kBold = 1;
  SheetDocument sheet;
  sheet.FontName = fontName;
  sheet.FontPoints = 10;
  sheet.FontAttributes = {0, kExcelBold};
  for (const TableColumn& column : table.Columns)
    sheet.ColumnWidths.push_back(std::clamp(column.Width, 1, kExcelMaxColumnWidth));
  if (!table.Title.empty()) sheet.Header = table.Title.front();
  const auto titleRows = static_cast<int64_t>(table.Title.size());
  firstTableRow = titleRows + (titleRows > 0 ? 1 : 0) + (table.ShowHeadings ? 1 : 0) + 1;
  sheet.RowCount = firstTableRow - 1 + table.RowCount;
  auto cell = [](std::vector<SheetCell>& out, int col, const std::string& text, int font,
                 CellAlign align) {
    if (!text.empty()) out.push_back(SheetCell{col, text, font, SheetAlign(align), false});
  };
  sheet.FillRow = [&table, firstTableRow, titleRows, cell, cells = TableRow()](
                      int64_t row, std::vector<SheetCell>& out) mutable {
    if (row <= titleRows) {
      const std::string& line = table.Title[static_cast<std::size_t>(row - 1)];
      cell(out, 1, line, row == 1 ? kBold : kPlain, CellAlign::kLeft);
    } else if (row == firstTableRow - 1 && table.ShowHeadings) {
      for (std::size_t c = 0; c < table.Columns.size(); ++c)
        cell(out, static_cast<int>(c) + 1, table.Columns[c].Heading, kBold, table.Columns[c].Align);
    } else if (row >= firstTableRow) {
      table.Row(row - firstTableRow, cells);
      for (std::size_t c = 0; c < table.Columns.size(); ++c)
        cell(out, static_cast<int>(c) + 1, cells.Cells[c], cells.Bold ? kBold : kPlain,
             table.Columns[c].Align);
    }
  };
  return sheet;
}

TableFileResult WriteSheetFile(const std::string& path, const TableDocument& table,
                               const std::string& fontName, const ProgressFn& progress) {
  int64_t firstTableRow = 1;
  const SheetDocument sheet = SheetOfTable(table, fontName, firstTableRow);
  TableFileResult result = WriteSheetDocument(path, sheet, progress);
  if (!result.Ok()) return result;
  // The rows of the table, not of the sheet, are counted.
  result.RowsLeftOut = std::min(result.RowsLeftOut, table.RowCount);
  result.RowsWritten = table.RowCount - result.RowsLeftOut;
  SetSheetNotice(result, table.RowCount, " Export as CSV to keep every row.");
  return result;
}

}  // namespace

bool IsTableFileType(std::string_view type) {
  return type == "xls" ||
         std::find(std::begin(kTextTypes), std::end(kTextTypes), type) != std::end(kTextTypes);
}

TableFileResult WriteTableFile(const std::string& path, std::string_view type,
                               const TableDocument& table, const std::string& fontName,
                               const ProgressFn& progress) {
  if (!IsTableFileType(type)) {
    TableFileResult result;
    result.ErrorCode = kErrDataMismatch;
    result.Message = "\"" + std::string(type) + "\" is not a type a table can be written as.";
    return result;
  }
  if (type == "xls") return WriteSheetFile(path, table, fontName, progress);
  return WriteTextFile(path, type, table, progress);
}

TableFileResult WriteSheetDocument(const std::string& path, const SheetDocument& document,
                                   const ProgressFn& progress) {
  ExcelFile sheet;
  if (sheet.CreateFile(path) != 0) return Failed(path, sheet.SystemError());
  sheet.PrintGridLines(false);
  for (const int margin :
       {kExcelTopMargin, kExcelLeftMargin, kExcelRightMargin, kExcelBottomMargin})
    sheet.SetMargin(margin, 0.5);
  for (const int attributes : document.FontAttributes)
    sheet.SetFont(document.FontName, document.FontPoints, attributes);
  const auto columns =
      static_cast<int>(std::min<std::size_t>(document.ColumnWidths.size(), kExcelMaxColumns));
  for (int c = 0; c < columns; ++c)
    sheet.SetColumnWidth(c + 1, c + 1, document.ColumnWidths[static_cast<std::size_t>(c)]);
  if (!document.Header.empty()) sheet.SetHeader(document.Header);
  if (!document.Footer.empty()) sheet.SetFooter(document.Footer);

  const int64_t rows = std::min<int64_t>(document.RowCount, kExcelMaxRows);
  int64_t row = 1;
  try {
    ProgressTicker ticker(progress, rows);
    std::vector<SheetCell> cells;
    for (; row <= rows; ++row) {
      cells.clear();
      if (document.FillRow) document.FillRow(row, cells);
      for (const SheetCell& cell : cells)
        sheet.WriteValue(kExcelLabel, cell.Font * kExcelFontShift, cell.Align,
                         cell.Locked ? kExcelLocked : 0, static_cast<int32_t>(row), cell.Column,
                         SheetCellText(cell.Text));
      ticker.At(row);
    }
  } catch (const std::bad_alloc&) {
    return Failed(path, ENOMEM);
  }
  if (sheet.CloseFile() != 0) return Failed(path, sheet.SystemError());

  TableFileResult result;
  result.RowsWritten = rows;
  result.RowsLeftOut = std::max<int64_t>(0, document.RowCount - rows);
  result.TextsCut = sheet.TextsCut();
  result.CharactersReplaced = sheet.CharactersReplaced();
  result.CodePage = sheet.CodePage();
  SetSheetNotice(result, document.RowCount, "");
  return result;
}

TableFileResult WriteDocumentFile(const std::string& path, std::string_view text) {
  if (const int err = WriteFileAtomically(path, text)) return Failed(path, err);
  return TableFileResult();
}

}  // namespace qv
