// Malformed files through every reader: the committed corpus (tests/bookfiles/corpus/, one
// file per kind of damage), then every truncation and flipped bit of valid files. Nothing
// may crash or leak (the tests run under the sanitizers), a refused file leaves the open
// books exactly as they were, and a file that is accepted gives a sound book.

#include <gtest/gtest.h>

#include <filesystem>

#include "bookfiles/book_files.h"
#include "books/module_procedures.h"
#include "platform/file_io.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::Day;
using testing::FirstChange;

const DaySerial kToday = 46000;
constexpr BookFileType kTypes[] = {BookFileType::kAcc, BookFileType::kTxt, BookFileType::kCsv};
constexpr const char* kTypeNames[] = {"acc", "txt", "csv"};

Books OpenBooks() {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"Bank", 120.5, 0}});
  testing::AddEntry(books, Day(2026, 2, 1), "12", {{110, 10}, {120.5, 5}}, {{1, 15}}, "Opening");
  testing::AddEntry(books, Day(2026, 2, 2), "13", {{120.5, 1.25}}, {{110, 1.25}});
  books.GroupNames[2] = "Rent";
  books.BusinessName = "Bäckerei";
  books.FilePassword = "pw";
  books.BooksStamp = 5;
  return books;
}

// Reads the bytes as the open command would, replacing `books` only on success.
void ReadInto(Books& books, std::string_view bytes, BookFileType type) {
  BookReadResult read = ParseBook(bytes, type, kToday);
  if (!read.Ok()) {
    ASSERT_FALSE(read.Book.has_value());
    ASSERT_NE(read.ErrorCode, 0);
    ASSERT_FALSE(read.Message.empty());
    return;
  }
  ASSERT_EQ(CheckBooks(*read.Book), std::nullopt);
  books = std::move(*read.Book);
}

fs::path CorpusFolder() { return fs::path(__FILE__).parent_path() / "corpus"; }

TEST(MalformedFiles, EveryCorpusFileIsRefusedByEveryReader) {
  const Books original = OpenBooks();
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(CorpusFolder())) {
    std::string bytes;
    ASSERT_EQ(ReadWholeFile(entry.path().string(), bytes), 0);
    ++files;
    for (std::size_t t = 0; t < 3; ++t) {
      SCOPED_TRACE(entry.path().filename().string() + " read as " + kTypeNames[t]);
      Books books = original;
      const BookFileResult result =
          OpenBookInto(books, entry.path().string(), kTypeNames[t], kToday);
      EXPECT_EQ(result.ErrorCode, kErrDataMismatch) << result.Message;
      EXPECT_NE(result.Message.find(entry.path().filename().string()), std::string::npos)
          << result.Message;
      EXPECT_EQ(FirstChange(original, books), "");
    }
  }
  EXPECT_GE(files, 30u);
}

TEST(MalformedFiles, CorpusMessagesSayWhatIsWrong) {
  auto message = [](const char* name, BookFileType type) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile((CorpusFolder() / name).string(), bytes), 0);
    return ParseBook(bytes, type, kToday).Message;
  };
  EXPECT_NE(message("acc-version-5.acc", BookFileType::kAcc).find("version 5"),
            std::string::npos);
  EXPECT_NE(message("acc-huge-count.acc", BookFileType::kAcc).find("posting lines"),
            std::string::npos);
  EXPECT_NE(message("acc-wrong-side.acc", BookFileType::kAcc).find("side of posting line 0"),
            std::string::npos);
  EXPECT_NE(message("acc-truncated.acc", BookFileType::kAcc).find("incomplete"),
            std::string::npos);
  EXPECT_NE(message("txt-layout-5.txt", BookFileType::kTxt).find("layout \"5\""),
            std::string::npos);
  EXPECT_NE(message("txt-no-end.txt", BookFileType::kTxt).find("incomplete"), std::string::npos);
  EXPECT_EQ(message("csv-bad-side.csv", BookFileType::kCsv).substr(0, 8), "Line 21:");
}

// Every truncation and every flipped bit of the three forms of one book, read by every
// reader. (The book file refuses all of them; a text or CSV file cut at a line's end may
// still be a sound, shorter book, and a flipped bit may give a different sound one.)
TEST(MalformedFiles, TruncationsAndFlippedBitsNeverHarmTheOpenBooks) {
  const Books original = OpenBooks();
  for (BookFileType form : kTypes) {
    const std::string valid = FormatBook(original, form);
    std::vector<std::string> damaged;
    for (std::size_t n = 0; n < valid.size(); n += 1 + n / 64) damaged.push_back(valid.substr(0, n));
    for (std::size_t bit = 0; bit < valid.size() * 8; bit += 7) {
      std::string flipped = valid;
      flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
      damaged.push_back(std::move(flipped));
    }
    for (BookFileType reader : kTypes) {
      for (const std::string& bytes : damaged) {
        Books books = original;
        ReadInto(books, bytes, reader);
        if (form == BookFileType::kAcc || reader != form)
          ASSERT_EQ(FirstChange(original, books), "")
              << "a damaged file was accepted, form " << static_cast<int>(form) << " reader "
              << static_cast<int>(reader);
      }
    }
  }
}

}  // namespace
}  // namespace qv
