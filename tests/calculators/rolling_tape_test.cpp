#include "calculators/rolling_tape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_codes.h"

namespace qv {
namespace {

// A calculator whose window shows rows 0 to 4.
class RollingTapeTest : public ::testing::Test {
 protected:
  RollingTapeTest() {
    tape.SetVisibleRows(4);
    tape.Clear();
  }

  std::string Value(std::size_t i) const {
    return PlainDecimalText(tape.List().RollValues.at(i).Value);
  }
  std::string Ops() const {
    return std::string(tape.List().RollOps.begin(), tape.List().RollOps.end());
  }
  int Size() const { return static_cast<int>(tape.List().RollValues.size()); }

  RollingTape tape{UsEnglishLocale()};
};

// The window's tests type the common cases; here the bottom row with elements below it.
TEST_F(RollingTapeTest, TheBottomRowMovesOneRowAndGrowsOnlyAtTheEndAndArrowsScroll) {
  tape.Paste("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7");
  const std::string ops = Ops();
  ASSERT_TRUE(tape.KeyPress(4, '9').Pass);
  tape.StoreTyped(4, "9");  // digits there leave every operator as it is
  EXPECT_EQ(Ops(), ops);
  tape.KeyPress(4, kCharEnter);
  EXPECT_EQ(tape.ScrollValue(), 1);
  tape.KeyPress(4, kCharEnter);
  EXPECT_EQ(tape.ScrollValue(), 2);
  EXPECT_EQ(Size(), 7);
  EXPECT_EQ(tape.KeyPress(4, '*').FocusRow, -1);  // at the end: a new element with "x"
  EXPECT_EQ(Size(), 8);
  EXPECT_EQ(tape.RowOperator(4), 'x');
  EXPECT_EQ(tape.RowText(4), "");
  // Arrows move between rows and scroll at the edges.
  int focus = 0;
  tape.SetScrollValue(0);
  EXPECT_TRUE(tape.KeyDown(4, kKeyDown, focus));
  EXPECT_EQ(std::pair(focus, tape.ScrollValue()), std::pair(-1, 1));
  EXPECT_TRUE(tape.KeyDown(2, kKeyDown, focus));
  EXPECT_EQ(focus, 3);
  EXPECT_TRUE(tape.KeyDown(0, kKeyUp, focus));
  EXPECT_TRUE(tape.KeyDown(0, kKeyUp, focus));  // already at the top
  EXPECT_EQ(tape.ScrollValue(), 0);
  EXPECT_FALSE(tape.KeyDown(0, kKeyLeft, focus));
  // The machine's symbols and H and I pass; other letters are dropped.
  EXPECT_TRUE(tape.KeyPress(0, ',').Pass);
  EXPECT_TRUE(tape.KeyPress(0, 'H').Pass);
  EXPECT_FALSE(tape.KeyPress(0, 'a').Pass);
}

TEST_F(RollingTapeTest, EveryNonZeroValueIsShownAndFailedTextsStayVisible) {
  tape.Paste("-5\r\n0\r\n1.5");
  tape.StoreTyped(2, "1.2.3");
  EXPECT_EQ(tape.Result(), "Error");
  EXPECT_EQ(tape.RowText(2), "1.2.3");
  EXPECT_EQ(tape.LeftText(2, "1.2.3"), "1.2.3");
  tape.StoreTyped(2, "");
  EXPECT_EQ(tape.Result(), "(5.00)");
  // Leaving a box writes its number as the rows do; 0 shows too while the box is not empty.
  tape.StoreTyped(1, "1,234.5");
  EXPECT_EQ(tape.LeftText(1, "1,234.5"), "1,234.50");
  tape.StoreTyped(1, "0");
  EXPECT_EQ(tape.LeftText(1, "0"), ".00");
  tape.SetDecimals(kVariableDecimals);
  EXPECT_EQ(tape.LeftText(0, "x"), "-5");
}

TEST_F(RollingTapeTest, AnEntryPastesAsDebitsAddedAndCreditsSubtracted) {
  const std::string entry =
      "110\t\tCash\t1250.5\t\r\n\t400\tSales\t1000\t\r\n\t410\tTax\t250.5\tSold\r\nQV";
  tape.Paste(entry);
  EXPECT_EQ(Ops(), "+--++");
  EXPECT_EQ(Value(0), "1250.5");
  EXPECT_EQ(tape.Result(), ".00");
}

TEST_F(RollingTapeTest, PastedListsReadEachLineBeforeItsFirstTab) {
  const std::pair<const char*, std::vector<const char*>> rows[] = {
      {"1,234.50", {"1234.5"}},
      {"12abc\r\n\r\n7\tx\t1", {"12", "0", "7"}},
      {"1\n2\n3\r\n", {"1", "2", "3", "0"}},
      {"1.5.2", {"1.5"}},
  };
  for (const auto& [text, values] : rows) {
    tape.Paste(text);
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(Value(i), values[i]) << text;
  }
  tape.Paste(std::string(40, '9'));
  EXPECT_EQ(tape.Result(), "Overflow");
}

TEST_F(RollingTapeTest, ResizingKeepsTheScrollValueInRange) {
  tape.Paste("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9");
  tape.SetScrollValue(100);
  EXPECT_EQ(tape.ScrollValue(), 4);
  tape.SetVisibleRows(6);
  EXPECT_EQ(tape.ScrollMax(), 2);
  EXPECT_EQ(tape.ScrollValue(), 2);
  tape.SetVisibleRows(12);  // the list grows to fill the rows
  EXPECT_EQ(Size(), 13);
  EXPECT_EQ(tape.ScrollMax(), 0);
  EXPECT_EQ(tape.RowOperator(12), '+');
}

TEST(RollingTapeWithoutGroupingTest, TypedHundredStoresHundred) {
  LocaleInfo locale = UsEnglishLocale();
  locale.GroupSymbol = "";  // as under the C locale: nothing is removed from what is typed
  RollingTape tape(locale);
  tape.SetVisibleRows(4);
  tape.Clear();
  for (const char* box : {"1", "10", "100"}) tape.StoreTyped(0, box);
  EXPECT_EQ(PlainDecimalText(tape.List().RollValues.at(0).Value), "100");
  EXPECT_EQ(tape.Result(), "100.00");
}

}  // namespace
}  // namespace qv
