#pragma once
// The key codes that the program's key-down handlers work with (the desktop's virtual-key
// numbers); platform/key_codes_qt.h turns Qt's keys into them.

namespace qv {

inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

}  // namespace qv
