#include "controls/wait_screen_model.h"

#include <gtest/gtest.h>
#include <cstdint>

namespace qv {
namespace {

TEST(WaitScreenModel, GradientRunsThroughTheColoursAndBack) {
  FadeColorList fade{};
  EXPECT_FALSE(FadeColorsSet(fade)) << "colours not computed yet";
  for (int i = 1; i <= 30; ++i) fade[static_cast<std::size_t>(i)] = static_cast<uint32_t>(i);
  EXPECT_TRUE(FadeColorsSet(fade));
  EXPECT_EQ(FadeSequenceColor(fade, 0), 1u);
  EXPECT_EQ(FadeSequenceColor(fade, 29), 30u);
  EXPECT_EQ(FadeSequenceColor(fade, 30), 30u);
  EXPECT_EQ(FadeSequenceColor(fade, 59), 1u);
  EXPECT_EQ(FadeSequenceColor(fade, 60), 1u) << "the run repeats";
  EXPECT_EQ(FadeSequenceColor(fade, -1), 1u);
}

TEST(WaitScreenModel, ThePositionOfAJobGivesAtMostNinetyNineTicks) {
  EXPECT_EQ(TicksForPosition(0, 1000), 0);
  EXPECT_EQ(TicksForPosition(10, 1000), 0);
  EXPECT_EQ(TicksForPosition(11, 1000), 1);
  EXPECT_EQ(TicksForPosition(500, 1000), 49);
  EXPECT_EQ(TicksForPosition(1000, 1000), 99);
  EXPECT_EQ(TicksForPosition(5000, 1000), 99) << "a report past the end stays at the end";
  EXPECT_EQ(TicksForPosition(5, 0), 0) << "nothing to do";
  EXPECT_EQ(TicksForPosition(-5, 100), 0);
  EXPECT_GE(TicksForPosition(INT64_MAX / 2, INT64_MAX), 49) << "no overflow on huge positions";
  EXPECT_LE(TicksForPosition(INT64_MAX / 2, INT64_MAX), 50);
}

}  // namespace
}  // namespace qv
