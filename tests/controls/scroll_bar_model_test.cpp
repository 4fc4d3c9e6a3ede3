#include "controls/scroll_bar_model.h"
#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <variant>
#include "tests/controls/fake_repeat_timer.h"

namespace qv {
namespace {

using Ints = std::vector<int>;
using Times = std::vector<long long>;

constexpr auto kVertical = ScrollBarKind::Vertical;
constexpr ScrollBarKind kKinds[] = {kVertical, ScrollBarKind::Horizontal};

// A bar on a fake clock that records when Change arrives and what Value was then. Presses
// and moves are given along the track, in the middle across it.
struct Bar {
  explicit Bar(ScrollBarKind kind, const ScrollBarSettings& settings = {}, int along = 200)
      : model(kind, timer, settings) {
    model.onChange = [this] {
      changeTimes.push_back(timer.Now());
      values.push_back(model.Value());
    };
    kind == kVertical ? model.Resize(19, along) : model.Resize(along, 19);
  }
  bool V() const { return model.Kind() == kVertical; }
  void Press(double at) { V() ? model.MousePress(9, at) : model.MousePress(at, 9); }
  void Move(double at) { V() ? model.MouseMove(9, at) : model.MouseMove(at, 9); }
  void Clear() { changeTimes.clear(), values.clear(); }
  std::pair<int, int> ValueAndThumb() const { return {model.Value(), model.ThumbPos()}; }
  // A press, or a key, held for the given time and then released.
  void Hold(double at, long long ms) { Press(at), timer.Advance(ms), model.MouseRelease(); }
  Ints Held(double at, long long ms) { return Clear(), Hold(at, ms), values; }  // the new values
  void HoldKey(int key, long long ms) { model.KeyDown(key), timer.Advance(ms), model.KeyUp(); }
  // Every kind of input, after a Clear: presses on the arrows and the track, each held and
  // dragged, then every key held.
  void Pester() {
    Clear();
    for (double at : {3, 100, 150, 197, 895})
      Press(at), Move(700), timer.Advance(300), model.MouseRelease();
    for (int key : {kKeyPageUp, kKeyPageDown, kKeyLeft, kKeyUp, kKeyRight, kKeyDown})
      HoldKey(key, 300);
  }
  testing::FakeRepeatTimer timer;
  ScrollBarModel model;
  Times changeTimes;
  Ints values;
};

TEST(ScrollBarShades, AreFivePercentStepsOfTheBarColourCappedAt255) {
  const ScrollBarShades tint = ShadesOf(0xC0FFFF);
  EXPECT_EQ(tint.Percent(55), 0x6A8C8Cu);  // 140.25 -> 140, 105.6 -> 106
  EXPECT_EQ(tint.Percent(125), 0xF0FFFFu);
  EXPECT_EQ(ShadesOf(0xFFFFFF).Percent(50), 0x7F7F7Fu);  // 100 x (255 / 200) is below 127.5
}

TEST(VerticalScrollBar, PlacesTheThumbByTheValueAndClampsTheValue) {
  Bar bar(kVertical);                      // a new bar: 0 to 100, page 5, 200 rows tall
  EXPECT_EQ(bar.model.ThumbLength(), 20);  // round(160 / 20 / 2) = 4, raised to 20
  for (auto [value, thumb] : {std::pair{0, 17}, {100, 157}, {50, 78} /* 78.5 to even */}) {
    bar.model.SetValue(value);
    EXPECT_EQ(bar.model.ThumbPos(), thumb) << value;
  }
  // The setter clamps into the range and raises Change even when nothing moves; arrow keys
  // step once per press.
  bar.Clear();
  for (int value : {500, -3, 0}) bar.model.SetValue(value);
  for (int key : {kKeyDown, kKeyDown, kKeyUp, kKeyRight}) bar.model.KeyDown(key);
  EXPECT_EQ(bar.values, (Ints{100, 0, 0, 1, 2, 1}));
  EXPECT_FALSE(bar.timer.Enabled());
}

// A quick click on an arrow is one step; a held one repeats once the delay is over, line
// steps every 10 ms, page steps every 100 ms.
TEST(ScrollBar, APressStepsAtOnceAndRepeatsOnlyWhenHeldPastTheDelay) {
  for (ScrollBarKind kind : kKinds) {
    SCOPED_TRACE(kind == kVertical ? "vertical" : "horizontal");
    Bar bar(kind, ScrollBarSettings{.ValueMax = 1000, .ValueLargeChange = 100});
    EXPECT_EQ(bar.Held(195, 0), Ints{1});  // the far arrow, clicked
    EXPECT_EQ(bar.Held(195, 320), (Ints{2, 3, 4, 5}));
    EXPECT_EQ(bar.changeTimes, (Times{0, 300, 310, 320}));
    EXPECT_EQ(bar.Held(5, 150), Ints{4});  // the near arrow
    bar.Clear();
    const long long start = bar.timer.Now();
    bar.Hold(150, 450);  // the track beyond the thumb
    EXPECT_EQ(bar.changeTimes, (Times{start, start + 300, start + 400}));
    bar.timer.Advance(1000);
    EXPECT_EQ(bar.values.size(), 3u) << "the release ends the repeat";
  }
}

TEST(VerticalScrollBar, TrackPressPagesTowardsThePointerAndDragMapsItToTheValue) {
  Bar bar(kVertical);
  bar.Press(100);  // below the thumb: pages until the thumb covers the pointer, then waits
  bar.timer.Advance(2000);
  EXPECT_EQ(bar.ValueAndThumb(), std::pair(40, 80));
  EXPECT_TRUE(bar.timer.Enabled());
  bar.model.MouseRelease();
  // Above the thumb and close to it, the value moves by the pointer's share of the bar.
  bar.model.SetValue(100);
  EXPECT_EQ(bar.Held(150, 1000), Ints{96});  // round(100 - 7 / 200 x 100) = 96.5 -> 96
  Bar drag(kVertical);
  drag.Press(20);  // on the thumb (rows 17 to 41)
  EXPECT_TRUE(drag.model.Dragging());
  // {pointer, thumb, value}: round(100 - 10 - 3) = 87 and round(83 / 168 x 100) = 49.
  for (auto [at, thumb, value] : {std::tuple{100, 87, 49}, {5, 17, 0}, {199, 158, 100}}) {
    drag.Move(at);
    EXPECT_EQ(drag.ValueAndThumb(), std::pair(value, thumb)) << at;
  }
  drag.model.MouseRelease();
  drag.Move(60);  // moves without a drag do nothing
  EXPECT_EQ(drag.values, (Ints{49, 0, 100}));
}

// The drawn thumb covers the pixels of its outer box; a press on any of them drags, a press
// beside it does not, wherever the value put the thumb.
TEST(ScrollBar, APressOnEveryPixelOfTheDrawnThumbStartsADrag) {
  for (ScrollBarKind kind : kKinds) {
    for (int value : {-10, 0, 75, 150}) {
      Bar bar(kind, kCashFlowHScroll1Settings, 900);
      bar.model.SetValue(value);
      const BoxOp box = std::get<BoxOp>(bar.model.ThumbDrawing().front());
      const int first = static_cast<int>(kind == kVertical ? box.Y1 : box.X1);
      const int last = static_cast<int>(kind == kVertical ? box.Y2 : box.X2);
      for (int at = first - 1; at <= last + 1; ++at) {
        bar.Press(at);
        ASSERT_EQ(bar.model.Dragging(), at >= first && at <= last)
            << (kind == kVertical ? "vertical" : "horizontal") << " value " << value << " at " << at
            << " of " << first << " to " << last;
        bar.model.MouseRelease();
        bar.model.SetValue(value);
      }
    }
  }
}

TEST(ScrollBarRobustness, NoRangeOrAnEmptiedOneNeitherDividesNorJumps) {
  // The journal bar of an empty book: no thumb, no input, until the journal grows.
  Bar journal(kVertical, kMainScrollAccSettings);
  EXPECT_TRUE(journal.model.ThumbDrawing().empty());
  journal.model.SetValue(7);
  journal.Pester();
  EXPECT_EQ(journal.model.Value(), 0);
  EXPECT_TRUE(journal.values.empty());
  journal.model.SetValueMax(3);
  journal.model.KeyDown(kKeyDown);
  EXPECT_EQ(journal.values, Ints{1});
  for (ScrollBarKind kind : kKinds) {
    SCOPED_TRACE(kind == kVertical ? "vertical" : "horizontal");
    // An empty range, and the cash-flow window's bar when every column fits: ValueMax
    // negative, Value 0. Clicks, drags and keys leave both where they are.
    Bar bar(kind, ScrollBarSettings{.ValueMax = 5, .Value = 5, .ValueMin = 5});
    Bar fits(kind, kCashFlowHScroll1Settings, 900);
    fits.model.SetValueMax(-300);
    fits.model.SetValue(0);
    const int thumb = bar.model.ThumbPos();
    bar.model.SetValue(9);
    for (Bar* b : {&bar, &fits}) {
      b->Pester();
      b->model.Refresh();
      EXPECT_TRUE(b->values.empty());
    }
    EXPECT_EQ(bar.model.ThumbPos(), thumb);
    EXPECT_EQ(fits.model.Value(), 0);
    // The range emptied during a hold stops the repeat where it stands.
    Bar held(kind);
    held.Press(190);
    ASSERT_FALSE(held.values.empty());
    const auto state = held.ValueAndThumb();
    held.Clear();
    held.model.SetValueMax(0);
    held.timer.Advance(500);
    EXPECT_TRUE(held.values.empty() && !held.timer.Enabled());
    EXPECT_EQ(held.ValueAndThumb(), state);
  }
  // 18 rows: the thumb length comes to 6 and the drag's divisor H - (L + 12) to 0.
  Bar tiny(kVertical, {}, 18);
  EXPECT_EQ(tiny.model.ThumbLength(), 6);
  tiny.model.MousePress(9, tiny.model.DrawnThumbPos());
  ASSERT_TRUE(tiny.model.Dragging());
  tiny.Move(10);
  tiny.Move(-40);
  EXPECT_TRUE(tiny.model.Value() == 0 && tiny.values.empty());
}

TEST(ScrollBarRobustness, ExtremeValuesNeitherOverflowNorLeaveTheRange) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  ScrollBarSettings extreme{.ValueMax = kMax, .Value = kMax - 1, .ValueMin = kMin};
  extreme.ValueLargeChange = extreme.ValueSmallChange = kMax;
  for (ScrollBarKind kind : kKinds) {
    Bar bar(kind, extreme);
    bar.HoldKey(kKeyPageDown, 200);
    EXPECT_EQ(bar.model.Value(), kMax);
    bar.HoldKey(kKeyPageUp, 400);
    EXPECT_EQ(bar.model.Value(), kMin);
    bar.Hold(2, 300);
    EXPECT_EQ(bar.model.Value(), kMin);
  }
}

// Every shown thumb lies on the track (rows or columns 17 to E - 18), whatever the size of
// the bar, its range and page, and however the value was reached.
TEST(ScrollBarRobustness, ShownThumbsStayOnTheTrack) {
  const ScrollBarSettings kinds[] = {{},
                                     kMainEScrollSettings,
                                     kCashFlowHScroll1Settings,
                                     {.ValueMax = 100, .ValueLargeChange = 375},
                                     {.ValueMax = 100000, .ValueLargeChange = 1}};
  for (ScrollBarKind kind : kKinds) {
    for (const ScrollBarSettings& settings : kinds) {
      for (int extent = 0; extent <= 260; ++extent) {
        Bar bar(kind, settings, extent);
        auto check = [&] {
          if (!bar.model.ThumbShown()) return;
          const int t = bar.model.DrawnThumbPos();
          ASSERT_GE(t, 17) << "extent " << extent;
          ASSERT_LE(t + bar.model.ThumbLength() + 4, extent - 18) << "extent " << extent;
        };
        for (int v : {settings.ValueMin, settings.ValueMax / 2, settings.ValueMax, -10})
          bar.model.SetValue(v), check();
        bar.HoldKey(kKeyPageDown, 30);
        check();
        bar.Press(bar.model.DrawnThumbPos() + 1);
        bar.Move(extent - 20);
        check();
        bar.model.MouseRelease();
      }
    }
  }
}

TEST(ScrollBarSettings, LoadWithoutClampingAndHoldNumbersBeyondAFieldAtItsLimit) {
  const ScrollBarSettings odd =
      ReadScrollBarSettings({{"MouseIcon", 1}, {"ValueMax", 1LL << 40}, {"BackColor", -5}});
  EXPECT_EQ(std::pair(odd.ValueMax, odd.BackColor),
            std::pair(std::numeric_limits<int32_t>::max(), ColorValue{0}));
  EXPECT_EQ(ReadScrollBarSettings(WriteScrollBarSettings(kMainEScrollSettings)),
            kMainEScrollSettings);
  Bar loaded(kVertical, ScrollBarSettings{.ValueMax = 10, .Value = 50});
  EXPECT_EQ(loaded.model.Value(), 50);
  EXPECT_TRUE(loaded.values.empty());
}

TEST(ScrollBarSettings, StoreOnlyWhatDiffersFromTheDefaultsAndEveryFieldReadsBack) {
  EXPECT_EQ(WriteScrollBarSettings(kMainEScrollSettings),
            (std::vector<ScrollBarSetting>{
                {"BackColor", 0xC0FFFF}, {"ValueLargeChange", 375}, {"ValueSmallChange", 25}}));
  const ScrollBarSettings all{.BackColor = 0xFFE0E0,
                              .ValueMax = 9,
                              .Value = 4,
                              .Enabled = false,
                              .ValueMin = -2,
                              .ValueLargeChange = 3,
                              .ValueSmallChange = 2};
  EXPECT_EQ(ReadScrollBarSettings(WriteScrollBarSettings(all)), all);
}

}  // namespace
}  // namespace qv
