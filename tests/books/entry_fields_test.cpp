#include "books/entry_fields.h"

#include <gtest/gtest.h>

#include "books/date_styles.h"
#include "books/entry_help.h"
#include "platform/string_table.h"
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

class EntryFieldsTest : public ::testing::Test {
 protected:
  EntryFieldsTest() {
    AddEntry(books, Day(2026, 3, 1), "1", {{110, 100}}, {{400, 100}}, "First");
    AddEntry(books, Day(2026, 3, 2), "2", {{110, 50}, {120, 20}}, {{400, 70}}, "Second");
    AddEntry(books, Day(2026, 3, 3), "3", {{110, 10}}, {{400, 5}, {410, 5}}, "Third");
  }
  // Shows the entry holding `line` and checks that the journal's rules still hold.
  void Show(int32_t line) { screen.ShowLine(line); }
  void ExpectJournalSound() { EXPECT_EQ(CheckBooks(books), std::nullopt); }
  const PostingLine& Line(int32_t i) const { return books.PostingLines[static_cast<size_t>(i)]; }

  Books books = testing::BookWithChart({{"Cash", 110, 0},
                                        {"Bank", 120, 0},
                                        {"Sales", 400, 5},
                                        {"Fees", 410, 5},
                                        {"Cash sub", 110.1, 0},
                                        {"capital", 300, 7}});
  LocaleInfo locale = UsEnglishLocale();
  FixedClock clock{Day(2026, 6, 15)};
  EntryScreen screen{books, locale};
  EntryFields fields{screen, clock};
};

// ---- Key filters.

TEST(EntryKeyFilters, AmountBoxesTakeDigitsTheLocalesSymbolsAndTheClipboardKeysOnly) {
  const LocaleInfo us = UsEnglishLocale();
  for (std::string_view key : {"0", "9", ",", ".", "\b", "\x03", "\x16"})
    EXPECT_TRUE(AmountKeyPasses(key, us)) << key;
  for (std::string_view key : {"-", "+", "a", "(", "\r", "\x18", " ", "e", ""})
    EXPECT_FALSE(AmountKeyPasses(key, us)) << key;
  // Where a blank groups the digits, the space bar types it.
  const LocaleInfo fr = FrenchLocale();
  EXPECT_TRUE(AmountKeyPasses(" ", fr));
  EXPECT_TRUE(AmountKeyPasses("\u202F", fr));
  EXPECT_TRUE(AmountKeyPasses(",", fr));
  EXPECT_FALSE(AmountKeyPasses(".", fr));
}

TEST(EntryKeyFilters, FolioBoxesTakeTheDecimalSymbolBesidesDashPointAndSlash) {
  const LocaleInfo us = UsEnglishLocale();
  for (std::string_view key : {"-", ".", "/", "0", "9", "\b"})
    EXPECT_TRUE(FolioKeyPasses(key, us)) << key;
  for (std::string_view key : {",", "a", "+", " ", "\x03", "\x16", "\r"})
    EXPECT_FALSE(FolioKeyPasses(key, us)) << key;
  EXPECT_TRUE(FolioKeyPasses(",", GermanLocale()));
}

TEST(EntryKeyFilters, TheDateBoxRefusesThePointEvenWhereDatesAreWrittenWithIt) {
  for (std::string_view key : {"-", "/", "0", "9", "\b"}) EXPECT_TRUE(DateKeyPasses(key)) << key;
  for (std::string_view key : {".", ",", "a", " ", "\x16"}) EXPECT_FALSE(DateKeyPasses(key)) << key;
  EXPECT_FALSE(AccountNameKeyDownPasses(37));
  EXPECT_FALSE(AccountNameKeyDownPasses(39));
  EXPECT_TRUE(AccountNameKeyDownPasses(40));
}

// ---- Reading typed numbers.

