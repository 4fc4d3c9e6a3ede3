#include "bookfiles/excel_file.h"
#include "bookfiles/books_export.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

#include <cmath>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/resource.h>
#include <vector>

#include "bench/book_generator.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

struct Record {
  uint16_t type = 0;
  std::string data;
  bool operator==(const Record&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Record& r) {
  os << "record 0x" << std::hex << r.type << std::dec << " [";
  for (unsigned char c : r.data) os << ' ' << static_cast<int>(c);
  return os << " ]";
}

// Splits a BIFF2 stream into its records; fails the test on a record that runs past the end.
std::vector<Record> Records(const std::string& bytes) {
  std::vector<Record> out;
  std::size_t at = 0;
  while (at + 4 <= bytes.size()) {
    const auto u16 = [&](std::size_t i) {
      return static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]) |
                                   (static_cast<uint8_t>(bytes[i + 1]) << 8));
    };
    Record r{u16(at), {}};
    const std::size_t length = u16(at + 2);
    at += 4;
    EXPECT_LE(at + length, bytes.size()) << "a record runs past the end of the file";
    if (at + length > bytes.size()) break;
    r.data = bytes.substr(at, length);
    at += length;
    out.push_back(r);
  }
  EXPECT_EQ(at, bytes.size()) << "bytes left after the last record";
  return out;
}

// Record data from bytes and texts.
std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}
std::string Double(double v) {
  std::string s(8, '\0');
  std::memcpy(s.data(), &v, 8);  // the test machine is little-endian, as the format
  return s;
}

class ExcelFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  static std::string Read(const std::string& path) { return testing::ScratchFolder::Read(path); }
  std::size_t FilesInFolder() const { return folder_.EntryCount(); }
  // The cell records (LABEL, INTEGER, NUMBER) of a file.
  static std::vector<Record> Cells(const std::string& path) {
    std::vector<Record> cells;
    for (const Record& r : Records(Read(path)))
      if (r.type == 0x0002 || r.type == 0x0003 || r.type == 0x0004) cells.push_back(r);
    return cells;
  }
  testing::ScratchFolder folder_;
  const std::string& dir_ = folder_.Path();
};

TEST_F(ExcelFileTest, WritesATinySheetRecordByRecord) {
  const std::string path = Path("tiny.xls");
  ExcelFile sheet;
  ASSERT_EQ(sheet.CreateFile(path), 0);
  sheet.PrintGridLines(false);
  sheet.SetMargin(kExcelTopMargin, 0.5);
  sheet.SetFont("Arial", 9, kExcelBold);
  sheet.SetColumnWidth(1, 1, 62);
  sheet.SetHeader("Smith & Sons");
  sheet.SetFooter("");
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 64, kExcelLeft, kExcelLocked, 1, 1,
                             std::string("Café")),
            ExcelCellOutcome::kWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelInteger, 0, kExcelRight, 0, 2, 2, int64_t{7}),
            ExcelCellOutcome::kWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelNumber, 0, kExcelRight, 0, 3, 2, 1.5),
            ExcelCellOutcome::kWritten);
  ASSERT_EQ(sheet.CloseFile(), 0);
  EXPECT_EQ(sheet.CodePage(), 1252);

  const std::vector<Record> expected = {
      {0x0009, Bytes({2, 0, 0x10, 0})},                  // BOF: BIFF2, a worksheet
      {0x0042, Bytes({0xE4, 0x04})},                     // CODEPAGE 1252
      {0x002B, Bytes({0, 0})},                           // no grid lines printed
      {0x0028, Double(0.5)},                             // top margin
      {0x0031, Bytes({180, 0, 1, 0, 5}) + "Arial"},      // 9 pt, bold
      {0x0024, Bytes({0, 0, 0x00, 0x3E})},               // column A, 62 characters
      {0x0014, Bytes({13}) + "Smith && Sons"},           // header, "&" escaped
      {0x0015, ""},                                      // no footer
      {0x0043, Bytes({0, 0, 0, 0})},                     // XF 0: plain, general
      {0x0043, Bytes({1, 0, 0x40, 1})},                  // XF 1: font 1, locked, left
      {0x0043, Bytes({0, 0, 0, 3})},                     // XF 2: font 0, right
      {0x0000, Bytes({0, 0, 3, 0, 0, 0, 2, 0})},         // rows 0-2, columns 0-1
      {0x0004, Bytes({0, 0, 0, 0, 0x41, 64, 1, 4}) + "Caf\xE9"},
      {0x0002, Bytes({1, 0, 1, 0, 2, 0, 3, 7, 0})},
      {0x0003, Bytes({2, 0, 1, 0, 2, 0, 3}) + Double(1.5)},
      {0x000A, ""},
  };
  const std::vector<Record> actual = Records(Read(path));
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << i;
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file is left";
  if (const char* out = std::getenv("QV_TEST_OUTPUT"))  // to look at in a spreadsheet
    fs::copy_file(path, fs::path(out) / "tiny_sheet.xls", fs::copy_options::overwrite_existing);
}

