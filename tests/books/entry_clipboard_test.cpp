#include "books/entry_clipboard.h"

#include <gtest/gtest.h>

#include "books/module_procedures.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

constexpr std::string_view kCashSalesTill = "110\t\tCash\t100\t\r\n\t400\tSales\t100\tTill\r\nQV";

LocaleInfo CommaLocale() {
  LocaleInfo locale;
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
  locale.Name = "de_DE";
  return locale;
}

class EntryClipboardTest : public ::testing::Test {
 protected:
  EntryClipboardTest() {
    AddEntry(books, Day(2026, 2, 3), "41", {{110, 100}}, {{400, 100}}, "Till");
  }
  // Every test leaves a book that keeps the journal's rules.
  void TearDown() override { EXPECT_EQ(CheckBooks(books), std::nullopt); }

  // A pasted line: dated today, not reconciled.
  PostingLine L(uint8_t side, double folio, double amount, std::string notes = "") const {
    return {today, side, 0, Money(folio), Money(amount), std::move(notes)};
  }
  // The lines a paste appended.
  std::vector<PostingLine> Pasted(const PastedEntry& where) const {
    return {books.PostingLines.begin() + where.FirstLine,
            books.PostingLines.begin() + where.LastLine + 1};
  }
  std::string Number(int32_t i) const {
    return std::string(books.EntryNumbers.at(static_cast<std::size_t>(i)).TrimmedText());
  }
  // Pastes a text that must be refused and checks that nothing changed.
  void ExpectRefused(std::string_view text) {
    const Books before = books;
    EXPECT_FALSE(PasteEntry(books, text, locale, today).has_value()) << text;
    EXPECT_EQ(books.PostingLines, before.PostingLines) << text;
    EXPECT_EQ(books.EntryCounter, before.EntryCounter) << text;
  }

  Books books = testing::BookWithChart(
      {{"Cash", 110, 0}, {"Cash\tTill", 110.1, 0}, {"Sales", 400, 5}, {"Wages", 600, 6}});
  LocaleInfo locale = UsEnglishLocale();
  const DaySerial today = Day(2026, 5, 17);
};

TEST_F(EntryClipboardTest, CopyWritesOneRowPerLineAndTheMarker) {
  EXPECT_EQ(WriteEntryClipboardText(books, EntryBounds(books, 0)), kCashSalesTill);

  // A sub-account, a fraction, a TAB in the notes and in the name, and a line without an
  // account; the machine's decimal symbol never reaches the text.
  AddEntry(books, today, "42", {{110.1, 1250.5}, {0, 0.25}}, {{400, 1250.75}}, "a\tb");
  EXPECT_EQ(WriteEntryClipboardText(books, EntryBounds(books, 2)),
            "110.1\t\tCashTill\t1250.5\t\r\n"
            "0\t\t\t0.25\t\r\n"
            "\t400\tSales\t1250.75\ta~~b\r\n"
            "QV");
  // The prepared groups drop TABs instead.
  EXPECT_EQ(WriteEntryClipboardText(books, books.PostingLines, 4, 4, NotesTabs::Removed),
            "\t400\tSales\t1250.75\tab\r\nQV");
  // An entry with no lines is the marker alone; a range beyond the journal is clamped.
  EXPECT_EQ(WriteEntryClipboardText(books, books.PostingLines, 3, 2), "QV");
  EXPECT_EQ(WriteEntryClipboardText(books, books.PostingLines, 4, 99),
            "\t400\tSales\t1250.75\ta~~b\r\nQV");

  // Line breaks in notes and names never split a row, and the notes read back as one.
  books.AccountNames[3] = "Sales\r\nNorth";
  AddEntry(books, today, "43", {{110, 5}}, {{400, 5}}, "first\r\nsecond");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 5));
  EXPECT_EQ(text, "110\t\tCash\t5\t\r\n\t400\tSales  North\t5\tfirst  second\r\nQV");
  const auto rows = ReadEntryClipboardText(text, ".");
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[1].Notes, "first  second");
}

TEST_F(EntryClipboardTest, PasteAppendsTheEntryNumberedAndDatedToday) {
  books.DateStyleIndex = 1;  // a two-digit-year style plays no part in the date
  const Books before = books;

  const auto where = PasteEntry(books, kCashSalesTill, locale, today);

  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(*where, (PastedEntry{2, 3}));
  EXPECT_EQ(books.EntryCounter, before.EntryCounter + 1);
  // The copied entry was dated 3 February.
  EXPECT_EQ(Pasted(*where), (std::vector{L(kDebit, 110, 100), L(kCredit, 400, 100, "Till")}));
  EXPECT_EQ(Number(2) + Number(3), "4242");

  // A compound entry shares one number; with tracking off the numbers stay blank.
  const std::string three =
      "110\t\tCash\t60\t\r\n110.1\t\t\t40\t\r\n\t400\tSales\t100\tMixed\r\nQV";
  ASSERT_TRUE(PasteEntry(books, three, locale, today));
  for (int32_t i = 4; i <= 6; ++i) EXPECT_EQ(Number(i), "43") << i;
  books.AutoTrackingNumbers = 0;
  ASSERT_TRUE(PasteEntry(books, three, locale, today));
  for (int32_t i = 7; i <= 9; ++i) EXPECT_EQ(books.EntryNumbers[i], EntryNumber()) << i;
}

