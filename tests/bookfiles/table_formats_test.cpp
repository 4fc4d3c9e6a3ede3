#include "bookfiles/table_formats.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "bench/book_generator.h"
#include "bookfiles/books_export.h"
#include "bookfiles/excel_file.h"
#include "bookfiles/table_files.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/support/biff2_records.h"
#include "tests/support/full_disk.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Cells that every format must carry unharmed.
const std::vector<std::vector<std::string>> kHardCells = {
    {"Smith & Sons {Ltd}", "a\\b", "1,250.00"},
    {"\"quoted\", <b>not bold</b>", "line one\r\nline two", "(12.50)"},
    {"Касса – 売上 😀", "it's", ""},
};

TableDocument HardTable(const std::vector<std::vector<std::string>>& cells = kHardCells) {
  TableDocument table;
  table.Title = {"Ledger <Cash> & Bank", "1/1/25 to 31/12/25"};
  table.Columns = {{"Account", CellAlign::kLeft, 30},
                   {"Notes", CellAlign::kCentre, 20},
                   {"Debit", CellAlign::kRight, 12}};
  table.RowCount = static_cast<int64_t>(cells.size());
  table.FillRow = [cells](int64_t row, TableRow& out) {
    out.Cells = cells[static_cast<std::size_t>(row)];
    out.Bold = row == 0;
  };
  return table;
}

// (The ledger window's tests read each exported form of a ledger back.)
TEST(TableFormatsTest, EveryFormKeepsTheCellsEscapesTheirTextsAndReplacesBadBytes) {
  std::vector<std::vector<std::string>> records = {{"Account", "Notes", "Debit"}};
  records.insert(records.end(), kHardCells.begin(), kHardCells.end());
  EXPECT_EQ(testing::ParseCsv(TableCsv(HardTable())), records);
  const std::string text = TableText(HardTable());
  EXPECT_EQ(text.substr(0, text.find("Account")),
            "Ledger <Cash> & Bank\r\n1/1/25 to 31/12/25\r\n\r\n");
  EXPECT_THAT(text, HasSubstr("\"quoted\", <b>not bold</b>\tline one  line two\t(12.50)\r\n"));
  // RTF and HTML escape every text.
  const std::string rtf = TableRtf(HardTable());
  for (unsigned char c : rtf) EXPECT_LT(c, 0x80) << "RTF is written in ASCII";
  EXPECT_THAT(rtf, HasSubstr("Smith & Sons \\{Ltd\\}"));
  EXPECT_THAT(rtf, HasSubstr("a\\\\b"));
  EXPECT_THAT(rtf, HasSubstr("\\u1050?"));                    // К
  EXPECT_THAT(rtf, HasSubstr("\\u-10179?\\u-8704?"));         // 😀 as a surrogate pair
  EXPECT_THAT(rtf, HasSubstr("\\qr\\b 1,250.00\\b0\\cell"));  // a bold row, right-aligned
  const std::string rtfText = testing::RtfPlainText(rtf);
  EXPECT_THAT(rtfText, HasSubstr("Ledger <Cash> & Bank\n1/1/25 to 31/12/25\n"));
  EXPECT_THAT(rtfText, HasSubstr("Account\tNotes\tDebit\t\n"));
  EXPECT_THAT(rtfText, HasSubstr("Smith & Sons {Ltd}\ta\\b\t1,250.00\t\n"));
  EXPECT_THAT(rtfText, HasSubstr("line one\nline two"));
  EXPECT_THAT(rtfText, HasSubstr("Касса – 売上 😀\tit's"));
  // HTML escapes the markup and declares UTF-8.
  const std::string html = TableHtml(HardTable());
  EXPECT_THAT(html, HasSubstr("<meta charset=\"utf-8\"/>"));
  EXPECT_THAT(html, HasSubstr("<title>Ledger &lt;Cash&gt; &amp; Bank</title>"));
  EXPECT_THAT(html, HasSubstr("&quot;quoted&quot;, &lt;b&gt;not bold&lt;/b&gt;"));
  EXPECT_THAT(html, HasSubstr("line one<br/>line two"));
  EXPECT_THAT(html, HasSubstr("<td align=\"right\"><b>1,250.00</b></td>"));
  EXPECT_THAT(html, HasSubstr("Касса – 売上 😀"));
  EXPECT_THAT(html, Not(HasSubstr("<b>not")));
  // Malformed text is replaced in every form.
  const TableDocument table = HardTable({{"bad \xC3 byte\x01", "", ""}});
  EXPECT_THAT(TableCsv(table), HasSubstr("bad \xEF\xBF\xBD byte"));
  EXPECT_THAT(TableText(table), HasSubstr("bad \xEF\xBF\xBD byte"));
  EXPECT_THAT(TableHtml(table), HasSubstr("bad \xEF\xBF\xBD byte</b></td>"))
      << "no control character";
  EXPECT_THAT(TableRtf(table), HasSubstr("bad \\u-3? byte\\b0\\cell"));
  // A statement page centres its title over a fixed width and shades rows.
  TableDocument page = HardTable();
  page.Page = {true, 800, 12, 0};
  page.FillRow = [](int64_t row, TableRow& out) { out.Shaded = row == 1; };
  const std::string pageHtml = TableHtml(page);
  EXPECT_THAT(pageHtml,
              HasSubstr("<p align=\"center\" style=\"font-size:12pt; width:800px\"><b>Ledger "
                        "&lt;Cash&gt; &amp; Bank<br/><br/>1/1/25 to 31/12/25</b></p>"));
  EXPECT_THAT(pageHtml,
              HasSubstr("<table cellspacing=\"0\" cellpadding=\"0\" style=\"font-size:12pt; "
                        "border:none; width:800px\">"));
  // (The statement outputs' tests see which rows are shaded.)
  EXPECT_THAT(pageHtml, HasSubstr("<tr style=\"background-color:#E0E0E0\">"));
}

