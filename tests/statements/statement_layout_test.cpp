// The statements laid out on a recording surface with fixed text metrics (100 twips a
// character, 200 a line at 10 points): where the columns, rows and totals land.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "statements/balance_sheet_layout.h"
#include "statements/income_statement_layout.h"
#include "statements/statement_frame.h"
#include "statements/trial_balance_layout.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Day;
using testing::Money;

const FixedTextMetrics kMetrics;

StatementLook LookOf(const Books& books, int decimals) {
  StatementLook look = StatementLookOf(books, UsEnglishLocale(), decimals);
  look.WidestName = "Cash";
  return look;
}

std::vector<TextOp> TextsOf(const StatementDrawing& d) {
  std::vector<TextOp> texts;
  for (const DrawOp& op : d.Ops)
    if (const auto* t = std::get_if<TextOp>(&op)) texts.push_back(*t);
  return texts;
}

const TextOp* Find(const StatementDrawing& d, const std::string& text) {
  for (const DrawOp& op : d.Ops)
    if (const auto* t = std::get_if<TextOp>(&op); t && t->Text == text) return t;
  return nullptr;
}

double RightOf(const TextOp& t) { return t.X + t.Width; }

// No two texts on one line share any width.
void ExpectNoOverlap(const StatementDrawing& d) {
  const std::vector<TextOp> texts = TextsOf(d);
  for (std::size_t i = 0; i < texts.size(); ++i)
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      const TextOp &a = texts[i], &b = texts[j];
      if (a.Y != b.Y) continue;
      EXPECT_TRUE(RightOf(a) <= b.X || RightOf(b) <= a.X) << a.Text << " | " << b.Text;
    }
}

Books TrialBook() {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Petty Cash", 110.5, kCurrentAsset},
                                        {"Idle", 120, kCurrentAsset},
                                        {"Sales", 400, kRevenue},
                                        {"Rent", 600, kExpense}});
  AddEntry(books, Day(2026, 12, 5), "1", {{110, 500}, {110.5, 20}}, {{400, 520}});
  AddEntry(books, Day(2026, 12, 5), "2", {{600, 70}, {1, 5}}, {{110, 75}});
  AddEntry(books, Day(2026, 12, 5), "3", {{120, 9}}, {{120, 9}});  // idle: no balance
  return books;
}

