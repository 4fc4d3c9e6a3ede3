#include "books/entry_fields.h"

#include <gtest/gtest.h>

#include <functional>

#include "books/date_styles.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

LocaleInfo GermanLocale() {
  LocaleInfo l = UsEnglishLocale();
  l.DecimalSymbol = ",";
  l.GroupSymbol = ".";
  l.ShortDatePattern = "dd.MM.yy";
  l.Name = "de_DE";
  return l;
}

LocaleInfo FrenchLocale() {
  LocaleInfo l = GermanLocale();
  l.GroupSymbol = "\u202F";  // narrow no-break space
  l.Name = "fr_FR";
  return l;
}

// Entries 1 (lines 0-1), 2 (2-4) and 3 (5-7).
class EntryFieldsTest : public ::testing::Test {
 protected:
  EntryFieldsTest() {
    AddEntry(books, Day(2026, 3, 1), "1", {{110, 100}}, {{400, 100}}, "First");
    AddEntry(books, Day(2026, 3, 2), "2", {{110, 50}, {120, 20}}, {{400, 70}}, "Second");
    AddEntry(books, Day(2026, 3, 3), "3", {{110, 10}}, {{400, 5}, {410, 5}}, "Third");
  }
  void Show(int32_t line) { screen.ShowLine(line); }
  // Every test leaves a book that keeps the journal's rules.
  void TearDown() override { EXPECT_EQ(CheckBooks(books), std::nullopt); }
  const PostingLine& Line(int32_t i) const { return books.PostingLines[static_cast<size_t>(i)]; }
  void SetEntryDate(DaySerial date) {
    for (int32_t i = 2; i <= 4; ++i) books.PostingLines[static_cast<size_t>(i)].LineDate = date;
  }
  Books books = testing::BookWithChart(
      {{"Cash", 110, 0}, {"Bank", 120, 0}, {"Sales", 400, 5}, {"Cash sub", 110.1, 0}});
  LocaleInfo locale = UsEnglishLocale();
  FixedClock clock{Day(2026, 6, 15)};
  EntryScreen screen{books, locale};
  EntryFields fields{screen, clock};
};

TEST(EntryKeyFilters, EachBoxTakesOnlyTheKeysOfItsKind) {
  const LocaleInfo us = UsEnglishLocale();
  // Every key of `taken` passes, none of `refused` does (keys of one byte each).
  auto check = [](const std::function<bool(std::string_view)>& passes, std::string_view taken,
                  std::string_view refused, const char* box) {
    for (std::size_t i = 0; i < taken.size(); ++i)
      EXPECT_TRUE(passes(taken.substr(i, 1))) << box << " " << int(taken[i]);
    for (std::size_t i = 0; i < refused.size(); ++i)
      EXPECT_FALSE(passes(refused.substr(i, 1))) << box << " " << int(refused[i]);
  };
  check([&](std::string_view k) { return AmountKeyPasses(k, us); }, "09,.\b\x03\x16",
        "-+a(\r\x18 e", "amount");
  check([&](std::string_view k) { return FolioKeyPasses(k, us); }, "-./09\b\x01", ",a+ \x03\x16\r",
        "folio");
  // The date box refuses the point even where dates are written with it; Ctrl+A (select all)
  // passes, as in the other boxes.
  check(DateKeyPasses, "-/09\b\x01", ".,a \x16", "date");
  EXPECT_FALSE(AmountKeyPasses("", us));
  // Where a blank groups the digits, the space bar types it.
  EXPECT_TRUE(AmountKeyPasses(" ", FrenchLocale()));
  EXPECT_TRUE(AmountKeyPasses("\u202F", FrenchLocale()));
  EXPECT_FALSE(AmountKeyPasses(".", FrenchLocale()));
  EXPECT_TRUE(FolioKeyPasses(",", GermanLocale()));
  EXPECT_FALSE(AccountNameKeyDownPasses(kKeyLeft) || AccountNameKeyDownPasses(kKeyRight));
}

