#include "bookfiles/csv_file.h"

#include <gtest/gtest.h>

#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Edited;
using testing::HasSubstr;
using testing::kToday;

std::string Refusal(const std::string& text) { return testing::Refusal(text, BookFileType::kCsv); }

const std::string kChartHeader = "folio,name,type,notes,details\n";
const std::string kEntryHeader = "date,entry number,side,folio,amount,notes,reconciled\n";

std::string SmallBookCsv() {
  Books books = testing::BookWithChart({{"Cash, petty", 110.5, 0}});
  books.AccountDetails[1] = "1 \"Long\" Road\r\nTown";
  books.ResizeChart(13);
  testing::AddEntry(books, Day(2026, 1, 2), "7", {{110.5, 25.5}}, {{1, 25.5}}, "Till");
  books.BusinessName = "Shop";
  return FormatBook(books, BookFileType::kCsv);
}

TEST(CsvFile, WritesTwoBlocksReadsWhatSpreadsheetsWriteAndRefusesBadRowsNamingTheLine) {
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
  EXPECT_EQ(SmallBookCsv(), expected);
  // It reads what spreadsheets write: LF line ends, a byte-order mark, a header in another case,
  // rows padded with empty fields, blank rows as commas, a quoted field over two lines.
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
  EXPECT_EQ(std::pair(b.AccountNames.size(), b.AccountNotes[1]),
            std::pair(std::size_t{14}, std::string("two\nlines")));
  ASSERT_EQ(b.LastLineIndex(), 1);
  EXPECT_EQ(b.PostingLines[1], (PostingLine{Day(2026, 1, 2), kCredit, 0, testing::Money(1),
                                            testing::Money(10.25), "said \"hi\""}));
  EXPECT_EQ(b.EntryNumbers[1], "A1");
  // The fields a CSV does not carry are those of a new book.
  const Books fresh = NewBooks(kToday);
  EXPECT_TRUE(b.PreparedGroups == fresh.PreparedGroups && b.GroupNames == fresh.GroupNames &&
              b.FontName == fresh.FontName && b.EntryCounter == fresh.EntryCounter);
  // The blank line between the blocks may be missing; a chart block without rows keeps the
  // chart of a new book.
  const BookReadResult joined = ParseCsvBook(
      kChartHeader + kEntryHeader + "2026-01-02,1,D,1,1,,0\r\n2026-01-02,1,C,1,1,_,0\r\n", kToday);
  ASSERT_TRUE(joined.Ok()) << joined.Message;
  EXPECT_EQ(std::pair(joined.Book->AccountNames, joined.Book->LastLineIndex()),
            std::pair(fresh.AccountNames, 1));
  // A bad row, a cut file or a wide row is refused, naming the line.
  // More bad rows are in the corpus (malformed_files_test).
  const std::string good = SmallBookCsv();
  // The entry rows stand on lines 19 and 20 (the details field takes two lines).
  EXPECT_THAT(Refusal(Edited(good, "2026-01-02,7,D", "02/01/2026,7,D")),
              HasSubstr("Line 19: the date \"02/01/2026\" is not a real day"));
  EXPECT_THAT(Refusal(Edited(good, ",,0\r\n", ",\"x\"y,0\r\n")), HasSubstr("Line 19:"));
  EXPECT_THAT(Refusal(kChartHeader + "\n\nsomething else\n"), HasSubstr("Line 4: the entry block"));
  // A file cut short is refused unless it ends between entries.
  const std::string twoCredits =
      kChartHeader + kEntryHeader +
      "2026-01-02,1,D,110,300,,0\n2026-01-02,1,C,400,200,,0\n2026-01-02,1,C,1,100,x,0\n";
  ASSERT_TRUE(ParseCsvBook(twoCredits, kToday).Ok());
  const std::pair<std::string, std::string> cuts[] = {
      {twoCredits.substr(0, twoCredits.rfind("2026")), "Line 4: the file ends in the middle"},
      {kChartHeader + "1,Balance b/f,8,,\n", "Line 2: the file ends before the entry block"},
  };
  for (const auto& [text, message] : cuts) EXPECT_THAT(Refusal(text), HasSubstr(message));
  // A cut at an entry's end cannot be seen in this form: a header without rows is the empty
  // entry of a new book, dated today.
  const BookReadResult empty = ParseCsvBook(kChartHeader + kEntryHeader, kToday);
  ASSERT_TRUE(empty.Ok()) << empty.Message;
  EXPECT_EQ(empty.Book->PostingLines, NewBooks(kToday).PostingLines);
  EXPECT_EQ(empty.Book->EntryNumbers[0], "1");
  // A row wider than any layout is refused as soon as it is seen.
  // Ten million commas would be ten million empty fields; the eighth already ends the crRead.
  const std::string commas = kChartHeader + std::string(10'000'000, ',') + "\n" + kEntryHeader;
  EXPECT_THAT(Refusal(commas), HasSubstr("Line 2: the row has more than 7 fields"));
  // Lone CR line ends are line ends too.
  std::string crOnly = SmallBookCsv();
  std::erase(crOnly, '\n');
  const BookReadResult crRead = ParseCsvBook(crOnly, kToday);
  ASSERT_TRUE(crRead.Ok()) << crRead.Message;
  EXPECT_EQ(crRead.Book->AccountDetails[1] + "|" + crRead.Book->PostingLines[1].Notes,
            "1 \"Long\" Road\rTown|Till");
}

// The book's own form is read back by this program, not by a spreadsheet: texts that a
// spreadsheet would take for formulas are written without a mark and read back exactly.
TEST(CsvFile, TextsThatLookLikeFormulasReadBackExactlyWithoutAMark) {
  Books books = testing::HostileBook();
  const std::string csv = FormatBook(books, BookFileType::kCsv);
  EXPECT_EQ(csv.rfind("folio,name,", 0), 0u) << "no byte-order mark";
  EXPECT_NE(csv.find("\n110,\"=HYPERLINK(\"\"http"), std::string::npos);
  EXPECT_NE(csv.find("\n130,\"-Drawings \"\"owner"), std::string::npos);
  EXPECT_EQ(csv.find(",'"), std::string::npos) << "no apostrophe before a field";
  const BookReadResult read = ParseCsvBook(csv, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  // The parts a CSV book carries: the chart and the journal.
  EXPECT_EQ(testing::FirstDifference(*read.Book, books, {false, false, false}), "");
}

}  // namespace
}  // namespace qv