TEST_F(ExcelFileTest, KeepsCellsWithinTheFormatsLimits) {
  const std::string path = Path("limits.xls");
  ExcelFile sheet;
  ASSERT_EQ(sheet.CreateFile(path), 0);
  // Outside the sheet, an unknown type, a text that is no number: nothing is written.
  const ExcelValue x = std::string("x");
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 0, 0, 0, 0, 1, x), ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 0, 0, 0, 65537, 1, x), ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 0, 0, 0, 1, 257, x), ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(sheet.WriteValue(5, 0, 0, 0, 1, 1, x), ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelNumber, 0, 0, 0, 1, 1, x), ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelNumber, 0, 0, 0, 1, 1, std::nan("")),
            ExcelCellOutcome::kNotWritten);
  // The last cell of the sheet, a label cut to 255 characters, whole numbers that the
  // integer record cannot hold, a number read from text, stray attribute bits.
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 0, 0, 0, 65536, 256, std::string(300, 'a')),
            ExcelCellOutcome::kTextCut);
  EXPECT_EQ(sheet.WriteValue(kExcelInteger, 0, 0, 0, 1, 1, int64_t{70000}),
            ExcelCellOutcome::kWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelInteger, 0, 0, 0, 1, 2, int64_t{-3}),
            ExcelCellOutcome::kWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelNumber, 0, 0, 0, 1, 3, std::string(" -12.25 ")),
            ExcelCellOutcome::kWritten);
  EXPECT_EQ(sheet.WriteValue(kExcelLabel, 0xFF, 0xFF, 0xFF, 1, 4, int64_t{42}),
            ExcelCellOutcome::kWritten);
  // Column widths and margins the format cannot take write nothing.
  sheet.SetColumnWidth(1, 1, 128);
  sheet.SetColumnWidth(3, 2, 10);
  sheet.SetColumnWidth(1, 257, 10);
  sheet.SetMargin(37, 1.0);
  sheet.SetMargin(kExcelLeftMargin, -1.0);
  ASSERT_EQ(sheet.CloseFile(), 0);
  EXPECT_EQ(sheet.TextsCut(), 1);

  const std::vector<Record> all = Records(Read(path));
  for (const Record& r : all) {
    EXPECT_NE(r.type, 0x0024) << "no column width was written";
    EXPECT_NE(r.type, 0x0026) << "no margin was written";
  }
  ASSERT_EQ(all.size(), 11u);
  EXPECT_EQ(all[2], (Record{0x0043, Bytes({0, 0, 0, 0})}));
  EXPECT_EQ(all[3], (Record{0x0043, Bytes({3, 0, 0x40, 0})}));
  const Record& dims = all[4];
  ASSERT_EQ(dims.type, 0x0000);
  EXPECT_EQ(dims.data, Bytes({0, 0, 0xFF, 0xFF, 0, 0, 0, 1})) << "rows 0-65535, columns 0-255";

  const std::vector<Record> cells = Cells(path);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[0].data, Bytes({0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 255}) + std::string(255, 'a'));
  EXPECT_EQ(cells[1], (Record{0x0003, Bytes({0, 0, 0, 0, 0, 0, 0}) + Double(70000)}));
  EXPECT_EQ(cells[2], (Record{0x0003, Bytes({0, 0, 1, 0, 0, 0, 0}) + Double(-3)}));
  EXPECT_EQ(cells[3], (Record{0x0003, Bytes({0, 0, 2, 0, 0, 0, 0}) + Double(-12.25)}));
  EXPECT_EQ(cells[4], (Record{0x0004, Bytes({0, 0, 3, 0, 0x41, 0xC0, 0, 2}) + "42"}));
}

