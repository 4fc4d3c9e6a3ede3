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
  for (auto [step, colour] : {std::pair{0, 1u}, {29, 30u}, {30, 30u}, {59, 1u}, {60, 1u}, {-1, 1u}})
    EXPECT_EQ(FadeSequenceColor(fade, step), colour) << step;
}

TEST(WaitScreenModel, ThePositionOfAJobGivesAtMostNinetyNineTicks) {
  for (auto [done, total, ticks] : {std::tuple{10, 1000, 0},
                                    {11, 1000, 1},
                                    {1000, 1000, 99},
                                    {5000, 1000, 99},  // past the end stays at the end
                                    {5, 0, 0},
                                    {-5, 100, 0}})
    EXPECT_EQ(TicksForPosition(done, total), ticks) << done << " of " << total;
  EXPECT_GE(TicksForPosition(INT64_MAX / 2, INT64_MAX), 49) << "no overflow on huge positions";
  EXPECT_LE(TicksForPosition(INT64_MAX / 2, INT64_MAX), 50);
}

}  // namespace
}  // namespace qv
