#include "accounts/prepared_groups.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;

PostingLine Line(uint8_t side, double folio, double amount, std::string notes = "") {
  return {0, side, 0, Money(folio), Money(amount), std::move(notes)};
}

class PreparedGroupsTest : public ::testing::Test {
 protected:
  PreparedGroupsTest() {
    // Group 1: three prepared entries (2, 3 and 2 lines).
    books.PreparedGroups[0] = {Line(kDebit, 600, 100),         Line(kCredit, 110, 100, "Wages"),
                               Line(kDebit, 610, 50),          Line(kDebit, 620, 20),
                               Line(kCredit, 110, 70, "Rent"), Line(kDebit, 700, 5),
                               Line(kCredit, 110, 5, "Fees")};
    model.Load();
  }
  Books books = BookWithChart({{"Cash", 110, 0}, {"Wages", 600, 6}, {"Rent", 610, 6}});
  PreparedGroupsModel model{books};
  LocaleInfo locale = UsEnglishLocale();
  DaySerial today = Day(2026, 3, 15);
};

TEST_F(PreparedGroupsTest, IncludeAppendsTheEmptyEntryOfAFreshBookAndNumbersEachEntryOn) {
  // On a fresh book the group is the empty entry, dated today.
  Books fresh = NewBooks(Day(2026, 1, 1));
  PreparedGroupsModel freshModel(fresh);
  freshModel.Load();
  const IncludeResult done = freshModel.Include(true, Day(2026, 3, 15));
  ASSERT_TRUE(done.Done);
  EXPECT_EQ(std::pair(done.FirstLine, fresh.LastLineIndex()), std::pair(2, 3));
  EXPECT_EQ(fresh.PostingLines[2], (PostingLine{Day(2026, 3, 15), kDebit, 0, {}, {}, ""}));
  EXPECT_EQ(fresh.PostingLines[3], (PostingLine{Day(2026, 3, 15), kCredit, 0, {}, {}, "_"}));
  EXPECT_TRUE(fresh.EntryNumbers[2] == "2" && fresh.EntryNumbers[3] == "2");
  EXPECT_FALSE(CheckBooks(fresh).has_value());
  // Three prepared entries after number 41 are numbered 42, 43 and 44.
  AddEntry(books, Day(2026, 2, 1), "41", {{110, 1}}, {{600, 1}}, "x");
  const int32_t counter = books.EntryCounter;
  model.Focus(3);  // whichever entry is selected, the group goes whole
  ASSERT_TRUE(model.Include(true, today).Done);
  ASSERT_EQ(books.LastLineIndex(), 8);
  const char* numbers[] = {"42", "42", "43", "43", "43", "44", "44"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(books.EntryNumbers[static_cast<std::size_t>(i + 2)], numbers[i]) << i;
    EXPECT_EQ(books.PostingLines[static_cast<std::size_t>(i + 2)].LineDate, today);
  }
  EXPECT_EQ(books.EntryCounter, counter + 7);  // once per line

  // One entry: the selected one, whole, whichever of its lines has the focus.
  AddEntry(books, today, "", {{110, 1}}, {{600, 1}}, "unnumbered");
  const IncludeResult one = model.Include(false, today);
  EXPECT_EQ(one.LastLine - one.FirstLine, 2);
  EXPECT_EQ(books.PostingLines.back().Notes, "Rent");
  EXPECT_EQ(books.EntryNumbers[static_cast<std::size_t>(one.FirstLine)], "1");
  books.AutoTrackingNumbers = 0;
  model.Include(false, today);
  EXPECT_EQ(books.EntryNumbers.back(), "");
  EXPECT_FALSE(CheckBooks(books).has_value());
}

TEST_F(PreparedGroupsTest, TheSelectionIsAlwaysOneWholeEntry) {
  // After load: the first entry, whatever its size.
  books.PreparedGroups[2] = {Line(kDebit, 600, 1), Line(kDebit, 610, 1), Line(kDebit, 620, 1),
                             Line(kCredit, 110, 3, "Three")};
  model.SwitchGroup(2);
  EXPECT_EQ(model.Selection(), (EntryRange{0, 3}));
  model.SwitchGroup(0);
  EXPECT_EQ(model.Selection(), (EntryRange{0, 1}));
  model.Focus(3);
  EXPECT_EQ(model.Selection(), (EntryRange{2, 4}));
  // After a deletion: the last entry; the only entry is never deleted.
  ASSERT_TRUE(model.DeleteEntry());
  EXPECT_EQ(model.Selection(), (EntryRange{2, 3}));
  EXPECT_EQ(model.Lines()[3].Notes, "Fees");
  ASSERT_TRUE(model.DeleteEntry());
  EXPECT_FALSE(model.DeleteEntry());
  EXPECT_EQ(std::pair(model.Selection(), model.LastWorkLine()), std::pair(EntryRange{0, 1}, 1));
  // After a new entry: the new one.
  EXPECT_EQ(model.NewEntry(), 2);
  EXPECT_EQ(std::pair(model.Selection(), model.Lines()[3].Notes),
            std::pair(EntryRange{2, 3}, std::string("_")));
  model.Focus(99);
  EXPECT_EQ(model.FocusLine(), 3);
}

