#include "controls/etched_frame_geometry.h"

#include "platform/units.h"

namespace qv {

EtchedFrameOutlines EtchedFrameLayout(int width, int height, double lineHeight) {
  EtchedFrameOutlines o;
  o.TopEdge =
      lineHeight > 0 && lineHeight < 1e6 ? static_cast<int>(RoundHalfEven(lineHeight / 2)) : 0;
  const int a = o.TopEdge;
  o.Highlight = PixelBox{1, a + 1, width - 1, height - 1};
  o.Shadow = PixelBox{0, a, width - 2, height - 3};
  return o;
}

}  // namespace qv