TEST(TypedAmounts, FollowTheLocalesGroupingAndDecimalSymbols) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(ReadTypedAmount("1,234.50", us), (TypedAmount{TypedAmountKind::Value, Money(1234.5)}));
  EXPECT_EQ(ReadTypedAmount("", us).Kind, TypedAmountKind::Empty);
  EXPECT_EQ(ReadTypedAmount("  ", us).Kind, TypedAmountKind::Empty);
  EXPECT_EQ(ReadTypedAmount(".5", us).Value, Money(0.5));
  EXPECT_EQ(ReadTypedAmount("7.", us).Value, Money(7));
  for (std::string_view bad :
       {"1.2.3", ".", ",", "abc", "-50", "(50)", "+5", "1.5,0", "1e3", "$5", "5 0"})
    EXPECT_EQ(ReadTypedAmount(bad, us).Kind, TypedAmountKind::Unreadable) << bad;

  const LocaleInfo de = GermanLocale();
  EXPECT_EQ(ReadTypedAmount("1.234,50", de).Value, Money(1234.5));
  EXPECT_EQ(ReadTypedAmount("12,5", de).Value, Money(12.5));
  EXPECT_EQ(ReadTypedAmount("1,2,3", de).Kind, TypedAmountKind::Unreadable);

  const LocaleInfo fr = FrenchLocale();
  EXPECT_EQ(ReadTypedAmount("1 234,5", fr).Value, Money(1234.5));
  EXPECT_EQ(ReadTypedAmount("1\u202F234,5", fr).Value, Money(1234.5));
}

TEST(TypedAmounts, RoundToFourDecimalsHalvesToEvenAndReportValuesOutOfRange) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(ReadTypedAmount("0.00005", us).Value, Money(0));
  EXPECT_EQ(ReadTypedAmount("0.00015", us).Value, Money(0.0002));
  EXPECT_EQ(ReadTypedAmount("0.000151", us).Value, Money(0.0002));
  EXPECT_EQ(ReadTypedAmount("922,337,203,685,477.5807", us).Value, Amount::Max());
  EXPECT_EQ(ReadTypedAmount("922337203685477.5808", us).Kind, TypedAmountKind::OutOfRange);
  EXPECT_EQ(ReadTypedAmount("99999999999999999999999", us).Kind, TypedAmountKind::OutOfRange);
  EXPECT_EQ(ReadTypedAmount("0000", us).Value, Money(0));
}

TEST(FolioTexts, ReadDashPointAndTheLocalesDecimalSymbolAsTheDecimalPoint) {
  const LocaleInfo us = UsEnglishLocale();
  EXPECT_EQ(ReadFolioText("110-1", us), Money(110.1));
  EXPECT_EQ(ReadFolioText("110.1", us), Money(110.1));
  EXPECT_EQ(ReadFolioText("", us), Money(0));
  EXPECT_EQ(ReadFolioText("-5", us), Money(0.5));
  EXPECT_EQ(ReadFolioText("110-1-2", us), Money(110.1));
  EXPECT_EQ(ReadFolioText("110/2", us), Money(110));
  EXPECT_EQ(ReadFolioText("110,1", us), Money(110));
  const LocaleInfo de = GermanLocale();
  EXPECT_EQ(ReadFolioText("110,1", de), Money(110.1));
  EXPECT_EQ(ReadFolioText("110-1", de), Money(110.1));
  EXPECT_EQ(ReadFolioText("110.1", de), Money(110.1));
}

// ---- Type-ahead.