TEST_F(PreparedGroupsTest, SwitchingGroupsAndClosingKeepEveryGroupsEdits) {
  model.StoreAmount(0, "1,000.50", locale);
  EXPECT_EQ(model.Lines()[0].Amount, Money(1000.5));
  model.SwitchGroup(2);
  model.StoreNotes(1, "third group");
  model.SwitchGroup(0);
  EXPECT_EQ(model.Lines()[0].Amount, Money(1000.5));
  model.SwitchGroup(2);
  model.Store();  // the window closes on group 3
  model.Load();
  EXPECT_EQ(std::pair(model.CurrentGroup(), model.Lines()[0].Amount), std::pair(0, Money(1000.5)));
  EXPECT_EQ(books.PreparedGroups[2][1].Notes, "third group");
  // Blank notes stay an entry's end; an amount that is no number leaves the amount.
  model.StoreNotes(1, "  ");
  EXPECT_FALSE(model.StoreAmount(0, "1.2.3", locale));
  EXPECT_EQ(std::pair(model.Lines()[1].Notes, model.Lines()[0].Amount),
            std::pair(std::string("_"), Money(1000.5)));
}

// Showing the groups of a book from elsewhere (a group without lines, a name holding a NUL,
// two accounts of one name) and storing them back without an edit changes none of them.
TEST_F(PreparedGroupsTest, ShowingAndStoringWithoutAnEditLeavesTheGroupsAsTheyWere) {
  books.PreparedGroups[1].clear();
  books.GroupNames[2] = std::string("Pay\0run", 7);
  books.AccountNames[2] = "Cash";  // Wages, 600, is now a second "Cash"
  books.PreparedGroups[2] = {Line(kDebit, 600, 5), Line(kCredit, 110, 5, "Float")};
  const Books before = books;
  model.Load();
  EXPECT_EQ(model.Caption(2), "Pay run");
  model.SwitchGroup(1);
  EXPECT_EQ(model.Lines(), EmptyPreparedEntry()) << "shown as one empty entry";
  model.SwitchGroup(2);
  EXPECT_EQ(model.StoreAccountName(0, "Cash", locale), std::optional<std::string>("600"));
  model.SwitchGroup(0);
  model.Store();
  EXPECT_EQ(books.PreparedGroups, before.PreparedGroups);
  EXPECT_TRUE(books.GroupNames == before.GroupNames);
  // An entry typed into the empty group is stored.
  model.SwitchGroup(1);
  EXPECT_TRUE(model.StoreAmount(0, "7", locale));
  model.Store();
  EXPECT_EQ(books.PreparedGroups[1].size(), 2u);
}

TEST_F(PreparedGroupsTest, FoliosAndNamesFillEachOtherAndAddedLinesStandAboveTheFocusedOne) {
  EXPECT_EQ(model.StoreFolio(0, "610", locale), std::optional<std::string>("Rent"));
  EXPECT_EQ(model.StoreFolio(0, "999", locale), std::optional<std::string>(""));
  EXPECT_FALSE(model.StoreFolio(0, "1.2.3", locale).has_value());
  EXPECT_EQ(model.Lines()[0].LineFolio, Money(999));
  EXPECT_TRUE(model.FolioLeftMessage(0, "1.2.3", locale).has_value());
  books.AccountFolios[1] = Money(110.1);
  books.FolioDashes = -1;
  EXPECT_EQ(model.StoreAccountName(0, "Cash", locale), std::optional<std::string>("110-1"));
  EXPECT_FALSE(model.StoreAccountName(0, "Nobody", locale).has_value());
  EXPECT_EQ(model.Lines()[0].LineFolio, Money(110.1));
  const std::vector<PreparedRow> rows = model.Rows(0, 3, locale);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].FolioText, "110.1");  // the list shows folios plain
  EXPECT_TRUE(rows[0].SideLabel && rows[1].SideLabel && rows[1].NotesBox && rows[2].SideLabel);
  EXPECT_EQ(rows[1].NotesText, "Wages");
  // An added line stands above the focused one, up to thirty on a side.
  model.Focus(1);  // the credit line that carries the notes
  ASSERT_TRUE(model.AddLine(kCredit));
  EXPECT_EQ(model.Lines()[1], Line(kCredit, 0, 0));
  EXPECT_EQ(std::pair(model.Lines()[2].Notes, model.FocusLine()),
            std::pair(std::string("Wages"), 1));
  EXPECT_FALSE(model.AddLine(kDebit));  // only the focused line's side
  model.Focus(0);
  for (int k = 1; k < 29; ++k) ASSERT_TRUE(model.AddLine(kDebit));
  EXPECT_EQ(model.AddLineSide(), kDebit);  // 29 debit lines
  ASSERT_TRUE(model.AddLine(kDebit));
  EXPECT_EQ(model.AddLineSide(), 0);
  EXPECT_FALSE(model.AddLine(kDebit));
}

