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

// ---- New Entry.

TEST_F(EntryCommandsTest, NewEntryAppendsANumberedTwoLineEntryWithThePickersDate) {
  screen.ShowLine(4);
  const int32_t counter = books.EntryCounter;
  const auto r = commands.NewEntry("4/20/26");
  ASSERT_EQ(books.LastLineIndex(), 7);
  EXPECT_EQ(Line(6).Side, kDebit);
  EXPECT_EQ(Line(6).Notes, "");
  EXPECT_EQ(Line(7).Side, kCredit);
  EXPECT_EQ(Line(7).Notes, "_");
  for (int32_t i : {6, 7}) {
    EXPECT_EQ(Line(i).LineDate, Day(2026, 4, 20));
    EXPECT_EQ(Line(i).LineFolio, Money(0));
    EXPECT_EQ(Line(i).Amount, Money(0));
    EXPECT_EQ(Line(i).Reconciled, 0);
    EXPECT_EQ(Number(i), "42");
  }
  EXPECT_EQ(books.EntryNumbers[6].Text(), "42            ");
  EXPECT_EQ(books.EntryCounter, counter + 1);
  EXPECT_EQ(r.ScrollMax, 7);
  EXPECT_EQ(r.ScrollValue, 6);
  EXPECT_EQ(screen.EntryFirstLine(), 6);
  EXPECT_EQ(screen.EntryLastLine(), 7);
  EXPECT_EQ(r.EntryNumberText, "42");
  EXPECT_EQ(r.DateText, "4/20/26");
  EXPECT_EQ(r.Focus, EntryFocus::JournalID);
  EXPECT_FALSE(r.InvalidDate);
  EXPECT_TRUE(screen.DebitCompoundShown());
  EXPECT_TRUE(screen.CreditCompoundShown());
}

TEST_F(EntryCommandsTest, NewEntryReportsTheBalanceOfTheWholeJournal) {
  screen.ShowLine(0);
  auto r = commands.NewEntry("3/1/26");
  EXPECT_EQ(r.Status.Text, Str(277));
  EXPECT_EQ(Str(277), "The Accounts are balanced");
  EXPECT_EQ(r.Status.Color, kBlack);

  ASSERT_TRUE(fields.StoreAmount(kDebit, 0, "100").Stored);
  r = commands.NewEntry("3/1/26");
  EXPECT_EQ(r.Status.Text, Str(275) + " 100");
  EXPECT_EQ(r.Status.Color, kRed);

  ASSERT_TRUE(fields.StoreAmount(kCredit, 0, "150.25").Stored);
  r = commands.NewEntry("3/1/26");
  EXPECT_EQ(r.Status.Text, Str(276) + " 50.25");
  EXPECT_EQ(r.Status.Color, kRed);
}

TEST_F(EntryCommandsTest, NewEntryWritesTheDifferenceWithTheLocalesDecimalSymbol) {
  LocaleInfo german = locale;
  german.DecimalSymbol = ",";
  german.GroupSymbol = ".";
  EntryScreen s{books, german};
  EntryCommands c{s, clock};
  books.PostingLines[0].Amount = Money(1234.5);
  s.ShowLine(0);
  EXPECT_EQ(c.NewEntry("").Status.Text, Str(275) + " 1134,5");
}

TEST_F(EntryCommandsTest, NewEntryTakesTodayForAnEmptyOrUnreadablePickerAndKeepsAnUneditedDate) {
  screen.ShowLine(0);
  auto r = commands.NewEntry("");
  EXPECT_EQ(Line(books.LastLineIndex()).LineDate, clock.Today());
  EXPECT_EQ(r.DateText, "6/15/26");
  EXPECT_FALSE(r.InvalidDate);

  r = commands.NewEntry("13/45/26");
  EXPECT_TRUE(r.InvalidDate);
  EXPECT_EQ(Line(books.LastLineIndex()).LineDate, clock.Today());
  EXPECT_EQ(r.DateText, "6/15/26");

  // The picker still shows the entry's date as written: the stored date is taken, even
  // where the two-digit year would read back in another century.
  books.DateStyleIndex = kDdMmYySlash;
  for (int32_t i = 0; i <= 1; ++i)
    books.PostingLines[static_cast<size_t>(i)].LineDate = Day(1960, 1, 5);
  screen.ShowLine(0);
  r = commands.NewEntry(screen.Layout().DateText);
  EXPECT_EQ(Line(books.LastLineIndex()).LineDate, Day(1960, 1, 5));
}

