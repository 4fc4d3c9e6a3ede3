#include "controls/scroll_bar_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/controls/fake_repeat_timer.h"

namespace qv {
namespace {

using testing::FakeRepeatTimer;

// A bar on a fake clock that records when Change arrives and what Value was then.
struct Bar {
  explicit Bar(ScrollBarKind kind, const ScrollBarSettings& settings = {}, int along = 200,
               int across = 19)
      : model(kind, timer, settings) {
    model.onChange = [this] {
      changeTimes.push_back(timer.Now());
      values.push_back(model.Value());
    };
    if (kind == ScrollBarKind::Vertical) {
      model.Resize(across, along);
    } else {
      model.Resize(along, across);
    }
  }
  // Presses at a position along the track, in the middle across it.
  void Press(double along) {
    if (model.Kind() == ScrollBarKind::Vertical) {
      model.MousePress(9, along);
    } else {
      model.MousePress(along, 9);
    }
  }
  void Move(double along) {
    if (model.Kind() == ScrollBarKind::Vertical) {
      model.MouseMove(9, along);
    } else {
      model.MouseMove(along, 9);
    }
  }
  void ClearRecord() {
    changeTimes.clear();
    values.clear();
  }

  FakeRepeatTimer timer;
  ScrollBarModel model;
  std::vector<long long> changeTimes;
  std::vector<int> values;
};

constexpr auto kVertical = ScrollBarKind::Vertical;
constexpr auto kHorizontal = ScrollBarKind::Horizontal;

TEST(ScrollBarShades, AreFivePercentStepsOfTheBarColourCappedAt255) {
  const ScrollBarShades tint = ShadesOf(0xC0FFFF);
  EXPECT_EQ(tint.Percent(55), 0x6A8C8Cu);  // 140.25 -> 140, 105.6 -> 106
  EXPECT_EQ(tint.Percent(100), 0xC0FFFFu);
  EXPECT_EQ(tint.Percent(125), 0xF0FFFFu);
  // 100 x (255 / 200) in doubles is just below 127.5.
  EXPECT_EQ(ShadesOf(0xFFFFFF).Percent(50), 0x7F7F7Fu);
  EXPECT_EQ(ShadesOf(0x000000).Percent(125), 0x000000u);
}

TEST(VerticalScrollBar, PlacesTheThumbByTheValue) {
  Bar bar(kVertical);  // a new bar: 0 to 100, page 5, 200 rows tall
  EXPECT_EQ(bar.model.ThumbLength(), 20);  // round(160 / 20 / 2) = 4, raised to 20
  EXPECT_EQ(bar.model.ThumbPos(), 17);
  bar.model.SetValue(100);
  EXPECT_EQ(bar.model.ThumbPos(), 157);
  bar.model.SetValue(50);
  EXPECT_EQ(bar.model.ThumbPos(), 78);  // 78.5 halves to even
  bar.model.SetValue(55);
  EXPECT_EQ(bar.model.ThumbPos(), 86);

  // A downward step places the thumb 17 rows lower than setting the value does.
  bar.model.SetValue(50);
  bar.ClearRecord();
  bar.model.KeyDown(kKeyPageDown);
  bar.timer.Advance(10);
  EXPECT_EQ(bar.model.Value(), 55);
  EXPECT_EQ(bar.model.ThumbPos(), 103);
  bar.model.KeyUp();
  EXPECT_EQ(bar.values, std::vector<int>{55});

  // Setting the value clamps it into the range and raises Change even when nothing moves.
  bar.ClearRecord();
  bar.model.SetValue(500);
  bar.model.SetValue(-3);
  bar.model.SetValue(0);
  EXPECT_EQ(bar.values, (std::vector<int>{100, 0, 0}));

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
  bar.ClearRecord();
  bar.Press(195);  // on the down arrow
  bar.timer.Advance(99);
  EXPECT_TRUE(bar.values.empty());
  bar.timer.Advance(41);  // to 140 ms
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{100, 110, 120, 130, 140}));
  // At the end of the range Change keeps coming with no movement until the release.
  EXPECT_EQ(bar.values, (std::vector<int>{98, 99, 100, 100, 100}));
  bar.model.MouseRelease();
  bar.timer.Advance(1000);
  EXPECT_EQ(bar.values.size(), 5u);

