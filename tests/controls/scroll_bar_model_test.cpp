#include "controls/scroll_bar_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/controls/fake_repeat_timer.h"

namespace qv {
namespace {

using testing::FakeRepeatTimer;
using Ints = std::vector<int>;
using Times = std::vector<long long>;

constexpr auto kVertical = ScrollBarKind::Vertical;
constexpr auto kHorizontal = ScrollBarKind::Horizontal;
const int kKeys[] = {kKeyPageUp, kKeyPageDown, kKeyLeft, kKeyUp, kKeyRight, kKeyDown};

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
  std::pair<double, double> At(double along) const {
    return model.Kind() == kVertical ? std::pair{9.0, along} : std::pair{along, 9.0};
  }
  void Press(double along) { model.MousePress(At(along).first, At(along).second); }
  void Move(double along) { model.MouseMove(At(along).first, At(along).second); }
  void Clear() {
    changeTimes.clear();
    values.clear();
  }
  std::pair<int, int> ValueAndThumb() const { return {model.Value(), model.ThumbPos()}; }
  // A press, or a key, held for the given time and then released.
  void Hold(double along, long long ms) {
    Press(along);
    timer.Advance(ms);
    model.MouseRelease();
  }
  void HoldKey(int key, long long ms) {
    model.KeyDown(key);
    timer.Advance(ms);
    model.KeyUp();
  }
  // Every kind of input: presses on the arrows and the track, each held and dragged, then
  // every key held.
  void Pester() {
    for (double at : {3, 100, 150, 197, 895}) {
      Press(at);
      Move(700);
      timer.Advance(300);
      model.MouseRelease();
    }
    for (int key : kKeys) HoldKey(key, 300);
  }

