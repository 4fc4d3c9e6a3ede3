#include "books/entry_clipboard_qt.h"

#include <gtest/gtest.h>

#include "platform/clipboard_qt.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

TEST(EntryClipboardQt, CopyAndPasteGoThroughTheSystemClipboard) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"Sales", 400, 5}});
  testing::AddEntry(books, Day(2026, 2, 3), "7", {{110, 100}}, {{400, 100}}, "Till");

  SetClipboardText("left by another program");
  CopyEntryToClipboard(books, EntryBounds(books, 0));
  EXPECT_EQ(ClipboardText(), "110\t\tCash\t100\t\r\n\t400\tSales\t100\tTill\r\nQV");

  const auto where = PasteEntryFromClipboard(books, UsEnglishLocale(), Day(2026, 5, 17));
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(*where, (PastedEntry{2, 3}));
  EXPECT_EQ(books.PostingLines[3].Amount, Money(100));
  EXPECT_EQ(books.EntryNumbers[3].TrimmedText(), "8");

  ClearClipboard();
  EXPECT_FALSE(PasteEntryFromClipboard(books, UsEnglishLocale(), Day(2026, 5, 17)).has_value());
  EXPECT_EQ(books.LastLineIndex(), 3);
}

}  // namespace
}  // namespace qv
