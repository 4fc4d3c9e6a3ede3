#pragma once
// Keys and mouse buttons as the program's handlers see them: virtual-key codes in key-down
// and key-up handlers (8 Backspace, 13 Enter, 33 Page Up, 34 Page Down, 37 to 40 Left, Up,
// Right, Down, 65 to 90 the letters, ...), character codes in key-press handlers (8
// Backspace, 13 Enter, 3, 22 and 24 the copy, paste and cut control characters), a shift
// mask (1 Shift, 2 Ctrl, 4 Alt) and mouse buttons (1 left, 2 right, 4 middle).

#include <QKeyEvent>
#include <cstdint>

namespace qv {

// The virtual-key code of the key, or 0 for a key the program has no code for.
int16_t VirtualKeyOf(const QKeyEvent& event);

// The character code that the key types, or 0 when it types none (arrows, function keys,
// modifiers). Characters beyond 16 bits give 0.
int16_t KeyAsciiOf(const QKeyEvent& event);

// The Unicode character that the key types as text, whatever its code (a CJK ideograph, a
// Hangul syllable, an emoji beyond 16 bits), or 0 when it types no printable character.
char32_t TypedCharacterOf(const QKeyEvent& event);

// The shift mask of the modifiers.
int16_t ShiftMaskOf(Qt::KeyboardModifiers modifiers);

// The button number of one mouse button, and the mask of the buttons held.
int16_t MouseButtonOf(Qt::MouseButton button);
int16_t MouseButtonsOf(Qt::MouseButtons buttons);

}  // namespace qv