TEST(TypeAhead, CompletesTheFirstItemThatStartsWithTheTypedPrefixIgnoringCase) {
  const std::vector<std::string> items = {"Balance b/f", "Cash", "Capital", "Bank", "Éclair"};
  TypeAheadResult r = ComboTypeAhead(items, "c", 1, 0, "a");
  EXPECT_FALSE(r.KeyPasses);
  ASSERT_TRUE(r.Found);
  EXPECT_EQ(r.Item, 1);
  EXPECT_EQ(r.Text, "Cash");
  EXPECT_EQ(r.SelectionStart, 2u);
  EXPECT_EQ(r.SelectionLength, 2u);

  // With "Cash" shown and "sh" selected, "p" makes the prefix "Cap".
  r = ComboTypeAhead(items, "Cash", 2, 2, "p");
  EXPECT_EQ(r.Text, "Capital");
  EXPECT_EQ(r.SelectionStart, 3u);
  EXPECT_EQ(r.SelectionLength, 4u);

  // A key that begins no item is swallowed and changes nothing.
  r = ComboTypeAhead(items, "Cash", 2, 2, "x");
  EXPECT_FALSE(r.KeyPasses);
  EXPECT_FALSE(r.Found);

  // Backspace and Enter reach the box.
  EXPECT_TRUE(ComboTypeAhead(items, "Cash", 2, 2, "\b").KeyPasses);
  EXPECT_TRUE(ComboTypeAhead(items, "Cash", 2, 2, "\r").KeyPasses);

  // Positions count characters, not bytes.
  r = ComboTypeAhead(items, "", 0, 0, "é");
  EXPECT_EQ(r.Text, "Éclair");
  EXPECT_EQ(r.SelectionStart, 1u);
  EXPECT_EQ(r.SelectionLength, 5u);
}

// ---- Amount boxes.

TEST_F(EntryFieldsTest, TypedAmountsGoToTheRowsLineAndRetotalTheEntry) {
  Show(2);
  auto store = fields.StoreAmount(kDebit, 1, "1,234.50");
  EXPECT_TRUE(store.Stored);
  EXPECT_EQ(Line(3).Amount, Money(1234.5));
  EXPECT_EQ(screen.EntryDebitTotal(), Money(1284.5));
  EXPECT_NE(store.Status.Text.find("1,284.50"), std::string::npos);
  EXPECT_EQ(store.Status.Color, kRed);

  store = fields.StoreAmount(kCredit, 0, "");
  EXPECT_TRUE(store.Stored);
  EXPECT_EQ(Line(4).Amount, Money(0));

  // Unreadable texts (letters, a sign, parentheses) leave the amount and still retotal.
  for (std::string_view bad : {"abc", "-50", "(50)", "1.2.3", "."}) {
    store = fields.StoreAmount(kDebit, 1, bad);
    EXPECT_FALSE(store.Stored) << bad;
    EXPECT_EQ(Line(3).Amount, Money(1234.5)) << bad;
    EXPECT_NE(store.Status.Text.find(Str(150)), std::string::npos);
  }
  ExpectJournalSound();
}

TEST_F(EntryFieldsTest, AmountsOnACommaLocaleReadTheCommaAsTheDecimalSymbol) {
  const LocaleInfo de = GermanLocale();
  EntryScreen germanScreen{books, de};
  EntryFields german{germanScreen, clock};
  germanScreen.ShowLine(0);
  EXPECT_TRUE(german.StoreAmount(kDebit, 0, "1.234,5").Stored);
  EXPECT_EQ(Line(0).Amount, Money(1234.5));
  EXPECT_FALSE(german.StoreAmount(kDebit, 0, "1,2,3").Stored);
  EXPECT_EQ(Line(0).Amount, Money(1234.5));
}

TEST_F(EntryFieldsTest, AnAmountOrTotalOutOfRangeIsRefusedWithAMessage) {
  Show(0);
  auto store = fields.StoreAmount(kDebit, 0, "922337203685478");
  EXPECT_FALSE(store.Stored);
  EXPECT_EQ(store.Status.Text, kAmountOutOfRangeText);
  EXPECT_EQ(store.Status.Color, kRed);
  EXPECT_EQ(Line(0).Amount, Money(100));

  // Ten amounts of 99,999,999,999,999 cannot be totalled: the tenth is refused.
  AddEntry(books, Day(2026, 3, 4), "4",
           {{110, 0}, {110, 0}, {110, 0}, {110, 0}, {110, 0}, {110, 0}, {110, 0}, {110, 0},
            {110, 0}, {110, 0}},
           {{400, 0}}, "Large");
  Show(books.LastLineIndex());
  int stored = 0;
  for (int row = 0; row < 10; ++row) {
    store = fields.StoreAmount(kDebit, row, "99,999,999,999,999");
    stored += store.Stored ? 1 : 0;
  }
  EXPECT_EQ(stored, 9);
  EXPECT_EQ(store.Status.Text, kTotalsOutOfRangeText);
  EXPECT_EQ(Line(screen.LineOfDebitRow(9)).Amount, Money(0));
  ExpectJournalSound();
}

