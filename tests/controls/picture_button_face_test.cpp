#include "controls/picture_button_face.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "controls/etched_frame_geometry.h"

namespace qv {
namespace {

TEST(PictureButtonFaceTest, DownwardTriangleOnBlackInSixGreysAndThePressedFaceMirrorsIt) {
  const FacePicture down = TriangleFace(false);
  const FacePicture up = TriangleFace(true);
  std::set<int> greys;
  for (const auto& row : down) greys.insert(row.begin(), row.end());
  EXPECT_EQ(greys, (std::set<int>{0, 127, 160, 195, 216, 255}));

  // Down: the wide lit edge on row 1 (row 0 black), the two-pixel tip on row 13. Up: the
  // same shape upside down, its bevel reversed.
  EXPECT_EQ(std::tuple(down[0][13], down[1][0], down[1][25], down[13][11], down[6][13]),
            std::tuple(0, 255, 127, 0, 195));
  EXPECT_TRUE(down[13][12] != 0 && down[13][13] != 0);
  EXPECT_EQ(std::tuple(up[12][0], up[12][25]), std::tuple(127, 255));
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
}

}  // namespace
}  // namespace qv
