#include "bookfiles/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Edited;
using testing::HasSubstr;

std::string SmallBookText() {
  Books books = testing::BookWithChart({{"Cash", 110.5, 0}});
  testing::AddEntry(books, testing::Day(2026, 1, 2), "7", {{110.5, 25.5}}, {{1, 25.5}}, "Till\tA");
  books.BusinessName = "Shop";
  books.FilePassword = "secret";
  books.AdminPassword = "admin";
  return FormatBook(books, BookFileType::kTxt);
}

std::string Refusal(const std::string& text) { return testing::Refusal(text, BookFileType::kTxt); }

TEST(TextFile, IsLineOrientedAcceptsWhatAnEditorMayDoToItAndNamesTheFirstBadLine) {
  const std::string text = SmallBookText();
  EXPECT_TRUE(text.starts_with(
      "Quorvel book text, layout 6\n\n[Settings]\nEntryCounter=1\nAutoTrackingNumbers=1\n"));
  for (const char* part :
       {"\nBusinessName=Shop\n",
        "\n[Chart]\n# folio\tname\ttype\tnotes\tdetails\textras\n"
        "1\tBalance b/f\t8\t\t\t\n110.5\tCash\t0\t\t\t\n",
        "\n[Group 1]\nName=\n# date\tside\tfolio\tamount\tnotes\treconciled\n"
        "1899-12-30\tD\t0\t0\t\t0\n1899-12-30\tC\t0\t0\t_\t0\n",
        "\n[Journal]\n# date\tentry number\tside\tfolio\tamount\tnotes\treconciled\n"
        "2026-01-02\t7\tD\t110.5\t25.5\t\t0\n2026-01-02\t7\tC\t1\t25.5\tTill\\tA\t0\n\n[End]\n"})
    EXPECT_THAT(text, HasSubstr(part));
  EXPECT_TRUE(text.find("secret") == std::string::npos && text.find("admin") == std::string::npos);
  // Windows line ends, a byte-order mark, comments, blank lines, a setting left out, a
  // chart line whose empty last fields were trimmed away; lone CR line ends too.
  std::string crOnly = text;
  std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
  EXPECT_TRUE(ParseTextBook(crOnly, testing::kToday).Ok());
  std::string edited;
  for (char c : text) edited += c == '\n' ? std::string("\r\n") : std::string(1, c);
  edited = "\xEF\xBB\xBF# my books\r\n\r\n" + edited;
  edited = Edited(edited, "BusinessName=Shop\r\n", "");
  edited = Edited(edited, "110.5\tCash\t0\t\t\t\r\n", "110.5\tCash\t0\r\n\r\n# cash\r\n");
  const BookReadResult read = ParseTextBook(edited, testing::kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(read.Book->BusinessName + "|" + read.Book->AccountNames[1] + "|" +
                read.Book->PostingLines[1].Notes,
            "|Cash|Till\tA");
  // A bad line is named.
  // Line numbers of the written file: the journal's lines are the last three before [End].
  const std::string journal1 = "2026-01-02\t7\tD\t110.5\t25.5\t\t0";
  std::size_t lineOf = 1;
  for (std::size_t i = 0; i < text.find(journal1); ++i) lineOf += text[i] == '\n';
  const std::string n = "Line " + std::to_string(lineOf) + ": ";
  const std::string next = "Line " + std::to_string(lineOf + 1) + ": ";
  // More bad lines are in the corpus (malformed_files_test). A broken journal rule names the
  // lines of the file.
  EXPECT_THAT(Refusal(Edited(text, journal1, "2026-01-02\t7\tD\t1,10\t25.5\t\t0")),
              HasSubstr(n + "the folio \"1,10\""));
  EXPECT_THAT(Refusal(Edited(text, "2026-01-02\t7\tC", "2026-01-03\t7\tC")),
              HasSubstr(next + "the entry that starts on line " + std::to_string(lineOf) +
                        " has lines of different dates"));
  EXPECT_THAT(Refusal(text + "more\n"), HasSubstr("nothing may follow"));
  EXPECT_THAT(Refusal(""), HasSubstr("empty"));
  EXPECT_THAT(Refusal("a,b,c\n"), HasSubstr("not a book text file"));
}

}  // namespace
}  // namespace qv
