#include "bookfiles/table_files.h"

#include <algorithm>
#include <cstring>
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

TableFileResult Failed(const std::string& path, int code, std::string_view why = {}) {
  TableFileResult result;
  result.ErrorCode = code;
  if (code == kErrOutOfMemory)
    result.Message =
        "There is not enough memory to write \"" + path + "\"; the file was not changed.";
  else
    result.Message = "Writing \"" + path + "\" failed" +
                     (why.empty() ? std::string() : ": " + std::string(why)) +
                     ". The file was not changed.";
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
      return Failed(path, kErrOutOfMemory);
    }
    err = writer.Commit();
  }
  if (err != 0) return Failed(path, FileErrorCodeFromErrno(err), std::strerror(err));
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

TableFileResult WriteSheetFile(const std::string& path, const TableDocument& table,
                               const std::string& fontName, const ProgressFn& progress) {
  constexpr int kPlain = 0;
  constexpr int kBold = 1 * kExcelFontShift;
  ExcelFile sheet;
  if (const int err = sheet.CreateFile(path)) return Failed(path, err);
  sheet.PrintGridLines(false);
  for (const int margin :
       {kExcelTopMargin, kExcelLeftMargin, kExcelRightMargin, kExcelBottomMargin})
    sheet.SetMargin(margin, 0.5);
  sheet.SetFont(fontName, 10, 0);
  sheet.SetFont(fontName, 10, kExcelBold);
  const auto columns =
      static_cast<int>(std::min<std::size_t>(table.Columns.size(), kExcelMaxColumns));
  for (int c = 0; c < columns; ++c)
    sheet.SetColumnWidth(
        c + 1, c + 1,
        std::clamp(table.Columns[static_cast<std::size_t>(c)].Width, 1, kExcelMaxColumnWidth));
  if (!table.Title.empty()) sheet.SetHeader(table.Title.front());

  int32_t row = 1;
  auto cell = [&](int col, std::string_view text, int font, int align) {
    if (!text.empty() && col <= columns)
      sheet.WriteValue(kExcelLabel, font, align, 0, row, col, SheetCellText(text));
  };
  int64_t written = 0;
  try {
    for (std::size_t i = 0; i < table.Title.size(); ++i, ++row)
      cell(1, table.Title[i], i == 0 ? kBold : kPlain, kExcelLeft);
    if (!table.Title.empty()) ++row;
    if (table.ShowHeadings) {
      for (int c = 0; c < columns; ++c) {
        const TableColumn& column = table.Columns[static_cast<std::size_t>(c)];
        cell(c + 1, column.Heading, kBold, SheetAlign(column.Align));
      }
      ++row;
    }
    const int64_t room = std::max<int64_t>(0, int64_t{kExcelMaxRows} - row + 1);
    const int64_t rows = std::min(table.RowCount, room);
    ProgressTicker ticker(progress, rows);
    TableRow cells;
    for (; written < rows; ++written, ++row) {
      table.Row(written, cells);
      for (int c = 0; c < columns; ++c)
        cell(c + 1, cells.Cells[static_cast<std::size_t>(c)], cells.Bold ? kBold : kPlain,
             SheetAlign(table.Columns[static_cast<std::size_t>(c)].Align));
      ticker.At(written + 1);
    }
  } catch (const std::bad_alloc&) {
    return Failed(path, kErrOutOfMemory);
  }
  if (const int err = sheet.CloseFile()) return Failed(path, err);

  TableFileResult result;
  result.RowsWritten = written;
  result.RowsLeftOut = table.RowCount - written;
  if (result.RowsLeftOut > 0)
    result.Notice = "An Excel 2.1 sheet holds 65,536 rows: the sheet holds the first " +
                    std::to_string(written) + " rows of " + std::to_string(table.RowCount) +
                    ", and the last " + std::to_string(result.RowsLeftOut) +
                    (result.RowsLeftOut == 1 ? " row was" : " rows were") +
                    " left out. Export as CSV to keep every row.";
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

}  // namespace qv
