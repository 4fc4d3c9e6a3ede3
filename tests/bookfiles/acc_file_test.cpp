#include "bookfiles/acc_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::HasSubstr;
using testing::kToday;

Books SmallBook() {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"Sales", 400, 5}});
  testing::AddEntry(books, Day(2026, 1, 2), "7", {{110, 25.5}}, {{400, 25.5}}, "Till");
  testing::AddEntry(books, Day(2026, 1, 3), "8", {{110, 4}}, {{400, 4}});
  books.FilePassword = "secret";
  return books;
}

std::string Bytes(const Books& books) { return FormatBook(books, BookFileType::kAcc); }

void PutU32(std::string& bytes, std::size_t at, uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The file with its checksum made to match again, so that a test reaches the check behind it.
std::string Resealed(std::string bytes) {
  PutU32(bytes, bytes.size() - 4, Crc32(std::string_view(bytes).substr(0, bytes.size() - 4)));
  return bytes;
}

void ExpectRefused(const std::string& bytes, const std::string& words) {
  EXPECT_THAT(testing::Refusal(bytes, BookFileType::kAcc), HasSubstr(words));
}

// Offsets: magic (8), version (4), count of posting lines (4), first line's date (8), side.
constexpr std::size_t kVersionAt = 8, kLineCountAt = 12, kFirstDateAt = 16, kFirstSideAt = 24;

TEST(AccFile, LayoutChecksumAndScrambledPasswordAndContentsJudgedBehindTheChecksum) {
  const std::string bytes = Bytes(SmallBook());
  EXPECT_EQ(bytes.substr(0, 8), kAccMagic);
  EXPECT_EQ(bytes.substr(kVersionAt, 4), std::string("\x06\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(kLineCountAt, 4), std::string("\x04\x00\x00\x00", 4));
  EXPECT_EQ(bytes[kFirstSideAt], 1);
  EXPECT_EQ(Resealed(bytes), bytes);
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);  // the usual check value
  // Damaged files, every truncation and flipped bit included, are in malformed_files_test.
  // The version is judged before the checksum: a version-5 file is never called damaged.
  ExpectRefused(std::string(kAccMagic) + std::string("\x05\x00\x00\x00", 4), "version 5");
  ExpectRefused("", "not a book file");
  ExpectRefused("Quorvel book text, layout 6\n", "not a book file");
  EXPECT_EQ(ScramblePassword(ScramblePassword("secret")), "secret");
  EXPECT_EQ(bytes.find("secret"), std::string::npos);
  EXPECT_EQ(ParseAccBook(bytes, kToday).Book.value().FilePassword, "secret");
  // Malformed contents behind a good checksum (more such damage is in the corpus).
  std::string count = Bytes(SmallBook()), date = count;
  PutU32(count, kLineCountAt, 1000000);
  ExpectRefused(Resealed(count), "1000000 posting lines, more than the rest of the file can hold");
  const double half = 46000.5;
  std::memcpy(&date[kFirstDateAt], &half, 8);
  ExpectRefused(Resealed(date), "The date of posting line 1 is not a whole day");
  ExpectRefused(date, "damaged");  // the checksum is judged before the contents
  // The writer still writes 14 slots (the editor's closing would raise the index to 13),
  // and an unknown account type reads as "other".
  Books odd = SmallBook();
  odd.ResizeChart(12);
  odd.LastAccountIndex = 12;
  odd.AccountTypes[2] = 9;
  // A group's lines may differ in date and mark: including dates them today, unreconciled.
  odd.PreparedGroups[0][1].LineDate = 46001;
  odd.PreparedGroups[0][1].Reconciled = 1;
  const BookReadResult read = ParseAccBook(Bytes(odd), kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(read.Book->AccountTypes[2], kOtherAccount);
}

}  // namespace
}  // namespace qv
