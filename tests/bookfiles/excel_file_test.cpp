#include "bookfiles/excel_file.h"
#include "bookfiles/books_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bench/book_generator.h"
#include "platform/file_io.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using testing::BiffRecord;
using testing::CellMap;
using testing::Cells;
using testing::HasSubstr;
using testing::Records;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}
// The test machine is little-endian, as the format.
std::string Double(double v) { return std::string(reinterpret_cast<const char*>(&v), 8); }

class ExcelFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  testing::ScratchFolder folder_;
};

TEST_F(ExcelFileTest, WritesATinySheetRecordByRecordAndKeepsCellsWithinTheLimits) {
  const std::string path = Path("tiny.xls");
  ExcelFile sheet;
  ASSERT_EQ(sheet.CreateFile(path), 0);
  sheet.PrintGridLines(false);
  sheet.SetMargin(kExcelTopMargin, 0.5);
  sheet.SetFont("Arial", 9, kExcelBold);
  sheet.SetColumnWidth(1, 1, 62);
  sheet.SetHeader("Smith & Sons");
  sheet.SetFooter("");
  sheet.WriteValue(kExcelLabel, 64, kExcelLeft, kExcelLocked, 1, 1, std::string("Café"));
  sheet.WriteValue(kExcelInteger, 0, kExcelRight, 0, 2, 2, int64_t{7});
  sheet.WriteValue(kExcelNumber, 0, kExcelRight, 0, 3, 2, 1.5);
  ASSERT_EQ(sheet.CloseFile(), 0);
  EXPECT_EQ(sheet.CodePage(), 1252);
  const std::vector<BiffRecord> expected = {
      {0x0009, Bytes({2, 0, 0x10, 0})},              // BOF: BIFF2, a worksheet
      {0x0042, Bytes({0xE4, 0x04})},                 // CODEPAGE 1252
      {0x002B, Bytes({0, 0})},                       // no grid lines printed
      {0x0028, Double(0.5)},                         // top margin
      {0x0031, Bytes({180, 0, 1, 0, 5}) + "Arial"},  // 9 pt, bold
      {0x0024, Bytes({0, 0, 0x00, 0x3E})},           // column A, 62 characters
      {0x0014, Bytes({13}) + "Smith && Sons"},       // header, "&" escaped
      {0x0015, ""},                                  // no footer
      {0x0043, Bytes({0, 0, 0, 0})},                 // XF 0: plain, general
      {0x0043, Bytes({1, 0, 0x40, 1})},              // XF 1: font 1, locked, left
      {0x0043, Bytes({0, 0, 0, 3})},                 // XF 2: font 0, right
      {0x0000, Bytes({0, 0, 3, 0, 0, 0, 2, 0})},     // rows 0-2, columns 0-1
      {0x0004, Bytes({0, 0, 0, 0, 0x41, 64, 1, 4}) + "Caf\xE9"},
      {0x0002, Bytes({1, 0, 1, 0, 2, 0, 3, 7, 0})},
      {0x0003, Bytes({2, 0, 1, 0, 2, 0, 3}) + Double(1.5)},
      {0x000A, ""},
  };
  EXPECT_EQ(Records(path), expected);
  // Cells are kept within the format's limits.
  const std::string limitsPath = Path("limits.xls");
  ExcelFile limits;
  ASSERT_EQ(limits.CreateFile(limitsPath), 0);
  // Outside the limits, an unknown type, a value that is no number: nothing is written.
  const ExcelValue x = std::string("x");
  const std::tuple<int, int32_t, int32_t, ExcelValue> unwritten[] = {
      {kExcelLabel, 0, 1, x}, {kExcelLabel, 65537, 1, x}, {kExcelLabel, 1, 257, x},
      {5, 1, 1, x},           {kExcelNumber, 1, 1, x},    {kExcelNumber, 1, 1, std::nan("")}};
  for (const auto& [type, row, col, value] : unwritten)
    EXPECT_EQ(limits.WriteValue(type, 0, 0, 0, row, col, value), ExcelCellOutcome::kNotWritten)
        << type << " " << row << " " << col;
  // The last cell of the limits, a label cut to 255 characters, whole numbers that the
  // integer record cannot hold, a number read from text, stray attribute bits.
  EXPECT_EQ(limits.WriteValue(kExcelLabel, 0, 0, 0, 65536, 256, std::string(300, 'a')),
            ExcelCellOutcome::kTextCut);
  const std::tuple<int, int, ExcelValue> written[] = {{kExcelInteger, 1, int64_t{70000}},
                                                      {kExcelInteger, 2, int64_t{-3}},
                                                      {kExcelNumber, 3, std::string(" -12.25 ")}};
  for (const auto& [type, col, value] : written)
    EXPECT_EQ(limits.WriteValue(type, 0, 0, 0, 1, col, value), ExcelCellOutcome::kWritten);
  EXPECT_EQ(limits.WriteValue(kExcelLabel, 0xFF, 0xFF, 0xFF, 1, 4, int64_t{42}),
            ExcelCellOutcome::kWritten);
  // Column widths and margins the format cannot take write nothing.
  for (auto [first, last, width] : {std::tuple{1, 1, 128}, {3, 2, 10}, {1, 257, 10}})
    limits.SetColumnWidth(first, last, width);
  limits.SetMargin(37, 1.0);
  limits.SetMargin(kExcelLeftMargin, -1.0);
  ASSERT_EQ(limits.CloseFile(), 0);
  EXPECT_EQ(limits.TextsCut(), 1);
  const std::vector<BiffRecord> all = Records(limitsPath);
  ASSERT_EQ(all.size(), 11u) << "no column width or margin was written";
  EXPECT_EQ(all[3], (BiffRecord{0x0043, Bytes({3, 0, 0x40, 0})})) << "stray attribute bits";
  EXPECT_EQ(all[4], (BiffRecord{0x0000, Bytes({0, 0, 0xFF, 0xFF, 0, 0, 0, 1})}))
      << "rows 0-65535, columns 0-255";
  const std::vector<BiffRecord> limitCells = {
      {0x0004, Bytes({0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 255}) + std::string(255, 'a')},
      {0x0003, Bytes({0, 0, 0, 0, 0, 0, 0}) + Double(70000)},
      {0x0003, Bytes({0, 0, 1, 0, 0, 0, 0}) + Double(-3)},
      {0x0003, Bytes({0, 0, 2, 0, 0, 0, 0}) + Double(-12.25)},
      {0x0004, Bytes({0, 0, 3, 0, 0x41, 0xC0, 0, 2}) + "42"}};
  EXPECT_EQ(Cells(limitsPath), limitCells);
}

