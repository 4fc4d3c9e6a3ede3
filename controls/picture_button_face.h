#pragma once
// The two faces of the picture button: a grey bevelled triangle on black, 26 x 14 pixels,
// in six greys (0, 127, 160, 195, 216, 255). The resting face points down and is lit from
// the top left; the pressed face points up with its bevel reversed. Black is the
// background that the button's mask cuts away.

#include <array>
#include <cstdint>

namespace qv {

inline constexpr int kFaceWidth = 26;
inline constexpr int kFaceHeight = 14;

// Grey levels, row by row.
using FacePicture = std::array<std::array<uint8_t, kFaceWidth>, kFaceHeight>;

// The downward face (`up` false) or the upward, pressed face (`up` true).
FacePicture TriangleFace(bool up);

}  // namespace qv
