#pragma once
// Places widgets at their design positions, given in twips.

#include <QRect>
#include <QWidget>

namespace qv {

// The pixel rectangle of a design rectangle in twips on a screen of the given scale.
QRect TwipsRect(double left, double top, double width, double height, double screenScale = 1.0);

// Moves and sizes the widget to the design rectangle (twips) within its parent.
void PlaceTwips(QWidget* widget, double left, double top, double width, double height,
                double screenScale = 1.0);

}  // namespace qv
