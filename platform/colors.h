#pragma once
// Colour values as the windows' design gives them: 0xBBGGRR (red in the lowest byte), and
// 0x800000nn for the system colour nn.

#include <cstdint>

namespace qv {

using ColorValue = uint32_t;

inline constexpr ColorValue kSystemColorFlag = 0x80000000u;

// System colour indexes.
enum SystemColor : uint32_t {
  kScrollBarColor = 0x00,
  kDesktopColor = 0x01,
  kActiveTitleColor = 0x02,
  kInactiveTitleColor = 0x03,
  kMenuBarColor = 0x04,
  kWindowBackgroundColor = 0x05,
  kWindowFrameColor = 0x06,
  kMenuTextColor = 0x07,
  kWindowTextColor = 0x08,
  kTitleBarTextColor = 0x09,
  kActiveBorderColor = 0x0A,
  kInactiveBorderColor = 0x0B,
  kApplicationWorkspaceColor = 0x0C,
  kHighlightColor = 0x0D,
  kHighlightTextColor = 0x0E,
  kButtonFaceColor = 0x0F,
  kButtonShadowColor = 0x10,
  kGrayTextColor = 0x11,
  kButtonTextColor = 0x12,
  kInactiveTitleTextColor = 0x13,
  kButtonHighlightColor = 0x14,
  kButtonDarkShadowColor = 0x15,
  kButtonLightColor = 0x16,
  kInfoTextColor = 0x17,
  kInfoBackgroundColor = 0x18,
};

inline constexpr ColorValue SystemColorValue(SystemColor c) { return kSystemColorFlag | c; }
inline constexpr bool IsSystemColor(ColorValue v) { return (v & 0xFF000000u) == kSystemColorFlag; }

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The colour value of red, green and blue parts.
inline constexpr ColorValue RgbValue(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<ColorValue>(r) | (static_cast<ColorValue>(g) << 8) |
         (static_cast<ColorValue>(b) << 16);
}
// The parts of a plain (non-system) colour value.
inline constexpr Rgb RgbOf(ColorValue v) {
  return Rgb{static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
             static_cast<uint8_t>((v >> 16) & 0xFF)};
}

// Common colours of the program.
inline constexpr ColorValue kBlack = 0x000000;
inline constexpr ColorValue kWhite = 0xFFFFFF;
inline constexpr ColorValue kRed = 0x0000FF;
inline constexpr ColorValue kMagenta = 0xFF00FF;
// The tint of a second copy of the program: light yellow.
inline constexpr ColorValue kSecondCopyTint = 0xC0FFFF;

}  // namespace qv