// ---- Folio boxes and account lists.

TEST_F(EntryFieldsTest, ATypedFolioIsStoredAndNamesItsAccount) {
  Show(2);
  EXPECT_EQ(fields.StoreFolio(kDebit, 1, "110-1"), "Cash sub");
  EXPECT_EQ(Line(3).LineFolio, Money(110.1));
  EXPECT_EQ(fields.FolioLeftMessage("110-1"), std::nullopt);

  EXPECT_EQ(fields.StoreFolio(kCredit, 0, "999"), "");
  EXPECT_EQ(Line(4).LineFolio, Money(999));
  EXPECT_EQ(fields.FolioLeftMessage("999"), "999 : " + Str(291));
  EXPECT_EQ(Str(291), "This account does not exists...");

  EXPECT_EQ(fields.StoreFolio(kCredit, 0, ""), "");
  EXPECT_EQ(Line(4).LineFolio, Money(0));
  EXPECT_EQ(fields.FolioLeftMessage(""), std::nullopt);
  EXPECT_EQ(fields.FolioLeftMessage("-"), std::nullopt);
  ExpectJournalSound();
}

TEST_F(EntryFieldsTest, AFolioOnACommaLocaleReadsBackAsTheFolioItShows) {
  const LocaleInfo de = GermanLocale();
  EntryScreen germanScreen{books, de};
  EntryFields german{germanScreen, clock};
  books.PostingLines[0].LineFolio = Money(110.1);
  germanScreen.ShowLine(0);
  const std::string shown = germanScreen.Layout().Debit[0].FolioText;
  EXPECT_EQ(shown, "110,1");
  EXPECT_EQ(german.StoreFolio(kDebit, 0, shown), "Cash sub");
  EXPECT_EQ(Line(0).LineFolio, Money(110.1));
  books.FolioDashes = -1;
  EXPECT_EQ(german.CommitAccountName(kDebit, 0, "Cash sub"), "110-1");
}

TEST_F(EntryFieldsTest, ChoosingAnAccountByNameStoresItsFolio) {
  Show(0);
  EXPECT_EQ(fields.CommitAccountName(kCredit, 0, "Fees"), "410");
  EXPECT_EQ(Line(1).LineFolio, Money(410));
  // Names match exactly: a partial or differently cased name changes nothing.
  EXPECT_EQ(fields.CommitAccountName(kCredit, 0, "Fe"), std::nullopt);
  EXPECT_EQ(fields.CommitAccountName(kCredit, 0, "fees"), std::nullopt);
  EXPECT_EQ(Line(1).LineFolio, Money(410));

  EXPECT_EQ(EntryFields::AccountChosenStatus(kDebit, "Cash").Text, Str(162) + " Cash");
  EXPECT_EQ(EntryFields::AccountChosenStatus(kCredit, "Cash"), StatusChange{});
  EXPECT_EQ(EntryFields::AccountKeyUpStatus(kCredit), (StatusChange{Str(163) + " ", kRed}));
  EXPECT_EQ(EntryFields::AccountKeyUpStatus(kDebit), (StatusChange{std::nullopt, kBlack}));
}

TEST_F(EntryFieldsTest, TypeAheadOverTheAccountListCommitsTheAccountAtOnce) {
  Show(0);
  const std::vector<std::string> names = AccountListNames(books);
  const TypeAheadResult r = ComboTypeAhead(names, "c", 1, 0, "A");
  ASSERT_TRUE(r.Found);
  EXPECT_EQ(r.Text, "Cash");
  EXPECT_EQ(fields.CommitAccountName(kDebit, 0, r.Text), "110");
  EXPECT_EQ(Line(0).LineFolio, Money(110));
}

