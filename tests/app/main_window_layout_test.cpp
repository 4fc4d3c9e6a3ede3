#include "app/main_window_layout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(MainWindowLayout, ResizeKeepsTheDesignRulesAtAnySize) {
  const MainWindowGeometry g = ResizeGeometry(10875, 3000, 11000, 45);
  MainWindowGeometry design{.ScrollAccLeft = 10375,
                            .ScrollAccHeight = 2080,
                            .FrameWidth = 10375,
                            .FrameHeight = 2200,
                            .BoxWidth = 10275,
                            .BoxHeight = 1640,
                            .ButtonBarWidth = g.ButtonBarWidth,
                            .NameWidth = 5195,
                            .DebitAmountLeft = 7315,
                            .CreditAmountLeft = 8075,
                            .DebitSignLeft = 7115,
                            .CreditSignLeft = 7855,
                            .NotesWidth = 8485,
                            .StatusTop = 2760,
                            .StatusLeft = 10875 - 595,
                            .EScrollHeight = 1180,
                            .EScrollLeft = 10035,
                            .DebitCompoundLeft = 8830,
                            .CreditCompoundLeft = 9590};
  EXPECT_EQ(g, design);

  const MainWindowGeometry wide = ResizeGeometry(10875 + 2000, 3000, 13000, 45);
  EXPECT_EQ(wide.NameWidth, g.NameWidth + 2000);
  EXPECT_EQ(wide.DebitAmountLeft, g.DebitAmountLeft + 2000);
  EXPECT_EQ(wide.CreditCompoundLeft, g.CreditCompoundLeft + 2000);

  // The smallest inner area the window allows gives no negative size.
  const MainWindowGeometry small =
      ResizeGeometry(kMinWindowWidth - kFrameWidthAllowance,
                     kMinWindowHeight - kFrameHeightAllowance, kMinWindowWidth, 12000);
  EXPECT_GT(small.EScrollHeight, 0);
  EXPECT_GT(small.NameWidth, 0);
  EXPECT_GT(small.BoxHeight, 0);
  EXPECT_EQ(small.StatusLeft, 0);
}

}  // namespace
}  // namespace qv
