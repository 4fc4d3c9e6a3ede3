#include "platform/page_layout.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace qv {
namespace {

// Texts with their tops, or with their left edges.
using PageTexts = std::vector<std::pair<std::string, double>>;
using Placed = std::vector<std::pair<std::string, double>>;

// Fixed metrics: a 10-point line is 200 twips high.
class PageLayoutTest : public ::testing::Test {
 protected:
  PageLayoutTest() : surface_(metrics_) { surface_.SetFontSize(10); }
  void Lines(const std::string& prefix, int count) {
    for (int k = 1; k <= count; ++k) surface_.Print(prefix + std::to_string(k));
  }
  std::vector<DrawOp> Laid(double pageHeight) const {
    return LayOutPages(surface_.Operations(), pageHeight);
  }
  // The texts of each page, in order, with their tops.
  static std::vector<PageTexts> Pages(const std::vector<DrawOp>& ops) {
    std::vector<PageTexts> pages(1);
    for (const DrawOp& op : ops) {
      if (std::holds_alternative<NewPageOp>(op)) pages.emplace_back();
      if (const auto* text = std::get_if<TextOp>(&op)) {
        EXPECT_EQ(text->Page, static_cast<int>(pages.size()) - 1) << text->Text;
        pages.back().emplace_back(text->Text, text->Y);
      }
    }
    return pages;
  }
  FixedTextMetrics metrics_{100, 200};
  DrawingSurface surface_;
};

TEST_F(PageLayoutTest, LinesRunOnToNewPagesEachLineOnceAndInOrder) {
  Lines("Row ", 12);
  // 1000 twips hold five lines; the sixth would end at 1200.
  const auto pages = Pages(Laid(1000));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].size(), 5u);
  const PageTexts second{
      {"Row 6", 0}, {"Row 7", 200}, {"Row 8", 400}, {"Row 9", 600}, {"Row 10", 800}};
  EXPECT_EQ(pages[1], second);
  EXPECT_EQ(pages[2], (PageTexts{{"Row 11", 0}, {"Row 12", 200}}));
  // A drawing that fits stays as it is, on one page.
  EXPECT_EQ(PageCountOf(Laid(2400)), 1);
  EXPECT_EQ(PageCountOf(Laid(0)), 1);  // no page height: nothing to cut by
  EXPECT_EQ(PageCountOf(LayOutPages({}, 1000)), 0);
}

TEST_F(PageLayoutTest, TheMarkedHeadingStartsEveryFurtherPage) {
  surface_.Print("Title");
  surface_.BeginPageHeading();
  surface_.Print("Date  Notes  Amount");
  surface_.Line(0, surface_.CurrentY(), 5000, surface_.CurrentY());
  surface_.EndPageHeading();
  Lines("Row ", 8);
  const std::vector<DrawOp> laid = Laid(1000);
  const auto pages = Pages(laid);
  // Page 1: title, heading, three rows; then the heading and four rows a page.
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].back(), (std::pair<std::string, double>("Row 3", 800)));
  const PageTexts second{
      {"Date  Notes  Amount", 0}, {"Row 4", 200}, {"Row 5", 400}, {"Row 6", 600}, {"Row 7", 800}};
  EXPECT_EQ(pages[1], second);
  EXPECT_EQ(pages[2], (PageTexts{{"Date  Notes  Amount", 0}, {"Row 8", 200}}));
  // The heading's rule comes along, under the heading's text.
  int rulesAt200 = 0;
  for (const DrawOp& op : laid)
    if (const auto* line = std::get_if<LineOp>(&op); line && line->Y1 == 200) ++rulesAt200;
  EXPECT_EQ(rulesAt200, 2);
  for (const DrawOp& op : laid) EXPECT_FALSE(std::holds_alternative<PageHeadingOp>(op));
  // A page the drawing starts itself has no heading, and a last one left empty no page.
  surface_.NewPage();
  Lines("B", 2);
  surface_.NewPage();
  surface_.EndDoc();
  const auto more = Pages(Laid(1000));
  ASSERT_EQ(more.size(), 4u);
  EXPECT_EQ(more[3], (PageTexts{{"B1", 0}, {"B2", 200}}));
}