// ---- Rows write only to the line they show.

TEST_F(EntryFieldsTest, RowsWriteOnlyTheirOwnLineOfTheShownEntry) {
  Show(2);
  // Rows beyond the entry take no input.
  EXPECT_EQ(fields.WritableLine(kDebit, 2), -1);
  EXPECT_EQ(fields.StoreFolio(kCredit, 1, "120"), std::nullopt);
  EXPECT_FALSE(fields.StoreAmount(kCredit, 1, "5").Stored);

  // A journal changed under the screen (bounds no longer one entry) takes no input.
  books.PostingLines[2].Notes = "Split";
  EXPECT_FALSE(fields.ShownEntryIntact());
  EXPECT_FALSE(fields.StoreAmount(kDebit, 0, "5").Stored);
  EXPECT_FALSE(fields.StoreNotes("x"));
  EXPECT_FALSE(fields.CommitDate("1/1/26").Changed);
  books.PostingLines[2].Notes.clear();

  // An entry without a credit line (read from a broken source): its credit row stands for
  // no line and never reaches the next entry.
  books.PostingLines[4].Side = kDebit;
  Show(2);
  EXPECT_EQ(fields.WritableLine(kCredit, 0), -1);
  EXPECT_FALSE(fields.StoreAmount(kCredit, 0, "5").Stored);
  EXPECT_EQ(Line(5).Amount, Money(10));
}

TEST_F(EntryFieldsTest, ReadOnlyEntriesTakeNoEditsAtAll) {
  for (int i = 0; i < 20; ++i) AddEntry(books, Day(2026, 4, 1), "X", {{110, 1}}, {{400, 1}});
  books.AdminPassword = "boss";
  Show(2);
  ASSERT_TRUE(screen.ReadOnly());
  const Books before = books;
  EXPECT_FALSE(fields.StoreAmount(kDebit, 0, "5").Stored);
  EXPECT_EQ(fields.StoreFolio(kDebit, 1, "120"), std::nullopt);
  EXPECT_EQ(fields.CommitAccountName(kDebit, 1, "Cash"), std::nullopt);
  EXPECT_FALSE(fields.StoreNotes("changed"));
  const auto commit = fields.CommitDate("1/2/26");
  EXPECT_FALSE(commit.Changed);
  EXPECT_EQ(commit.Text, "3/2/26");
  EXPECT_EQ(books.PostingLines, before.PostingLines);
}

// ---- Notes.

TEST_F(EntryFieldsTest, NotesAreStoredTrimmedOnTheEntrysLastLine) {
  Show(2);
  EXPECT_TRUE(fields.StoreNotes("  Paid in cash  "));
  EXPECT_EQ(Line(4).Notes, "Paid in cash");
  EXPECT_TRUE(fields.StoreNotes("   "));
  EXPECT_EQ(Line(4).Notes, "_");
  EXPECT_TRUE(fields.StoreNotes("two\r\nlines"));
  EXPECT_EQ(Line(4).Notes, "two  lines");
  EXPECT_EQ(Line(2).Notes, "");
  EXPECT_TRUE(fields.StoreNotes(std::string(40000, 'n')));
  EXPECT_EQ(Line(4).Notes.size(), kMaxNotesLength);
  ExpectJournalSound();
}

// ---- The date box.

TEST_F(EntryFieldsTest, ATypedDateGoesToEveryLineOfTheEntry) {
  Show(2);
  const auto commit = fields.CommitDate("4/5/26");
  EXPECT_TRUE(commit.Changed);
  EXPECT_FALSE(commit.InvalidDate);
  EXPECT_EQ(commit.Text, "4/5/26");
  for (int32_t i = 2; i <= 4; ++i) EXPECT_EQ(Line(i).LineDate, Day(2026, 4, 5));
  EXPECT_EQ(Line(1).LineDate, Day(2026, 3, 1));
  ExpectJournalSound();
}

