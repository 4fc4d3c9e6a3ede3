#include "platform/page_layout.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

using PageTexts = std::vector<std::pair<std::string, double>>;

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
  // A text taller than a page cannot be printed whole: it does not fit down the page, and
  // nothing is laid out. A line that tall is cut at the foot; the pages still move on.
  surface_.Cls();
  surface_.SetFontSize(100);  // 2000 twips a line
  surface_.Print("Huge");
  surface_.SetFontSize(10);
  Lines("After ", 2);
  const LaidOutPages tall = LayOutPages(surface_.Operations(), PageArea{0, 900});
  EXPECT_EQ(std::tuple(tall.Fits, tall.Overrun, tall.Ops.size()),
            std::tuple(false, PageOverrun::Down, 0u));
  EXPECT_EQ(Pages(Laid(2000)),
            (std::vector<PageTexts>{{{"Huge", 0}}, {{"After 1", 0}, {"After 2", 200}}}));
  surface_.Cls();
  surface_.Line(0, 0, 0, 2000);
  Lines("After ", 2);
  EXPECT_EQ(PageCountOf(Laid(900)), 2);
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
    Row("N", "A", "B", "C");
    surface_.Line(0, 400, 1300, 400);
    surface_.EndPageHeading();
    for (const char* k : {"1", "2", "3", "4", "5"})
      Row(std::string("r") + k, std::string("a") + k, std::string("b") + k, std::string("c") + k);
  }
  // A name at the left, three texts right-aligned in their columns.
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
  // Each page as its texts "text x,y" and its lines "|x1-x2", in drawing order.
  static std::vector<std::string> Sheets(const std::vector<DrawOp>& ops) {
    std::vector<std::string> pages(1);
    auto number = [](double v) { return std::to_string(static_cast<int>(v)); };
    for (const DrawOp& op : ops) {
      if (std::holds_alternative<NewPageOp>(op)) pages.emplace_back();
      if (const auto* text = std::get_if<TextOp>(&op))
        pages.back() += " " + text->Text + " " + number(text->X) + "," + number(text->Y);
      if (const auto* line = std::get_if<LineOp>(&op))
        pages.back() += " |" + number(line->X1) + "-" + number(line->X2);
      EXPECT_FALSE(std::holds_alternative<PageColumnsOp>(op));
    }
    return pages;
  }
};

TEST_F(PageBandsTest, AWideDrawingIsPrintedInBandsOfWholeColumnsWithTheNamesOnEach) {
  // A page as wide as the drawing keeps it as it is.
  EXPECT_EQ(Sheets(Across(1300).Ops), Sheets(Laid(1000)));
  // 1000 wide: names, A and B on the first band, down two pages; then the names and C, on
  // the same rows at the same heights, the rule cut at the band's edge and drawn again under
  // the names.
  const LaidOutPages laid = Across(1000);
  ASSERT_TRUE(laid.Fits);
  EXPECT_EQ(Sheets(laid.Ops),
            (std::vector<std::string>{
                " Title 0,0 N 0,200 A 600,200 B 900,200 |0-1000 r1 0,400 a1 500,400 b1 800,400"
                " r2 0,600 a2 500,600 b2 800,600 r3 0,800 a3 500,800 b3 800,800",
                " N 0,0 A 600,0 B 900,0 |0-1000 r4 0,200 a4 500,200 b4 800,200 r5 0,400"
                " a5 500,400 b5 800,400",
                " Title 0,0 N 0,200 C 600,200 |400-700 |0-400 r1 0,400 c1 500,400 r2 0,600"
                " c2 500,600 r3 0,800 c3 500,800",
                " N 0,0 C 600,0 |400-700 |0-400 r4 0,200 c4 500,200 r5 0,400 c5 500,400"}));
}

TEST_F(PageBandsTest, NamesThatLeaveNoRoomStandAloneAndAColumnWiderThanThePageDoesNotFit) {
  // 600 wide holds the names or two columns, not both: the names stand on the first band
  // only, A and B share the next, C the last; the title stands on every band.
  const std::vector<std::string> pages = Sheets(Across(600).Ops);
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_EQ(pages[0], " Title 0,0 N 0,200 |0-400 r1 0,400 r2 0,600 r3 0,800");
  EXPECT_EQ(pages[2],
            " Title 0,0 A 200,200 B 500,200 |0-600 a1 100,400 b1 400,400 a2 100,600 b2 400,600"
            " a3 100,800 b3 400,800");
  EXPECT_EQ(pages[4].substr(0, 15), " Title 0,0 C 20");
  EXPECT_EQ(pages[5], " C 200,0 |0-300 c4 100,200 c5 100,400");
  // The names alone are wider than 350: nothing is laid out; nor is a drawing that marks no
  // columns and runs past the page.
  const LaidOutPages narrow = Across(350);
  EXPECT_TRUE(!narrow.Fits && narrow.Ops.empty() && narrow.Overrun == PageOverrun::Across);
  DrawingSurface plain(metrics_);
  plain.Print(std::string(30, 'x'));
  EXPECT_FALSE(LayOutPages(plain.Operations(), PageArea{2000, 1000}).Fits);
  EXPECT_TRUE(LayOutPages(plain.Operations(), PageArea{3000, 1000}).Fits);
  // Too wide and too tall: the width is named.
  EXPECT_EQ(LayOutPages(plain.Operations(), PageArea{2000, 100}).Overrun, PageOverrun::Across);
}

TEST_F(PageBandsTest, ADrawingUpToADevicePixelWiderOrTallerThanThePageFitsIt) {
  // The drawing is 1300 wide and reaches 1400 down; a pixel of 1.5 lets it stand over by that
  // much, no more.
  const auto bands = [this](double width, double height) {
    const LaidOutPages laid = LayOutPages(surface_.Operations(), PageArea{width, height, 1.5});
    return laid.Fits ? PageCountOf(laid.Ops) : -1;
  };
  EXPECT_EQ(bands(1300 - 1.4, 1e6), 1);
  EXPECT_EQ(bands(1300 - 1.6, 1e6), 2) << "C goes to a band of its own";
  EXPECT_EQ(bands(1e6, 1400 - 1.4), 1);
  EXPECT_EQ(bands(1e6, 1400 - 1.6), 2);
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