TEST_F(ExcelFileTest, ChoosesTheCodePageThatHoldsTheTextsAndAFailureKeepsTheOldFile) {
  // Writes the texts as labels; returns the first label's bytes and checks the page.
  std::vector<BiffRecord> cells;  // the cells of the last sheet written
  int64_t cut = 0;                // and the texts cut in it
  auto firstLabel = [&](std::vector<std::string> texts, int codePage, int64_t replaced) {
    ExcelFile sheet;
    EXPECT_EQ(sheet.CreateFile(Path("sheet.xls")), 0);
    for (std::size_t i = 0; i < texts.size(); ++i)
      sheet.WriteValue(kExcelLabel, 0, 0, 0, static_cast<int32_t>(i + 1), 1, texts[i]);
    EXPECT_EQ(sheet.CloseFile(), 0);
    EXPECT_EQ(std::pair(sheet.CodePage(), sheet.CharactersReplaced()),
              std::pair(codePage, replaced));
    cut = sheet.TextsCut();
    cells = Cells(Path("sheet.xls"));
    return cells.at(0).data.substr(8);
  };
  // Western texts stay in 1252, with its own characters above 0x7F (euro, quotes).
  EXPECT_EQ(firstLabel({"Müller € “x”"}, 1252, 0), "M\xFCller \x80 \x93x\x94");
  EXPECT_EQ(firstLabel({"Δάνειο"}, 1253, 0), "\xC4\xDC\xED\xE5\xE9\xEF");
  // Mostly Cyrillic with one Turkish letter that no page holding Cyrillic has: 1251 wins
  // (before 936, which holds as many) and the letter becomes "?".
  EXPECT_EQ(firstLabel({"Касса", "Yaşar"}, 1251, 1), "\xCA\xE0\xF1\xF1\xE0");
  EXPECT_EQ(cells.at(1).data.substr(8), "Ya?ar");
  // Japanese: the double-byte page 932; a label of 200 such characters is cut at a
  // character boundary to fit 255 bytes, and one cut twice counts once.
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "売";
  for (const std::string& second : {wide, wide + wide}) {
    EXPECT_EQ(firstLabel({"売上", second}, 932, 0), "\x94\x84\x8F\xE3");
    EXPECT_EQ(static_cast<uint8_t>(cells.at(1).data[7]), 254) << "127 whole characters";
    EXPECT_EQ(cut, 1);
  }
  // An abandoned or failed sheet leaves the old file.
  const std::string path = Path("report.xls");
  ASSERT_EQ(WriteFileAtomically(path, "old sheet"), 0);
  {  // Released without CloseFile, as when an export stops half-way.
    ExcelFile sheet;
    ASSERT_EQ(sheet.CreateFile(path), 0);
    sheet.WriteValue(kExcelLabel, 0, 0, 0, 1, 1, std::string("half"));
  }
  EXPECT_EQ(testing::ScratchFolder::Read(path), "old sheet");
  EXPECT_EQ(folder_.EntryCount(), 2u) << "the sheet above and the old report, no temporary";
  // A folder that does not exist: reported at once and again when closing.
  ExcelFile missing;
  EXPECT_EQ(missing.CreateFile(Path("none/report.xls")), kErrFileNotFound);
  EXPECT_EQ(missing.WriteValue(kExcelLabel, 0, 0, 0, 1, 1, std::string("x")),
            ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(missing.CloseFile(), kErrFileNotFound);
}

TEST_F(ExcelFileTest, ExportsTheChartAndTheEntriesOfABookAndSaysWhatALargeOneLost) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400.5, kRevenue}});
  books.AccountDetails[1] = "1 High Street\r\nTown";
  books.BusinessName = "Smith & Sons";
  testing::AddEntry(books, testing::Day(2025, 1, 2), "7", {{110, 1234.5}}, {{400.5, 1234.5}},
                    "Till, Monday");
  books.PostingLines[0].Reconciled = books.PostingLines[1].Reconciled = 1;
  const std::string path = Path("books.xls");
  const BooksSheetResult result = WriteBooksSheet(path, books);
  ASSERT_TRUE(result.Ok()) << result.Message;
  EXPECT_EQ(std::pair(result.LinesWritten, result.Notice), std::pair(int64_t{2}, std::string()));
  const auto cells = CellMap(path);
  // The chart block (header, then slots 0 to 13, empty slots as the CSV writes them), a
  // blank row, then the entry block; no notes on an entry's first line.
  const std::tuple<int, int, std::string> expected[] = {
      {1, 1, "folio"},        {1, 5, "details"},     {2, 1, "1"},
      {2, 2, "Balance b/f"},  {2, 3, "8"},           {3, 5, "1 High Street\nTown"},
      {4, 1, "400.5"},        {15, 1, "0"},          {17, 1, "date"},
      {17, 7, "reconciled"},  {18, 1, "2025-01-02"}, {18, 2, "7"},
      {18, 3, "D"},           {18, 4, "110"},        {18, 5, "1234.5"},
      {18, 7, "1"},           {19, 3, "C"},          {19, 4, "400.5"},
      {19, 6, "Till, Monday"}};
  for (const auto& [row, col, text] : expected) {
    const auto it = cells.find({row, col});
    EXPECT_EQ(it == cells.end() ? "(none)" : it->second, text) << row << "," << col;
  }
  EXPECT_EQ(cells.count({16, 1}) + cells.count({18, 6}), 0u);
  // The header carries the business name.
  EXPECT_THAT(Records(path),
              ::testing::Contains(BiffRecord{0x0014, Bytes({13}) + "Smith && Sons"}));
  // A book too large for the sheet: what was lost is said.
  Books big = GenerateBook({.lines = 70000, .nonAscii = true});
  big.PostingLines[1].Notes = std::string(300, 'n');
  const std::string bigPath = Path("big.xls");
  ASSERT_EQ(WriteFileAtomically(bigPath, "old"), 0);
  const BooksSheetResult lost = WriteBooksSheet(bigPath, big);
  ASSERT_TRUE(lost.Ok()) << lost.Message;
  // 65,536 rows less the chart (header and 301 slots), the blank row and the entries' header.
  const int64_t room = 65536 - 302 - 2;
  EXPECT_LE(lost.LinesWritten, room);
  EXPECT_GT(lost.LinesWritten, room - 7) << "only the entry that did not fit is left out";
  EXPECT_EQ(lost.LinesWritten + lost.LinesLeftOut, 70000);
  const auto lastWritten = static_cast<std::size_t>(lost.LinesWritten - 1);
  EXPECT_TRUE(EndsEntry(big.PostingLines[lastWritten].Notes)) << "it ends with a whole entry";
  EXPECT_EQ(lost.TextsCut, 1);
  EXPECT_GT(lost.CharactersReplaced, 0) << "the names mix scripts no one code page holds";
  for (const char* words : {"65,536 rows", "1 text was", "written as \"?\""})
    EXPECT_THAT(lost.Notice, HasSubstr(words));
  EXPECT_EQ(CellMap(bigPath).rbegin()->first.first, 304 + lost.LinesWritten) << "the last row";
}

}  // namespace
}  // namespace qv