TEST_F(EntryFieldsTest, AnUnreadableDateGivesTodayAndAsksForTheMessage) {
  Show(2);
  for (std::string_view bad : {"31/31/26", "abc", "12/30/1899", ""}) {
    const auto commit = fields.CommitDate(bad);
    EXPECT_TRUE(commit.InvalidDate) << bad;
    EXPECT_EQ(Line(3).LineDate, clock.Today()) << bad;
    EXPECT_EQ(commit.Text, "6/15/26");
  }
  ExpectJournalSound();
}

TEST_F(EntryFieldsTest, ADateBoxLeftUneditedNeverChangesTheDate) {
  // A date outside the two-digit-year window: read back, "5/1/60" would be 2060.
  books.DateStyleIndex = kDdMmYySlash;
  for (int32_t i = 2; i <= 4; ++i)
    books.PostingLines[static_cast<size_t>(i)].LineDate = Day(1960, 1, 5);
  Show(2);
  const std::string shown = screen.Layout().DateText;
  EXPECT_EQ(shown, "05/01/60");
  EXPECT_TRUE(fields.DateTextUnedited(shown));
  const auto commit = fields.CommitDate(shown);
  EXPECT_FALSE(commit.Changed);
  EXPECT_EQ(commit.Text, shown);
  EXPECT_EQ(Line(2).LineDate, Day(1960, 1, 5));
  // Up and Down commit the same way and step to the neighbouring entry.
  const auto up = fields.DateKeyDown(38, shown);
  EXPECT_TRUE(up.Handled);
  EXPECT_FALSE(up.Commit.Changed);
  EXPECT_EQ(up.ScrollValue, 1);
  EXPECT_EQ(Line(4).LineDate, Day(1960, 1, 5));
  // A stored 31 December 2035 keeps its year as well.
  for (int32_t i = 2; i <= 4; ++i)
    books.PostingLines[static_cast<size_t>(i)].LineDate = Day(2035, 12, 31);
  Show(2);
  EXPECT_FALSE(fields.CommitDate(screen.Layout().DateText).Changed);
  EXPECT_EQ(Line(2).LineDate, Day(2035, 12, 31));
}

TEST_F(EntryFieldsTest, UpAndDownInTheDateBoxCommitThenLeaveTheEntry) {
  Show(2);
  const auto down = fields.DateKeyDown(40, "4/9/26");
  EXPECT_TRUE(down.Handled);
  EXPECT_TRUE(down.Commit.Changed);
  EXPECT_EQ(down.ScrollValue, 5);
  EXPECT_EQ(Line(4).LineDate, Day(2026, 4, 9));
  Show(0);
  EXPECT_EQ(fields.DateKeyDown(38, "3/1/26").ScrollValue, -1);
  EXPECT_FALSE(fields.DateKeyDown(37, "9/9/26").Handled);
  EXPECT_EQ(Line(0).LineDate, Day(2026, 3, 1));
}

// ---- Help cards.

TEST(EntryHelpCards, CarryTheFieldsTitlesAndTheReconcileBoxCaption) {
  EXPECT_EQ(EntryHelp(EntryHelpTopic::Folio).Title, "Account / Folio Number");
  EXPECT_EQ(EntryHelp(EntryHelpTopic::Reconcile).Title, "Reconcile Any Account");
  EXPECT_TRUE(EntryHelp(EntryHelpTopic::Amount).Text.ends_with(".\r\n\r\n"));
  for (auto topic :
       {EntryHelpTopic::Notes, EntryHelpTopic::AccountName, EntryHelpTopic::Date,
        EntryHelpTopic::NewEntry, EntryHelpTopic::CompoundEntries, EntryHelpTopic::DeleteEntry})
    EXPECT_FALSE(EntryHelp(topic).Text.empty());
}

}  // namespace
}  // namespace qv