TEST_F(ExcelFileTest, ChoosesTheCodePageThatHoldsTheTexts) {
  int64_t cut = 0;
  auto write = [&](const std::string& name, std::initializer_list<std::string> texts) {
    ExcelFile sheet;
    EXPECT_EQ(sheet.CreateFile(Path(name)), 0);
    int32_t row = 1;
    for (const std::string& t : texts)
      sheet.WriteValue(kExcelLabel, 0, 0, 0, row++, 1, t);
    EXPECT_EQ(sheet.CloseFile(), 0);
    cut = sheet.TextsCut();
    return std::make_tuple(sheet.CodePage(), sheet.CharactersReplaced(), Cells(Path(name)));
  };
  auto text = [](const Record& label) { return label.data.substr(8); };

  // Western texts stay in 1252, with its own characters above 0x7F (euro, quotes).
  auto [western, lost1, c1] = write("w.xls", {"Müller € “x”"});
  EXPECT_EQ(western, 1252);
  EXPECT_EQ(lost1, 0);
  EXPECT_EQ(text(c1[0]), "M\xFCller \x80 \x93x\x94");

  // Greek alone: 1253.
  auto [greek, lost2, c2] = write("g.xls", {"Δάνειο"});
  EXPECT_EQ(greek, 1253);
  EXPECT_EQ(lost2, 0);
  EXPECT_EQ(text(c2[0]), "\xC4\xDC\xED\xE5\xE9\xEF");

  // Mostly Cyrillic with one Turkish letter that no page holding Cyrillic has: 1251 wins
  // (before 936, which holds as many) and the letter becomes "?".
  auto [cyrillic, lost3, c3] = write("c.xls", {"Касса", "Yaşar"});
  EXPECT_EQ(cyrillic, 1251);
  EXPECT_EQ(lost3, 1);
  EXPECT_EQ(text(c3[0]), "\xCA\xE0\xF1\xF1\xE0");
  EXPECT_EQ(text(c3[1]), "Ya?ar");

  // Japanese: the double-byte page 932, and a label of 200 such characters is cut at a
  // character boundary to fit 255 bytes.
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "売";
  auto [japanese, lost4, c4] = write("j.xls", {"売上", wide});
  EXPECT_EQ(japanese, 932);
  EXPECT_EQ(lost4, 0);
  EXPECT_EQ(text(c4[0]), "\x94\x84\x8F\xE3");
  EXPECT_EQ(static_cast<uint8_t>(c4[1].data[7]), 254) << "127 whole characters";
  EXPECT_EQ(cut, 1);
  // A label cut to 255 characters when written and again to 255 bytes counts once.
  write("j2.xls", {wide + wide});
  EXPECT_EQ(cut, 1);
}

TEST_F(ExcelFileTest, AFailedWriteLeavesTheOldFile) {
  const std::string path = Path("report.xls");
  ASSERT_EQ(WriteFileAtomically(path, "old sheet"), 0);

  {  // Released without CloseFile, as when an export stops half-way.
    ExcelFile sheet;
    ASSERT_EQ(sheet.CreateFile(path), 0);
    sheet.WriteValue(kExcelLabel, 0, 0, 0, 1, 1, std::string("half"));
  }
  EXPECT_EQ(Read(path), "old sheet");
  EXPECT_EQ(FilesInFolder(), 1u);

  // A folder that does not exist: reported at once and again when closing.
  ExcelFile missing;
  EXPECT_EQ(missing.CreateFile(Path("none/report.xls")), kErrFileNotFound);
  EXPECT_EQ(missing.WriteValue(kExcelLabel, 0, 0, 0, 1, 1, std::string("x")),
            ExcelCellOutcome::kNotWritten);
  EXPECT_EQ(missing.CloseFile(), kErrFileNotFound);

  // The disk fills up while the sheet is written (a file-size limit stands in for it).
  ExcelFile big;
  ASSERT_EQ(big.CreateFile(path), 0);
  for (int32_t row = 1; row <= 20000; ++row)
    big.WriteValue(kExcelLabel, 0, 0, 0, row, 1, std::string(40, 'z'));
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int err = big.CloseFile();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(err, 0);
  EXPECT_EQ(Read(path), "old sheet");
  EXPECT_EQ(FilesInFolder(), 1u);

  // Closing without a file says so.
  ExcelFile never;
  EXPECT_NE(never.CloseFile(), 0);
}

// The cells of a sheet by row and column (both from 1), as text: labels as their bytes,
// numbers in their shortest form.
std::map<std::pair<int, int>, std::string> CellMap(const std::vector<Record>& cells) {
  std::map<std::pair<int, int>, std::string> out;
  for (const Record& r : cells) {
    const auto u16 = [&](std::size_t i) {
      return static_cast<uint8_t>(r.data[i]) | (static_cast<uint8_t>(r.data[i + 1]) << 8);
    };
    const std::pair<int, int> at{u16(0) + 1, u16(2) + 1};
    if (r.type == 0x0004) {
      out[at] = r.data.substr(8);
    } else if (r.type == 0x0002) {
      out[at] = std::to_string(u16(7));
    } else {
      double v = 0;
      std::memcpy(&v, r.data.data() + 7, 8);
      std::ostringstream os;
      os << v;
      out[at] = os.str();
    }
  }
  return out;
}

