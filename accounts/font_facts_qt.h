#pragma once
// What the screen's font system says of its fonts, for the configuration window's font and
// character-set lists: every family, whether it is a symbol font, whether it can be shown
// at 9 points, and which of the fourteen character sets its writing systems cover.

#include <vector>

#include "accounts/configuration.h"

namespace qv {

// The families of the screen, in the font system's order.
std::vector<FontFacts> ScreenFonts();

}  // namespace qv
