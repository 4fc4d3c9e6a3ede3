// Malformed files through every reader: the corpus (tests/bookfiles/corpus/, one file per
// kind of damage), then truncations and flipped bits of valid files. Nothing may crash or
// leak, a refused file leaves the open books as they were, an accepted one gives sound books.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::Day;
using testing::FirstChange;
using testing::HasSubstr;
using testing::kToday;

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

// Each corpus file, with the words its own reader's message must hold.
const std::map<std::string, std::string> kCorpus = {
    {"acc-bad-utf8.acc", "The notes of posting line 2 is not valid UTF-8 text."},
    {"acc-bit-flipped.acc", "its checksum does not match its contents"},
    {"acc-debit-after-credit.acc", "line 2: the entry that starts on posting line 1 has a debit"},
    {"acc-header-only.acc", "incomplete: it ends after its layout version"},
    {"acc-huge-count.acc", "4294967280 posting lines, more than the 2147483647 a book can hold"},
    {"acc-huge-text.acc", "posting line 1 is 4294967295 bytes long, more than the limit"},
    {"acc-infinite-date.acc", "The date of posting line 1 is not a whole day"},
    {"acc-nan-date.acc", "The date of posting line 1 is not a whole day between the years"},
    {"acc-trailing-bytes.acc", "3 unexpected bytes after its settings"},
    {"acc-truncated.acc", "damaged or incomplete"},
    {"acc-version-5.acc", "the older layout version 5, which this program cannot read"},
    {"acc-version-7.acc", "layout version 7, which this program does not know"},
    {"acc-wrong-magic.acc", "This file is not a book file of this program."},
    {"acc-wrong-side.acc", "The side of posting line 1 is 0; it must be 1 (debit) or 2"},
    {"acc-two-dates-in-an-entry.acc", "line 2: the entry that starts on posting line 1 has lines"},
    {"acc-single-line.acc", "Posting line 1: The journal holds fewer than two lines."},
    // Including a group appends it to the journal: the journal's rules hold for it.
    {"acc-group-of-40-debits.acc", "group 2, line 1: the entry that starts on line 1 has more"},
    {"acc-group-of-one-line.acc", "Prepared group 3, line 1: The group holds a single line"},
    {"csv-bad-amount.csv", "Line 21: the amount \"12.34567\" is not a number written with"},
    {"csv-bad-side.csv", "Line 21: the side \"X\" is not D (debit) or C (credit)."},
    {"csv-bad-type.csv", "Line 2: the account type \"12\" is not a number from 0 to 8."},
    {"csv-bad-utf8.csv", "Line 3: the row is not UTF-8 text."},
    {"csv-entry-numbers-differ.csv", "Line 22: the entry that starts on line 21 has lines with"},
    {"csv-no-header.csv", "Line 1: a book in CSV form begins with the chart's header row"},
    {"csv-single-line.csv", "Line 21: the file ends in the middle of an entry"},
    {"csv-chart-only.csv", "Line 18: the file ends before the entry block's header row"},
    {"csv-cut-after-a-credit.csv", "Line 22: the file ends in the middle of an entry"},
    {"csv-wide-row.csv", "Line 5: the row has more than 7 fields"},
    {"csv-long-date.csv", "Line 21: the date \"" + std::string(60, '9') + "...\" is not a real"},
    {"csv-folio-with-comma.csv", "Line 21: the folio \"1,234.50\" is not a number written"},
    {"csv-short-row.csv", "Line 21: an entry row has 7 fields (date, entry number, side,"},
    {"csv-debit-after-credit.csv", "Line 22: the entry that starts on line 21 has a debit line"},
    {"csv-text-after-quote.csv", "Line 2: a quoted field is followed by text"},
    {"csv-unterminated-quote.csv", "Line 22: a quoted field that begins on this line is never"},
    {"txt-bad-date.txt", "Line 101: the date \"2025-13-09\" is not a real day"},
    {"txt-bad-escape.txt", "Line 102: the notes holds the unknown escape \\l"},
    {"txt-bad-utf8.txt", "Line 23: the line is not UTF-8 text."},
    {"txt-credit-first.txt", "Line 101: the entry that starts on line 101 lacks a debit or"},
    {"txt-group-of-40-debits.txt", "Line 48: the entry that starts on line 48 has more than 31"},
    {"txt-cut-in-a-line.txt", "Line 100: the file ends before its [End] line"},
    {"txt-huge-number.txt", "Line 4: the setting EntryCounter must be a whole number from"},
    {"txt-layout-5.txt", "Line 1: the file is a book text of layout \"5\", which this"},
    {"txt-long-entry-number.txt", "Line 101: the entry number \"123456789012345\" is longer"},
    {"txt-no-end.txt", "Line 103: the file ends before its [End] line, so it is incomplete."},
    {"txt-sections-out-of-order.txt", "Line 45: found \"[Group 4]\" where the section [Group 2]"},
    {"txt-unknown-setting.txt", "Line 15: \"FontNam\" is not the name of a setting."},
    {"txt-wrong-side.txt", "Line 101: the side \"3\" is not D (debit) or C (credit)."},
    {"txt-bad-folio.txt", "Line 101: the folio \"1,10\" is not a number"},
    {"txt-too-few-fields.txt", "Line 101: a posting line has 7 fields separated by TABs, this"},
    {"txt-long-section-name.txt", "Line 45: found \"[" + std::string(59, 'G') + "...\" where"},
    {"txt-group-without-a-credit.txt", "Line 42: the entry that starts on line 42 lacks a debit"}};