TEST_F(PreparedGroupsTest, CopyAndPasteRefuseMalformedTextsAndGroupNamesKeepTheirLength) {
  model.StoreNotes(1, "a\tb");
  EXPECT_EQ(model.CopyText(), "600\t\tWages\t100\t\r\n\t110\tCash\t100\tab\r\nQV");
  model.StoreNotes(1, "Wages");
  const std::vector<PostingLine> before = model.Lines();
  // "1,000.5" is no plain number.
  EXPECT_EQ(model.Paste("610\t\tRent\t1,000.5\t\r\n\t110\tCash\t1000.5\tx\r\nQV", locale).Result,
            PreparedPaste::Kind::Refused);
  for (const char* text : {"no marker", "QV"})
    EXPECT_EQ(model.Paste(text, locale).Result, PreparedPaste::Kind::NotAnEntry) << text;
  // Four fields, a text amount, a text folio, no folio at all.
  for (const char* text : {"610\t\tRent\t10\r\nQV", "610\t\tRent\tten\tx\r\nQV",
                           "abc\t\tRent\t10\tx\r\nQV", "\t\tRent\t10\tx\r\nQV"})
    EXPECT_EQ(model.Paste(text, locale).Result, PreparedPaste::Kind::Refused) << text;
  EXPECT_EQ(model.Lines(), before);
  std::string tooLong;
  for (int k = 0; k < 32; ++k) tooLong += "600\t\tWages\t1\t\r\n";
  tooLong += "\t110\tCash\t32\tx\r\nQV";
  EXPECT_EQ(model.Paste(tooLong, locale).Message,
            "The clipboard's entry has more than 31 lines on one side; nothing was pasted.");
  const PreparedPaste good =
      model.Paste("610\t\tRent\t10.5\t\r\n\t110\tCash\t10.5\tone~~two\r\nQV", locale);
  ASSERT_EQ(good.Result, PreparedPaste::Kind::Lines);
  EXPECT_EQ(model.LastWorkLine(), 8);
  EXPECT_EQ(std::pair(model.Lines()[8].Notes, model.Lines()[7].Amount),
            std::pair(std::string("one,two"), Money(10.5)));
  EXPECT_EQ(model.Selection(), (EntryRange{7, 8}));
  // Group names are trimmed, cleaned and held to their length.
  books.GroupNames[4] = std::string("Pay\0roll", 8);
  model.Load();
  EXPECT_EQ(model.Caption(4) + "|" + model.Caption(5), "Pay roll|Group 6...");
  model.SwitchGroup(5);
  EXPECT_EQ(model.NameBoxText(), "Group 6...");
  EXPECT_FALSE(model.StoreGroupName("  Wages  ").has_value());
  EXPECT_EQ(model.Caption(5) + "|" + books.GroupNames[5].Text(),
            "Wages|Wages" + std::string(115, ' '));
  EXPECT_TRUE(model.StoreGroupName(std::string(121, 'x')).has_value());
  EXPECT_EQ(books.GroupNames[5].TrimmedText(), "Wages");
  EXPECT_FALSE(model.StoreGroupName("").has_value());  // an empty caption until the next load
  EXPECT_EQ(model.Caption(5), "");
  model.Load();
  EXPECT_EQ(model.Caption(5), "Group 6...");
}

TEST_F(PreparedGroupsTest, IncludeRefusesLinesThatBreakTheJournalRules) {
  books.PreparedGroups[1] = {Line(kCredit, 110, 1), Line(kDebit, 600, 1, "backwards")};
  model.SwitchGroup(1);
  const int32_t last = books.LastLineIndex();
  const IncludeResult refused = model.Include(true, today);
  EXPECT_FALSE(refused.Done || refused.Message.empty());
  EXPECT_EQ(books.LastLineIndex(), last);
  // A group whose last line lost its notes still closes its entry in the journal.
  model.SwitchGroup(0);
  books.PreparedGroups[1] = {Line(kDebit, 600, 1), Line(kCredit, 110, 1)};
  model.SwitchGroup(1);
  ASSERT_TRUE(model.Include(true, today).Done);
  EXPECT_EQ(books.PostingLines.back().Notes, "_");
  EXPECT_FALSE(CheckBooks(books).has_value());
}

}  // namespace
}  // namespace qv
