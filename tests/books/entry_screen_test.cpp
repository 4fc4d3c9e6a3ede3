#include "books/entry_screen.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

// Entries A1 (lines 0-1), A10 (2-5) and B7 (6-9).
class EntryScreenTest : public ::testing::Test {
 protected:
  EntryScreenTest() {
    AddEntry(books, Day(2026, 3, 1), "A1", {{110, 100}}, {{400, 100}}, "First");
    AddEntry(books, Day(2026, 3, 2), "A10", {{110, 50}, {120, 20}, {130, 30}}, {{400, 100}},
             "Second");
    AddEntry(books, Day(2026, 3, 3), "B7", {{110, 10}, {120, 15}}, {{400, 20}, {410, 5}}, "Third");
  }
  Books books = testing::BookWithChart(
      {{"Cash", 110, 0}, {"Bank", 120, 0}, {"Stock", 130, 0}, {"Sales", 400, 5}, {"Fees", 410, 5}});
  LocaleInfo locale = UsEnglishLocale();
  EntryScreen screen{books, locale};
};

TEST_F(EntryScreenTest, AnyLineOfAnEntryShowsTheWholeEntryFromItsFirstLine) {
  for (int line = 2; line <= 5; ++line) {
    screen.ShowLine(line);
    EXPECT_EQ(std::tuple(screen.EntryFirstLine(), screen.EntryLastLine(), screen.CurrentLine()),
              std::tuple(2, 5, 2));
  }
  EXPECT_EQ(screen.Layout().Debit[1], (EntryRowView{3, 410, "120", "Bank", "20"}));
  EXPECT_EQ(screen.Layout().DateText, "3/2/26");

  // Values outside the journal are brought into it.
  EXPECT_EQ(screen.ShowLine(-40).CalcCompound, CalcCompoundPlace::BesideDebit);
  EXPECT_EQ(screen.EntryFirstLine(), 0);
  screen.ShowLine(int64_t{1} << 40);
  EXPECT_EQ(screen.EntryFirstLine(), 6);

  // The journal's last line ends an entry without notes.
  books.PostingLines.back().Notes.clear();
  screen.ShowLine(9);
  EXPECT_EQ(std::tuple(screen.EntryFirstLine(), screen.EntryLastLine(), screen.NotesText()),
            std::tuple(6, 9, ""));

  // A reconciled mark above one shows as not reconciled, and showing leaves it in the book.
  books.PostingLines[2].Reconciled = 7;
  screen.ShowLine(3);
  EXPECT_FALSE(screen.Reconciled());
  EXPECT_EQ(books.PostingLines[2].Reconciled, 7);
}

TEST_F(EntryScreenTest, EachRowRecordsTheLineItShowsWhateverTheOrderOfTheLines) {
  // An entry whose credit comes first (with a negative debit), then one of 40 debit lines.
  Books odd = testing::BookWithChart({{"Cash", 110, 0}});
  odd.PostingLines.clear();
  odd.EntryNumbers.clear();
  odd.AppendLine({.Side = kCredit, .Amount = Money(5)}, EntryNumber("X"));
  odd.AppendLine({.Side = kDebit, .Amount = Money(-5), .Notes = "Odd"}, EntryNumber("X"));
  for (int i = 0; i < 40; ++i) odd.AppendLine({.Side = kDebit}, EntryNumber("BIG"));
  odd.AppendLine({.Side = kCredit, .Notes = "Big"}, EntryNumber("BIG"));
  EntryScreen s(odd, locale);
  s.ShowLine(0);
  EXPECT_EQ(std::tuple(s.LineOfCreditRow(0), s.LineOfDebitRow(0), s.LineOfDebitRow(1)),
            std::tuple(0, 1, -1));
  EXPECT_EQ(s.Layout().Debit[0].AmountText, "-5") << "a negative amount must show";
  s.ShowLine(30);
  EXPECT_EQ(std::pair(s.LineOfDebitRow(39), s.LineOfCreditRow(0)), std::pair(41, 42));

  // A side without lines still shows one row, which stands for no line.
  odd.PostingLines[0].Side = kDebit;
  s.ShowLine(0);
  ASSERT_EQ(s.Layout().Credit.size(), 1u);
  EXPECT_EQ(std::pair(s.LineOfCreditRow(0), s.LastCreditRow()), std::pair(-1, -1));
}

TEST_F(EntryScreenTest, FoliosAndAmountsShowAsPlainNumbersInTheLocalesFormAndZeroAsNothing) {
  EXPECT_EQ(screen.FolioText(Money(0)) + screen.AmountText(Money(0)), "");
  books.FolioDashes = -1;
  EXPECT_EQ(screen.FolioText(Money(110.1)) + " " + screen.AmountText(Money(1234567.25)),
            "110-1 1234567.25");
  books.FolioDashes = 0;
  LocaleInfo german = UsEnglishLocale();
  german.DecimalSymbol = ",";
  german.GroupSymbol = ".";
  EntryScreen s(books, german);
  EXPECT_EQ(s.FolioText(Money(110.1)) + " " + s.AmountText(Money(12.5)), "110,1 12,5");
  EXPECT_EQ(s.StatusAmountText(Money(-1234.5)), "(1.234,50)");
}

