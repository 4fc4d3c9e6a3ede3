#include "books/entry_commands.h"

#include <gtest/gtest.h>

#include "books/date_styles.h"
#include "platform/string_table.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

constexpr int32_t kBoxHeight = 1640;

class EntryCommandsTest : public ::testing::Test {
 protected:
  EntryCommandsTest() {
    // Entries A (0-1), B (2-3), C (4-5).
    AddEntry(books, Day(2026, 3, 1), "39", {{110, 100}}, {{400, 100}}, "A");
    AddEntry(books, Day(2026, 3, 2), "40", {{120, 20}}, {{400, 20}}, "B");
    AddEntry(books, Day(2026, 3, 3), "41", {{110, 5}}, {{410, 5}}, "C");
  }
  void TearDown() override { EXPECT_EQ(CheckBooks(books), std::nullopt); }
  const PostingLine& Line(int32_t i) const { return books.PostingLines[static_cast<size_t>(i)]; }
  std::string Number(int32_t i) const {
    return std::string(books.EntryNumbers[static_cast<size_t>(i)].TrimmedText());
  }
  // The folio of every line of the shown entry, in order.
  std::vector<Folio> ShownFolios() const {
    std::vector<Folio> folios;
    for (int32_t i = screen.EntryFirstLine(); i <= screen.EntryLastLine(); ++i)
      folios.push_back(Line(i).LineFolio);
    return folios;
  }
  Books books = testing::BookWithChart(
      {{"Cash", 110, 0}, {"Bank", 120, 0}, {"Sales", 400, 5}, {"Fees", 410, 5}});
  LocaleInfo locale = UsEnglishLocale();
  FixedClock clock{Day(2026, 6, 15)};
  EntryScreen screen{books, locale};
  EntryFields fields{screen, clock};
  EntryCommands commands{screen, clock};
};

TEST_F(EntryCommandsTest, NewEntryReportsTheBalanceOfTheWholeJournal) {
  screen.ShowLine(0);
  EXPECT_EQ(commands.NewEntry("3/1/26").Status.Text, "The Accounts are balanced");
  ASSERT_TRUE(fields.StoreAmount(kDebit, 0, "100").Stored);
  ASSERT_TRUE(fields.StoreAmount(kCredit, 0, "150.25").Stored);
  const auto out = commands.NewEntry("3/1/26");
  EXPECT_EQ(std::pair(out.Status.Text, out.Status.Color), std::pair(Str(276) + " 50.25", kRed));
  // The difference takes the locale's decimal symbol and no grouping.
  books.PostingLines[0].Amount = Money(1234.5);
  LocaleInfo german = locale;
  german.DecimalSymbol = ",";
  german.GroupSymbol = ".";
  EntryScreen s{books, german};
  EntryCommands c{s, clock};
  s.ShowLine(0);
  EXPECT_EQ(c.NewEntry("").Status.Text, Str(275) + " 1084,25");

  // Totals of huge amounts are reported out of range.
  for (int i = 0; i < 10; ++i) {
    AddEntry(books, Day(2026, 3, 4), "H", {{110, 0}}, {{400, 0}}, "Huge");
    books.PostingLines[books.PostingLines.size() - 2].Amount =
        Amount::FromUnits(99'999'999'999'999);
  }
  screen.ShowLine(0);
  const auto r = commands.NewEntry("3/1/26");
  EXPECT_EQ(std::pair(r.Status.Text, r.Status.Color),
            std::pair(std::string(kJournalTotalsOutOfRangeText), kRed));
}

