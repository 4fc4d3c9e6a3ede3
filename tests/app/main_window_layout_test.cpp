#include "app/main_window_layout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// At the smallest width, the design width and wider: the entry frame ends before the
// journal bar, the row bar stands inside the frame, the row box ends before the row bar, and
// the notes box and the sum image beside the credit add-line image end inside the row box.
TEST(MainWindowLayout, NothingOfTheRowBoxLiesUnderEitherScrollBarAtAnyWidth) {
  constexpr int32_t kSumImageRight = 300 + 30 + 210;  // the image, the gap, the sum image
  for (int32_t width : {kMinWindowWidth - kFrameWidthAllowance, 10875, 20000}) {
    SCOPED_TRACE(width);
    const MainWindowGeometry g = ResizeGeometry(width, 3000, width + 120, 45);
    EXPECT_LT(design::XFrame1.Left + g.FrameWidth, g.ScrollAccLeft);
    EXPECT_LT(g.EScrollLeft + design::EScroll.Width, g.FrameWidth);
    EXPECT_LT(design::EBox.Left + g.BoxWidth, g.EScrollLeft);
    EXPECT_LE(design::AccNote.Left + g.NotesWidth, g.BoxWidth);
    EXPECT_LE(g.CreditCompoundLeft + kSumImageRight, g.BoxWidth);
    EXPECT_LE(design::DebitAccName.Left + g.NameWidth, g.DebitAmountLeft);
  }
}

}  // namespace
}  // namespace qv
