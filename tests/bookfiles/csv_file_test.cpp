#include "bookfiles/csv_file.h"

#include <gtest/gtest.h>

#include "books/module_procedures.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

const DaySerial kToday = 46000;

std::string Csv(const Books& books) {
  std::string out;
  WriteCsvBook(books, [&](std::string_view piece) { out.append(piece); });
  return out;
}

Books SmallBook() {
  Books books = testing::BookWithChart({{"Cash, petty", 110.5, 0}});
  books.AccountDetails[1] = "1 \"Long\" Road\r\nTown";
  books.ResizeChart(13);
  testing::AddEntry(books, Day(2026, 1, 2), "7", {{110.5, 25.5}}, {{1, 25.5}}, "Till");
  books.BusinessName = "Shop";
  return books;
}

std::string Refusal(const std::string& text) {
  const BookReadResult read = ParseCsvBook(text, kToday);
  EXPECT_FALSE(read.Ok());
  EXPECT_EQ(read.ErrorCode, kErrDataMismatch);
  return read.Message;
}

const std::string kChartHeader = "folio,name,type,notes,details\n";
const std::string kEntryHeader = "date,entry number,side,folio,amount,notes,reconciled\n";

TEST(CsvFile, WritesAChartBlockAndAnEntryBlock) {
  const std::string csv = Csv(SmallBook());
  std::string expected =
      "folio,name,type,notes,details\r\n"
      "1,Balance b/f,8,,\r\n"
      "110.5,\"Cash, petty\",0,,\"1 \"\"Long\"\" Road\r\nTown\"\r\n";
  for (int i = 2; i <= 13; ++i) expected += "0,,0,,\r\n";
  expected +=
      "\r\n"
      "date,entry number,side,folio,amount,notes,reconciled\r\n"
      "2026-01-02,7,D,110.5,25.5,,0\r\n"
      "2026-01-02,7,C,1,25.5,Till,0\r\n";
  EXPECT_EQ(csv, expected);
}

TEST(CsvFile, ReadsWhatSpreadsheetsWrite) {
  // LF line ends, a byte-order mark, a header in another case, rows padded with empty
  // fields, blank rows as commas, a quoted field over two lines.
  const std::string csv =
      "\xEF\xBB\xBF"
      "Folio,Name,Type,Notes,Details,,\n"
      "1,Balance b/f,8,,,,\n"
      "200,Sales,5,\"two\nlines\",,,\n"
      ",,,,,,\n"
      "date,entry number,side,folio,amount,notes,reconciled\n"
      "2026-01-02,A1,d,200,10.25,,0\n"
      ",,,,,,\n"
      "2026-01-02,A1,c,1,10.25,\"said \"\"hi\"\"\",0\n";
  const BookReadResult read = ParseCsvBook(csv, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  const Books& b = *read.Book;
  EXPECT_EQ(b.AccountNames.size(), 14u);
  EXPECT_EQ(b.AccountNotes[1], "two\nlines");
  ASSERT_EQ(b.LastLineIndex(), 1);
  EXPECT_EQ(b.PostingLines[0].Amount, testing::Money(10.25));
  EXPECT_EQ(b.PostingLines[1].Side, kCredit);
  EXPECT_EQ(b.PostingLines[1].Notes, "said \"hi\"");
  EXPECT_EQ(b.EntryNumbers[1], "A1");

  // The fields a CSV does not carry are those of a new book.
  const Books fresh = NewBooks(kToday);
  EXPECT_EQ(b.PreparedGroups, fresh.PreparedGroups);
  EXPECT_EQ(b.GroupNames, fresh.GroupNames);
  EXPECT_EQ(b.JournalDecimals, fresh.JournalDecimals);
  EXPECT_EQ(b.FontName, fresh.FontName);
  EXPECT_EQ(b.EntryCounter, fresh.EntryCounter);
  EXPECT_EQ(b.FilePassword, "");

  // The blank line between the blocks may be missing; a chart block without rows keeps the
  // chart of a new book.
  const BookReadResult joined = ParseCsvBook(
      kChartHeader + kEntryHeader + "2026-01-02,1,D,1,1,,0\r\n2026-01-02,1,C,1,1,_,0\r\n",
      kToday);
  ASSERT_TRUE(joined.Ok()) << joined.Message;
  EXPECT_EQ(joined.Book->AccountNames, fresh.AccountNames);
  EXPECT_EQ(joined.Book->LastLineIndex(), 1);
}

TEST(CsvFile, NamesTheLineWhereTheFirstBadRowBegins) {
  const std::string good = Csv(SmallBook());
  // The entry rows stand on lines 19 and 20 (the details field takes two lines).
  const std::string debit = "2026-01-02,7,D,110.5,25.5,,0";
  auto edited = [&](const std::string& to) {
    std::string text = good;
    text.replace(text.find(debit), debit.size(), to);
    return text;
  };
  EXPECT_EQ(Refusal(edited("2026-01-02,7,B,110.5,25.5,,0")),
            "Line 19: the side \"B\" is not D (debit) or C (credit).");
  EXPECT_EQ(Refusal(edited("02/01/2026,7,D,110.5,25.5,,0")),
            "Line 19: the date \"02/01/2026\" is not a real day of the years 100 to 9999 "
            "written yyyy-mm-dd.");
  EXPECT_NE(Refusal(edited("2026-01-02,7,D,\"1,234.50\",25.5,,0")).find("Line 19: the folio"),
            std::string::npos);
  EXPECT_NE(Refusal(edited("2026-01-02,7,D,110.5,25.5,,0,x")).find("has more"),
            std::string::npos);
  EXPECT_NE(Refusal(edited("2026-01-02,7,D,110.5")).find("this one has 4"), std::string::npos);
  EXPECT_NE(Refusal(edited("2026-01-02,7,D,110.5,25.5,\"open,0")).find("Line 19: a quoted field"),
            std::string::npos);
  EXPECT_NE(Refusal(edited("2026-01-02,7,D,110.5,25.5,\"x\"y,0")).find("Line 19:"),
            std::string::npos);
  EXPECT_EQ(Refusal(edited("2026-01-02,8,D,110.5,25.5,,0")),
            "Line 20: the entry that starts on line 19 has lines with different entry numbers.");
  EXPECT_EQ(Refusal(edited("2026-01-02,7,C,1,1,,0\r\n2026-01-02,7,D,110.5,25.5,,0")),
            "Line 20: the entry that starts on line 19 has a debit line after a credit line.");

  std::string badType = good;
  badType.replace(badType.find("1,Balance b/f,8"), 15, "1,Balance b/f,9");
  EXPECT_EQ(Refusal(badType), "Line 2: the account type \"9\" is not a number from 0 to 8.");
  EXPECT_NE(Refusal("date,entry number\n").find("Line 1: a book in CSV form begins"),
            std::string::npos);
  EXPECT_NE(Refusal(kChartHeader + "\n\nsomething else\n").find("Line 4: the entry block"),
            std::string::npos);
  EXPECT_NE(Refusal(kChartHeader + "1,A\xC0,0,,\n").find("Line 2: the row is not UTF-8"),
            std::string::npos);
}

}  // namespace
}  // namespace qv