TEST_F(EntryCommandsTest, NewEntryTakesTodayForAnEmptyOrUnreadablePickerAndKeepsAnUneditedDate) {
  screen.ShowLine(0);
  auto r = commands.NewEntry("13/45/26");
  EXPECT_TRUE(r.InvalidDate);
  EXPECT_EQ(Line(books.LastLineIndex()).LineDate, clock.Today());
  EXPECT_EQ(r.DateText, "6/15/26");
  EXPECT_EQ(std::vector<PostingLine>(books.PostingLines.begin() + 6, books.PostingLines.end()),
            (std::vector<PostingLine>{{.LineDate = clock.Today(), .Side = kDebit},
                                      {.LineDate = clock.Today(), .Side = kCredit, .Notes = "_"}}));
  EXPECT_EQ(Number(6) + Number(7) + r.EntryNumberText, "424242");

  // The picker still shows the entry's date as written: the stored date is taken, even
  // where the two-digit year would read back in another century.
  books.DateStyleIndex = kDdMmYySlash;
  for (int32_t i = 0; i <= 1; ++i)
    books.PostingLines[static_cast<size_t>(i)].LineDate = Day(1960, 1, 5);
  screen.ShowLine(0);
  books.AutoTrackingNumbers = 0;  // without tracking numbers the new lines have none
  r = commands.NewEntry(screen.Layout().DateText);
  EXPECT_EQ(Line(books.LastLineIndex()).LineDate, Day(1960, 1, 5));
  EXPECT_EQ(Number(8) + Number(9) + r.EntryNumberText, "");
}

TEST_F(EntryCommandsTest, ANewLineBecomesTheLastOfItsSideAndTheNotesStayAtTheEnd) {
  for (const auto& [side, folios, focus, focusRow] :
       {std::tuple{kDebit, std::vector{Money(110), Money(120), Money(0), Money(400)},
                   EntryFocus::DebitFolio, 2},
        {kCredit, {Money(110), Money(120), Money(400), Money(0)}, EntryFocus::CreditFolio, 1}}) {
    AddEntry(books, Day(2026, 3, 4), "42", {{110, 1}, {120, 2}}, {{400, 3}}, "ABC");
    screen.ShowLine(books.LastLineIndex());
    const auto r = commands.AddLine(side, kBoxHeight);
    ASSERT_TRUE(r.Added);
    EXPECT_EQ(ShownFolios(), folios);
    EXPECT_EQ(Line(screen.EntryLastLine()).Notes, "ABC");
    const int32_t added = side == kDebit ? screen.LineOfDebitRow(2) : screen.LineOfCreditRow(1);
    EXPECT_EQ(std::tuple(Line(added).Side, Line(added).LineDate, Number(added)),
              std::tuple(side, Day(2026, 3, 4), std::string("42")));
    EXPECT_EQ(std::pair(r.Focus, r.FocusRow), std::pair(focus, focusRow));
  }
}

TEST_F(EntryCommandsTest, OnlyTheLastEntryGrowsUpToThirtyOneLinesASideKeepingItsMark) {
  screen.ShowLine(2);
  EXPECT_FALSE(commands.AddLine(kDebit, kBoxHeight).Added);
  EXPECT_FALSE(commands.AddLine(kCredit, kBoxHeight).Added);
  screen.ShowLine(4);
  ASSERT_TRUE(commands.SetReconciled(true));
  for (int i = 1; i < kMaxRowsPerSide; ++i)
    EXPECT_EQ(commands.AddLine(kDebit, kBoxHeight).HideButton, i + 1 == kMaxRowsPerSide) << i;
  const auto refused = commands.AddLine(kDebit, kBoxHeight);
  EXPECT_TRUE(!refused.Added && refused.HideButton);
  EXPECT_EQ(screen.LastDebitRow(), 30);
  // The credit side still grows; rows that fit hide the row scroll bar.
  const auto credit = commands.AddLine(kCredit, 100000);
  EXPECT_TRUE(credit.Added && !credit.RowScroll.Visible);
  for (int32_t i = 4; i <= books.LastLineIndex(); ++i) EXPECT_EQ(Line(i).Reconciled, 1) << i;
}