  FakeRepeatTimer timer;
  ScrollBarModel model;
  Times changeTimes;
  Ints values;
};

TEST(ScrollBarShades, AreFivePercentStepsOfTheBarColourCappedAt255) {
  const ScrollBarShades tint = ShadesOf(0xC0FFFF);
  EXPECT_EQ(tint.Percent(55), 0x6A8C8Cu);  // 140.25 -> 140, 105.6 -> 106
  EXPECT_EQ(tint.Percent(100), 0xC0FFFFu);
  EXPECT_EQ(tint.Percent(125), 0xF0FFFFu);
  EXPECT_EQ(ShadesOf(0xFFFFFF).Percent(50), 0x7F7F7Fu);  // 100 x (255 / 200) is below 127.5
  EXPECT_EQ(ShadesOf(0x000000).Percent(125), 0x000000u);
}

TEST(VerticalScrollBar, PlacesTheThumbByTheValue) {
  Bar bar(kVertical);                      // a new bar: 0 to 100, page 5, 200 rows tall
  EXPECT_EQ(bar.model.ThumbLength(), 20);  // round(160 / 20 / 2) = 4, raised to 20
  EXPECT_EQ(bar.model.ThumbPos(), 17);
  for (auto [value, thumb] : {std::pair{100, 157}, {50, 78} /* 78.5 halves to even */, {55, 86}}) {
    bar.model.SetValue(value);
    EXPECT_EQ(bar.model.ThumbPos(), thumb) << value;
  }
  // A downward step places the thumb 17 rows lower than setting the value does.
  bar.model.SetValue(50);
  bar.Clear();
  bar.HoldKey(kKeyPageDown, 10);
  EXPECT_EQ(bar.values, Ints{55});
  EXPECT_EQ(bar.model.ThumbPos(), 103);

  // The setter clamps into the range and raises Change even when nothing moves.
  bar.Clear();
  for (int value : {500, -3, 0}) bar.model.SetValue(value);
  EXPECT_EQ(bar.values, (Ints{100, 0, 0}));
  // A value below a raised ValueMin stays there until the next assignment.
  bar.model.SetValue(10);
  bar.model.SetValueMin(20);
  EXPECT_EQ(bar.model.Value(), 10);
  bar.model.SetValue(10);
  EXPECT_EQ(bar.model.Value(), 20);
}

TEST(VerticalScrollBar, HeldArrowStepsAfter100MsThenEvery10Ms) {
  Bar bar(kVertical);
  bar.model.SetValue(97);
  bar.Clear();
  bar.Press(195);  // on the down arrow
  bar.timer.Advance(99);
  EXPECT_TRUE(bar.values.empty());
  bar.timer.Advance(41);
  EXPECT_EQ(bar.changeTimes, (Times{100, 110, 120, 130, 140}));
  // At the end of the range Change keeps coming with no movement until the release.
  EXPECT_EQ(bar.values, (Ints{98, 99, 100, 100, 100}));
  bar.model.MouseRelease();
  bar.timer.Advance(1000);
  EXPECT_EQ(bar.values.size(), 5u);

  // A hold that begins at the end of the range never reaches a line step: every 100 ms.
  bar.Clear();
  bar.Hold(195, 300);
  EXPECT_EQ(bar.changeTimes, (Times{1240, 1340, 1440}));
  EXPECT_EQ(bar.values, (Ints{100, 100, 100}));

  bar.Clear();
  bar.Hold(5, 120);  // the up arrow
  EXPECT_EQ(bar.values, (Ints{99, 98, 97}));
}

TEST(VerticalScrollBar, ArrowKeysStepOncePerPressAndPageKeysRepeatUntilAnyKeyIsReleased) {
  Bar bar(kVertical);
  for (int key : {kKeyDown, kKeyDown, kKeyUp, kKeyRight}) bar.model.KeyDown(key);
  EXPECT_EQ(bar.values, (Ints{1, 2, 1}));  // Right means nothing to a vertical bar
  EXPECT_FALSE(bar.timer.Enabled());
  bar.Clear();
  bar.model.KeyDown(kKeyPageDown);
  bar.timer.Advance(25);
  bar.model.KeyUp();
  bar.timer.Advance(100);
  EXPECT_EQ(bar.changeTimes, (Times{10, 20}));
  EXPECT_EQ(bar.timer.Interval(), 100);
}

TEST(VerticalScrollBar, TrackPressPagesTowardsThePointerAndDragMapsItToTheValue) {
  Bar bar(kVertical);
  bar.Press(100);  // below the thumb: pages until the thumb covers the pointer, then waits
  bar.timer.Advance(2000);
  EXPECT_EQ(bar.ValueAndThumb(), std::pair(40, 80));
  EXPECT_EQ(bar.values.size(), 8u);
  EXPECT_TRUE(bar.timer.Enabled());
  bar.model.MouseRelease();

  // Above the thumb and close to it, the value moves by the pointer's share of the bar.
  bar.model.SetValue(100);
  bar.Clear();
  bar.Press(150);
  bar.timer.Advance(1000);
  EXPECT_EQ(bar.values, Ints{96});  // round(100 - 7 / 200 x 100) = 96.5 -> 96
  EXPECT_EQ(bar.model.ThumbPos(), 151);
  bar.model.MouseRelease();

  // A page that carries the thumb past the pointer ends the repeat.
  Bar big(kVertical, ScrollBarSettings{.ValueLargeChange = 50});  // a 45-row thumb
  big.Press(70);
  big.timer.Advance(100);
  EXPECT_EQ(big.ValueAndThumb(), std::pair(50, 86));  // round(0.5 x 137 + 17), 85.5 to even
  EXPECT_FALSE(big.timer.Enabled());

  Bar drag(kVertical);
  drag.Press(20);  // on the thumb (rows 17 to 41)
  EXPECT_TRUE(drag.model.Dragging());
  EXPECT_FALSE(drag.timer.Enabled());
  // {pointer, thumb, value}: round(100 - 10 - 3) = 87 and round(83 / 168 x 100) = 49.
  for (auto [at, thumb, value] : {std::tuple{100, 87, 49}, {5, 17, 0}, {199, 158, 100}}) {
    drag.Move(at);
    EXPECT_EQ(drag.ValueAndThumb(), std::pair(value, thumb)) << at;
  }
  drag.model.MouseRelease();
  EXPECT_FALSE(drag.model.Dragging());
  drag.Move(60);  // moves without a drag do nothing
  EXPECT_EQ(drag.values, (Ints{49, 0, 100}));
}

TEST(VerticalScrollBar, WithValueMaxZeroShowsNoThumbAndIgnoresInput) {
  Bar bar(kVertical, kMainScrollAccSettings);
  EXPECT_FALSE(bar.model.ThumbShown());
  EXPECT_TRUE(bar.model.ThumbDrawing().empty());
  bar.model.SetValue(7);
  EXPECT_EQ(bar.model.Value(), 0);
  bar.Clear();
  bar.Pester();
  EXPECT_TRUE(bar.values.empty());
  EXPECT_FALSE(bar.timer.Enabled());
  bar.model.SetValueMax(3);  // once the journal grows the bar works
  bar.model.KeyDown(kKeyDown);
  EXPECT_EQ(bar.values, Ints{1});
}

TEST(ScrollBarRobustness, EmptyOrInvertedRangeNeitherDividesNorJumps) {
  for (ScrollBarKind kind : {kVertical, kHorizontal}) {
    SCOPED_TRACE(kind == kVertical ? "vertical" : "horizontal");
    // An empty range, and the cash-flow window's bar when every column fits: ValueMax
    // negative, Value 0. Clicks, drags and keys leave both where they are.
    Bar bar(kind, ScrollBarSettings{.ValueMax = 5, .Value = 5, .ValueMin = 5});
    Bar fits(kind, kCashFlowHScroll1Settings, 900);
    fits.model.SetValueMax(-300);
    fits.model.SetValue(0);
    const int thumb = bar.model.ThumbPos();
    bar.model.SetValue(9);
    EXPECT_EQ(bar.model.ThumbPos(), thumb);
    EXPECT_EQ(bar.values.size(), 1u);  // the setter still raises Change
    EXPECT_EQ(fits.model.Value(), 0);
    for (Bar* b : {&bar, &fits}) {
      b->Clear();
      b->Pester();
      b->model.Refresh();
      EXPECT_TRUE(b->values.empty());
    }
    EXPECT_EQ(bar.model.ThumbPos(), thumb);
    EXPECT_EQ(fits.model.Value(), 0);

    // ValueLargeChange 0 leaves the thumb length as it was.
    Bar pageless(kind, ScrollBarSettings{.ValueLargeChange = 0}, 300);
    EXPECT_EQ(pageless.model.ThumbLength(), kind == kVertical ? 20 : 5);

    // The range emptied during a hold stops the repeat where it stands.
    Bar held(kind);
    held.Press(190);
    held.timer.Advance(120);
    ASSERT_FALSE(held.values.empty());
    const auto state = held.ValueAndThumb();
    held.Clear();
    held.model.SetValueMax(0);
    held.timer.Advance(500);
    EXPECT_TRUE(held.values.empty());
    EXPECT_FALSE(held.timer.Enabled());
    EXPECT_EQ(held.ValueAndThumb(), state);
  }
  // 18 rows: the thumb length comes to 6 and the drag's divisor H - (L + 12) to 0.
  Bar tiny(kVertical, {}, 18);
  EXPECT_EQ(tiny.model.ThumbLength(), 6);
  EXPECT_FALSE(tiny.model.ThumbShown());
  tiny.Press(1);
  ASSERT_TRUE(tiny.model.Dragging());
  tiny.Move(10);
  tiny.Move(-40);
  EXPECT_EQ(tiny.model.Value(), 0);
  EXPECT_TRUE(tiny.values.empty());
}

TEST(ScrollBarRobustness, ExtremeValuesNeitherOverflowNorLeaveTheRange) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  for (ScrollBarKind kind : {kVertical, kHorizontal}) {
    Bar bar(kind, ScrollBarSettings{.ValueMax = kMax,
                                    .Value = kMax - 1,
                                    .ValueMin = kMin,
                                    .ValueLargeChange = kMax,
                                    .ValueSmallChange = kMax});
    bar.HoldKey(kKeyPageDown, 200);
    EXPECT_EQ(bar.model.Value(), kMax);
    bar.HoldKey(kKeyPageUp, 400);
    EXPECT_EQ(bar.model.Value(), kMin);
    bar.HoldKey(kKeyUp, 0);
    bar.Hold(2, 300);
    EXPECT_EQ(bar.model.Value(), kMin);
    bar.model.SetValue(kMax);
    bar.model.SetValue(kMin);
    EXPECT_GE(bar.model.ThumbPos(), std::numeric_limits<int16_t>::min());
  }
}