TEST(TrialBalanceLayout, ColumnsShadingColoursAndTotalsAtWidth12000) {
  Books books = TrialBook();
  books.FolioDashes = -1;
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 12, 5), true});
  const StatementDrawing d = LayOutTrialBalance(tb, LookOf(books, 2), kMetrics, 12000, 1);
  // The three grey heading boxes, a margin apart, 4 screen pixels above the headings.
  const TextOp* accounts = Find(d, "Accounts");
  ASSERT_NE(accounts, nullptr);
  EXPECT_EQ(accounts->X, 240 + (6960 - accounts->Width) / 2);
  std::vector<std::string> boxes;
  for (const DrawOp& op : d.Ops)
    if (const auto* b = std::get_if<BoxOp>(&op))
      boxes.push_back(std::to_string(int(b->X1)) + ".." + std::to_string(int(b->X2)) +
                      (b->Filled && b->FillColor == 0xE0E0E0u ? " grey " : " ") +
                      std::to_string(int(b->Y1 - accounts->Y)) + ".." +
                      std::to_string(int(b->Y2 - accounts->Y)));
  EXPECT_EQ(boxes, (std::vector<std::string>{"240..6960 grey -60..300", "7200..9120 grey -60..300",
                                             "9360..11280 grey -60..300"}));
  // Rows with a balance only: Balance b/f in red, Cash and Petty Cash in the Debit column
  // (dashed folio), Sales in Credit; Idle shows nothing and does not break the shading.
  const std::tuple<std::string, std::string, std::string, double, ColorValue> rows[] = {
      {"1", "Balance b/f", "5.00", 9120, 0x0000FF},
      {"110", "Cash", "425.00", 9120, kBlack},
      {"110-5", "Petty Cash", "20.00", 9120, kBlack},
      {"400", "Sales", "520.00", 11280, kBlack},
      {"600", "Rent", "70.00", 9120, kBlack}};
  ASSERT_EQ(d.Rows.size(), std::size(rows));
  for (std::size_t k = 0; k < std::size(rows); ++k) {
    const auto& [folioText, nameText, amountText, right, color] = rows[k];
    const TextOp *folio = Find(d, folioText), *name = Find(d, nameText),
                 *amount = Find(d, amountText);
    ASSERT_TRUE(folio && name && amount) << nameText;
    EXPECT_EQ(std::pair(folio->X, name->X), std::pair(240.0, 1392.0));
    EXPECT_EQ(std::pair(RightOf(*amount), name->Color), std::pair(right, color)) << nameText;
    EXPECT_EQ(d.Rows[k].Bottom, name->Y + name->Height);
    const bool shaded = std::any_of(d.Ops.begin(), d.Ops.end(), [&](const DrawOp& op) {
      const auto* f = std::get_if<FilledBoxOp>(&op);
      return f && f->Y1 == name->Y;
    });
    EXPECT_EQ(shaded, k % 2 == 0) << nameText;
  }
  // TOTALS at 20 screen pixels, bold, with the equal column totals.
  const TextOp* totals = Find(d, "TOTALS");
  ASSERT_NE(totals, nullptr);
  EXPECT_TRUE(totals->X == 300 && totals->Font.Bold);
  std::vector<TextOp> sums;
  for (const TextOp& t : TextsOf(d))
    if (t.Text == "520.00") sums.push_back(t);
  ASSERT_EQ(sums.size(), 3u);  // the Sales row and both totals
  EXPECT_EQ(std::pair(RightOf(sums[1]), RightOf(sums[2])), std::pair(9120.0, 11280.0));
  EXPECT_EQ(d.DrawnHeight, sums[2].Y + sums[2].Height + 400);
  // The lines a band of the view meets are the ones replayed.
  for (const auto& [top, bottom] : {std::pair{0.0, 1e9}, {1500.0, 2500.0}, {-500.0, 10.0}}) {
    const auto [first, end] = d.LinesWithin(top, bottom);
    for (std::size_t i = 0; i < d.Lines.size(); ++i)
      EXPECT_EQ(d.Lines[i].Bottom > top && d.Lines[i].Top < bottom, i >= first && i < end) << i;
  }
}

// At every text size each grey stripe covers one row, from its top to the next row's top,
// every other row from the first.
TEST(TrialBalanceLayout, EachStripeLiesExactlyBehindItsRowAtEveryTextSize) {
  const Books books = TrialBook();
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 12, 5), true});
  for (const double scale : {0.5, 1.0, 1.5, 2.0}) {
    const StatementDrawing d = LayOutTrialBalance(tb, LookOf(books, 2), kMetrics, 12000, scale);
    std::vector<std::pair<double, double>> stripes, rows;
    for (const DrawOp& op : d.Ops)
      if (const auto* f = std::get_if<FilledBoxOp>(&op); f && f->Color == 0xF0F0F0u)
        stripes.emplace_back(f->Y1, f->Y2);
    const char* names[] = {"Balance b/f", "Cash", "Petty Cash", "Sales", "Rent"};
    for (std::size_t k = 0; k < std::size(names); k += 2) {
      const TextOp* name = Find(d, names[k]);
      ASSERT_NE(name, nullptr) << names[k];
      rows.emplace_back(name->Y, d.Rows[k].Bottom);
    }
    EXPECT_EQ(stripes, rows) << scale;
    EXPECT_EQ(d.Rows[1].Bottom - d.Rows[0].Bottom, 200 * scale) << scale;
  }
}

