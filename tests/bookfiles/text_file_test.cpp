#include "bookfiles/text_file.h"

#include <gtest/gtest.h>

#include "books/module_procedures.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

const DaySerial kToday = 46000;

std::string Text(const Books& books) {
  std::string out;
  WriteTextBook(books, [&](std::string_view piece) { out.append(piece); });
  return out;
}

Books SmallBook() {
  Books books = testing::BookWithChart({{"Cash", 110.5, 0}});
  testing::AddEntry(books, Day(2026, 1, 2), "7", {{110.5, 25.5}}, {{1, 25.5}}, "Till\tA");
  books.BusinessName = "Shop";
  books.FilePassword = "secret";
  books.AdminPassword = "admin";
  return books;
}

// Replaces the first occurrence of `from` in the text.
std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string Refusal(const std::string& text) {
  const BookReadResult read = ParseTextBook(text, kToday);
  EXPECT_FALSE(read.Ok());
  EXPECT_EQ(read.ErrorCode, kErrDataMismatch);
  return read.Message;
}

TEST(TextFile, IsLineOrientedWithoutPasswords) {
  const std::string text = Text(SmallBook());
  EXPECT_TRUE(text.starts_with(
      "Quorvel book text, layout 6\n\n[Settings]\nEntryCounter=1\nAutoTrackingNumbers=1\n"));
  EXPECT_NE(text.find("\nBusinessName=Shop\n"), std::string::npos);
  EXPECT_NE(text.find("\n[Chart]\n# folio\tname\ttype\tnotes\tdetails\textras\n"
                      "1\tBalance b/f\t8\t\t\t\n110.5\tCash\t0\t\t\t\n"),
            std::string::npos);
  EXPECT_NE(text.find("\n[Group 1]\nName=\n# date\tside\tfolio\tamount\tnotes\treconciled\n"
                      "1899-12-30\tD\t0\t0\t\t0\n1899-12-30\tC\t0\t0\t_\t0\n"),
            std::string::npos);
  EXPECT_NE(text.find("\n[Journal]\n# date\tentry number\tside\tfolio\tamount\tnotes\treconciled\n"
                      "2026-01-02\t7\tD\t110.5\t25.5\t\t0\n2026-01-02\t7\tC\t1\t25.5\tTill\\tA\t0\n"
                      "\n[End]\n"),
            std::string::npos);
  EXPECT_EQ(text.find("secret"), std::string::npos);
  EXPECT_EQ(text.find("admin"), std::string::npos);
}

TEST(TextFile, AcceptsWhatAnEditorMayDoToIt) {
  std::string text = Text(SmallBook());
  // Windows line ends, a byte-order mark, comments, blank lines, a setting left out, a
  // chart line whose empty last fields were trimmed away.
  std::string edited;
  for (char c : text) edited += c == '\n' ? std::string("\r\n") : std::string(1, c);
  edited = "\xEF\xBB\xBF# my books\r\n\r\n" + edited;
  edited = Edited(edited, "BusinessName=Shop\r\n", "");
  edited = Edited(edited, "110.5\tCash\t0\t\t\t\r\n", "110.5\tCash\t0\r\n\r\n# cash\r\n");
  const BookReadResult read = ParseTextBook(edited, kToday);
  ASSERT_TRUE(read.Ok()) << read.Message;
  EXPECT_EQ(read.Book->BusinessName, "");
  EXPECT_EQ(read.Book->AccountNames[1], "Cash");
  EXPECT_EQ(read.Book->PostingLines[1].Notes, "Till\tA");
}

TEST(TextFile, NamesTheFirstBadLine) {
  const std::string text = Text(SmallBook());
  // Line numbers of the written file: the journal's lines are the last three before [End].
  const std::string journal1 = "2026-01-02\t7\tD\t110.5\t25.5\t\t0";
  std::size_t lineOf = 1;
  for (std::size_t i = 0; i < text.find(journal1); ++i) lineOf += text[i] == '\n';
  const std::string n = std::to_string(lineOf);
  const std::string next = std::to_string(lineOf + 1);

  EXPECT_EQ(Refusal(Edited(text, journal1, "2026-02-30\t7\tD\t110.5\t25.5\t\t0")),
            "Line " + n + ": the date \"2026-02-30\" is not a real day of the years 100 to "
            "9999 written yyyy-mm-dd.");
  EXPECT_EQ(Refusal(Edited(text, journal1, "2026-01-02\t7\tX\t110.5\t25.5\t\t0")),
            "Line " + n + ": the side \"X\" is not D (debit) or C (credit).");
  EXPECT_NE(Refusal(Edited(text, journal1, "2026-01-02\t7\tD\t1,10\t25.5\t\t0"))
                .find("Line " + n + ": the folio \"1,10\""),
            std::string::npos);
  EXPECT_NE(Refusal(Edited(text, journal1, "2026-01-02\t7\tD\t110.5\t25.5\t0"))
                .find("has 7 fields"),
            std::string::npos);
  EXPECT_NE(Refusal(Edited(text, journal1, "2026-01-02\t123456789012345\tD\t110.5\t25.5\t\t0"))
                .find("longer than 14 characters"),
            std::string::npos);
  EXPECT_NE(Refusal(Edited(text, "Till\\tA", "Till\\qA")).find("Line " + next + ": "),
            std::string::npos);
  // A broken journal rule names the lines of the file.
  EXPECT_EQ(Refusal(Edited(text, "\tD\t110.5", "\tC\t110.5")),
            "Line " + n + ": the entry that starts on line " + n +
                " lacks a debit or a credit line.");
  EXPECT_NE(Refusal(Edited(text, "2026-01-02\t7\tC", "2026-01-03\t7\tC"))
                .find("starts on line " + n + " has lines of different dates"),
            std::string::npos);

  EXPECT_EQ(Refusal(Edited(text, "EntryCounter=1", "Counter=1")),
            "Line 4: \"Counter\" is not the name of a setting.");
  EXPECT_NE(Refusal(Edited(text, "EntryCounter=1", "EntryCounter=99999999999")).find("Line 4:"),
            std::string::npos);
  EXPECT_NE(Refusal(Edited(text, "[Group 2]", "[Group 3]")).find("section [Group 2]"),
            std::string::npos);
  EXPECT_NE(Refusal(Edited(text, "\n[End]\n", "\n")).find("incomplete"), std::string::npos);
  EXPECT_NE(Refusal(text + "more\n").find("nothing may follow"), std::string::npos);
  EXPECT_NE(Refusal(Edited(text, "Cash", "Ca\xff")).find("not UTF-8"), std::string::npos);
  EXPECT_EQ(Refusal(Edited(text, "layout 6", "layout 7")),
            "Line 1: the file is a book text of layout \"7\", which this program cannot "
            "read; it reads layout 6.");
  EXPECT_NE(Refusal("").find("empty"), std::string::npos);
  EXPECT_NE(Refusal("a,b,c\n").find("not a book text file"), std::string::npos);
}

}  // namespace
}  // namespace qv
