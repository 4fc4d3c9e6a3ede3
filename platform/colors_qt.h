#pragma once
// Colour values to Qt colours. System colours follow the application palette: each stands
// for a role of its active group, grey text for the disabled group's text colour.

#include <QColor>
#include <QPalette>

#include "platform/colors.h"

namespace qv {

// The Qt colour of a value; system colours are read from `palette` (the application's
// palette when omitted).
QColor ToQColor(ColorValue value);
QColor ToQColor(ColorValue value, const QPalette& palette);

// The colour value (0xBBGGRR) of a Qt colour.
ColorValue FromQColor(const QColor& color);

}  // namespace qv