TEST_F(EntryCommandsTest, WithoutTrackingNumbersNewLinesHaveBlankNumbers) {
  books.AutoTrackingNumbers = 0;
  screen.ShowLine(0);
  const auto r = commands.NewEntry("3/1/26");
  EXPECT_EQ(books.EntryNumbers[6], EntryNumber());
  EXPECT_EQ(books.EntryNumbers[7], EntryNumber());
  EXPECT_EQ(r.EntryNumberText, "");
}

TEST_F(EntryCommandsTest, TheJournalBalanceOfHugeAmountsIsReportedOutOfRange) {
  for (int i = 0; i < 10; ++i)
    AddEntry(books, Day(2026, 3, 4), "H", {{110, 0}}, {{400, 0}}, "Huge");
  for (int32_t i = 6; i <= books.LastLineIndex(); i += 2)
    books.PostingLines[static_cast<size_t>(i)].Amount = Amount::FromUnits(99'999'999'999'999);
  screen.ShowLine(0);
  const auto r = commands.NewEntry("3/1/26");
  EXPECT_EQ(r.Status.Text, kJournalTotalsOutOfRangeText);
  EXPECT_EQ(r.Status.Color, kRed);
}

// ---- Add a line.

TEST_F(EntryCommandsTest, ANewDebitLineBecomesTheLastDebitLineAndTheNotesStayAtTheEnd) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 1}, {120, 2}}, {{400, 3}}, "ABC");
  screen.ShowLine(books.LastLineIndex());
  const auto r = commands.AddLine(kDebit, kBoxHeight);
  ASSERT_TRUE(r.Added);
  EXPECT_EQ(ShownFolios(), (std::vector<Folio>{Money(110), Money(120), Money(0), Money(400)}));
  EXPECT_EQ(Line(8).Notes, "");
  EXPECT_EQ(Line(9).Notes, "ABC");
  EXPECT_EQ(Line(8).Side, kDebit);
  EXPECT_EQ(Line(8).LineDate, Day(2026, 3, 4));
  EXPECT_EQ(Number(8), "42");
  EXPECT_EQ(r.Focus, EntryFocus::DebitFolio);
  EXPECT_EQ(r.FocusRow, 2);
  EXPECT_EQ(screen.LineOfDebitRow(2), 8);
}

TEST_F(EntryCommandsTest, ANewCreditLineComesLastAndCarriesTheNotes) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 1}, {120, 2}}, {{400, 3}}, "ABC");
  screen.ShowLine(books.LastLineIndex());
  const auto r = commands.AddLine(kCredit, kBoxHeight);
  ASSERT_TRUE(r.Added);
  EXPECT_EQ(ShownFolios(), (std::vector<Folio>{Money(110), Money(120), Money(400), Money(0)}));
  EXPECT_EQ(Line(8).Notes, "");
  EXPECT_EQ(Line(9).Notes, "ABC");
  EXPECT_EQ(r.Focus, EntryFocus::CreditFolio);
  EXPECT_EQ(r.FocusRow, 1);
}

TEST_F(EntryCommandsTest, ALineAddedToAReconciledEntryIsReconciledToo) {
  screen.ShowLine(4);
  ASSERT_TRUE(commands.SetReconciled(true));
  ASSERT_TRUE(commands.AddLine(kCredit, kBoxHeight).Added);
  for (int32_t i = 4; i <= 6; ++i) EXPECT_EQ(Line(i).Reconciled, 1);
}

TEST_F(EntryCommandsTest, ASideStopsAtThirtyOneLines) {
  screen.ShowLine(4);
  for (int i = 1; i < kMaxRowsPerSide; ++i) {
    const auto r = commands.AddLine(kDebit, kBoxHeight);
    ASSERT_TRUE(r.Added);
    EXPECT_EQ(r.HideButton, i + 1 == kMaxRowsPerSide) << i;
    // The new row is in view: the row scroll bar brings it there.
    const EntryRowView& row = screen.Layout().Debit.back();
    EXPECT_GE(row.Top, 0);
    EXPECT_LE(row.Top + screen.Metrics().RowHeight, kBoxHeight);
    EXPECT_EQ(r.RowScrollValue, screen.EntryScrollOffset());
    EXPECT_EQ(r.RowScroll.Visible, screen.RowTop() + screen.EntryScrollOffset() > kBoxHeight);
    EXPECT_LE(r.RowScrollValue, r.RowScroll.ValueMax);
  }
  EXPECT_FALSE(screen.DebitCompoundShown());
  const int32_t lines = books.LastLineIndex();
  const auto refused = commands.AddLine(kDebit, kBoxHeight);
  EXPECT_FALSE(refused.Added);
  EXPECT_TRUE(refused.HideButton);
  EXPECT_EQ(books.LastLineIndex(), lines);
  EXPECT_EQ(screen.LastDebitRow(), 30);
  // The credit side still grows.
  EXPECT_TRUE(commands.AddLine(kCredit, kBoxHeight).Added);
}