TEST(TypedAmountsAndFolios, FollowTheLocalesSymbolsAndReportValuesOutOfRange) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(ReadTypedAmount("1,234.50", us), (TypedAmount{TypedAmountKind::Value, Money(1234.5)}));
  EXPECT_EQ(ReadTypedAmount("  ", us).Kind, TypedAmountKind::Empty);
  EXPECT_EQ(ReadTypedAmount(".5", us).Value, Money(0.5));
  for (std::string_view bad : {"1.2.3", ".", "abc", "-50", "(50)", "+5", "1.5,0", "1e3", "5 0"})
    EXPECT_EQ(ReadTypedAmount(bad, us).Kind, TypedAmountKind::Unreadable) << bad;
  EXPECT_EQ(ReadTypedAmount("1.234,50", GermanLocale()).Value, Money(1234.5));
  EXPECT_EQ(ReadTypedAmount("1,2,3", GermanLocale()).Kind, TypedAmountKind::Unreadable);
  EXPECT_EQ(ReadTypedAmount("1 234,5", FrenchLocale()).Value, Money(1234.5));

  // Four decimals, halves to even.
  EXPECT_EQ(ReadTypedAmount("0.00005", us).Value, Money(0));
  EXPECT_EQ(ReadTypedAmount("0.00015", us).Value, Money(0.0002));
  EXPECT_EQ(ReadTypedAmount("922,337,203,685,477.5807", us).Value, Amount::Max());
  EXPECT_EQ(ReadTypedAmount("922337203685477.5808", us).Kind, TypedAmountKind::OutOfRange);
  EXPECT_EQ(ReadTypedAmount("99999999999999999999999", us).Kind, TypedAmountKind::OutOfRange);

  // Folios read a dash or a point, or the locale's decimal symbol, as the decimal point.
  const std::pair<const char*, double> folios[] = {
      {"110-1", 110.1}, {"-5", 0.5}, {"110-1-2", 110.1}, {"110/2", 110}, {"110,1", 110},
  };
  for (const auto& [text, folio] : folios) EXPECT_EQ(ReadFolioText(text, us), Money(folio)) << text;
  for (const char* text : {"110,1", "110.1"})
    EXPECT_EQ(ReadFolioText(text, GermanLocale()), Money(110.1));
}

TEST(TypeAhead, CompletesTheFirstItemThatStartsWithTheTypedPrefixIgnoringCase) {
  const std::vector<std::string> items = {"Balance b/f", "Cash", "Capital", "Bank", "Éclair"};
  // "c" shown, "a" typed: "Cash" with "sh" selected.
  EXPECT_EQ(ComboTypeAhead(items, "c", 1, 0, "a"), (TypeAheadResult{false, true, 1, "Cash", 2, 2}));
  // With "Cash" shown and "sh" selected, "p" makes the prefix "Cap".
  EXPECT_EQ(ComboTypeAhead(items, "Cash", 2, 2, "p"),
            (TypeAheadResult{false, true, 2, "Capital", 3, 4}));
  // A key that begins no item is swallowed and changes nothing; Backspace reaches the box.
  EXPECT_EQ(ComboTypeAhead(items, "Cash", 2, 2, "x"), TypeAheadResult{});
  EXPECT_TRUE(ComboTypeAhead(items, "Cash", 2, 2, "\b").KeyPasses);
  // Positions count characters, not bytes.
  EXPECT_EQ(ComboTypeAhead(items, "", 0, 0, "é"),
            (TypeAheadResult{false, true, 4, "Éclair", 1, 5}));
}

