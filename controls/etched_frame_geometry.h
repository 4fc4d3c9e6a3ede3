#pragma once
// Where the etched frame draws its two outlines. The top edge sits half a text line down
// (so a caption can sit on it); the highlight outline is drawn first, one pixel right of
// and below the shadow outline, which is drawn over it and ends two rows above the
// highlight's bottom edge.

namespace qv {

// A box outline between two corners, both drawn (inclusive), in pixels.
struct PixelBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  bool operator==(const PixelBox&) const = default;
};

struct EtchedFrameOutlines {
  int TopEdge = 0;     // half the line height, rounded half to even
  PixelBox Highlight;  // (1, a + 1) to (W - 1, H - 1), button highlight
  PixelBox Shadow;     // (0, a) to (W - 2, H - 3), button shadow, drawn second
};

// The outlines for a surface of `width` x `height` pixels whose font's line is
// `lineHeight` pixels high.
EtchedFrameOutlines EtchedFrameLayout(int width, int height, double lineHeight);

}  // namespace qv
