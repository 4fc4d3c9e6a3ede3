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

  // The journal rules hold for the whole book.
  void ExpectSoundJournal() const {
    const auto fault = CheckBooks(books);
    EXPECT_FALSE(fault.has_value()) << *fault;
  }

  const PostingLine& Line(int32_t i) const { return books.PostingLines.at(static_cast<std::size_t>(i)); }
  std::string Number(int32_t i) const {
    return std::string(books.EntryNumbers.at(static_cast<std::size_t>(i)).TrimmedText());
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
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  EXPECT_EQ(text,
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
}

TEST_F(EntryClipboardTest, LineBreaksInNotesAndNamesNeverSplitARow) {
  books.AccountNames[3] = "Sales\r\nNorth";
  AddEntry(books, today, "42", {{110, 5}}, {{400, 5}}, "first\r\nsecond");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  EXPECT_EQ(text, "110\t\tCash\t5\t\r\n\t400\tSales  North\t5\tfirst  second\r\nQV");

  const auto rows = ReadEntryClipboardText(text, ".");
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ((*rows)[1].Notes, "first  second");
}

TEST_F(EntryClipboardTest, PasteAppendsTheEntryNumberedAndDatedToday) {
  books.DateStyleIndex = 1;  // a two-digit-year style plays no part in the date
  const int32_t before = books.LastLineIndex();
  const std::vector<PostingLine> shownBefore = books.PostingLines;
  const int32_t counter = books.EntryCounter;

  const auto where = PasteEntry(books, kCashSalesTill, locale, today);

  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(*where, (PastedEntry{before + 1, before + 2}));
  EXPECT_EQ(books.LastLineIndex(), before + 2);
  EXPECT_EQ(books.EntryCounter, counter + 1);
  EXPECT_EQ(std::vector<PostingLine>(books.PostingLines.begin(), books.PostingLines.begin() + before + 1),
            shownBefore);

  const PostingLine& debit = Line(before + 1);
  const PostingLine& credit = Line(before + 2);
  EXPECT_EQ(debit.Side, kDebit);
  EXPECT_EQ(debit.LineFolio, Money(110));
  EXPECT_EQ(debit.Amount, Money(100));
  EXPECT_EQ(debit.Notes, "");
  EXPECT_EQ(credit.Side, kCredit);
  EXPECT_EQ(credit.LineFolio, Money(400));
  EXPECT_EQ(credit.Amount, Money(100));
  EXPECT_EQ(credit.Notes, "Till");
  EXPECT_EQ(debit.LineDate, today);  // the copied entry was dated 3 February
  EXPECT_EQ(credit.LineDate, today);
  EXPECT_EQ(debit.Reconciled, 0);
  EXPECT_EQ(Number(before + 1), "42");
  EXPECT_EQ(Number(before + 2), "42");
  EXPECT_EQ(books.EntryNumbers.back().Text().size(), 14u);
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, ACompoundEntrySharesOneNumberAndTrackingOffLeavesBlanks) {
  const std::string three = "110\t\tCash\t60\t\r\n110.1\t\t\t40\t\r\n\t400\tSales\t100\tMixed\r\nQV";
  ASSERT_TRUE(PasteEntry(books, three, locale, today));
  const int32_t last = books.LastLineIndex();
  for (int32_t i = last - 2; i <= last; ++i) EXPECT_EQ(Number(i), "42") << i;

  books.AutoTrackingNumbers = 0;
  ASSERT_TRUE(PasteEntry(books, three, locale, today));
  for (int32_t i = last + 1; i <= books.LastLineIndex(); ++i)
    EXPECT_EQ(books.EntryNumbers[static_cast<std::size_t>(i)], EntryNumber()) << i;
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, TextsWithoutTheMarkerChangeNothing) {
  const std::vector<PostingLine> lines = books.PostingLines;
  const int32_t counter = books.EntryCounter;
  const std::string withLineEnd = std::string(kCashSalesTill) + "\r\n";
  const std::string lowerCase = "110\t\tCash\t100\t\r\n\t400\tSales\t100\tTill\r\nqv";
  const std::string lineFeedsOnly = "110\t\tCash\t100\t\n\t400\tSales\t100\tTill\nQV";
  for (std::string_view text : {std::string_view(withLineEnd), std::string_view(lowerCase),
                                std::string_view(lineFeedsOnly), std::string_view(""),
                                std::string_view("QV "), std::string_view("plain text")}) {
    EXPECT_FALSE(PasteEntry(books, text, locale, today).has_value()) << text;
  }
  EXPECT_EQ(books.PostingLines, lines);
  EXPECT_EQ(books.EntryCounter, counter);
}

TEST_F(EntryClipboardTest, TheMarkerAloneAddsNoLineButCountsAnEntry) {
  const int32_t last = books.LastLineIndex();
  const int32_t counter = books.EntryCounter;
  const auto where = PasteEntry(books, "QV", locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(where->FirstLine, last + 1);  // one past the end: the screen shows the last entry
  EXPECT_EQ(where->LastLine, last);
  EXPECT_EQ(where->LinesAdded(), 0);
  EXPECT_EQ(books.LastLineIndex(), last);
  EXPECT_EQ(books.EntryCounter, counter + 1);
}

TEST_F(EntryClipboardTest, RoundTripsKeepFoliosAmountsAndTildes) {
  AddEntry(books, today, "42", {{110.1, 1250.5}}, {{400, 0.0001}}, "cash\tsale");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  for (const LocaleInfo& machine : {UsEnglishLocale(), CommaLocale()}) {
    Books copy = books;
    const auto where = PasteEntry(copy, text, machine, today);
    ASSERT_TRUE(where.has_value()) << machine.Name;
    const PostingLine& debit = copy.PostingLines[static_cast<std::size_t>(where->FirstLine)];
    const PostingLine& credit = copy.PostingLines[static_cast<std::size_t>(where->LastLine)];
    EXPECT_EQ(debit.LineFolio, Money(110.1)) << machine.Name;
    EXPECT_EQ(debit.Amount, Money(1250.5)) << machine.Name;
    EXPECT_EQ(credit.Amount, Money(0.0001)) << machine.Name;
    EXPECT_EQ(credit.Notes, "cash~~sale") << machine.Name;  // the TAB does not come back
  }
  // A text written on a comma machine by another program reads there with its fractions.
  const auto rows = ReadEntryClipboardText("110,1\t\tCash\t1250,5\t\r\nQV", ",");
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ((*rows)[0].LineFolio, Money(110.1));
  EXPECT_EQ((*rows)[0].Amount, Money(1250.5));
}

TEST(ClipboardNumber, ReadsTheLeadingNumberRoundedToFourDecimals) {
  struct Case {
    std::string_view text;
    std::string_view symbol;
    double expected;
  };
  const Case cases[] = {
      {" 1 250.5x", ".", 1250.5}, {"-3", ".", -3},        {"+ 7", ".", 7},
      {"abc", ".", 0},            {"", ".", 0},           {"-", ".", 0},
      {"1.2.3", ".", 1.2},        {"1,5", ".", 1},        {"1,5", ",", 1.5},
      {"1.5", ",", 1.5},          {"1,2.3", ",", 1.2},    {".5", ".", 0.5},
      {"7.", ".", 7},             {"0.00005", ".", 0},    {"0.00015", ".", 0.0002},
      {"0.000051", ".", 0.0001},  {"-0.00025", ".", -0.0002}, {"12e3", ".", 12},
      {"1٫5", "٫", 1.5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClipboardNumber(c.text, c.symbol), Money(c.expected)) << c.text << " " << c.symbol;

  EXPECT_EQ(ClipboardNumber("922337203685477.5807", "."), Amount::Max());
  EXPECT_EQ(ClipboardNumber("-922337203685477.5808", "."), Amount::Min());
  EXPECT_EQ(ClipboardNumber("922337203685477.5808", "."), Amount());
  EXPECT_EQ(ClipboardNumber("922337203685477.58075", "."), Amount());
  EXPECT_EQ(ClipboardNumber("99999999999999999999999999", "."), Amount());
  EXPECT_EQ(ClipboardNumber("0000000000000000000000012.5", "."), Money(12.5));
}

TEST_F(EntryClipboardTest, MalformedRowsBecomeSoundLines) {
  // An empty row is a credit line with folio 0; missing fields keep their start values; a
  // huge amount reads as 0.
  const std::string text =
      "110\t\tCash\t99999999999999999999\t\r\n"
      "\r\n"
      "\t400\r\n"
      "QV";
  const auto where = PasteEntry(books, text, locale, today);
  ASSERT_TRUE(where.has_value());
  ASSERT_EQ(where->LinesAdded(), 3);
  EXPECT_EQ(Line(where->FirstLine).Side, kDebit);
  EXPECT_EQ(Line(where->FirstLine).Amount, Amount());
  EXPECT_EQ(Line(where->FirstLine + 1).Side, kCredit);
  EXPECT_EQ(Line(where->FirstLine + 1).LineFolio, Amount());
  EXPECT_EQ(Line(where->FirstLine + 2).LineFolio, Money(400));
  EXPECT_EQ(Line(where->FirstLine + 2).Amount, Amount());
  // The last row had no notes: the entry is closed with "_".
  EXPECT_EQ(Line(where->LastLine).Notes, "_");
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, CreditRowsFirstAreStoredDebitFirstInTheirOrder) {
  const std::string text =
      "\t400\tSales\t70\t\r\n"
      "110\t\tCash\t50\t\r\n"
      "\t401\t\t30\t\r\n"
      "111\t\t\t50\t  Market day  \r\n"
      "QV";
  const auto where = PasteEntry(books, text, locale, today);
  ASSERT_TRUE(where.has_value());
  std::vector<std::pair<int, double>> order;
  for (int32_t i = where->FirstLine; i <= where->LastLine; ++i)
    order.emplace_back(Line(i).Side, Line(i).LineFolio.ToDouble());
  EXPECT_EQ(order, (std::vector<std::pair<int, double>>{
                       {kDebit, 110}, {kDebit, 111}, {kCredit, 400}, {kCredit, 401}}));
  for (int32_t i = where->FirstLine; i < where->LastLine; ++i) EXPECT_EQ(Line(i).Notes, "");
  EXPECT_EQ(Line(where->LastLine).Notes, "Market day");  // trimmed, on the last line
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, RowsWithNotesEndEntriesAndEachEntryKeepsBothSides) {
  // Notes on a middle row end an entry there; each part becomes an entry of its own, and a
  // side that a part lacks gets an empty line.
  const std::string text =
      "110\t\tCash\t10\tfirst\r\n"
      "\t400\tSales\t10\t\r\n"
      "QV";
  const auto where = PasteEntry(books, text, locale, today);
  ASSERT_TRUE(where.has_value());
  ASSERT_EQ(where->LinesAdded(), 4);
  const int32_t f = where->FirstLine;
  EXPECT_EQ(Line(f).LineFolio, Money(110));
  EXPECT_EQ(Line(f + 1).Side, kCredit);
  EXPECT_EQ(Line(f + 1).LineFolio, Amount());
  EXPECT_EQ(Line(f + 1).Notes, "first");
  EXPECT_EQ(Line(f + 2).Side, kDebit);
  EXPECT_EQ(Line(f + 2).LineFolio, Amount());
  EXPECT_EQ(Line(f + 3).LineFolio, Money(400));
  EXPECT_EQ(Line(f + 3).Notes, "_");
  EXPECT_EQ(Number(f), Number(f + 3));
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, MoreThanThirtyOneLinesOnASideRefusesThePaste) {
  auto textWithDebits = [](int debits) {
    std::string text;
    for (int i = 0; i < debits; ++i) text += "110\t\tCash\t1\t\r\n";
    return text + "\t400\tSales\t" + std::to_string(debits) + "\tMany\r\nQV";
  };
  const std::vector<PostingLine> lines = books.PostingLines;
  const int32_t counter = books.EntryCounter;
  EXPECT_FALSE(PasteEntry(books, textWithDebits(32), locale, today).has_value());
  EXPECT_EQ(books.PostingLines, lines);
  EXPECT_EQ(books.EntryCounter, counter);

  const auto where = PasteEntry(books, textWithDebits(31), locale, today);
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(where->LinesAdded(), 32);
  ExpectSoundJournal();
}

TEST_F(EntryClipboardTest, EveryReaderSeesTheSameRows) {
  // The prepared groups and the running calculator read the rows this reader gives: the
  // side from field 0, folio and amount as numbers; the calculator adds debits and
  // subtracts credits.
  AddEntry(books, today, "42", {{110, 60.25}, {110.1, 39.75}}, {{400, 100}}, "Split");
  const std::string text = WriteEntryClipboardText(books, EntryBounds(books, 2));
  for (const LocaleInfo& machine : {UsEnglishLocale(), CommaLocale()}) {
    const auto rows = ReadEntryClipboardText(text, machine.DecimalSymbol);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 3u);
    AmountSum balance;
    for (const ClipboardRow& row : *rows)
      row.Side == kDebit ? balance.Add(row.Amount) : balance.Subtract(row.Amount);
    EXPECT_EQ(balance.Value(), Amount()) << machine.Name;
    EXPECT_EQ((*rows)[1], (ClipboardRow{kDebit, Money(110.1), Money(39.75), ""}));
    EXPECT_EQ((*rows)[2], (ClipboardRow{kCredit, Money(400), Money(100), "Split"}));
  }
}

}  // namespace
}  // namespace qv