TEST_F(EntryScreenTest, TheTotalsLineShowsTheBalanceInRedWhenTheEntryDoesNotBalance) {
  // (The main window's test shows a debit total above the credit.)
  screen.ShowLine(0);
  books.PostingLines[0].Amount = Money(0);
  books.PostingLines[1].Amount = Money(50);
  EntryStatus status = screen.SumEntry();
  EXPECT_EQ(status.Text, "Debit : 0.00     Credit : 50.00     Balance : (50.00)  ");
  EXPECT_EQ(std::pair(status.Color, status.CalcCompound),
            std::pair(kRed, CalcCompoundChange::Show));
  books.PostingLines[0].Amount = Money(50);
  status = screen.SumEntry();
  EXPECT_EQ(status.Text, "Debit : 50.00     Credit : 50.00");
  EXPECT_EQ(std::pair(status.Color, status.CalcCompound),
            std::pair(kBlack, CalcCompoundChange::Hide));

  // Several lines on both sides, neither total 0: the sum button keeps its state.
  screen.ShowLine(6);
  books.PostingLines[6].Amount = Money(99);
  EXPECT_EQ(screen.SumEntry().CalcCompound, CalcCompoundChange::Keep);

  // Totals too large to add up, or a difference that leaves the range, are reported.
  const std::string tooLarge = "The totals of this entry are too large to add up.";
  screen.ShowLine(2);
  for (int i = 2; i <= 4; ++i)
    books.PostingLines[static_cast<std::size_t>(i)].Amount = Amount::Max();
  EXPECT_EQ(screen.SumEntry().Text, tooLarge);
  screen.ShowLine(0);
  books.PostingLines[0].Amount = Amount::Max();
  books.PostingLines[1].Amount = Amount::FromRaw(-5);
  EXPECT_EQ(screen.SumEntry().Text, tooLarge);
}

TEST_F(EntryScreenTest, EntryNumbersAreFoundAndStoredOnAllFourteenCharacters) {
  EXPECT_EQ(screen.FindEntryNumber("A10"), 2);
  EXPECT_EQ(screen.FindEntryNumber("a1"), std::nullopt);
  screen.ShowLine(7);
  EXPECT_TRUE(screen.StoreEntryNumber("ABCDEFGHIJKLMNOPQ"));
  for (int i = 6; i <= 9; ++i)
    EXPECT_EQ(books.EntryNumbers[static_cast<std::size_t>(i)].Text(), "ABCDEFGHIJKLMN");
  EXPECT_EQ(books.EntryNumbers[5].TrimmedText(), "A10");
}

TEST_F(EntryScreenTest, WithAnAdminPasswordOnlyTheLastThirtyLinesCanBeEdited) {
  // Entries at lines 0-68, 69 and 70-100 (the window test shows which boxes are enabled).
  Books big = testing::BookWithChart({});
  big.PostingLines.assign(101, PostingLine{});
  big.EntryNumbers.assign(101, EntryNumber("E"));
  for (int end : {68, 69, 100}) big.PostingLines[static_cast<std::size_t>(end)].Notes = "_";
  big.AdminPassword = "boss";
  EntryScreen s(big, locale);
  s.ShowLine(69);
  EXPECT_EQ(s.EditFloorLine(), 70);
  EXPECT_FALSE(s.StoreEntryNumber("NEW"));
  EXPECT_EQ(big.EntryNumbers[69].TrimmedText(), "E");
}

// The rows and the notes box under them: a bar whose end shows the notes box whole. Three
// rows end at 1200 in a box of 1230, so the rows fit and the notes box would be cut.
TEST_F(EntryScreenTest, TheRowBarShowsWhenTheRowsOrTheNotesOverflowAndItsEndShowsTheNotes) {
  EXPECT_EQ(screen.ContentBottomOfRows(3), 1200 + 330 + 15);
  screen.ShowLine(2);  // A10: four rows
  screen.SetRowOffset(100);
  EXPECT_EQ(screen.ContentBottom(), screen.ContentBottomOfRows(4));
  EXPECT_EQ(RowScrollFor(1545, 1230, 0), (RowScrollState{true, 315, 0}));
  EXPECT_EQ(RowScrollFor(1545, 1230, 9999), (RowScrollState{true, 315, 315}));
  EXPECT_EQ(RowScrollFor(1545, 1230, -40).Value, 0);
  // Everything fits: hidden, and the rows stand at the top whatever offset was asked for.
  EXPECT_EQ(RowScrollFor(1545, 1545, 200), RowScrollState{});
}

TEST(AccountLists, OfferTheChartsNamesInOrderWithoutBlanks) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"  ", 0, 0}, {"Bank", 120, 0}});
  EXPECT_EQ(AccountListNames(books), (std::vector<std::string>{"Balance b/f", "Cash", "Bank"}));
}

}  // namespace
}  // namespace qv
