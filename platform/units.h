#pragma once
// Design positions and sizes are in twips: 1440 to the inch, 15 to a pixel at 96 dots per
// inch. ScreenScale (screen twips per pixel / 15) scales design sizes to other screens.

#include <cmath>
#include <cstdint>

namespace qv {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kTwipsPerPixelAt96Dpi = 15.0;

// The twips in one pixel of a device with the given dots per inch: 15 at 96 dpi, 12 at
// 120 dpi. A resolution that is not a positive number is taken as 96 dpi.
inline double TwipsPerPixelForDpi(double dpi) {
  return dpi > 0 ? kTwipsPerInch / dpi : kTwipsPerPixelAt96Dpi;
}

// Twips to whole pixels on a screen with the given scale. A design length scaled by
// ScreenScale keeps its size in pixels only at 96 dpi; this is the conversion the windows
// use to place a control: pixels = twips / (15 * ScreenScale), rounded to nearest.
inline int TwipsToPixels(double twips, double screenScale = 1.0) {
  return static_cast<int>(std::lround(twips / (kTwipsPerPixelAt96Dpi * screenScale)));
}

inline double PixelsToTwips(double pixels, double screenScale = 1.0) {
  return pixels * kTwipsPerPixelAt96Dpi * screenScale;
}

// A design measure in twips as whole logical pixels, and a pixel measure as whole twips, for
// windows laid out in Qt's logical (96 dpi) pixels.
inline int Px(double twips) { return TwipsToPixels(twips); }
inline int32_t Tw(int pixels) { return static_cast<int32_t>(pixels * kTwipsPerPixelAt96Dpi); }

// Rounds to the nearest whole number, halves to the even neighbour, as every conversion of
// a fractional number to a whole one does unless said otherwise.
inline long RoundHalfEven(double value) { return std::lrint(value); }

}  // namespace qv