// A spreadsheet takes a text that starts with =, +, -, @, TAB or CR for a formula: the CSV
// and the plain text mark such a text with an apostrophe, and leave figures as they are.
TEST(TableFormatsTest, TextsASpreadsheetWouldRunAsFormulasAreMarkedAndFiguresAreNot) {
  const std::vector<std::vector<std::string>> hostile = {
      {"=HYPERLINK(\"http://x.test/steal\";\"click me\")", "-1,250.00", "+2"},
      {"+cmd|' /C calc'!A0", "-3 ", "@SUM(A1:A2)"},
      {"-2+3", "\t=1+1", "\r=1"},
      {"- Cash", "-.50",
       "-1\xC2\xA0"
       "234,5"},  // a blank and comma of another locale
      {"Plain = fine", "(12.50)", "-"},
  };
  TableDocument table = HardTable(hostile);
  table.Title = {"=Title", "Period"};
  table.Columns[0].Heading = "@Account";
  const std::string csv = TableCsv(table);
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF") << "a byte-order mark first";
  const std::vector<std::vector<std::string>> marked = {
      {"'@Account", "Notes", "Debit"},
      {"'=HYPERLINK(\"http://x.test/steal\";\"click me\")", "-1,250.00", "+2"},
      {"'+cmd|' /C calc'!A0", "-3 ", "'@SUM(A1:A2)"},
      {"'-2+3", "'\t=1+1", "'\r=1"},
      {"'- Cash", "-.50",
       "-1\xC2\xA0"
       "234,5"},
      {"Plain = fine", "(12.50)", "'-"},
  };
  EXPECT_EQ(testing::ParseCsv(csv), marked);
  // The plain text (the clipboard's, and the .txt file) marks its cells and title lines alike.
  const std::string text = TableText(table);
  EXPECT_EQ(text.substr(0, text.find("Notes")), "'=Title\r\nPeriod\r\n\r\n'@Account\t");
  EXPECT_THAT(text, HasSubstr("\r\n'-2+3\t' =1+1\t' =1\r\n"));
  EXPECT_THAT(
      text, HasSubstr("\r\n'=HYPERLINK(\"http://x.test/steal\";\"click me\")\t-1,250.00\t+2\r\n"));
  // The other forms show the texts as they are.
  EXPECT_THAT(TableHtml(table), HasSubstr(">=HYPERLINK(&quot;http"));
  EXPECT_THAT(testing::RtfPlainText(TableRtf(table)), HasSubstr("@Account\tNotes"));
  for (const char* figure : {"-0", "+1.5", "-1'234.50", "-12 345", "-1,250.00"})
    EXPECT_FALSE(ReadsAsFormula(figure)) << figure;
  for (const char* formula : {"-1+2", "-A1", "+-", "-1e5", "=1", "@x", "\t1", "\r1", "-", "--1"})
    EXPECT_TRUE(ReadsAsFormula(formula)) << formula;
}

class TableFilesTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
};

