#include "bookfiles/book_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <new>
#include <regex>

#include "bench/book_generator.h"
#include "bookfiles/acc_file.h"
#include "bookfiles/books_export.h"
#include "bookfiles/csv_file.h"
#include "bookfiles/table_files.h"
#include "bookfiles/text_file.h"
#include "platform/file_io.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using testing::CompareParts;
using testing::Day;
using testing::FirstDifference;
using testing::HasSubstr;
using testing::kToday;

constexpr BookFileType kTypes[] = {BookFileType::kAcc, BookFileType::kTxt, BookFileType::kCsv};
constexpr const char* kTypeNames[] = {"acc", "txt", "csv"};
// What each form carries: text all but the passwords, CSV the journal and the chart.
constexpr CompareParts kCarried[] = {
    {},
    {.passwords = false},
    {.passwords = false, .settingsAndGroups = false, .accountExtras = false}};

// A large generated book with everything filled: sub-account folios, non-ASCII texts, all
// ten groups, every setting.
const Books& LargeBook() {
  static const Books books = GenerateBook(
      {.lines = 100000, .accounts = 400, .seed = 7, .nonAscii = true, .fillSettings = true});
  return books;
}

// A small book of awkward values: texts with TABs, line breaks, quotes, commas, backslashes
// and control characters, a NUL, extreme dates and amounts, negative folios, mark 2.
Books AwkwardBook() {
  Books books = testing::BookWithChart({{"Cash, \"petty\"", 110, 0},
                                        {"Bank\tmain\\", 120.25, 0},
                                        {" Sales ", -5, 5},
                                        {"Стол\n2", 9999999.9999, 8}});
  testing::AddEntry(books, Day(100, 1, 1), "  A-1", {{110, 1}}, {{1, 1}}, "first\r\nline");
  testing::AddEntry(books, Day(9999, 12, 31), "ÄÖÜ-ÄÖÜ-ÄÖÜ-ÄÖ", {{110, 0.0001}, {120.25, 0}},
                    {{-5, 0.0001}}, "a \"quoted\", tab\there");
  testing::AddEntry(books, Day(2026, 3, 1), "", {{0, 0}}, {{0, 0}}, "\\x41 \x01\x7f end");
  books.PostingLines[0].Amount = books.PostingLines[1].Amount = Amount::Max();
  books.PostingLines[5].Reconciled = books.PostingLines[6].Reconciled = 2;
  books.AccountNotes[1] = "line one\r\nline two";
  books.AccountDetails[2] = "12 Long Road\r\nTown, County";
  books.AccountExtras[3] = "extra";
  books.GroupNames[3] = std::string("with\0nul", 8);
  books.PreparedGroups[9].clear();
  books.BusinessName = "O'Neil \"&\" Sons, Ltd";
  books.BusinessAddress = "Line 1\r\nLine 2\\";
  books.FilePassword = "pässwörd";
  books.AdminPassword = "admin";
  books.FontName = "";
  books.EntryCounter = INT32_MIN;
  books.ReservedLong = INT32_MAX;
  books.ReservedInteger = INT16_MIN;
  books.FontCharset = INT16_MAX;
  return books;
}

class BookFileOnDisk : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  testing::ScratchFolder folder_;
};