TEST_F(EntryCommandsTest, TheSumCommandFillsTheFirstBoxSoThatTheEntryBalances) {
  // One line a side: the box without a text gets the other's; none typed, nothing happens.
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 0}}, {{400, 0}}, "Two");
  screen.ShowLine(6);
  EXPECT_FALSE(commands.CalcCompound("", "").Acted);
  commands.CalcCompound("", "1,250.5");
  EXPECT_EQ(Line(6).Amount, Money(1250.5));
  // A compound entry: the single side gets the other side's total.
  AddEntry(books, Day(2026, 3, 4), "43", {{110, 0}}, {{400, 40}, {410, 60}}, "Three");
  screen.ShowLine(8);
  auto r = commands.CalcCompound("", "40");
  EXPECT_EQ(std::tuple(r.Side, r.Text, r.Focus),
            std::tuple(kDebit, "100", EntryFocus::DebitAmount));
  EXPECT_EQ(Line(8).Amount, Money(100));
  AddEntry(books, Day(2026, 3, 5), "44", {{110, 12.5}, {120, 7.25}}, {{400, 0}}, "Four");
  screen.ShowLine(books.LastLineIndex());
  r = commands.CalcCompound("12.5", "");
  EXPECT_EQ(r.Side, kCredit);
  EXPECT_EQ(Line(books.LastLineIndex()).Amount, Money(19.75));
}

TEST_F(EntryCommandsTest, DeletingShowsTheNextEntryAtTheSameLineOrElseThePreviousOne) {
  const Books before = books;
  const int32_t stamp = books.BooksStamp;
  screen.ShowLine(3);  // any line of the entry: the bounds come from CurrentLine
  auto r = commands.DeleteShownEntry(false);  // the admin gate failed: nothing changes
  EXPECT_FALSE(r.Deleted);
  EXPECT_EQ(std::pair(books.PostingLines, books.BooksStamp), std::pair(before.PostingLines, stamp));
  r = commands.DeleteShownEntry(true);
  ASSERT_TRUE(r.Deleted);
  EXPECT_EQ(books.BooksStamp, stamp + 1);
  EXPECT_EQ(std::tuple(Number(2), r.ScrollValue, screen.EntryLastLine()), std::tuple("41", 2, 3));
  r = commands.DeleteShownEntry(true);  // the last entry: the one before is shown
  EXPECT_EQ(std::tuple(books.LastLineIndex(), r.ScrollValue, screen.NotesText()),
            std::tuple(1, 1, "A"));

  // The only entry leaves one empty entry of today, numbered 1.
  commands.DeleteShownEntry(true);
  EXPECT_EQ(books.PostingLines,
            (std::vector<PostingLine>{{.LineDate = clock.Today(), .Side = kDebit},
                                      {.LineDate = clock.Today(), .Side = kCredit, .Notes = "_"}}));
  EXPECT_EQ(std::pair(Number(0), screen.EntryLastLine()), std::pair(std::string("1"), 1));
}

TEST_F(EntryCommandsTest, DeletionRemovesExactlyTheEntryHoldingTheCurrentLine) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 1}, {120, 2}}, {{400, 3}}, "D");
  screen.ShowLine(7);
  ASSERT_EQ(screen.CurrentLine(), 6);
  commands.DeleteShownEntry(true);
  EXPECT_EQ(std::pair(books.LastLineIndex(), Line(5).Notes), std::pair(5, std::string("C")));

  // A journal read from a broken source: one entry of three lines, then a one-line entry
  // that deleting the first completes into an entry.
  books.PostingLines.resize(4);
  books.EntryNumbers.resize(4);
  books.PostingLines[3] = books.PostingLines[1];
  books.PostingLines[3].Notes = "Alone";
  books.PostingLines[2].Side = kCredit;
  books.PostingLines[2].Notes = "End";
  books.PostingLines[1].Notes.clear();
  screen.ShowLine(0);
  commands.DeleteShownEntry(true);
  ASSERT_EQ(books.LastLineIndex(), 1);
  EXPECT_EQ(std::pair(Line(0).Side, Line(1).Notes),
            std::pair(uint8_t{kDebit}, std::string("Alone")));
}

}  // namespace
}  // namespace qv