// Every shown thumb lies on the track (rows or columns 17 to E - 18), whatever the size of
// the bar, its range and page, and however the value was reached.
TEST(ScrollBarRobustness, ShownThumbsStayOnTheTrack) {
  const ScrollBarSettings kinds[] = {{},
                                     kMainEScrollSettings,
                                     kCashFlowHScroll1Settings,
                                     ScrollBarSettings{.ValueMax = 100, .ValueLargeChange = 375},
                                     ScrollBarSettings{.ValueMax = 1, .ValueLargeChange = 1},
                                     ScrollBarSettings{.ValueMax = 100000, .ValueLargeChange = 1}};
  for (ScrollBarKind kind : {kVertical, kHorizontal}) {
    for (const ScrollBarSettings& settings : kinds) {
      for (int extent = 0; extent <= 260; ++extent) {
        Bar bar(kind, settings, extent);
        auto check = [&] {
          if (!bar.model.ThumbShown()) return;
          const int t = bar.model.DrawnThumbPos();
          if (kind == kVertical) {
            ASSERT_EQ(t, bar.model.ThumbPos());  // the vertical bar never leaves the track
          }
          ASSERT_GE(t, 17) << "extent " << extent;
          ASSERT_LE(t + bar.model.ThumbLength() + 4, extent - 18) << "extent " << extent;
        };
        check();
        for (int v : {settings.ValueMin, settings.ValueMax / 2, settings.ValueMax, -10}) {
          bar.model.SetValue(v);
          check();
        }
        bar.model.KeyDown(kKeyPageDown);
        bar.timer.Advance(30);
        check();
        bar.model.KeyUp();
        bar.Press(bar.model.ThumbPos() + 1);
        bar.Move(extent - 20);
        check();
        bar.model.MouseRelease();
      }
    }
  }
  // The main window's entry-row bar at the window's smallest height, its rows barely
  // overflowing: the length rule alone would give round(72 - 100) = -28.
  Bar entryRows(kVertical, kMainEScrollSettings, 72);
  entryRows.model.SetValueMax(100);
  entryRows.model.Refresh();
  EXPECT_EQ(entryRows.model.ThumbLength(), 6);
  // A page larger than twice the range on a 113-row bar still gives an 18-row thumb.
  Bar short113(kVertical, ScrollBarSettings{.ValueLargeChange = 250}, 113);
  EXPECT_EQ(short113.model.ThumbLength() + 5, 18);
}