TEST_F(BookFileOnDisk, SavesAndOpensEachTypeReadsOnlyAFileAndAFailureChangesNothing) {
  Books books = AwkwardBook();
  for (std::size_t t = 0; t < 3; ++t) {
    const std::string path = Path(std::string("book.") + kTypeNames[t]);
    ASSERT_TRUE(WriteBook(path, kTypeNames[t], books).Ok());
    Books open = NewBooks(kToday);
    open.BooksStamp = 41;
    ASSERT_TRUE(OpenBookInto(open, path, kTypeNames[t], kToday).Ok());
    EXPECT_EQ(FirstDifference(books, open, kCarried[t]), "") << kTypeNames[t];
    EXPECT_EQ(open.BooksStamp, 42) << "opening a book makes open views rebuild";
  }
  EXPECT_EQ(folder_.EntryCount(), 3u) << "no temporary file is left behind";
  const Books before = books;
  const BookFileResult missing = OpenBookInto(books, Path("none.acc"), "acc", kToday);
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_THAT(missing.Message, HasSubstr("none.acc"));
  ASSERT_EQ(WriteFileAtomically(Path("bad.acc"), "not a book"), 0);
  EXPECT_EQ(OpenBookInto(books, Path("bad.acc"), "acc", kToday).ErrorCode, kErrDataMismatch);
  // An allocation that fails half-way is reported, not thrown.
  const BookReadResult full =
      ReadBook(Path("book.csv"), "csv", kToday, [](int64_t, int64_t) { throw std::bad_alloc(); });
  EXPECT_EQ(full.ErrorCode, kErrOutOfMemory);
  EXPECT_EQ(testing::FirstChange(before, books), "");
  // Only an ordinary file of at most 4 GiB is read.
  ASSERT_EQ(mkfifo(Path("pipe.acc").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", Path("zero.acc"));
  std::ofstream(Path("huge.acc")).close();
  std::filesystem::resize_file(Path("huge.acc"), (uint64_t(4) << 30) + 1);  // sparse
  const std::pair<std::string, std::string> cases[] = {
      {folder_.Path(), "is a folder, not a book file."},
      {Path("pipe.acc"), "pipe.acc\" is a named pipe, not a book file; it was not read."},
      {Path("zero.acc"), "zero.acc\" is a device, not a book file; it was not read."},
      {Path("huge.acc"), "is larger than 4 GiB, more than any book file; it was not read."}};
  for (const auto& [path, words] : cases) {
    const BookReadResult read = ReadBook(path, "acc", kToday);
    EXPECT_EQ(read.ErrorCode, kErrDataMismatch) << path;
    EXPECT_THAT(read.Message, HasSubstr(words));
  }
  // A failed save leaves the old file, and no temporary file.
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old book"), 0);
  const std::size_t entries = folder_.EntryCount();
  const Books large = GenerateBook({.lines = 20000});
  const BookFileResult unsaved = WriteBook(Path("gone/book.acc"), "acc", large);
  EXPECT_EQ(unsaved.ErrorCode, kErrFileNotFound);
  EXPECT_THAT(unsaved.Message, HasSubstr("was not changed"));
  std::vector<BookFileResult> results;
  {
    testing::FileSizeLimit fullDisk(256 * 1024);
    for (const char* type : kTypeNames) results.push_back(WriteBook(path, type, large));
  }
  for (const BookFileResult& r : results) EXPECT_EQ(r.ErrorCode, FileErrorCodeFromErrno(EFBIG));
  EXPECT_EQ(testing::ScratchFolder::Read(path), "old book");
  EXPECT_EQ(folder_.EntryCount(), entries);
}

// A book named with 250 bytes, and one at a path as long as the system takes, is saved in
// place in each form, and so is each export: the book forms, the book's spreadsheet and the
// table files of the views. Each reads back and no temporary file is left.
TEST_F(BookFileOnDisk, EveryFormIsSavedInPlaceAtTheLimitsOfNameAndPath) {
  std::string books;
  std::string table;
  for (int i = 0; i < 82; ++i) {
    books += "\u5e33";  // 帳, three bytes each
    table += "\u8868";  // 表
  }
  const std::string deep = folder_.DeepPath(books + ".acc", PATH_MAX - 1);
  ASSERT_EQ(deep.size(), static_cast<std::size_t>(PATH_MAX - 1));
  const Books book = AwkwardBook();
  TableDocument rows;
  rows.Title = {"Ledger"};
  rows.Columns = {{"Account", CellAlign::kLeft, 20}};
  rows.RowCount = 2;
  rows.FillRow = [](int64_t row, TableRow& out) { out.Cells = {row == 0 ? "Cash" : "Bank"}; };
  for (const std::string& folder :
       {folder_.Folder("named"), std::filesystem::path(deep).parent_path().string()}) {
    for (std::size_t t = 0; t < 3; ++t) {
      const std::string path = folder + "/" + books + "." + kTypeNames[t];
      ASSERT_EQ(std::filesystem::path(path).filename().string().size(), 250u);
      for (int save = 0; save < 2; ++save) {
        const BookFileResult saved = WriteBook(path, kTypeNames[t], book);
        ASSERT_TRUE(saved.Ok()) << saved.Message;
      }
      const BookReadResult read = ReadBook(path, kTypeNames[t], kToday);
      ASSERT_TRUE(read.Ok()) << read.Message;
      EXPECT_EQ(FirstDifference(book, *read.Book, kCarried[t]), "") << kTypeNames[t];
    }
    const BooksSheetResult sheet = WriteBooksSheet(folder + "/" + books + ".xls", book);
    EXPECT_TRUE(sheet.Ok()) << sheet.Message;
    for (const char* type : {"csv", "htm", "rtf", "txt", "xls"}) {
      const std::string path = folder + "/" + table + "." + type;
      const TableFileResult written = WriteTableFile(path, type, rows);
      EXPECT_TRUE(written.Ok()) << written.Message;
      EXPECT_NE(testing::ScratchFolder::Read(path), "") << type;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 9)
        << "no temporary file is left";
  }
}

// A book larger than the limit fails while it is being written, not only when it is
// committed: each form stops at once and the old file stays.
TEST_F(BookFileOnDisk, AFailedSaveLeavesTheOldFile) {
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old book"), 0);
  const BookFileResult missing = WriteBook(Path("gone/book.acc"), "acc", LargeBook());
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_THAT(missing.Message, HasSubstr("was not changed"));

  std::vector<BookFileResult> results;
  {
    testing::FileSizeLimit fullDisk(256 * 1024);
    for (const char* type : kTypeNames) results.push_back(WriteBook(path, type, LargeBook()));
  }
  for (const BookFileResult& r : results) EXPECT_EQ(r.ErrorCode, FileErrorCodeFromErrno(EFBIG));
  EXPECT_EQ(testing::ScratchFolder::Read(path), "old book");
  EXPECT_EQ(folder_.EntryCount(), 1u);
}

// A text as long as a reader takes is written and read back in every form that carries it;
// one byte more and the writers refuse the book, naming the text, and the old file stays.
TEST_F(BookFileOnDisk, TheWritersRefuseWhatTheReadersWouldRefuseAndWriteNothing) {
  Books books = AwkwardBook();
  const std::string longest(kMaxTextBytes - 2, 'd');
  books.AccountDetails[1] = longest + "\r\n";
  books.BusinessAddress = longest + "é";
  books.PostingLines[1].Notes = "é" + std::string(kMaxTextBytes - 2, 'n');
  for (std::size_t t = 0; t < 3; ++t) {
    const std::string path = Path(std::string("long.") + kTypeNames[t]);
    ASSERT_TRUE(WriteBook(path, kTypeNames[t], books).Ok());
    const BookReadResult read = ReadBook(path, kTypeNames[t], kToday);
    ASSERT_TRUE(read.Ok()) << read.Message;
    EXPECT_EQ(FirstDifference(books, *read.Book, kCarried[t]), "") << kTypeNames[t];
  }
  struct Case {
    std::string* text;
    std::string named;
    bool inCsv;
  };
  const Case cases[] = {
      {&books.AccountDetails[1], "The details of account 110 (chart slot 2) hold", true},
      {&books.PostingLines[1].Notes, "The notes of posting line 2 hold", true},
      {&books.BusinessAddress, "The business address holds", false},
      {&books.AdminPassword, "The admin password holds", false}};
  for (const Case& c : cases) {
    const std::string kept = *c.text;
    *c.text = std::string(kMaxTextBytes + 1, 'x');
    for (std::size_t t = 0; t < 3; ++t) {
      const bool carried = t == 0 || (c.text != &books.AdminPassword && (t == 1 || c.inCsv));
      const std::string path = Path(std::string("old.") + kTypeNames[t]);
      ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
      const BookFileResult result = WriteBook(path, kTypeNames[t], books);
      EXPECT_EQ(result.Ok(), !carried) << c.named << " " << kTypeNames[t];
      if (carried) {
        EXPECT_EQ(result.Message, "\"" + path + "\" was not written: " + c.named +
                                      " 1048577 bytes; a book file holds at most 1048576 bytes "
                                      "in one text.");
        EXPECT_EQ(testing::ScratchFolder::Read(path), "old");
      }
    }
    *c.text = kept;
  }
}

TEST_F(BookFileOnDisk, EveryFormReadsBackAnAwkwardBookInPiecesOfAnySizeAndInOrder) {
  for (std::size_t t = 0; t < 3; ++t) {  // and a large one whole
    const BookReadResult read = ParseBook(FormatBook(LargeBook(), kTypes[t]), kTypes[t], kToday);
    ASSERT_TRUE(read.Ok()) << read.Message;
    EXPECT_EQ(FirstDifference(LargeBook(), *read.Book, kCarried[t]), "") << kTypeNames[t];
  }
  ASSERT_EQ(CheckBooks(AwkwardBook()), std::nullopt);
  EXPECT_EQ(BookFileTypeOf("TXT"), BookFileType::kTxt);
  EXPECT_EQ(BookFileTypeOf("xls"), std::nullopt);
  using Reader = BookReadResult (*)(ByteSource&, DaySerial, const ProgressFn&);
  const Reader readers[] = {ReadAccBook, ReadTextBook, ReadCsvBook};
  const Books awkward = AwkwardBook();
  for (std::size_t t = 0; t < 3; ++t) {
    std::string bytes = FormatBook(awkward, kTypes[t]);
    // No password is readable in any form; text, book, text gives the same bytes.
    EXPECT_EQ(bytes.find(awkward.FilePassword), std::string::npos);
    const BookReadResult parsed = ParseBook(bytes, kTypes[t], kToday);
    ASSERT_TRUE(parsed.Ok()) << parsed.Message;
    EXPECT_TRUE(t != 1 || FormatBook(*parsed.Book, BookFileType::kTxt) == bytes);
    // Windows line ends in the text form, so that a CR and its LF fall into two pieces.
    if (t == 1) bytes = std::regex_replace(bytes, std::regex("\n"), "\r\n");
    ASSERT_EQ(WriteFileAtomically(Path("pieces"), bytes), 0);
    for (std::size_t piece : {1, 2, 3, 7, 64}) {
      FileReader file;
      ASSERT_EQ(file.Open(Path("pieces")), 0);
      ByteSource source(file, piece);
      const BookReadResult read = readers[t](source, kToday, {});
      ASSERT_TRUE(read.Ok()) << kTypeNames[t] << " " << piece << ": " << read.Message;
      EXPECT_EQ(FirstDifference(awkward, *read.Book, kCarried[t]), "") << kTypeNames[t] << piece;
      EXPECT_EQ(CheckBooks(*read.Book), std::nullopt);
      // The text forms carry no password.
      EXPECT_TRUE(t == 0 || read.Book->FilePassword + read.Book->AdminPassword == "");
    }
  }
  // Reading puts the book in order.
  // A chart of fewer than 14 slots is padded, notes are trimmed, settings out of range are
  // brought back into it.
  Books books = testing::BookWithChart({{"Cash", 110, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "1", {{110, 1}}, {{1, 1}}, "ok");
  books.PostingLines[1].Notes = "  ok  ";
  books.ResizeChart(3);
  books.DateStyleIndex = 9;
  books.JournalDecimals = -1;
  books.TrialDecimals = 7;
  books.FolioDashes = 1;
  const BookReadResult read =
      ParseBook(FormatBook(books, BookFileType::kTxt), BookFileType::kTxt, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  const Books& b = *read.Book;
  EXPECT_EQ(std::tuple(b.PostingLines[1].Notes, b.AccountNames.size(), b.LastAccountIndex),
            std::tuple("ok", 14u, 13));
  EXPECT_EQ(std::vector<int>({b.DateStyleIndex, b.JournalDecimals, b.TrialDecimals, b.FolioDashes}),
            std::vector<int>({0, 0, 3, -1}));
  EXPECT_EQ(b.PreparedEntryBuffer, b.PreparedGroups[0]);
  // Progress is reported in steps and only as a position.
  const Books generated = GenerateBook({.lines = 10000});
  for (std::size_t t = 0; t < 3; ++t) {
    int calls = 0;
    int64_t last = 0;
    const ProgressFn progress = [&](int64_t done, int64_t all) {
      EXPECT_TRUE(done > last && done <= all) << done << " after " << last << " of " << all;
      last = done;
      ++calls;
    };
    ASSERT_TRUE(ParseBook(FormatBook(generated, kTypes[t]), kTypes[t], kToday, progress).Ok());
    EXPECT_TRUE(calls >= 90 && calls <= 101) << kTypeNames[t] << " " << calls;
  }
}

}  // namespace
}  // namespace qv