  // A hold that begins at the end of the range never reaches a line step: every 100 ms.
  bar.ClearRecord();
  bar.Press(195);
  bar.timer.Advance(300);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{1240, 1340, 1440}));
  EXPECT_EQ(bar.values, (std::vector<int>{100, 100, 100}));
  bar.model.MouseRelease();

  // The up arrow likewise.
  bar.ClearRecord();
  bar.Press(5);
  bar.timer.Advance(120);
  EXPECT_EQ(bar.values, (std::vector<int>{99, 98, 97}));
  bar.model.MouseRelease();
}

TEST(VerticalScrollBar, PageKeysRepeatEvery10MsUntilAnyKeyIsReleased) {
  Bar bar(kVertical);
  bar.model.KeyDown(kKeyPageDown);
  bar.timer.Advance(35);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{10, 20, 30}));
  EXPECT_EQ(bar.values, (std::vector<int>{5, 10, 15}));
  bar.model.KeyUp();
  EXPECT_FALSE(bar.timer.Enabled());
  EXPECT_EQ(bar.timer.Interval(), 100);
  bar.timer.Advance(100);
  EXPECT_EQ(bar.values.size(), 3u);

  // Up and Down step once per press, at once, and leave no repeat running.
  bar.ClearRecord();
  bar.model.KeyDown(kKeyUp);
  bar.model.KeyDown(kKeyUp);
  bar.model.KeyDown(kKeyDown);
  EXPECT_EQ(bar.values, (std::vector<int>{14, 13, 14}));
  EXPECT_FALSE(bar.timer.Enabled());
  EXPECT_EQ(bar.model.RepeatMode(), 0);
  // Left and Right mean nothing to a vertical bar.
  bar.model.KeyDown(kKeyRight);
  EXPECT_EQ(bar.values.size(), 3u);
}

TEST(VerticalScrollBar, TrackPressPagesTowardsThePointerAndStops) {
  Bar bar(kVertical);
  bar.Press(100);  // below the thumb
  bar.timer.Advance(2000);
  // Pages until the thumb covers the pointer, then waits.
  EXPECT_EQ(bar.model.Value(), 40);
  EXPECT_EQ(bar.model.ThumbPos(), 80);
  EXPECT_EQ(bar.values.size(), 8u);
  EXPECT_TRUE(bar.timer.Enabled());
  bar.model.MouseRelease();

  // Above the thumb and close to it, the value moves by the pointer's share of the bar.
  bar.model.SetValue(100);
  bar.ClearRecord();
  bar.Press(150);
  bar.timer.Advance(1000);
  EXPECT_EQ(bar.values, std::vector<int>{96});  // round(100 - 7 / 200 x 100) = 96.5 -> 96
  EXPECT_EQ(bar.model.ThumbPos(), 151);
  bar.model.MouseRelease();

  // A page that carries the thumb past the pointer ends the repeat.
  Bar big(kVertical, ScrollBarSettings{.ValueLargeChange = 50});  // a 45-row thumb
  big.Press(70);
  big.timer.Advance(100);
  EXPECT_EQ(big.model.Value(), 50);
  EXPECT_EQ(big.model.ThumbPos(), 86);  // round(0.5 x 137 + 17), 85.5 halves to even
  EXPECT_FALSE(big.timer.Enabled());
}

TEST(VerticalScrollBar, DragMapsThePointerToTheValue) {
  Bar bar(kVertical);
  bar.Press(20);  // on the thumb (rows 17 to 41)
  EXPECT_TRUE(bar.model.Dragging());
  EXPECT_FALSE(bar.timer.Enabled());
  bar.Move(100);
  EXPECT_EQ(bar.model.ThumbPos(), 87);  // round(100 - 10 - 3)
  EXPECT_EQ(bar.model.Value(), 49);     // round(83 / 168 x 100)
  bar.Move(5);
  EXPECT_EQ(bar.model.ThumbPos(), 17);
  EXPECT_EQ(bar.model.Value(), 0);
  bar.Move(199);
  EXPECT_EQ(bar.model.ThumbPos(), 158);
  EXPECT_EQ(bar.model.Value(), 100);
  bar.model.MouseRelease();
  EXPECT_FALSE(bar.model.Dragging());
  bar.Move(60);  // moves without a drag do nothing
  EXPECT_EQ(bar.values, (std::vector<int>{49, 0, 100}));
}

