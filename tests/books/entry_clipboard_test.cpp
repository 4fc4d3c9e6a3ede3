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
  std::vector<PostingLine> Paste(std::string_view text) {
    const auto where = PasteEntry(books, text, locale, today);
    EXPECT_TRUE(where.has_value()) << text;
    return where ? Pasted(*where) : std::vector<PostingLine>();
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
            "110.1\t\tCashTill\t1250.5\t\r\n0\t\t\t0.25\t\r\n\t400\tSales\t1250.75\ta~~b\r\nQV");
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
  EXPECT_EQ(ReadEntryClipboardText(text, ".").value().at(1).Notes, "first  second");
}

TEST_F(EntryClipboardTest, PasteAppendsTheEntryNumberedAndDatedToday) {
  books.DateStyleIndex = 1;  // a two-digit-year style plays no part in the date
  const int32_t counter = books.EntryCounter;
  const auto where = PasteEntry(books, kCashSalesTill, locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(*where, (PastedEntry{2, 3}));
  EXPECT_EQ(books.EntryCounter, counter + 1);
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
  for (const char* text : {"110\t\tCash\t100\t\r\nQV\r\n", "110\t\tCash\t100\t\r\nqv",
                           "110\t\tCash\t100\t\nQV", "", "QV ", "plain text"})
    ExpectRefused(text);

  // The marker alone counts an entry; one past the end: the screen shows the last entry.
  const int32_t counter = books.EntryCounter;
  EXPECT_EQ(PasteEntry(books, "QV", locale, today), (PastedEntry{2, 1}));
  EXPECT_EQ(std::pair(books.LastLineIndex(), books.EntryCounter), std::pair(1, counter + 1));
}

TEST_F(EntryClipboardTest, RoundTripsKeepFoliosAmountsAndTildes) {
  AddEntry(books, today, "42", {{110.1, 1250.5}}, {{400, 0.0001}}, "cash\tsale");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  LocaleInfo comma = UsEnglishLocale();
  comma.DecimalSymbol = ",";
  comma.GroupSymbol = ".";
  for (const LocaleInfo& machine : {UsEnglishLocale(), comma}) {
    Books copy = books;
    const auto where = PasteEntry(copy, text, machine, today);
    ASSERT_TRUE(where.has_value()) << machine.DecimalSymbol;
    // The TAB does not come back.
    EXPECT_EQ(std::vector<PostingLine>(copy.PostingLines.begin() + where->FirstLine,
                                       copy.PostingLines.end()),
              (std::vector{L(kDebit, 110.1, 1250.5), L(kCredit, 400, 0.0001, "cash~~sale")}));
  }
  // A text written on a comma machine by another program reads there with its fractions.
  EXPECT_EQ(ReadEntryClipboardText("110,1\t\tCash\t1250,5\t\r\nQV", ",").value().at(0),
            (ClipboardRow{kDebit, Money(110.1), Money(1250.5), ""}));
}

TEST(ClipboardNumber, ReadsTheLeadingNumberRoundedToFourDecimals) {
  const std::pair<const char*, double> dot[] = {
      {" 1 250.5x", 1250.5}, {"+ 7", 7},   {"abc", 0},     {"-", 0},
      {"1.2.3", 1.2},        {"1,5", 1},   {"0.00005", 0}, {"0.00015", 0.0002},
      {"-0.00025", -0.0002}, {"12e3", 12},
  };
  for (const auto& [text, expected] : dot)
    EXPECT_EQ(ClipboardNumber(text, "."), Money(expected)) << text;
  for (const auto& [text, expected] : {std::pair{"1,5", 1.5}, {"1.5", 1.5}, {"1,2.3", 1.2}})
    EXPECT_EQ(ClipboardNumber(text, ","), Money(expected)) << text;
  EXPECT_EQ(ClipboardNumber("1٫5", "٫"), Money(1.5));
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
  EXPECT_EQ(Paste("110\t\tCash\t99999999999999999999\t\r\n\r\n\t400\r\nQV"),
            (std::vector{L(kDebit, 110, 0), L(kCredit, 0, 0), L(kCredit, 400, 0, "_")}));

  // Credit rows first are stored debit first, each side in its order, the notes trimmed on
  // the last line.
  EXPECT_EQ(Paste("\t400\tSales\t70\t\r\n110\t\tCash\t50\t\r\n\t401\t\t30\t\r\n"
                  "111\t\t\t50\t  Market day  \r\nQV"),
            (std::vector{L(kDebit, 110, 50), L(kDebit, 111, 50), L(kCredit, 400, 70),
                         L(kCredit, 401, 30, "Market day")}));

  // Notes on a middle row end an entry there; each part becomes an entry of its own, and a
  // side that a part lacks gets an empty line.
  EXPECT_EQ(Paste("110\t\tCash\t10\tfirst\r\n\t400\tSales\t10\t\r\nQV"),
            (std::vector{L(kDebit, 110, 10), L(kCredit, 0, 0, "first"), L(kDebit, 0, 0),
                         L(kCredit, 400, 10, "_")}));
  EXPECT_EQ(Number(books.LastLineIndex() - 3), Number(books.LastLineIndex()));

  // More than 31 lines on a side refuses the whole paste; 31 are taken.
  auto textWithDebits = [](int debits) {
    std::string text;
    for (int i = 0; i < debits; ++i) text += "110\t\tCash\t1\t\r\n";
    return text + "\t400\tSales\t" + std::to_string(debits) + "\tMany\r\nQV";
  };
  ExpectRefused(textWithDebits(32));
  EXPECT_EQ(Paste(textWithDebits(31)).size(), 32u);
}

}  // namespace
}  // namespace qv
