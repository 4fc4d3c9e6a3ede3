// A year recorded in the main window with the keyboard alone: twelve entries of different
// shapes, saved with Ctrl+S, reopened with Ctrl+O, and found line by line as typed.

#include "tests/app/typed_entries_qt.h"

namespace qv::testing {
namespace {

const char* const kYear[] = {
    "inv101|1/31/2026|120 1,250.50|=sa 400 1,250.50|Invoice 101 Harbor Cafe",
    "p201|2/28/2026|500 640|110 640|Stock from Mills and Co",
    "w301|3/31/2026|600 2,000|110 1,700;210 300|March wages",
    "r102|4/30/2026|=ca 110 1,250.50|=acc 120 1,250.50|Harbor Cafe paid",
    "inv102|5/29/2026|110 980|400 980|Counter sales May",
    "p202|6/30/2026|500 455.25|110 sum|Stock",
    "w302|7/31/2026|600 1,500|110 1,500|July wages",
    "inv103|8/31/2026|120 2,310|400 2,310|Invoice 103 Bay Hotel",
    "e401|9/30/2026|610 900|110 900|Rent September",
    "r103|10/30/2026|110 2,310|120 2,310|Bay Hotel paid",
    "p203|11/30/2026|500 1,020.75|110 1,020.75|Stock from Mills and Co",
    "w303|12/31/2026|600 1,500;610 300|110 1,800|Wages and rent December",
};

Books OpeningBook() {
  Books books = BookWithChart({{"Cash at Bank", 110, 0},
                               {"Accounts Receivable", 120, 0},
                               {"PAYG Withholding", 210, 1},
                               {"Capital", 300, 2},
                               {"Sales", 400, 3},
                               {"Purchases", 500, 4},
                               {"Wages", 600, 5},
                               {"Rent", 610, 5}});
  AddEntry(books, Day(2026, 1, 1), "OB", {{110, 10000}}, {{300, 10000}}, "Opening balance");
  return books;
}

TEST_F(MainWindowTest, TwelveEntriesTypedWithKeysAloneAreSavedAndReopenedAsTyped) {
  StartOn(OpeningBook());
  PromptAnswerer prompts;  // any message box on the way fails the test
  std::vector<TypedEntry> year;
  Books expected = OpeningBook();
  for (const char* text : kYear) {
    year.push_back(EntryOf(text));
    Record(*w, year.back());
    if (HasFatalFailure()) return;
    AppendTyped(expected, year.back());
  }
  SaveAndReopen();
  ASSERT_EQ(p.requests.size(), 1u) << "saved to the book's own file, asked only for the open";
  ExpectSameLines(books(), expected);
  EXPECT_FALSE(CheckBooks(books()).has_value());
  // Paged through with Down, the window shows every entry as it was typed.
  w->ScrollAcc->setFocus();
  for (const TypedEntry& e : year) {
    Press(Qt::Key_Down);
    EXPECT_EQ(w->JournalID->text(), e.number.toUpper());
    EXPECT_EQ(w->AccNote->text(), e.notes);
  }
}

}  // namespace
}  // namespace qv::testing