TEST(VerticalScrollBar, DrawsItsThumbInPressedShadesWhileDragged) {
  Bar bar(kVertical);
  const auto normal = bar.model.ThumbDrawing();
  ASSERT_EQ(normal.size(), 6u);
  const auto& outline = std::get<BoxOp>(normal[0]);
  EXPECT_EQ(outline.X1, 0);
  EXPECT_EQ(outline.Y1, 17);
  EXPECT_EQ(outline.X2, 18);
  EXPECT_EQ(outline.Y2, 41);  // rows 17 to 41: the 25-row thumb
  EXPECT_EQ(outline.Color, 0x8C8C8Cu);
  EXPECT_EQ(std::get<FilledBoxOp>(normal[3]).Color, bar.model.Shade().Percent(70));
  bar.Press(20);
  const auto pressed = bar.model.ThumbDrawing();
  EXPECT_EQ(std::get<BoxOp>(pressed[0]).Color, bar.model.Shade().Percent(50));
  EXPECT_EQ(std::get<FilledBoxOp>(pressed[3]).Color, bar.model.Shade().Percent(65));
}

TEST(VerticalScrollBar, WithValueMaxZeroShowsNoThumbAndIgnoresInput) {
  Bar bar(kVertical, kMainScrollAccSettings);
  EXPECT_FALSE(bar.model.ThumbShown());
  EXPECT_TRUE(bar.model.ThumbDrawing().empty());
  bar.model.SetValue(7);
  EXPECT_EQ(bar.model.Value(), 0);
  bar.ClearRecord();
  bar.model.KeyDown(kKeyPageDown);
  bar.model.KeyDown(kKeyDown);
  bar.Press(195);
  bar.Press(100);
  bar.timer.Advance(1000);
  EXPECT_TRUE(bar.values.empty());
  EXPECT_FALSE(bar.timer.Enabled());

  // Once the journal grows the bar works.
  bar.model.SetValueMax(3);
  bar.model.KeyDown(kKeyDown);
  EXPECT_EQ(bar.values, std::vector<int>{1});
}

TEST(ScrollBarRobustness, EmptyRangeNeitherDividesNorJumps) {
  for (ScrollBarKind kind : {kVertical, kHorizontal}) {
    SCOPED_TRACE(kind == kVertical ? "vertical" : "horizontal");
    Bar bar(kind, ScrollBarSettings{.ValueMax = 5, .Value = 5, .ValueMin = 5});
    const int thumb = bar.model.ThumbPos();
    bar.model.SetValue(9);
    EXPECT_EQ(bar.model.ThumbPos(), thumb);
    EXPECT_EQ(bar.values.size(), 1u);  // the setter still raises Change
    bar.ClearRecord();
    for (int key : {kKeyPageUp, kKeyPageDown, kKeyLeft, kKeyUp, kKeyRight, kKeyDown}) {
      bar.model.KeyDown(key);
    }
    bar.Press(3);
    bar.Press(150);
    bar.Press(197);
    bar.timer.Advance(1000);
    bar.model.Refresh();
    EXPECT_TRUE(bar.values.empty());
    EXPECT_EQ(bar.model.ThumbPos(), thumb);

    // ValueLargeChange 0 leaves the thumb length as it was.
    Bar pageless(kind, ScrollBarSettings{.ValueLargeChange = 0}, 300);
    EXPECT_EQ(pageless.model.ThumbLength(), kind == kVertical ? 20 : 5);
  }
}

TEST(ScrollBarRobustness, RangeEmptiedDuringAHoldStopsTheRepeat) {
  for (ScrollBarKind kind : {kVertical, kHorizontal}) {
    Bar bar(kind);
    bar.Press(190);
    bar.timer.Advance(120);
    ASSERT_FALSE(bar.values.empty());
    const int value = bar.model.Value();
    const int thumb = bar.model.ThumbPos();
    bar.ClearRecord();
    bar.model.SetValueMax(0);
    bar.timer.Advance(500);
    EXPECT_TRUE(bar.values.empty());
    EXPECT_FALSE(bar.timer.Enabled());
    EXPECT_EQ(bar.model.Value(), value);
    EXPECT_EQ(bar.model.ThumbPos(), thumb);
  }
}