TEST(HorizontalScrollBar, PlacesTheThumbAsTheCashFlowWindowSeesIt) {
  Bar bar(kHorizontal, kCashFlowHScroll1Settings, 900);
  EXPECT_EQ(bar.model.ThumbLength(), 430);  // the thumb spans 435 columns
  bar.model.SetValue(75);
  EXPECT_EQ(bar.model.ThumbPos(), 240);  // 240.5 halves to even
  bar.model.Refresh();
  EXPECT_EQ(bar.model.ThumbPos(), 224);  // 223.5
  // A rightward step landing on 75 puts the thumb at 241, a leftward one at 224.
  for (auto [from, key, thumb] : {std::tuple{25, kKeyRight, 241}, {125, kKeyLeft, 224}}) {
    bar.model.SetValue(from);
    bar.HoldKey(key, 0);
    EXPECT_EQ(bar.ValueAndThumb(), std::pair(75, thumb));
  }
  // No lower bound and no end clamp in the setter; the thumb is still drawn on the track.
  bar.model.SetValue(-10);
  EXPECT_EQ(bar.ValueAndThumb(), std::pair(-10, -13));
  EXPECT_EQ(bar.model.DrawnThumbPos(), 17);
  bar.model.SetValue(400);
  EXPECT_EQ(bar.model.Value(), 150);

  // A disabled bar's thumb fills the track after a full redraw.
  bar.model.SetEnabled(false);
  EXPECT_EQ(bar.model.ThumbLength(), 430);
  bar.model.Refresh();
  EXPECT_EQ(bar.model.ThumbPos(), 17);
  EXPECT_EQ(bar.model.ThumbPos() + bar.model.ThumbLength() + 4, 900 - 18);
}

TEST(HorizontalScrollBar, PressUsesTheIntervalInForce) {
  Bar bar(kHorizontal, kCashFlowHScroll1Settings, 900);
  bar.Press(895);  // the right arrow
  bar.timer.Advance(70);
  EXPECT_EQ(bar.changeTimes, (Times{50, 60, 70}));  // 50 ms at first
  EXPECT_EQ(bar.values, (Ints{50, 100, 150}));
  bar.model.MouseRelease();
  bar.model.KeyUp();  // a key release sets 100 ms
  bar.Clear();
  bar.Press(3);
  bar.timer.Advance(110);
  EXPECT_EQ(bar.changeTimes, (Times{170, 180}));
  EXPECT_EQ(bar.values, (Ints{100, 50}));
}

TEST(ScrollBarSettings, StoreOnlyWhatDiffersFromTheDefaultsAndLoadWithoutClampingOrEvents) {
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
  // Unknown keys are ignored; numbers beyond a field are held at its limit.
  const ScrollBarSettings odd =
      ReadScrollBarSettings({{"MouseIcon", 1}, {"ValueMax", 1LL << 40}, {"BackColor", -5}});
  EXPECT_EQ(std::pair(odd.ValueMax, odd.BackColor),
            std::pair(std::numeric_limits<int32_t>::max(), ColorValue{0}));

  Bar loaded(kVertical, ScrollBarSettings{.ValueMax = 10, .Value = 50});
  EXPECT_EQ(loaded.model.Value(), 50);
  EXPECT_TRUE(loaded.values.empty());
  EXPECT_FALSE(loaded.timer.Enabled());
}

}  // namespace
}  // namespace qv