TEST_F(EntryCommandsTest, OnlyTheJournalsLastEntryGrows) {
  screen.ShowLine(2);
  const Books before = books;
  EXPECT_FALSE(commands.AddLine(kDebit, kBoxHeight).Added);
  EXPECT_FALSE(commands.AddLine(kCredit, kBoxHeight).Added);
  EXPECT_EQ(books.PostingLines, before.PostingLines);
}

TEST_F(EntryCommandsTest, RowsThatFitHideTheRowScrollBar) {
  screen.ShowLine(4);
  const auto r = commands.AddLine(kCredit, 10000);
  EXPECT_FALSE(r.RowScroll.Visible);
  EXPECT_EQ(r.RowScrollValue, 0);
}

// ---- The sum command.

TEST_F(EntryCommandsTest, TheSumCommandCopiesTheTypedAmountToTheOtherSide) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 0}}, {{400, 0}}, "Two");
  screen.ShowLine(6);
  ASSERT_TRUE(fields.StoreAmount(kDebit, 0, "250").Stored);
  auto r = commands.CalcCompound("250", "");
  EXPECT_TRUE(r.Acted);
  EXPECT_EQ(r.Side, kCredit);
  EXPECT_EQ(r.Text, "250");
  EXPECT_EQ(r.Focus, EntryFocus::CreditAmount);
  EXPECT_EQ(Line(7).Amount, Money(250));
  EXPECT_EQ(r.Status.Color, kBlack);

  // Nothing typed on either side: nothing happens.
  books.PostingLines[6].Amount = Money(0);
  books.PostingLines[7].Amount = Money(0);
  EXPECT_FALSE(commands.CalcCompound("", "").Acted);
  // Only the credit box holds a text: the debit box gets it.
  r = commands.CalcCompound("", "1,250.5");
  EXPECT_EQ(r.Side, kDebit);
  EXPECT_EQ(Line(6).Amount, Money(1250.5));
}

TEST_F(EntryCommandsTest, TheSumCommandFillsTheSingleSideWithTheOtherSidesTotal) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 0}}, {{400, 40}, {410, 60}}, "Three");
  screen.ShowLine(6);
  auto r = commands.CalcCompound("", "40");
  EXPECT_EQ(r.Side, kDebit);
  EXPECT_EQ(r.Text, "100");
  EXPECT_EQ(Line(6).Amount, Money(100));
  EXPECT_EQ(r.Focus, EntryFocus::DebitAmount);

  AddEntry(books, Day(2026, 3, 5), "43", {{110, 12.5}, {120, 7.25}}, {{400, 0}}, "Four");
  screen.ShowLine(books.LastLineIndex());
  r = commands.CalcCompound("12.5", "");
  EXPECT_EQ(r.Side, kCredit);
  EXPECT_EQ(r.Text, "19.75");
  EXPECT_EQ(Line(books.LastLineIndex()).Amount, Money(19.75));
}

// ---- Delete.

TEST_F(EntryCommandsTest, DeletingAMiddleEntryShowsTheNextAtTheSameLine) {
  screen.ShowLine(2);
  const int32_t stamp = books.BooksStamp;
  const auto r = commands.DeleteShownEntry(true);
  ASSERT_TRUE(r.Deleted);
  EXPECT_EQ(books.BooksStamp, stamp + 1);
  ASSERT_EQ(books.LastLineIndex(), 3);
  EXPECT_EQ(Line(3).Notes, "C");
  EXPECT_EQ(Number(2), "41");
  EXPECT_EQ(r.ScrollMax, 3);
  EXPECT_EQ(r.ScrollValue, 2);
  EXPECT_EQ(screen.EntryFirstLine(), 2);
  EXPECT_EQ(screen.EntryLastLine(), 3);
}

TEST_F(EntryCommandsTest, DeletingTheLastEntryShowsTheOneBefore) {
  screen.ShowLine(5);
  const auto r = commands.DeleteShownEntry(true);
  EXPECT_EQ(books.LastLineIndex(), 3);
  EXPECT_EQ(r.ScrollValue, 3);
  EXPECT_EQ(screen.EntryFirstLine(), 2);
  EXPECT_EQ(screen.NotesText(), "B");
}