Books IncomeBook(double revenue, double cost, double expenses) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Sales", 400, kRevenue},
                                        {"Purchases", 500, kCostOfGoodsSold},
                                        {"Wages", 600, kExpense}});
  const DaySerial d = Day(2026, 6, 1);
  if (revenue) AddEntry(books, d, "1", {{110, revenue}}, {{400, revenue}});
  if (cost) AddEntry(books, d, "2", {{500, cost}}, {{110, cost}});
  if (expenses) AddEntry(books, d, "3", {{600, expenses}}, {{110, expenses}});
  return books;
}

IncomeStatement IncomeOf(const Books& books) {
  return ComputeIncomeStatement(books,
                                {IncomePeriod::Between(Day(2026, 1, 1), Day(2026, 12, 31)), false});
}

TEST(IncomeStatementLayout, ColumnsAreSizedFromTheAmountsAndCentredSpacersStayAtFivePoints) {
  const Books books = IncomeBook(1000, 600, 300);
  const IncomeStatement is = IncomeOf(books);
  StatementLook look = LookOf(books, 2);
  look.WidestName = std::string(45, 'W');
  const StatementDrawing d = LayOutIncomeStatement(is, look, kMetrics, 16000, 1);
  // A = the widest amount ("1,000.00" bold: 8 x 101) + 400; Wn = the widest name + A.
  const double a = 808 + 400, wn = 4500 + a, x0 = (16000 - (3 * a + wn)) / 2;
  for (const auto& [text, right] :
       {std::pair{"600.00", x0 + wn}, {"400.00", x0 + wn + a}, {"100.00", x0 + wn + 2 * a}}) {
    ASSERT_NE(Find(d, text), nullptr) << text;
    EXPECT_EQ(RightOf(*Find(d, text)), right) << text;
  }
  EXPECT_EQ(std::pair(Find(d, "REVENUE")->X, Find(d, "Net Profit")->X), std::pair(x0, x0));
  EXPECT_TRUE(d.HasMarginBands);
  EXPECT_EQ(std::pair(d.LeftBandEnd, d.RightBandStart), std::pair(x0 - 800, 16000 + 800 - x0));
  ASSERT_EQ(d.Rows.size(), 3u);
  EXPECT_EQ(d.Rows[1].RowFolio, Money(500));
  ExpectNoOverlap(d);
  // On paper at half size the fonts scale, but the spacer lines stay at 5 points.
  const StatementDrawing paper = LayOutIncomeStatement(is, LookOf(books, 0), kMetrics, 12000, 0.5);
  const TextOp* title = Find(paper, "Income Statement");
  EXPECT_EQ(std::pair(title->Font.Size, Find(paper, "REVENUE")->Font.Size), std::pair(6.0, 5.0));
  EXPECT_EQ(Find(paper, "1 January 2026 to 31 December 2026")->Y - (title->Y + title->Height), 100);
}

TEST(StatementLayout, AHugeAmountNeverOverlapsALongName) {
  const std::string longName(40, 'N');
  Books books = testing::BookWithChart(
      {{"Cash", 110, kCurrentAsset}, {longName, 300, kCapital}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 6, 1), "1", {{110, 1e9}}, {{300, 1e9}});
  AddEntry(books, Day(2026, 6, 1), "2", {{110, 5}}, {{400, 5}});
  StatementLook look = LookOf(books, 2);
  look.WidestName = longName;
  for (double width : {6000.0, 12000.0}) {
    const StatementDrawing sheet =
        LayOutBalanceSheet(ComputeBalanceSheet(books, {Day(2026, 6, 1), false}),
                           BalanceSheetLayout::kStandard, look, kMetrics, width, 1);
    ASSERT_NE(Find(sheet, "1,000,000,000.00"), nullptr);
    ExpectNoOverlap(sheet);
    ExpectNoOverlap(LayOutIncomeStatement(IncomeOf(books), look, kMetrics, width, 1));
  }
}