TEST_F(EntryFieldsTest, OnACommaLocaleAmountsAndFoliosReadBackAsTheyShow) {
  const LocaleInfo de = GermanLocale();
  EntryScreen germanScreen{books, de};
  EntryFields german{germanScreen, clock};
  books.PostingLines[0].LineFolio = Money(110.1);
  germanScreen.ShowLine(0);
  EXPECT_TRUE(german.StoreAmount(kDebit, 0, "1.234,5").Stored);
  EXPECT_FALSE(german.StoreAmount(kDebit, 0, "1,2,3").Stored);
  EXPECT_EQ(Line(0).Amount, Money(1234.5));
  // Scrolling the journal rewrites a shown folio; it must read back unchanged.
  const std::string shown = germanScreen.Layout().Debit[0].FolioText;
  EXPECT_EQ(shown, "110,1");
  EXPECT_EQ(german.StoreFolio(kDebit, 0, shown), "Cash sub");
  EXPECT_EQ(Line(0).LineFolio, Money(110.1));
  books.FolioDashes = -1;
  EXPECT_EQ(german.CommitAccountName(kDebit, 0, "Cash sub"), "110-1");
}

// A chart from elsewhere may name two accounts alike: a list left showing the line's own
// account keeps the line's folio; choosing the name afresh takes the first such account.
TEST_F(EntryFieldsTest, AListLeftShowingItsLinesOwnAccountChangesNothing) {
  books.AccountNames[2] = "Cash";  // Bank, 120, is now a second "Cash"
  books.PostingLines[3].LineFolio = Money(120);
  Show(2);
  EXPECT_EQ(fields.CommitAccountName(kDebit, 1, "Cash"), "120");
  EXPECT_EQ(Line(3).LineFolio, Money(120));
  EXPECT_EQ(fields.CommitAccountName(kDebit, 1, "Sales"), "400");
  EXPECT_EQ(fields.CommitAccountName(kDebit, 1, "Cash"), "110");
}

TEST_F(EntryFieldsTest, AnAmountOrTotalOutOfRangeIsRefusedWithAMessage) {
  Show(0);
  auto store = fields.StoreAmount(kDebit, 0, "922337203685478");
  EXPECT_EQ(std::tuple(store.Stored, store.Status.Text, store.Status.Color),
            std::tuple(false, std::string(kAmountOutOfRangeText), kRed));
  EXPECT_EQ(Line(0).Amount, Money(100));

  // Two amounts that each fit cannot be totalled: the second is refused.
  AddEntry(books, Day(2026, 3, 4), "4", {{110, 0}, {110, 0}}, {{400, 0}}, "Large");
  Show(books.LastLineIndex());
  EXPECT_TRUE(fields.StoreAmount(kDebit, 0, "500,000,000,000,000").Stored);
  store = fields.StoreAmount(kDebit, 1, "500,000,000,000,000");
  EXPECT_EQ(std::pair(store.Stored, store.Status.Text),
            std::pair(false, std::string(kTotalsOutOfRangeText)));
  EXPECT_EQ(Line(screen.LineOfDebitRow(1)).Amount, Money(0));
}