TEST_F(EntryCommandsTest, DeletingTheOnlyEntryLeavesOneEmptyEntry) {
  for (int i = 0; i < 3; ++i) {
    screen.ShowLine(0);
    commands.DeleteShownEntry(true);
  }
  ASSERT_EQ(books.LastLineIndex(), 1);
  EXPECT_EQ(Line(0).Side, kDebit);
  EXPECT_EQ(Line(1).Side, kCredit);
  EXPECT_EQ(Line(1).Notes, "_");
  EXPECT_EQ(Line(0).LineDate, clock.Today());
  EXPECT_EQ(Number(0), "1");
  EXPECT_EQ(screen.EntryLastLine(), 1);
}

TEST_F(EntryCommandsTest, AFailedAdminGateChangesNothing) {
  books.AdminPassword = "boss";
  screen.ShowLine(2);
  const Books before = books;
  const auto r = commands.DeleteShownEntry(false);
  EXPECT_FALSE(r.Deleted);
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  EXPECT_EQ(books.BooksStamp, before.BooksStamp);
}

TEST_F(EntryCommandsTest, DeletionRemovesExactlyTheEntryHoldingTheCurrentLine) {
  AddEntry(books, Day(2026, 3, 4), "42", {{110, 1}, {120, 2}}, {{400, 3}}, "D");
  screen.ShowLine(7);
  ASSERT_EQ(screen.CurrentLine(), 6);
  commands.DeleteShownEntry(true);
  EXPECT_EQ(books.LastLineIndex(), 5);
  EXPECT_EQ(Line(5).Notes, "C");
}

TEST_F(EntryCommandsTest, ALoneLineLeftByABrokenJournalIsCompletedIntoAnEntry) {
  // A journal read from a broken source: one entry of three lines, then a one-line entry.
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
  EXPECT_EQ(Line(0).Side, kDebit);
  EXPECT_EQ(Line(1).Notes, "Alone");
}

// ---- The reconciled mark.

TEST_F(EntryCommandsTest, TheReconcileBoxMarksEveryLineOfTheEntryEvenWhenReadOnly) {
  for (int i = 0; i < 20; ++i) AddEntry(books, Day(2026, 4, 1), "X", {{110, 1}}, {{400, 1}});
  books.AdminPassword = "boss";
  screen.ShowLine(2);
  ASSERT_TRUE(screen.ReadOnly());
  EXPECT_TRUE(commands.SetReconciled(true));
  EXPECT_EQ(Line(2).Reconciled, 1);
  EXPECT_EQ(Line(3).Reconciled, 1);
  EXPECT_EQ(Line(1).Reconciled, 0);
  EXPECT_TRUE(screen.Reconciled());
  EXPECT_TRUE(commands.SetReconciled(false));
  EXPECT_EQ(Line(3).Reconciled, 0);
  // The sum command takes no part in a read-only entry.
  books.PostingLines[2].Amount = Money(0);
  const Books before = books;
  EXPECT_FALSE(commands.CalcCompound("", "20").Acted);
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  books.PostingLines[2].Amount = Money(20);
}

// ---- A year of entries through the commands and fields keeps the journal sound.

TEST_F(EntryCommandsTest, RecordingEntriesKeepsEveryJournalRule) {
  screen.ShowLine(books.LastLineIndex());
  for (int month = 1; month <= 12; ++month) {
    commands.NewEntry(std::to_string(month) + "/28/26");
    ASSERT_EQ(CheckBooks(books), std::nullopt) << month;
    fields.StoreFolio(kDebit, 0, "110");
    fields.CommitAccountName(kCredit, 0, "Sales");
    fields.StoreAmount(kDebit, 0, "1,000");
    if (month % 3 == 0) {
      commands.AddLine(kCredit, kBoxHeight);
      fields.StoreFolio(kCredit, 1, "410");
      fields.StoreAmount(kCredit, 1, "25.5");
      fields.StoreAmount(kCredit, 0, "974.5");
    }
    commands.CalcCompound("1,000", "");
    fields.StoreNotes("Month " + std::to_string(month));
    ASSERT_EQ(CheckBooks(books), std::nullopt) << month;
    EXPECT_EQ(screen.SumEntry().Color, kBlack) << month;
  }
  EXPECT_EQ(commands.JournalBalanceStatus().Text, Str(277));
  screen.ShowLine(0);
  commands.DeleteShownEntry(true);
  EXPECT_EQ(commands.JournalBalanceStatus().Text, Str(277));
}

}  // namespace
}  // namespace qv