TEST_F(PageLayoutTest, NothingIsCutAtThePageFootAndAHeadingIsNotLeftAlone) {
  // A shaded row band of two lines from 600 to 1000 would cross a 900 foot: the page ends
  // above it.
  Lines("Row ", 3);
  surface_.FilledBox(0, 600, 5000, 1000, kRed);
  surface_.SetCurrentX(0);
  surface_.SetCurrentY(600);
  Lines("Band ", 2);
  // A heading at the foot of the second page goes over with its rows.
  surface_.Print("");
  surface_.BeginPageHeading();
  surface_.Print("Heading");
  surface_.EndPageHeading();
  Lines("Item ", 2);
  const auto pages = Pages(Laid(900));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].size(), 3u);
  EXPECT_EQ(pages[1], (PageTexts{{"Band 1", 0}, {"Band 2", 200}}));
  EXPECT_EQ(pages[2], (PageTexts{{"Heading", 0}, {"Item 1", 200}, {"Item 2", 400}}));
  // A text taller than a page cannot be kept whole; the pages still move on.
  surface_.Cls();
  surface_.SetFontSize(100);  // 2000 twips a line
  surface_.Print("Huge");
  surface_.SetFontSize(10);
  Lines("After ", 2);
  const auto cut = Pages(Laid(900));
  EXPECT_EQ(cut, (std::vector<PageTexts>{{{"Huge", 0}}, {{"After 1", 0}, {"After 2", 200}}}));
}

// A title, then four columns marked from y 200: names [0, 400), A [400, 700), B [700, 1000)
// and C [1000, 1300), the names repeated on every band; a heading row with a rule under it
// across all four, then five rows.
class PageBandsTest : public PageLayoutTest {
 protected:
  PageBandsTest() {
    surface_.Print("Title");
    surface_.SetPageColumns({0, 400, 700, 1000, 1300}, 1);
    surface_.BeginPageHeading();
    Row("Nm", "AA", "BB", "CC");
    surface_.Line(0, 400, 1300, 400);
    surface_.EndPageHeading();
    for (int k = 1; k <= 5; ++k) {
      const std::string n = std::to_string(k);
      Row("R" + n, "a" + n, "b" + n, "c" + n);
    }
  }
  // One line: a name at the left, three texts right-aligned in their columns.
  void Row(const std::string& name, const std::string& a, const std::string& b,
           const std::string& c) {
    const double y = surface_.CurrentY();
    surface_.SetCurrentX(0);
    surface_.PrintStay(name);
    for (const auto& [text, right] : {std::pair{a, 700.0}, {b, 1000.0}, {c, 1300.0}}) {
      surface_.SetCurrentX(right - surface_.TextWidth(text));
      surface_.PrintStay(text);
    }
    surface_.SetCurrentY(y + 200);
  }
  LaidOutPages Across(double width) const {
    return LayOutPages(surface_.Operations(), PageArea{width, 1000});
  }
  // The texts of each page with their left edges, in drawing order.
  static std::vector<Placed> Lefts(const std::vector<DrawOp>& ops) {
    std::vector<Placed> pages(1);
    for (const DrawOp& op : ops) {
      if (std::holds_alternative<NewPageOp>(op)) pages.emplace_back();
      if (const auto* text = std::get_if<TextOp>(&op))
        pages.back().emplace_back(text->Text, text->X);
    }
    return pages;
  }
  // The stretches across of the lines on page `page`.
  static std::vector<std::pair<double, double>> Rules(const std::vector<DrawOp>& ops, int page) {
    std::vector<std::pair<double, double>> rules;
    int at = 0;
    for (const DrawOp& op : ops) {
      if (std::holds_alternative<NewPageOp>(op)) ++at;
      if (const auto* line = std::get_if<LineOp>(&op); line && at == page)
        rules.emplace_back(line->X1, line->X2);
    }
    return rules;
  }
};

