#include "bookfiles/book_files.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

#include "bench/book_generator.h"
#include "bookfiles/acc_file.h"
#include "bookfiles/csv_file.h"
#include "bookfiles/text_file.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::CompareParts;
using testing::Day;
using testing::FirstChange;
using testing::FirstDifference;
using testing::Money;

const DaySerial kToday = 46000;

// A large generated book with everything filled: sub-account folios, non-ASCII names and
// notes, all ten groups, every setting.
const Books& LargeBook() {
  static const Books books = [] {
    GeneratorOptions options;
    options.lines = 100000;
    options.accounts = 400;
    options.nonAscii = true;
    options.fillSettings = true;
    options.seed = 7;
    return GenerateBook(options);
  }();
  return books;
}

// A small book with the awkward values: texts with TABs, line breaks, quotes, commas,
// backslashes and control characters, leading blanks in an entry number, a NUL in a group
// name, the extreme dates and amounts, negative folios, a reconciled mark of 2.
Books AwkwardBook() {
  Books books = testing::BookWithChart({{"Cash, \"petty\"", 110, 0},
                                        {"Bank\tmain\\", 120.25, 0},
                                        {" Sales ", -5, 5},
                                        {"Стол\n2", 9999999.9999, 8}});
  testing::AddEntry(books, Day(100, 1, 1), "  A-1", {{110, 1}}, {{1, 1}}, "first\r\nline");
  testing::AddEntry(books, Day(9999, 12, 31), "ÄÖÜ-ÄÖÜ-ÄÖÜ-ÄÖ",
                    {{110, 0.0001}, {120.25, 0}}, {{-5, 0.0001}}, "a \"quoted\", tab\there");
  testing::AddEntry(books, Day(2026, 3, 1), "", {{0, 0}}, {{0, 0}}, "\\x41 \x01\x7f end");
  books.PostingLines[0].Amount = Amount::Max();
  books.PostingLines[1].Amount = Amount::Max();
  for (int i = 5; i <= 6; ++i) books.PostingLines[static_cast<std::size_t>(i)].Reconciled = 2;
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

BookReadResult Reparse(const Books& books, BookFileType type) {
  return ParseBook(FormatBook(books, type), type, kToday);
}

TEST(BookFiles, TheBookFileReproducesEveryFieldOfALargeBook) {
  const BookReadResult read = Reparse(LargeBook(), BookFileType::kAcc);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(FirstDifference(LargeBook(), *read.Book), "");
  EXPECT_EQ(CheckBooks(*read.Book), std::nullopt);
}

TEST(BookFiles, TheTextFormReproducesEverythingButThePasswords) {
  const std::string text = FormatBook(LargeBook(), BookFileType::kTxt);
  const BookReadResult read = ParseBook(text, BookFileType::kTxt, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(FirstDifference(LargeBook(), *read.Book, CompareParts{.passwords = false}), "");
  EXPECT_EQ(read.Book->FilePassword, "");
  EXPECT_EQ(read.Book->AdminPassword, "");
  EXPECT_EQ(text.find("open sesame"), std::string::npos);
  // Text, book, text: the same bytes.
  EXPECT_TRUE(FormatBook(*read.Book, BookFileType::kTxt) == text);
}

TEST(BookFiles, TheCsvFormReproducesTheJournalAndTheChart) {
  const BookReadResult read = Reparse(LargeBook(), BookFileType::kCsv);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(FirstDifference(LargeBook(), *read.Book,
                            {.passwords = false, .settingsAndGroups = false,
                             .accountExtras = false}),
            "");
}

TEST(BookFiles, AwkwardValuesSurviveEveryForm) {
  const Books books = AwkwardBook();
  ASSERT_EQ(CheckBooks(books), std::nullopt);
  for (auto [type, parts] :
       {std::pair{BookFileType::kAcc, CompareParts{}},
        std::pair{BookFileType::kTxt, CompareParts{.passwords = false}},
        std::pair{BookFileType::kCsv, CompareParts{.passwords = false,
                                                   .settingsAndGroups = false,
                                                   .accountExtras = false}}}) {
    SCOPED_TRACE(static_cast<int>(type));
    const BookReadResult read = Reparse(books, type);
    ASSERT_TRUE(read.Ok()) << read.Message;
    EXPECT_EQ(FirstDifference(books, *read.Book, parts), "");
  }
  // The file password is not readable in the book file; the admin password is kept plain.
  const std::string acc = FormatBook(books, BookFileType::kAcc);
  EXPECT_EQ(acc.find("pässwörd"), std::string::npos);
}

TEST(BookFiles, ReadingPutsTheBookInOrder) {
  // A chart of fewer than 14 slots is padded, notes are trimmed, an open last entry is
  // closed, settings out of range are brought back into it.
  Books books = testing::BookWithChart({{"Cash", 110, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "1", {{110, 1}}, {{1, 1}}, "ok");
  books.PostingLines[1].Notes = "  ok  ";
  books.ResizeChart(3);
  books.DateStyleIndex = 9;
  books.JournalDecimals = -1;
  books.TrialDecimals = 7;
  books.FolioDashes = 1;
  const std::string text = FormatBook(books, BookFileType::kTxt);
  const BookReadResult read = ParseBook(text, BookFileType::kTxt, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  const Books& b = *read.Book;
  EXPECT_EQ(b.PostingLines[1].Notes, "ok");
  EXPECT_EQ(b.AccountNames.size(), 14u);
  EXPECT_EQ(b.LastAccountIndex, 13);
  EXPECT_EQ(b.DateStyleIndex, 0);
  EXPECT_EQ(b.JournalDecimals, 0);
  EXPECT_EQ(b.TrialDecimals, 3);
  EXPECT_EQ(b.FolioDashes, -1);
  EXPECT_EQ(b.PreparedEntryBuffer, b.PreparedGroups[0]);

  // A file without entries gets the empty entry of a new book, dated today.
  const std::string csv = "folio,name,type,notes,details\n1,Balance b/f,8,,\n";
  const BookReadResult empty = ParseBook(csv, BookFileType::kCsv, kToday);
  ASSERT_TRUE(empty.Ok()) << empty.Message;
  ASSERT_EQ(empty.Book->LastLineIndex(), 1);
  EXPECT_EQ(empty.Book->PostingLines[0].LineDate, kToday);
  EXPECT_EQ(empty.Book->PostingLines[1].Notes, "_");
  EXPECT_EQ(empty.Book->EntryNumbers[0], "1");
}

TEST(BookFiles, TypesAreNamedAsTheFileDialogNamesThem) {
  EXPECT_EQ(BookFileTypeOf("acc"), BookFileType::kAcc);
  EXPECT_EQ(BookFileTypeOf("TXT"), BookFileType::kTxt);
  EXPECT_EQ(BookFileTypeOf("csv"), BookFileType::kCsv);
  EXPECT_EQ(BookFileTypeOf("xls"), std::nullopt);
}

TEST(BookFiles, ProgressIsReportedInStepsAndOnlyAsAPosition) {
  GeneratorOptions options;
  options.lines = 10000;
  const Books books = GenerateBook(options);
  for (BookFileType type : {BookFileType::kAcc, BookFileType::kTxt, BookFileType::kCsv}) {
    std::vector<std::pair<int64_t, int64_t>> calls;
    const ProgressFn progress = [&](int64_t done, int64_t total) {
      calls.emplace_back(done, total);
    };
    std::string bytes;
    const auto sink = [&](std::string_view piece) { bytes.append(piece); };
    switch (type) {
      case BookFileType::kAcc: WriteAccBook(books, sink, progress); break;
      case BookFileType::kTxt: WriteTextBook(books, sink, progress); break;
      case BookFileType::kCsv: WriteCsvBook(books, sink, progress); break;
    }
    EXPECT_GE(calls.size(), 90u);
    EXPECT_LE(calls.size(), 101u);
    for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_GT(calls[i].first, calls[i - 1].first);
    EXPECT_EQ(calls.back().second, 10000);

    calls.clear();
    ASSERT_TRUE(ParseBook(bytes, type, kToday, progress).Ok());
    EXPECT_GE(calls.size(), 90u);
    EXPECT_LE(calls.size(), 101u);
    EXPECT_LE(calls.back().first, calls.back().second);
  }
}

class BookFileOnDisk : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  static std::string Contents(const std::string& path) {
    return testing::ScratchFolder::Read(path);
  }
  std::size_t FilesInFolder() const { return folder_.EntryCount(); }
  testing::ScratchFolder folder_;
  const std::string& dir_ = folder_.Path();
};

TEST_F(BookFileOnDisk, SavesAndOpensEachType) {
  const Books books = AwkwardBook();
  for (const char* type : {"acc", "txt", "csv"}) {
    const std::string path = Path(std::string("book.") + type);
    const BookFileResult written = WriteBook(path, type, books);
    ASSERT_TRUE(written.Ok()) << written.Message;
    Books open = NewBooks(kToday);
    open.BooksStamp = 41;
    const BookFileResult read = OpenBookInto(open, path, type, kToday);
    ASSERT_TRUE(read.Ok()) << read.Message;
    EXPECT_EQ(open.AccountNames[1], books.AccountNames[1]);
    EXPECT_EQ(open.PostingLines, books.PostingLines);
    EXPECT_EQ(open.BooksStamp, 42) << "opening a book makes open views rebuild";
  }
  EXPECT_EQ(FilesInFolder(), 3u) << "no temporary file is left behind";
}

TEST_F(BookFileOnDisk, AFailedOpenLeavesTheBooksAsTheyWere) {
  Books books = AwkwardBook();
  const Books before = books;
  const BookFileResult missing = OpenBookInto(books, Path("none.acc"), "acc", kToday);
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_NE(missing.Message.find("none.acc"), std::string::npos);
  EXPECT_EQ(OpenBookInto(books, dir_, "acc", kToday).ErrorCode, FileErrorCodeFromErrno(EISDIR));

  ASSERT_EQ(WriteFileAtomically(Path("bad.acc"), "not a book"), 0);
  const BookFileResult bad = OpenBookInto(books, Path("bad.acc"), "acc", kToday);
  EXPECT_EQ(bad.ErrorCode, kErrDataMismatch);
  EXPECT_NE(bad.Message.find("not a book file"), std::string::npos) << bad.Message;
  EXPECT_EQ(FirstChange(before, books), "");
}

TEST_F(BookFileOnDisk, AFailedSaveLeavesTheOldFile) {
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old book"), 0);

  // A folder that does not exist.
  const BookFileResult missing = WriteBook(Path("gone/book.acc"), "acc", LargeBook());
  EXPECT_EQ(missing.ErrorCode, kErrFileNotFound);
  EXPECT_NE(missing.Message.find("was not changed"), std::string::npos);

  // A write that fails part-way, as on a full disk: a file-size limit stops it.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 256 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::vector<BookFileResult> results;
  for (const char* type : {"acc", "txt", "csv"}) results.push_back(WriteBook(path, type, LargeBook()));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  for (const BookFileResult& r : results) EXPECT_EQ(r.ErrorCode, FileErrorCodeFromErrno(EFBIG));
  EXPECT_EQ(Contents(path), "old book");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(BookFileOnDisk, AReadOnlyFolderIsReportedAndTheOldFileKept) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = Path("book.csv");
  ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
  fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(WriteBook(path, "csv", AwkwardBook()).ErrorCode, kErrPathAccess);
  EXPECT_EQ(Contents(path), "old");
}

}  // namespace
}  // namespace qv