TEST(ScrollBarRobustness, DragOnABarWithNoRoomToTravelKeepsItsState) {
  // 18 rows: the thumb length comes to 6 and the drag's divisor H - (L + 12) to 0.
  Bar bar(kVertical, {}, 18);
  EXPECT_EQ(bar.model.ThumbLength(), 6);
  EXPECT_FALSE(bar.model.ThumbShown());
  bar.Press(1);
  ASSERT_TRUE(bar.model.Dragging());
  bar.Move(10);
  bar.Move(-40);
  EXPECT_EQ(bar.model.Value(), 0);
  EXPECT_TRUE(bar.values.empty());
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
    bar.model.KeyDown(kKeyPageDown);
    bar.timer.Advance(200);
    EXPECT_EQ(bar.model.Value(), kMax);
    bar.model.KeyUp();
    bar.model.KeyDown(kKeyPageUp);
    bar.timer.Advance(400);
    EXPECT_EQ(bar.model.Value(), kMin);
    bar.model.KeyUp();
    bar.model.KeyDown(kKeyUp);
    bar.model.KeyUp();
    bar.Press(2);
    bar.timer.Advance(300);
    bar.model.MouseRelease();
    EXPECT_EQ(bar.model.Value(), kMin);
    bar.model.SetValue(kMax);
    bar.model.SetValue(kMin);
    EXPECT_GE(bar.model.ThumbPos(), std::numeric_limits<int16_t>::min());
  }
}

// Every shown thumb lies on the track (rows or columns 17 to E - 18), whatever the size of
// the bar, its range and page, and however the value was reached.
TEST(ScrollBarRobustness, ShownThumbsStayOnTheTrack) {
  const ScrollBarSettings kinds[] = {
      {}, kMainEScrollSettings, kCashFlowHScroll1Settings,
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
          // The vertical bar's own position never leaves the track.
          if (kind == kVertical) {
            ASSERT_EQ(t, bar.model.ThumbPos());
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
  bar.model.SetValue(25);
  bar.model.KeyDown(kKeyRight);
  bar.model.KeyUp();
  EXPECT_EQ(bar.model.Value(), 75);
  EXPECT_EQ(bar.model.ThumbPos(), 241);  // a rightward step
  bar.model.SetValue(125);
  bar.model.KeyDown(kKeyLeft);
  bar.model.KeyUp();
  EXPECT_EQ(bar.model.Value(), 75);
  EXPECT_EQ(bar.model.ThumbPos(), 224);  // a leftward step

  // No lower bound and no end clamp in the setter; the thumb is still drawn on the track.
  bar.model.SetValue(-10);
  EXPECT_EQ(bar.model.Value(), -10);
  EXPECT_EQ(bar.model.ThumbPos(), -13);
  EXPECT_EQ(bar.model.DrawnThumbPos(), 17);
  bar.model.SetValue(400);
  EXPECT_EQ(bar.model.Value(), 150);
}

TEST(HorizontalScrollBar, ArrowKeysStepAtOnceThenEvery10MsPageKeysEvery100Ms) {
  Bar bar(kHorizontal, ScrollBarSettings{.ValueMax = 1000, .ValueLargeChange = 150,
                                         .ValueSmallChange = 50},
          900);
  bar.model.KeyDown(kKeyRight);
  bar.timer.Advance(25);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{0, 10, 20}));
  EXPECT_EQ(bar.values, (std::vector<int>{50, 100, 150}));
  bar.model.KeyUp();

  bar.ClearRecord();
  bar.model.KeyDown(kKeyPageDown);
  bar.timer.Advance(250);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{125, 225}));
  EXPECT_EQ(bar.values, (std::vector<int>{300, 450}));
  bar.model.KeyUp();
  EXPECT_FALSE(bar.timer.Enabled());
}

