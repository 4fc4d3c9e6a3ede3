#pragma once
// The key codes that the program's key handlers work with: the desktop's virtual-key numbers
// in key-down handlers, character codes in key-press handlers; platform/key_codes_qt.h turns
// Qt's keys into them.

namespace qv {

inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

// Character codes of key presses.
inline constexpr int kCharCopy = 3;
inline constexpr int kCharBackspace = 8;
inline constexpr int kCharEnter = 13;
inline constexpr int kCharPaste = 22;
inline constexpr int kCharEscape = 27;

}  // namespace qv
