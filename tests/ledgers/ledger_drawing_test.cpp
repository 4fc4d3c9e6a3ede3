#include "ledgers/ledger_drawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "platform/page_layout.h"

#include "tests/ledgers/ledger_fixture.h"

namespace qv {
namespace {

using testing::Day;
using testing::LedgerFixture;
using testing::Money;

class LedgerDrawingTest : public ::testing::Test {
 protected:
  LedgerDrawingTest() : surface_(metrics_) {}

  LedgerSheet RunningBalance(const Books& books) {
    LedgerOptions options;
    options.Account = Money(110);
    options.From = Day(2025, 1, 1);
    options.To = Day(2025, 12, 31);
    return RunningBalanceSheet(
        std::make_shared<RunningBalanceView>(ComputeRunningBalance(books, options)), books,
        UsEnglishLocale());
  }

  FixedTextMetrics metrics_;  // 100 twips a character, 200 a line at 10 points
  DrawingSurface surface_;
};

TEST_F(LedgerDrawingTest, ColumnsStandApartAndTheStretchColumnTakesTheRoom) {
  const Books books = LedgerFixture();
  const LedgerSheet sheet = RunningBalance(books);
  const SheetLayout wide = LayoutSheet(surface_, sheet, 20000);
  ASSERT_EQ(wide.Left.size(), 6u);
  for (std::size_t c = 0; c < 6; ++c) {
    EXPECT_LT(wide.Left[c], wide.Right[c]);
    if (c > 0) {
      EXPECT_GT(wide.Left[c], wide.Right[c - 1]) << "column " << c;
    }
  }
  EXPECT_DOUBLE_EQ(wide.Width, 20000) << "the notes take what is left";
  const SheetLayout narrow = LayoutSheet(surface_, sheet, 5000);
  EXPECT_GT(narrow.Width, 5000) << "no column but the notes gives up room";
  EXPECT_LT(narrow.Right[2] - narrow.Left[2], wide.Right[2] - wide.Left[2]);
  EXPECT_EQ(ColumnAt(wide, wide.Left[3] + 10), 3);
  EXPECT_EQ(ColumnAt(wide, wide.Left[3] - kColumnGapTwips / 4), 3);
  EXPECT_EQ(ColumnAt(wide, 0), 0);
}

TEST_F(LedgerDrawingTest, DrawsOnlyTheRowsAskedForAlignedInTheirColumns) {
  Books books = LedgerFixture();
  books.PostingLines[4].Notes = std::string(200, 'n');  // the notes of entry 2, far too long
  const LedgerSheet sheet = RunningBalance(books);
  const SheetLayout layout = LayoutSheet(surface_, sheet, 12000);
  const double bottom = DrawSheetRows(surface_, sheet, layout, 1, 2, 1000);
  EXPECT_DOUBLE_EQ(bottom, 1000 + 2 * layout.RowHeight);
  const std::vector<TextOp> texts = surface_.Texts();
  ASSERT_EQ(texts.size(), 2u * 5) << "rows 1 and 2 only: date, number, notes, amount, balance";
  EXPECT_EQ(texts[0].Text, "1/5/25");
  EXPECT_DOUBLE_EQ(texts[0].X, layout.Left[0]);
  EXPECT_DOUBLE_EQ(texts[5].Y - texts[0].Y, layout.RowHeight);
  // The long notes are cut at their column; the amounts end at their columns' right edge.
  EXPECT_LE(texts[2].X + texts[2].Width, layout.Right[2]);
  EXPECT_GT(texts[2].Text.size(), 10u);
  EXPECT_DOUBLE_EQ(texts[3].X + texts[3].Width, layout.Right[3]);
  EXPECT_EQ(texts[4].Text, "1,500.00 Dr");
  EXPECT_DOUBLE_EQ(texts[4].X + texts[4].Width, layout.Right[5]);

  DrawingSurface message(metrics_);
  DrawSheetMessage(message, MessageSheet("No account named \"X\"."), 0);
  ASSERT_EQ(message.Texts().size(), 1u);
  EXPECT_EQ(message.Texts()[0].Text, "No account named \"X\".");
}

TEST_F(LedgerDrawingTest, ColumnsThatGiveWayShareTheCutWidestFirst) {
  // Two name columns as wide as each other (the T-account's sides) and an amount column.
  LedgerSheet sheet;
  sheet.Table.Columns = {TableColumn{"", CellAlign::kLeft}, TableColumn{"", CellAlign::kRight},
                         TableColumn{"", CellAlign::kLeft}};
  sheet.WidthSamples = {{std::string(30, 'a')}, {std::string(10, '9')}, {std::string(30, 'b')}};
  sheet.GiveWayColumns = {0, 2};
  auto widthOf = [](const SheetLayout& layout, std::size_t c) {
    return layout.Right[c] - layout.Left[c];
  };
  const SheetLayout whole = LayoutSheet(surface_, sheet, 1e6);
  const double name = widthOf(whole, 0), amount = widthOf(whole, 1);
  ASSERT_DOUBLE_EQ(widthOf(whole, 2), name);
  const SheetLayout even = LayoutSheet(surface_, sheet, whole.FullWidth - 1000);
  EXPECT_DOUBLE_EQ(even.Width, whole.FullWidth - 1000);
  EXPECT_DOUBLE_EQ(widthOf(even, 0), name - 500) << "equal columns give up equal room";
  EXPECT_DOUBLE_EQ(widthOf(even, 2), name - 500);
  EXPECT_DOUBLE_EQ(widthOf(even, 1), amount) << "the amounts keep their room";

  // The wider gives way alone until it is as narrow as the other, then both do.
  sheet.WidthSamples[0] = {std::string(40, 'a')};
  const SheetLayout wider = LayoutSheet(surface_, sheet, 1e6);
  const double extra = widthOf(wider, 0) - name;
  const SheetLayout uneven = LayoutSheet(surface_, sheet, wider.FullWidth - extra - 1000);
  EXPECT_DOUBLE_EQ(uneven.Width, wider.FullWidth - extra - 1000);
  EXPECT_DOUBLE_EQ(widthOf(uneven, 0), name - 500);
  EXPECT_DOUBLE_EQ(widthOf(uneven, 2), name - 500);
}

// On paper nothing is cut: a note too long for its column is broken into lines under it,
// after whole words where they fit and inside a word wider than the column, and its row
// grows to hold them. A page a rounding narrower than the sheet still holds it in one band.
TEST_F(LedgerDrawingTest, APrintoutBreaksALongNoteIntoLinesAndFitsAPageToAPixel) {
  Books books = LedgerFixture();
  std::string note;
  std::set<std::string> words;
  for (int k = 10; k < 40; ++k) note += *words.insert("w" + std::to_string(k)).first + " ";
  note += std::string(40, 'x');
  books.PostingLines[4].Notes = note;  // entry 2, the second and third rows
  const LedgerSheet sheet = RunningBalance(books);
  surface_.SetFont(SheetFont());
  const double full = LayoutSheet(surface_, sheet, 1e9).FullWidth;
  surface_.SetExtent({full, 1e6, full - 1e-9, 1e6});
  SheetPrintout printout(sheet);
  EXPECT_FALSE(printout.DrawPage(surface_, 0));
  const LaidOutPages laid =
      LayOutPages(surface_.Operations(),
                  PageArea{surface_.ScaleWidth(), surface_.ScaleHeight(), surface_.DevicePixel()});
  ASSERT_TRUE(laid.Fits);
  EXPECT_EQ(PageCountOf(laid.Ops), 1);

  const SheetLayout layout = LayoutSheet(surface_, sheet, full);
  std::vector<TextOp> lines;
  std::optional<TextOp> nextDate;
  for (const TextOp& text : surface_.Texts()) {
    EXPECT_EQ(text.Text.find("..."), std::string::npos) << text.Text;
    if (text.Text == "1/5/25" && !lines.empty() && !nextDate) nextDate = text;
    if (nextDate) continue;  // the second row holding the note
    if (text.Text.starts_with('w') || text.Text.starts_with('x')) lines.push_back(text);
  }
  ASSERT_GT(lines.size(), 5u);
  std::string joined, spaced;
  for (const TextOp& line : lines) {
    EXPECT_LE(line.X + line.Width, layout.Right[2]) << line.Text;
    EXPECT_DOUBLE_EQ(line.X, layout.Left[2]);
    joined += line.Text;
    if (line.Text.starts_with('w')) {
      std::istringstream in(line.Text);
      for (std::string word; in >> word;) EXPECT_TRUE(words.count(word)) << line.Text;
    }
  }
  std::erase(note, ' ');
  std::erase(joined, ' ');
  EXPECT_EQ(joined, note) << "every character once, in order";
  ASSERT_TRUE(nextDate.has_value());
  EXPECT_DOUBLE_EQ(nextDate->Y - lines.front().Y,
                   layout.RowHeight + static_cast<double>(lines.size() - 1) * lines[0].Height)
      << "the next row starts below the last line";
}

}  // namespace
}  // namespace qv
