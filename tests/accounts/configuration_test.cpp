#include "accounts/configuration.h"

#include <gtest/gtest.h>

#include "books/date_styles.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

// (The window's tests show Baltic for 186, choose it, and list no symbol font.)
TEST(ConfigurationTest, CharacterSetsFollowTheFontsAndChangesGoIntoTheBookAtOnce) {
  EXPECT_FALSE(CharsetNumberOf("Martian").has_value() || CharsetNameOf(77).has_value());
  const FontFacts greekAndWestern{"Old Face", false, true, {0, 161}};
  EXPECT_EQ(ListedCharsets(greekAndWestern), (std::vector<std::string>{"Greek", "Western"}));
  EXPECT_EQ(ChosenFontCharset(greekAndWestern), std::optional<int16_t>(0));
  EXPECT_EQ(ChosenFontCharset({"Greek Only", false, true, {161}}), std::optional<int16_t>(161));
  EXPECT_FALSE(ChosenFontCharset({"Nothing", false, true, {}}).has_value());
  EXPECT_EQ(ListedFonts({{"Sans", false, true, {0}}, {"Big Only", false, false, {0}}}),
            std::vector<std::string>{"Sans"});
  // Changes go into the book at once; out-of-range values are shown mended, and showing
  // them changes nothing in the book.
  Books books = NewBooks(Day(2026, 1, 1));
  books.DateStyleIndex = 12;
  books.LedgerDecimals = 9;
  books.BalanceSheetDecimals = -1;
  books.AutoTrackingNumbers = -1;
  books.FontCharset = 161;
  const Books before = books;
  ConfigurationModel config(books);
  EXPECT_EQ(std::tuple(config.DateStyle(), config.Decimals(DecimalsKind::Ledgers),
                       config.Decimals(DecimalsKind::BalanceSheet), config.Tracking()),
            std::tuple(0, 2, 0, false));
  EXPECT_EQ(std::tuple(books.DateStyleIndex, books.LedgerDecimals, books.BalanceSheetDecimals,
                       books.AutoTrackingNumbers, books.FontCharset),
            std::tuple(before.DateStyleIndex, before.LedgerDecimals, before.BalanceSheetDecimals,
                       before.AutoTrackingNumbers, before.FontCharset));
  EXPECT_EQ(config.CharsetName(), std::optional<std::string_view>("Greek"));
  config.SetBusinessAddress("1 Quay St\nPort Town");
  EXPECT_EQ(books.BusinessAddress, "1 Quay St\r\nPort Town");
  EXPECT_EQ(config.BusinessAddressText(), "1 Quay St\nPort Town");
  config.SetDecimals(DecimalsKind::IncomeStatement, 3);
  config.SetDecimals(DecimalsKind::Journals, 7);
  EXPECT_EQ(std::pair(books.IncomeDecimals, books.JournalDecimals),  // 7 places are refused
            std::pair(int16_t{3}, int16_t{2}));
  config.SetDateStyle(5);
  config.SetDateStyle(9);
  EXPECT_EQ(books.DateStyleIndex, 5);
  config.ChooseCharset("Martian");  // (the window test chooses the known ones)
  EXPECT_EQ(books.FontCharset, 161);
}

}  // namespace
}  // namespace qv