TEST_F(EntryClipboardTest, OnlyTextsEndingInTheMarkerArePastedAndTheMarkerAloneCountsAnEntry) {
  for (std::string_view text :
       {std::string_view("110\t\tCash\t100\t\r\nQV\r\n"),
        std::string_view("110\t\tCash\t100\t\r\nqv"), std::string_view("110\t\tCash\t100\t\nQV"),
        std::string_view(""), std::string_view("QV "), std::string_view("plain text")})
    ExpectRefused(text);

  const int32_t counter = books.EntryCounter;
  const auto where = PasteEntry(books, "QV", locale, today);
  ASSERT_TRUE(where.has_value());
  // One past the end: the screen shows the last entry.
  EXPECT_EQ(*where, (PastedEntry{2, 1}));
  EXPECT_EQ(books.LastLineIndex(), 1);
  EXPECT_EQ(books.EntryCounter, counter + 1);
}

TEST_F(EntryClipboardTest, RoundTripsKeepFoliosAmountsAndTildes) {
  AddEntry(books, today, "42", {{110.1, 1250.5}}, {{400, 0.0001}}, "cash\tsale");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  for (const LocaleInfo& machine : {UsEnglishLocale(), CommaLocale()}) {
    Books copy = books;
    const auto where = PasteEntry(copy, text, machine, today);
    ASSERT_TRUE(where.has_value()) << machine.Name;
    // The TAB does not come back.
    EXPECT_EQ(std::vector<PostingLine>(copy.PostingLines.begin() + where->FirstLine,
                                       copy.PostingLines.end()),
              (std::vector{L(kDebit, 110.1, 1250.5), L(kCredit, 400, 0.0001, "cash~~sale")}))
        << machine.Name;
  }
  // A text written on a comma machine by another program reads there with its fractions.
  const auto rows = ReadEntryClipboardText("110,1\t\tCash\t1250,5\t\r\nQV", ",");
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ((*rows)[0], (ClipboardRow{kDebit, Money(110.1), Money(1250.5), ""}));
}

TEST(ClipboardNumber, ReadsTheLeadingNumberRoundedToFourDecimals) {
  struct Case {
    std::string_view text;
    std::string_view symbol;
    double expected;
  };
  const Case cases[] = {
      {" 1 250.5x", ".", 1250.5},
      {"+ 7", ".", 7},
      {"abc", ".", 0},
      {"-", ".", 0},
      {"1.2.3", ".", 1.2},
      {"1,5", ".", 1},
      {"1,5", ",", 1.5},
      {"1.5", ",", 1.5},
      {"1,2.3", ",", 1.2},
      {"0.00005", ".", 0},
      {"0.00015", ".", 0.0002},
      {"-0.00025", ".", -0.0002},
      {"12e3", ".", 12},
      {"1٫5", "٫", 1.5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClipboardNumber(c.text, c.symbol), Money(c.expected)) << c.text << " " << c.symbol;

  EXPECT_EQ(ClipboardNumber("922337203685477.5807", "."), Amount::Max());
  EXPECT_EQ(ClipboardNumber("-922337203685477.5808", "."), Amount::Min());
  for (std::string_view huge :
       {"922337203685477.5808", "922337203685477.58075", "99999999999999999999999999"})
    EXPECT_EQ(ClipboardNumber(huge, "."), Amount()) << huge;
  EXPECT_EQ(ClipboardNumber("0000000000000000000000012.5", "."), Money(12.5));
}

TEST_F(EntryClipboardTest, MalformedTextsBecomeSoundEntriesOrAreRefused) {
  // An empty row is a credit line with folio 0; missing fields keep their start values; a
  // huge amount reads as 0; the last row had no notes: the entry is closed with "_".
  auto where =
      PasteEntry(books, "110\t\tCash\t99999999999999999999\t\r\n\r\n\t400\r\nQV", locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(Pasted(*where),
            (std::vector{L(kDebit, 110, 0), L(kCredit, 0, 0), L(kCredit, 400, 0, "_")}));

  // Credit rows first are stored debit first, each side in its order, the notes trimmed on
  // the last line.
  where = PasteEntry(books,
                     "\t400\tSales\t70\t\r\n110\t\tCash\t50\t\r\n\t401\t\t30\t\r\n"
                     "111\t\t\t50\t  Market day  \r\nQV",
                     locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(Pasted(*where), (std::vector{L(kDebit, 110, 50), L(kDebit, 111, 50),
                                         L(kCredit, 400, 70), L(kCredit, 401, 30, "Market day")}));

  // Notes on a middle row end an entry there; each part becomes an entry of its own, and a
  // side that a part lacks gets an empty line.
  where = PasteEntry(books, "110\t\tCash\t10\tfirst\r\n\t400\tSales\t10\t\r\nQV", locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(Pasted(*where), (std::vector{L(kDebit, 110, 10), L(kCredit, 0, 0, "first"),
                                         L(kDebit, 0, 0), L(kCredit, 400, 10, "_")}));
  EXPECT_EQ(Number(where->FirstLine), Number(where->LastLine));

  // More than 31 lines on a side refuses the whole paste; 31 are taken.
  auto textWithDebits = [](int debits) {
    std::string text;
    for (int i = 0; i < debits; ++i) text += "110\t\tCash\t1\t\r\n";
    return text + "\t400\tSales\t" + std::to_string(debits) + "\tMany\r\nQV";
  };
  ExpectRefused(textWithDebits(32));
  where = PasteEntry(books, textWithDebits(31), locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(where->LastLine - where->FirstLine, 31);
}

}  // namespace
}  // namespace qv
