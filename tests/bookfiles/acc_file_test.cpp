#include "bookfiles/acc_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "books/module_procedures.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

const DaySerial kToday = 46000;

Books SmallBook() {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"Sales", 400, 5}});
  testing::AddEntry(books, Day(2026, 1, 2), "7", {{110, 25.5}}, {{400, 25.5}}, "Till");
  testing::AddEntry(books, Day(2026, 1, 3), "8", {{110, 4}}, {{400, 4}});
  books.FilePassword = "secret";
  return books;
}

std::string Bytes(const Books& books) {
  std::string out;
  WriteAccBook(books, [&](std::string_view piece) { out.append(piece); });
  return out;
}

// The file with its checksum made to match again, so that a test reaches the check behind it.
std::string Resealed(std::string bytes) {
  const uint32_t crc = Crc32(std::string_view(bytes).substr(0, bytes.size() - 4));
  for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<char>(crc >> (8 * i));
  return bytes;
}

void PutU32(std::string& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// Reads and expects a refusal for a malformed file whose message holds `words`.
void ExpectRefused(const std::string& bytes, const std::string& words) {
  const BookReadResult read = ParseAccBook(bytes, kToday);
  EXPECT_FALSE(read.Ok());
  EXPECT_FALSE(read.Book.has_value());
  EXPECT_EQ(read.ErrorCode, kErrDataMismatch);
  EXPECT_NE(read.Message.find(words), std::string::npos) << read.Message;
}

// Offsets in the layout: the magic (8), the version (4), the count of posting lines (4),
// then the first posting line: its date (8), then its side.
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kLineCountAt = 12;
constexpr std::size_t kFirstSideAt = 24;

TEST(AccFile, BeginsWithTheMagicAndTheVersionAndEndsWithTheChecksum) {
  const std::string bytes = Bytes(SmallBook());
  EXPECT_EQ(bytes.substr(0, 8), kAccMagic);
  EXPECT_EQ(bytes.substr(8, 4), std::string("\x06\x00\x00\x00", 4));
  EXPECT_EQ(Resealed(bytes), bytes);
  // Little-endian counts: four posting lines.
  EXPECT_EQ(bytes.substr(kLineCountAt, 4), std::string("\x04\x00\x00\x00", 4));
  EXPECT_EQ(bytes[kFirstSideAt], 1);
  // CRC-32 of the usual check text.
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
}

TEST(AccFile, ThePasswordIsScrambledReversibly) {
  EXPECT_EQ(ScramblePassword(ScramblePassword("secret")), "secret");
  EXPECT_NE(ScramblePassword("secret"), "secret");
  EXPECT_EQ(ScramblePassword(""), "");
  const std::string bytes = Bytes(SmallBook());
  EXPECT_EQ(bytes.find("secret"), std::string::npos);
  const BookReadResult read = ParseAccBook(bytes, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(read.Book->FilePassword, "secret");
}

TEST(AccFile, RefusesOtherVersionsNamingThem) {
  std::string v5 = Bytes(SmallBook());
  PutU32(v5, kVersionAt, 5);
  ExpectRefused(v5, "older layout version 5");
  std::string v7 = Bytes(SmallBook());
  PutU32(v7, kVersionAt, 7);
  ExpectRefused(v7, "layout version 7");
  // The version is judged before the checksum: a version-5 file is never called damaged.
  ExpectRefused(std::string(kAccMagic) + std::string("\x05\x00\x00\x00", 4), "version 5");
}

TEST(AccFile, RefusesFilesThatAreNotBooks) {
  ExpectRefused("", "not a book file");
  ExpectRefused("Quorvel book text, layout 6\n", "not a book file");
  std::string wrongMagic = Bytes(SmallBook());
  wrongMagic[1] = 'X';
  ExpectRefused(wrongMagic, "not a book file");
}

TEST(AccFile, RefusesEveryTruncationAndEveryFlippedBit) {
  const std::string bytes = Bytes(SmallBook());
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const BookReadResult read = ParseAccBook(bytes.substr(0, n), kToday);
    ASSERT_FALSE(read.Ok()) << "cut at " << n;
    ASSERT_EQ(read.ErrorCode, kErrDataMismatch);
    ASSERT_FALSE(read.Message.empty());
  }
  for (std::size_t bit = 0; bit < bytes.size() * 8; ++bit) {
    std::string flipped = bytes;
    flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
    const BookReadResult read = ParseAccBook(flipped, kToday);
    ASSERT_FALSE(read.Ok()) << "bit " << bit;
  }
  std::string flipped = bytes;
  flipped[40] ^= 0x10;
  ExpectRefused(flipped, "checksum does not match");
}

TEST(AccFile, RefusesMalformedContentsBehindAGoodChecksum) {
  const std::string good = Bytes(SmallBook());
  std::string huge = good;
  PutU32(huge, kLineCountAt, 0xFFFFFFFFu);
  ExpectRefused(Resealed(huge), "4294967295 posting lines");
  std::string large = good;
  PutU32(large, kLineCountAt, 1000000);
  ExpectRefused(Resealed(large), "more than the rest of the file can hold");

  std::string side = good;
  side[kFirstSideAt] = 3;
  ExpectRefused(Resealed(side), "side of posting line 0 is 3");

  std::string date = good;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(&date[16], &nan, 8);
  ExpectRefused(Resealed(date), "date of posting line 0");
  std::string fraction = good;
  const double half = 46000.5;
  std::memcpy(&fraction[16], &half, 8);
  ExpectRefused(Resealed(fraction), "whole day");

  // The notes of line 0: a length beyond the limit, then a length beyond the file.
  std::string longNotes = good;
  PutU32(longNotes, 16 + 25, 0x7FFFFFFF);
  ExpectRefused(Resealed(longNotes), "more than the limit");

  // Bytes after the settings.
  std::string extra = good;
  extra.insert(extra.size() - 4, "x");
  ExpectRefused(Resealed(extra), "unexpected bytes");
}

TEST(AccFile, RefusesBooksThatBreakTheRules) {
  auto refusedFor = [](Books books, const std::string& words) {
    ExpectRefused(Bytes(books), words);
  };
  Books creditFirst = SmallBook();
  std::swap(creditFirst.PostingLines[0].Side, creditFirst.PostingLines[1].Side);
  refusedFor(creditFirst, "debit line after a credit line");
  Books twoDates = SmallBook();
  twoDates.PostingLines[1].LineDate += 1;
  refusedFor(twoDates, "different dates");
  Books oneLine = SmallBook();
  oneLine.PostingLines.resize(1);
  oneLine.EntryNumbers.resize(1);
  refusedFor(oneLine, "fewer than two lines");
  Books shortChart = SmallBook();
  shortChart.ResizeChart(12);
  shortChart.LastAccountIndex = 12;
  // The writer still writes 14 slots (the editor's closing would raise the index to 13).
  EXPECT_TRUE(ParseAccBook(Bytes(shortChart), kToday).Ok());
  Books badType = SmallBook();
  badType.AccountTypes[2] = 9;  // written as "other"
  ASSERT_TRUE(ParseAccBook(Bytes(badType), kToday).Ok());
  EXPECT_EQ(ParseAccBook(Bytes(badType), kToday).Book->AccountTypes[2], kOtherAccount);
}

}  // namespace
}  // namespace qv