TEST(BalanceSheetLayout, MarginRoundsHalvesToEvenAndBandsNeedMoreThan900) {
  // Cash 1,250.00 and capital: AmountWidth = 8 x 101 + 400 = 1208 (bold "1,250.00"),
  // NameWidth 5000; the block is 8624 wide.
  Books books = testing::BookWithChart(
      {{"Cash", 110, kCurrentAsset}, {"Capital", 300, kCapital}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 1250}}, {{300, 1250}});
  const BalanceSheet sheet = ComputeBalanceSheet(books, {Day(2026, 3, 31), false});
  // 12001: 1688.5 -> 1688; 12003: 1689.5 -> 1690.
  for (const auto& [width, left, bands] : {std::tuple{12000.0, 1688.0, true},
                                           {12001.0, 1688.0, true},
                                           {12003.0, 1690.0, true},
                                           {10424.0, 900.0, false},
                                           {5000.0, 100.0, false}}) {
    const StatementDrawing d = LayOutBalanceSheet(sheet, BalanceSheetLayout::kStandard,
                                                  LookOf(books, 2), kMetrics, width, 1);
    EXPECT_EQ(std::pair(Find(d, "CURRENT ASSETS")->X, d.HasMarginBands), std::pair(left, bands))
        << width;
  }
}

TEST(BalanceSheetLayout, RowsAreMarkedInTheDrawingOrderOfEachLayout) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Creditors", 210, kCurrentLiability},
                                        {"Van", 150, kNonCurrentAsset},
                                        {"Capital", 300, kCapital},
                                        {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 900}, {150, 500}}, {{300, 1000}, {210, 400}});
  const BalanceSheet sheet = ComputeBalanceSheet(books, {Day(2026, 3, 31), false});
  const auto folios = [&](BalanceSheetLayout layout) {
    std::vector<Amount> out;
    for (const StatementRowMark& row :
         LayOutBalanceSheet(sheet, layout, LookOf(books, 0), kMetrics, 12000, 1).Rows)
      out.push_back(row.RowFolio);
    return out;
  };
  EXPECT_EQ(folios(BalanceSheetLayout::kStandard),
            (std::vector<Amount>{Money(110), Money(210), Money(150), Money(300)}));
  EXPECT_EQ(folios(BalanceSheetLayout::kUnitedStates),
            (std::vector<Amount>{Money(110), Money(150), Money(210), Money(300)}));
}

TEST(StatementFrame, HitTestsTakeTheFirstRowWhoseBandHoldsThePointer) {
  const std::vector<StatementRowMark> rows = {
      {2400, Money(110)}, {2640, Money(120)}, {2880, Money(130)}};
  const std::tuple<double, double, int> cases[] = {
      {2500, kHoverBand, 1},  {2500, kClickBand, 1}, {2300, kHoverBand, 0},
      {1700, kHoverBand, -1}, {1700, kClickBand, 0}, {2400, kHoverBand, -1},
      {2200, kHoverBand, -1},  // exactly 200 above a bottom
      {2880, kClickBand, -1}, {-100, kClickBand, -1}};
  for (const auto& [y, band, row] : cases) EXPECT_EQ(RowAt(rows, y, band), row) << y;
  EXPECT_EQ(RowAt({}, 10, kClickBand), -1);
}

TEST(StatementFrame, DateBoxesPassDatesCharactersAndEnterOnly) {
  for (int key = 0; key < 128; ++key) {
    int16_t code = static_cast<int16_t>(key);
    const DateBoxKey result = FilterDateBoxKey(code);
    const bool passes = key == 8 || key == '-' || (key >= '/' && key <= '9');
    EXPECT_EQ(result, key == 13 ? DateBoxKey::Commit
                      : passes  ? DateBoxKey::Passed
                                : DateBoxKey::Dropped)
        << key;
    EXPECT_EQ(code, result == DateBoxKey::Dropped ? 0 : key);
  }
}

}  // namespace
}  // namespace qv