TEST(MalformedFiles, CorpusFilesTruncationsAndFlippedBitsNeverHarmTheOpenBooks) {
  const Books original = OpenBooks();
  std::size_t files = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(QV_TESTS_SOURCE_DIR) / "bookfiles" / "corpus")) {
    ++files;
    const std::string name = entry.path().filename().string();
    ASSERT_TRUE(kCorpus.contains(name)) << name << " has no expected message";
    for (const char* type : kTypeNames) {
      SCOPED_TRACE(name + " read as " + type);
      Books books = original;
      const BookFileResult result = OpenBookInto(books, entry.path().string(), type, kToday);
      EXPECT_EQ(result.ErrorCode, kErrDataMismatch) << result.Message;
      EXPECT_THAT(result.Message, HasSubstr(name));
      if (name.starts_with(type)) {
        EXPECT_THAT(result.Message, HasSubstr(kCorpus.at(name)));
      }
      EXPECT_EQ(FirstChange(original, books), "");
    }
  }
  EXPECT_EQ(files, kCorpus.size());
  for (BookFileType form : kTypes) {
    const std::string valid = FormatBook(original, form);
    std::vector<std::string> damaged;
    const bool every = form == BookFileType::kAcc;
    for (std::size_t n = 0; n < valid.size(); n += every ? 1 : 1 + n / 64)
      damaged.push_back(valid.substr(0, n));
    for (std::size_t bit = 0; bit < valid.size() * 8; bit += every ? 1 : 7) {
      std::string flipped = valid;
      flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
      damaged.push_back(std::move(flipped));
    }
    for (BookFileType reader : kTypes) {
      for (const std::string& bytes : damaged) {
        const BookReadResult read = ParseBook(bytes, reader, kToday);
        if (read.Ok()) {
          ASSERT_TRUE(form != BookFileType::kAcc && reader == form)
              << "a damaged file was accepted, form " << static_cast<int>(form) << " reader "
              << static_cast<int>(reader);
          ASSERT_EQ(CheckBooks(*read.Book), std::nullopt);
        } else {
          ASSERT_FALSE(read.Book.has_value());
          ASSERT_NE(read.ErrorCode, 0);
          ASSERT_FALSE(read.Message.empty());
        }
      }
    }
  }
}

}  // namespace
}  // namespace qv