// (The ledger window's tests write a ledger in each type and read every file back.)
TEST_F(TableFilesTest, WritesTheSheetCellByCellAndAFailureKeepsTheOldFile) {
  const TableDocument table = HardTable();
  ASSERT_TRUE(WriteTableFile(folder_.Path("ledger.txt"), "txt", table).Ok());
  EXPECT_EQ(testing::ScratchFolder::Read(folder_.Path("ledger.txt")), TableText(table));
  const std::string xls = folder_.Path("ledger.xls");
  const TableFileResult sheet = WriteTableFile(xls, "xls", table);
  ASSERT_TRUE(sheet.Ok()) << sheet.Message;
  const auto cells = testing::CellMap(xls);
  // Title rows, an empty row, the headings, then the rows (code page 1252 for this sheet
  // would not hold the Cyrillic, so only the Western cells are compared byte for byte).
  const std::tuple<int, int, std::string> expected[] = {{1, 1, "Ledger <Cash> & Bank"},
                                                        {2, 1, "1/1/25 to 31/12/25"},
                                                        {4, 1, "Account"},
                                                        {4, 3, "Debit"},
                                                        {5, 1, "Smith & Sons {Ltd}"},
                                                        {5, 2, "a\\b"},
                                                        {5, 3, "1,250.00"},
                                                        {6, 2, "line one\nline two"},
                                                        {6, 3, "(12.50)"}};
  for (const auto& [row, col, text] : expected) {
    const auto it = cells.find({row, col});
    EXPECT_EQ(it == cells.end() ? "(none)" : it->second, text) << row << "," << col;
  }
  EXPECT_EQ(cells.count({3, 1}) + cells.count({7, 3}), 0u) << "empty cells are not written";
  // A failure keeps the old file.
  const std::string path = folder_.Path("kept.csv");
  ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
  const TableFileResult missing = WriteTableFile(folder_.Path("none/kept.csv"), "csv", table);
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_THAT(missing.Message, HasSubstr("not changed"));
  EXPECT_FALSE(WriteTableFile(folder_.Path("none/kept.xls"), "xls", table).Ok());
  EXPECT_FALSE(WriteTableFile(path, "doc", table).Ok());
  EXPECT_EQ(testing::ScratchFolder::Read(path), "old");
}

TEST_F(TableFilesTest, ASheetLaidOutCellByCellKeepsEachCellsAttributesAndSaysWhatItLeftOut) {
  SheetDocument sheet;
  sheet.FontAttributes = {0, kExcelBold};
  sheet.ColumnWidths = {30, 12};
  sheet.RowCount = 70000;
  sheet.FillRow = [](int64_t row, std::vector<SheetCell>& out) {
    if (row == 1) out = {{1, "", 1, kExcelGeneral, true}, {2, std::string(300, 'x'), 0, 3, false}};
    if (row == 3) out = {{2, "7", 0, kExcelRight, false}};
  };
  const std::string path = folder_.Path("cells.xls");
  const TableFileResult result = WriteSheetDocument(path, sheet);
  ASSERT_TRUE(result.Ok()) << result.Message;
  EXPECT_EQ(std::pair(result.RowsWritten, result.RowsLeftOut),
            std::pair(int64_t{65536}, int64_t{4464}));
  EXPECT_THAT(result.Notice, HasSubstr("the last 4464 rows were left out."));
  EXPECT_THAT(result.Notice, HasSubstr("1 text was longer than the format's 255 characters"));
  const auto cells = testing::Cells(path);
  ASSERT_EQ(cells.size(), 3u) << "the empty cell is written for its attributes";
  EXPECT_EQ(cells[0].data[4] & 0x40, 0x40) << "locked";
  EXPECT_EQ(cells[0].data[5] & 0xC0, 0x40) << "the bold font";
  EXPECT_EQ(testing::CellMap(path).at({3, 2}), "7");
}

// A disk that fills up part-way through a file of more than a megabyte: every type says why
// in the words of the book files, keeps the old file and leaves no temporary file.
TEST(TableFilesOnAFullDisk, EveryTypeSaysWhyKeepsTheOldFileAndLeavesNothingBehind) {
  const std::string cell(40, 'x');
  TableDocument table = HardTable();
  table.RowCount = 30000;
  table.FillRow = [&cell](int64_t, TableRow& out) { out.Cells = {cell, cell, "1,250.00"}; };
  testing::FullDisk disk(256 * 1024);
  std::vector<std::pair<std::string, TableFileResult>> results;
  for (const char* type : {"csv", "htm", "rtf", "txt", "xls"}) {
    const std::string path = disk.Path(std::string("ledger.") + type);
    ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
    results.emplace_back(path, WriteTableFile(path, type, table));
  }
  const std::string statement = disk.Path("statement.rtf");
  ASSERT_EQ(WriteFileAtomically(statement, "old"), 0);
  results.emplace_back(statement, WriteDocumentFile(statement, std::string(3 << 20, 'r')));
  const std::string book = disk.Path("book.xls");
  ASSERT_EQ(WriteFileAtomically(book, "old"), 0);
  const BooksSheetResult sheet = WriteBooksSheet(book, GenerateBook({.lines = 40000}));
  results.emplace_back(book, TableFileResult());
  static_cast<BookFileResult&>(results.back().second) = sheet;
  for (const auto& [path, result] : results) {
    EXPECT_EQ(result.ErrorCode, kErrDiskFull) << path;
    EXPECT_EQ(result.Message,
              "Writing \"" + path + "\" failed: " + disk.Reason() + ". The file was not changed.");
    EXPECT_EQ(testing::ScratchFolder::Read(path), "old");
  }
  EXPECT_EQ(disk.EntryCount(), results.size()) << "no temporary file is left";
}

}  // namespace
}  // namespace qv