TEST_F(EntryFieldsTest, RowsWriteOnlyTheirOwnLineOfTheShownEntry) {
  Show(2);
  // Rows beyond the entry take no input.
  EXPECT_EQ(fields.WritableLine(kDebit, 2), -1);
  EXPECT_EQ(fields.StoreFolio(kCredit, 1, "120"), std::nullopt);
  EXPECT_FALSE(fields.StoreAmount(kCredit, 1, "5").Stored);

  // A journal changed under the screen (bounds no longer one entry) takes no input.
  books.PostingLines[2].Notes = "Split";
  EXPECT_FALSE(fields.ShownEntryIntact());
  EXPECT_FALSE(fields.StoreAmount(kDebit, 0, "5").Stored || fields.StoreNotes("x") ||
               fields.CommitDate("1/1/26").Changed);
  books.PostingLines[2].Notes.clear();

  // An entry without a credit line (read from a broken source): its credit row stands for
  // no line and never reaches the next entry.
  books.PostingLines[4].Side = kDebit;
  Show(2);
  EXPECT_EQ(fields.WritableLine(kCredit, 0), -1);
  EXPECT_FALSE(fields.StoreAmount(kCredit, 0, "5").Stored);
  EXPECT_EQ(Line(5).Amount, Money(10));
  books.PostingLines[4].Side = kCredit;

  // Read-only entries take no edits at all.
  for (int i = 0; i < 20; ++i) AddEntry(books, Day(2026, 4, 1), "X", {{110, 1}}, {{400, 1}});
  books.AdminPassword = "boss";
  Show(2);
  ASSERT_TRUE(screen.ReadOnly());
  const Books before = books;
  EXPECT_FALSE(fields.StoreAmount(kDebit, 0, "5").Stored || fields.StoreNotes("changed"));
  EXPECT_EQ(fields.StoreFolio(kDebit, 1, "120"), std::nullopt);
  EXPECT_EQ(fields.CommitAccountName(kDebit, 1, "Cash"), std::nullopt);
  EXPECT_EQ(fields.CommitDate("1/2/26"), (EntryFields::DateCommit{false, false, "3/2/26"}));
  EXPECT_EQ(books.PostingLines, before.PostingLines);
}

TEST_F(EntryFieldsTest, NotesAreStoredTrimmedOnTheEntrysLastLine) {
  Show(2);
  EXPECT_TRUE(fields.StoreNotes("  Paid in cash  "));
  EXPECT_EQ(Line(4).Notes, "Paid in cash");
  EXPECT_TRUE(fields.StoreNotes("   "));  // an entry without notes keeps its end marker
  EXPECT_EQ(Line(4).Notes + "|" + Line(2).Notes, "_|");
  EXPECT_TRUE(fields.StoreNotes("two\r\nlines"));
  EXPECT_EQ(Line(4).Notes, "two  lines");
  EXPECT_TRUE(fields.StoreNotes(std::string(40000, 'n')));
  EXPECT_EQ(Line(4).Notes.size(), kMaxNotesLength);
}

TEST_F(EntryFieldsTest, AnUnreadableDateGivesTodayAndAnUneditedOneNeverChangesTheDate) {
  Show(2);
  for (std::string_view bad : {"31/31/26", "abc", "12/30/1899", ""}) {
    EXPECT_EQ(fields.CommitDate(bad), (EntryFields::DateCommit{true, true, "6/15/26"})) << bad;
    for (int32_t i = 2; i <= 4; ++i) EXPECT_EQ(Line(i).LineDate, clock.Today()) << bad;
    SetEntryDate(Day(2026, 3, 2));
  }
  // A date outside the two-digit-year window: read back, "5/1/60" would be 2060.
  books.DateStyleIndex = kDdMmYySlash;
  SetEntryDate(Day(1960, 1, 5));
  Show(2);
  const std::string shown = screen.Layout().DateText;
  EXPECT_EQ(shown, "05/01/60");
  EXPECT_TRUE(fields.DateTextUnedited(shown));
  EXPECT_EQ(fields.CommitDate(shown), (EntryFields::DateCommit{false, false, shown}));
  EXPECT_EQ(Line(2).LineDate, Day(1960, 1, 5));
  // Up and Down commit the same way and step to the neighbouring entry.
  const auto up = fields.DateKeyDown(38, shown);
  EXPECT_TRUE(up.Handled && !up.Commit.Changed);
  EXPECT_EQ(up.ScrollValue, 1);
  EXPECT_EQ(Line(4).LineDate, Day(1960, 1, 5));
  // A stored 31 December 2035 keeps its year as well.
  SetEntryDate(Day(2035, 12, 31));
  Show(2);
  EXPECT_FALSE(fields.CommitDate(screen.Layout().DateText).Changed);
  EXPECT_EQ(Line(2).LineDate, Day(2035, 12, 31));
}

}  // namespace
}  // namespace qv