TEST(HorizontalScrollBar, PressUsesTheIntervalInForce) {
  Bar bar(kHorizontal, kCashFlowHScroll1Settings, 900);
  bar.Press(895);  // the right arrow
  bar.timer.Advance(70);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{50, 60, 70}));  // 50 ms at first
  EXPECT_EQ(bar.values, (std::vector<int>{50, 100, 150}));
  bar.model.MouseRelease();
  // A key release sets 100 ms.
  bar.model.KeyUp();
  bar.ClearRecord();
  bar.Press(3);
  bar.timer.Advance(110);
  EXPECT_EQ(bar.changeTimes, (std::vector<long long>{170, 180}));
  EXPECT_EQ(bar.values, (std::vector<int>{100, 50}));
}

TEST(HorizontalScrollBar, DisabledBarsThumbFillsTheTrackAfterARedraw) {
  Bar bar(kHorizontal, kCashFlowHScroll1Settings, 900);
  bar.model.SetEnabled(false);
  EXPECT_EQ(bar.model.ThumbLength(), 430);
  bar.model.Refresh();
  EXPECT_EQ(bar.model.ThumbPos(), 17);
  EXPECT_EQ(bar.model.ThumbPos() + bar.model.ThumbLength() + 4, 900 - 18);
}

TEST(HorizontalScrollBar, ColumnsThatFitStayPutWhateverTheUserDoes) {
  // The cash-flow window sets ValueMax negative when every column fits, and Value 0.
  Bar bar(kHorizontal, kCashFlowHScroll1Settings, 900);
  bar.model.SetValueMax(-300);
  bar.model.SetValue(0);
  EXPECT_EQ(bar.model.Value(), 0);
  bar.ClearRecord();
  for (double at : {3.0, 100.0, 450.0, 895.0}) {
    bar.Press(at);
    bar.timer.Advance(300);
    bar.Move(700);
    bar.model.MouseRelease();
  }
  for (int key : {kKeyPageUp, kKeyPageDown, kKeyLeft, kKeyUp, kKeyRight, kKeyDown}) {
    bar.model.KeyDown(key);
    bar.timer.Advance(300);
    bar.model.KeyUp();
  }
  EXPECT_TRUE(bar.values.empty());
  EXPECT_EQ(bar.model.Value(), 0);
}

TEST(ScrollBarSettings, StoreOnlyWhatDiffersFromTheDefaultsInTableOrder) {
  EXPECT_TRUE(WriteScrollBarSettings({}).empty());
  const std::vector<ScrollBarSetting> eScroll = {
      {"BackColor", 0xC0FFFF}, {"ValueLargeChange", 375}, {"ValueSmallChange", 25}};
  EXPECT_EQ(WriteScrollBarSettings(kMainEScrollSettings), eScroll);
  EXPECT_EQ(ReadScrollBarSettings(eScroll), kMainEScrollSettings);

  ScrollBarSettings all{.BackColor = 0xFFE0E0, .ValueMax = 9, .Value = 4, .Enabled = false,
                        .ValueMin = -2, .ValueLargeChange = 3, .ValueSmallChange = 2};
  const auto stored = WriteScrollBarSettings(all);
  ASSERT_EQ(stored.size(), 7u);
  EXPECT_EQ(stored[3], (ScrollBarSetting{"Enabled", 0}));
  EXPECT_EQ(ReadScrollBarSettings(stored), all);

  // Unknown keys are ignored; numbers beyond a field are held at its limit.
  const ScrollBarSettings odd =
      ReadScrollBarSettings({{"MouseIcon", 1}, {"ValueMax", 1LL << 40}, {"BackColor", -5}});
  EXPECT_EQ(odd.ValueMax, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(odd.BackColor, 0u);
}

TEST(ScrollBarModel, LoadsItsSettingsWithoutClampingOrEvents) {
  FakeRepeatTimer timer;
  ScrollBarModel model(kVertical, timer, ScrollBarSettings{.ValueMax = 10, .Value = 50});
  EXPECT_EQ(model.Value(), 50);
  EXPECT_EQ(model.Settings().Value, 50);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 100);
  FakeRepeatTimer horizontalTimer;
  ScrollBarModel horizontal(kHorizontal, horizontalTimer);
  EXPECT_EQ(horizontalTimer.Interval(), 50);
}

}  // namespace
}  // namespace qv