TEST_F(ExcelFileTest, ExportsTheChartAndTheEntriesOfABook) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400.5, kRevenue}});
  books.AccountDetails[1] = "1 High Street\r\nTown";
  books.BusinessName = "Smith & Sons";
  testing::AddEntry(books, testing::Day(2025, 1, 2), "7", {{110, 1234.5}}, {{400.5, 1234.5}},
                    "Till, Monday");
  books.PostingLines[0].Reconciled = books.PostingLines[1].Reconciled = 1;
  const std::string path = Path("books.xls");

  const BooksSheetResult result = WriteBooksSheet(path, books);
  ASSERT_TRUE(result.Ok()) << result.Message;
  EXPECT_EQ(result.LinesWritten, 2);
  EXPECT_EQ(result.Notice, "");
  const auto cells = CellMap(Cells(path));
  // The chart block: header, then slots 0 to 13.
  EXPECT_EQ(cells.at({1, 1}), "folio");
  EXPECT_EQ(cells.at({1, 5}), "details");
  EXPECT_EQ(cells.at({2, 1}), "1");
  EXPECT_EQ(cells.at({2, 2}), "Balance b/f");
  EXPECT_EQ(cells.at({2, 3}), "8");
  EXPECT_EQ(cells.at({3, 5}), "1 High Street\nTown");
  EXPECT_EQ(cells.at({4, 1}), "400.5");
  EXPECT_EQ(cells.at({15, 1}), "0") << "empty slots are written as the CSV writes them";
  EXPECT_EQ(cells.count({16, 1}), 0u) << "a blank row between the blocks";
  // The entry block.
  EXPECT_EQ(cells.at({17, 1}), "date");
  EXPECT_EQ(cells.at({17, 7}), "reconciled");
  const std::vector<std::string> debit = {"2025-01-02", "7", "D", "110", "1234.5"};
  for (int c = 1; c <= 5; ++c) EXPECT_EQ(cells.at({18, c}), debit[c - 1]) << c;
  EXPECT_EQ(cells.count({18, 6}), 0u) << "no notes on the entry's first line";
  EXPECT_EQ(cells.at({18, 7}), "1");
  EXPECT_EQ(cells.at({19, 3}), "C");
  EXPECT_EQ(cells.at({19, 4}), "400.5");
  EXPECT_EQ(cells.at({19, 6}), "Till, Monday");
  // A copy to look at in a spreadsheet program: a generated book with every setting.
  if (const char* out = std::getenv("QV_TEST_OUTPUT")) {
    GeneratorOptions options;
    options.lines = 500;
    options.accounts = 40;
    options.fillSettings = true;
    options.nonAscii = true;
    const std::string sample = (fs::path(out) / "books_export.xls").string();
    EXPECT_TRUE(WriteBooksSheet(sample, GenerateBook(options)).Ok()) << sample;
  }
  // The header and footer carry the business name.
  bool header = false;
  for (const Record& r : Records(Read(path)))
    if (r.type == 0x0014) header = r.data == Bytes({13}) + "Smith && Sons";
  EXPECT_TRUE(header);
}

TEST_F(ExcelFileTest, SaysWhatABookTooLargeForTheSheetLost) {
  GeneratorOptions options;
  options.lines = 70000;
  options.nonAscii = true;
  Books books = GenerateBook(options);
  books.PostingLines[1].Notes = std::string(300, 'n');
  const std::string path = Path("big.xls");
  ASSERT_EQ(WriteFileAtomically(path, "old"), 0);

  const BooksSheetResult result = WriteBooksSheet(path, books);
  ASSERT_TRUE(result.Ok()) << result.Message;
  // 65,536 rows less the chart (header and 301 slots), the blank row and the entries' header.
  const int64_t room = 65536 - 302 - 2;
  EXPECT_LE(result.LinesWritten, room);
  EXPECT_GT(result.LinesWritten, room - 7) << "only the entry that did not fit is left out";
  EXPECT_EQ(result.LinesWritten + result.LinesLeftOut, 70000);
  EXPECT_TRUE(EndsEntry(books.PostingLines[static_cast<std::size_t>(result.LinesWritten - 1)].Notes))
      << "the sheet ends with a whole entry";
  EXPECT_EQ(result.TextsCut, 1);
  EXPECT_GT(result.CharactersReplaced, 0) << "the names mix scripts no one code page holds";
  EXPECT_NE(result.Notice.find("65,536 rows"), std::string::npos) << result.Notice;
  EXPECT_NE(result.Notice.find("1 text was"), std::string::npos) << result.Notice;
  EXPECT_NE(result.Notice.find("written as \"?\""), std::string::npos) << result.Notice;
  const auto cells = Cells(path);
  const auto map = CellMap(cells);
  EXPECT_EQ(map.rbegin()->first.first, 304 + result.LinesWritten) << "the last row written";
  EXPECT_EQ(map.at({306, 6}).size(), 255u);

  // A folder that does not exist: an error to show, and no file.
  const BooksSheetResult missing = WriteBooksSheet(Path("none/books.xls"), books);
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_NE(missing.Message.find("not changed"), std::string::npos);
}

}  // namespace
}  // namespace qv
