#include "controls/picture_button_face.h"

#include <cstddef>

namespace qv {

namespace {

constexpr uint8_t kShadow = 127;
constexpr uint8_t kInnerShadow = 160;
constexpr uint8_t kFace = 195;
constexpr uint8_t kInnerLight = 216;
constexpr uint8_t kLight = 255;

// The pressed face swaps the lit and the shaded edges.
uint8_t Reversed(uint8_t grey) {
  switch (grey) {
    case kLight: return kShadow;
    case kShadow: return kLight;
    case kInnerLight: return kInnerShadow;
    case kInnerShadow: return kInnerLight;
    default: return grey;
  }
}

}  // namespace

FacePicture TriangleFace(bool up) {
  FacePicture down{};
  // Row 0 is background; the triangle's top edge is row 1, full width, and each row below
  // is one pixel narrower on both sides down to the two-pixel tip on row 13.
  for (int y = 1; y < kFaceHeight; ++y) {
    const int left = y - 1;
    const int right = kFaceWidth - y;
    for (int x = left; x <= right; ++x) {
      uint8_t grey = kFace;
      if (x == right) {
        grey = kShadow;
      } else if (x == right - 1 && y > 1) {
        grey = kInnerShadow;
      } else if (y == 1) {
        grey = kLight;
      } else if (x == left) {
        grey = kInnerLight;
      }
      down[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = grey;
    }
  }
  if (!up) return down;

  FacePicture pressed{};
  for (int y = 0; y < kFaceHeight; ++y) {
    for (int x = 0; x < kFaceWidth; ++x) {
      pressed[static_cast<std::size_t>(kFaceHeight - 1 - y)][static_cast<std::size_t>(x)] =
          Reversed(down[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    }
  }
  return pressed;
}

}  // namespace qv
