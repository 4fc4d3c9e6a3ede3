#include "accounts/configuration.h"

#include <gtest/gtest.h>

#include "books/date_styles.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;

TEST(ConfigurationTest, CharacterSetsGoByNameAndNumberInTheListsOrder) {
  EXPECT_EQ(CharsetNumberOf("Baltic"), std::optional<int16_t>(186));
  EXPECT_EQ(CharsetNameOf(186), std::optional<std::string_view>("Baltic"));
  EXPECT_FALSE(CharsetNumberOf("Martian").has_value());
  EXPECT_FALSE(CharsetNameOf(77).has_value());
  const FontFacts greekAndWestern{"Old Face", false, true, {0, 161}};
  EXPECT_EQ(ListedCharsets(greekAndWestern), (std::vector<std::string>{"Greek", "Western"}));
  EXPECT_EQ(ChosenFontCharset(greekAndWestern), std::optional<int16_t>(0));
  EXPECT_EQ(ChosenFontCharset({"Greek Only", false, true, {161}}), std::optional<int16_t>(161));
  EXPECT_FALSE(ChosenFontCharset({"Nothing", false, true, {}}).has_value());
  EXPECT_EQ(ListedFonts({{"Sans", false, true, {0}},
                         {"Dingbats", true, true, {}},
                         {"Big Only", false, false, {0}}}),
            std::vector<std::string>{"Sans"});
}

TEST(ConfigurationTest, ListsShowTheLocalesDecimalSymbolAndTodayInEveryStyle) {
  EXPECT_EQ(DecimalCaption(0, ","), "0");
  EXPECT_EQ(DecimalCaption(3, ","), "0,000");
  EXPECT_EQ(DecimalCaption(2, "."), "0.00");
  const LocaleInfo us = UsEnglishLocale();
  const std::vector<std::string> items = DateStyleItems(Day(2026, 3, 5), us);
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items[0], "Default");
  EXPECT_EQ(items[1], "05/03/26");
  EXPECT_EQ(items[8], "03-05-2026");
}

TEST(ConfigurationTest, ChangesGoIntoTheBookAtOnceAndLoadingMendsOutOfRangeValues) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.DateStyleIndex = 12;
  books.LedgerDecimals = 9;
  books.BalanceSheetDecimals = -1;
  books.AutoTrackingNumbers = 5;
  books.FontCharset = 161;
  ConfigurationModel config(books);
  config.Load();
  EXPECT_EQ(books.DateStyleIndex, 0);
  EXPECT_EQ(books.LedgerDecimals, 2);
  EXPECT_EQ(books.BalanceSheetDecimals, 0);
  EXPECT_EQ(books.AutoTrackingNumbers, 0);
  EXPECT_EQ(books.FontCharset, 161);  // opening changes no character set
  EXPECT_EQ(config.CharsetName(), std::optional<std::string_view>("Greek"));

  config.SetBusinessAddress("1 Quay St\nPort Town");
  EXPECT_EQ(books.BusinessAddress, "1 Quay St\r\nPort Town");
  EXPECT_EQ(config.BusinessAddressText(), "1 Quay St\nPort Town");
  config.SetAdminPassword("");
  EXPECT_EQ(books.AdminPassword, "");
  config.SetDecimals(DecimalsKind::IncomeStatement, 3);
  config.SetDecimals(DecimalsKind::Journals, 7);
  EXPECT_EQ(books.IncomeDecimals, 3);
  EXPECT_EQ(books.JournalDecimals, 2);
  config.SetDateStyle(5);
  config.SetDateStyle(9);
  EXPECT_EQ(books.DateStyleIndex, 5);
  config.ChooseCharset("Baltic");
  EXPECT_EQ(books.FontCharset, 186);
  config.ChooseCharset("Martian");
  EXPECT_EQ(books.FontCharset, 186);
  config.ChooseFont({"Greek Only", false, true, {161}});
  EXPECT_EQ(books.FontName, "Greek Only");
  EXPECT_EQ(books.FontCharset, 161);
}

}  // namespace
}  // namespace qv
