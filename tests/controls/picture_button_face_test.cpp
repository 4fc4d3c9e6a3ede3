#include "controls/picture_button_face.h"

#include <gtest/gtest.h>

#include <set>

#include "controls/etched_frame_geometry.h"

namespace qv {
namespace {

TEST(PictureButtonFaceTest, DownwardTriangleOnBlackInSixGreysAndThePressedFaceMirrorsIt) {
  const FacePicture down = TriangleFace(false);
  const FacePicture up = TriangleFace(true);
  std::set<int> greys;
  for (const auto& row : down) greys.insert(row.begin(), row.end());
  EXPECT_EQ(greys, (std::set<int>{0, 127, 160, 195, 216, 255}));

  // Down: the wide edge on top (lit), the tip at the bottom; black around it.
  EXPECT_EQ(down[0][13], 0);
  EXPECT_EQ(down[1][0], 255);
  EXPECT_EQ(down[1][25], 127);
  EXPECT_EQ(down[13][0], 0);
  EXPECT_NE(down[13][12], 0);
  EXPECT_NE(down[13][13], 0);
  EXPECT_EQ(down[13][11], 0);
  EXPECT_EQ(down[6][13], 195);
  // Up: the same shape upside down, its bevel reversed.
  EXPECT_EQ(up[12][0], 127);
  EXPECT_EQ(up[12][25], 255);
  for (int y = 0; y < kFaceHeight; ++y) {
    for (int x = 0; x < kFaceWidth; ++x) {
      EXPECT_EQ(up[static_cast<size_t>(y)][static_cast<size_t>(x)] == 0,
                down[static_cast<size_t>(kFaceHeight - 1 - y)][static_cast<size_t>(x)] == 0);
    }
  }
}

TEST(EtchedFrameLayoutTest, TopEdgeIsHalfTheLineAndTheShadowEndsTwoRowsAboveTheHighlight) {
  const EtchedFrameOutlines o = EtchedFrameLayout(100, 60, 15);
  EXPECT_EQ(o.TopEdge, 8);  // 7.5 rounds to the even 8
  EXPECT_EQ(o.Highlight, (PixelBox{1, 9, 99, 59}));
  EXPECT_EQ(o.Shadow, (PixelBox{0, 8, 98, 57}));
  EXPECT_EQ(EtchedFrameLayout(100, 60, 17).TopEdge, 8);  // 8.5 rounds to 8
  EXPECT_EQ(EtchedFrameLayout(100, 60, 22).TopEdge, 11);
  EXPECT_EQ(EtchedFrameLayout(100, 60, 0).TopEdge, 0);
}

}  // namespace
}  // namespace qv