TEST_F(PageBandsTest, AWideDrawingIsPrintedInBandsOfWholeColumnsWithTheNamesOnEach) {
  // A page as wide as the drawing keeps it as it is.
  const LaidOutPages whole = Across(1300);
  EXPECT_TRUE(whole.Fits);
  EXPECT_EQ(Pages(whole.Ops), Pages(Laid(1000)));
  // 1000 wide: names, A and B on the first band, down two pages; then the names and C.
  const LaidOutPages laid = Across(1000);
  ASSERT_TRUE(laid.Fits);
  const auto pages = Pages(laid.Ops);
  ASSERT_EQ(pages.size(), 4u);
  const auto lefts = Lefts(laid.Ops);
  EXPECT_EQ(lefts[0], (Placed{{"Title", 0},
                              {"Nm", 0},
                              {"AA", 500},
                              {"BB", 800},
                              {"R1", 0},
                              {"a1", 500},
                              {"b1", 800},
                              {"R2", 0},
                              {"a2", 500},
                              {"b2", 800},
                              {"R3", 0},
                              {"a3", 500},
                              {"b3", 800}}));
  EXPECT_EQ(lefts[2], (Placed{{"Title", 0},
                              {"Nm", 0},
                              {"CC", 500},
                              {"R1", 0},
                              {"c1", 500},
                              {"R2", 0},
                              {"c2", 500},
                              {"R3", 0},
                              {"c3", 500}}));
  EXPECT_EQ(lefts[3],
            (Placed{{"Nm", 0}, {"CC", 500}, {"R4", 0}, {"c4", 500}, {"R5", 0}, {"c5", 500}}));
  // Every band's pages hold the same rows at the same heights.
  for (std::size_t p : {0u, 1u}) {
    PageTexts names;
    for (const auto& text : pages[p + 2])
      if (text.first[0] != 'c' && text.first != "CC") names.push_back(text);
    PageTexts first;
    for (const auto& text : pages[p])
      if (text.first[0] != 'a' && text.first[0] != 'b' && text.first != "AA" && text.first != "BB")
        first.push_back(text);
    EXPECT_EQ(names, first) << "page " << p;
  }
  // The heading's rule is cut at the band's edge and drawn under the repeated names.
  EXPECT_EQ(Rules(laid.Ops, 0), (std::vector<std::pair<double, double>>{{0, 1000}}));
  EXPECT_EQ(Rules(laid.Ops, 2), (std::vector<std::pair<double, double>>{{400, 700}, {0, 400}}));
  for (const DrawOp& op : laid.Ops) EXPECT_FALSE(std::holds_alternative<PageColumnsOp>(op));
}

TEST_F(PageBandsTest, NamesThatLeaveNoRoomStandAloneAndAColumnWiderThanThePageDoesNotFit) {
  // 600 wide holds the names or two columns, not both: the names and the title stand on the
  // first band only, A and B share the next, C the last.
  const LaidOutPages laid = Across(600);
  ASSERT_TRUE(laid.Fits);
  const auto lefts = Lefts(laid.Ops);
  ASSERT_EQ(lefts.size(), 6u);
  EXPECT_EQ(lefts[0].front(), (std::pair<std::string, double>{"Title", 0}));
  EXPECT_EQ(lefts[2], (Placed{{"AA", 100},
                              {"BB", 400},
                              {"a1", 100},
                              {"b1", 400},
                              {"a2", 100},
                              {"b2", 400},
                              {"a3", 100},
                              {"b3", 400}}));
  EXPECT_EQ(lefts[5], (Placed{{"CC", 100}, {"c4", 100}, {"c5", 100}}));
  // The names column alone is wider than 350: nothing is laid out.
  const LaidOutPages narrow = Across(350);
  EXPECT_FALSE(narrow.Fits);
  EXPECT_TRUE(narrow.Ops.empty());
  // Nor is a drawing that marks no columns and runs past the page.
  DrawingSurface plain(metrics_);
  plain.SetFontSize(10);
  plain.Print("A line of thirty characters ..");
  EXPECT_FALSE(LayOutPages(plain.Operations(), PageArea{2000, 1000}).Fits);
  EXPECT_TRUE(LayOutPages(plain.Operations(), PageArea{3000, 1000}).Fits);
}

TEST(PageCopies, EachCopyIsAJobOfItsOwnOnAPrinterAndFollowsOnInAFile) {
  FixedTextMetrics metrics;
  DrawingSurface surface(metrics);
  surface.Print("Page 1");
  surface.NewPage();
  surface.Print("Page 2");
  const std::vector<DrawOp> pages = LayOutPages(surface.Operations(), 1000);
  auto count = [](const std::vector<DrawOp>& ops, auto kind) {
    return std::ranges::count_if(
        ops, [](auto& op) { return std::holds_alternative<decltype(kind)>(op); });
  };
  const std::vector<DrawOp> jobs = CopiesOf(pages, 3, false);
  EXPECT_EQ(count(jobs, EndDocOp{}), 3);
  EXPECT_EQ(count(jobs, NewPageOp{}), 3);
  EXPECT_TRUE(std::holds_alternative<EndDocOp>(jobs.back()));
  const std::vector<DrawOp> file = CopiesOf(pages, 3, true);
  EXPECT_EQ(count(file, EndDocOp{}), 1);
  EXPECT_EQ(PageCountOf(file), 6);
  EXPECT_TRUE(CopiesOf(pages, 0, false).empty());
}

}  // namespace
}  // namespace qv
