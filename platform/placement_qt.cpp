#include "platform/placement_qt.h"

#include "platform/units.h"

namespace qv {

QRect TwipsRect(double left, double top, double width, double height, double screenScale) {
  const int x = TwipsToPixels(left, screenScale);
  const int y = TwipsToPixels(top, screenScale);
  // Size from the rounded far edge, so that adjacent controls meet without gaps.
  const int r = TwipsToPixels(left + width, screenScale);
  const int b = TwipsToPixels(top + height, screenScale);
  return QRect(x, y, std::max(0, r - x), std::max(0, b - y));
}

void PlaceTwips(QWidget* widget, double left, double top, double width, double height,
                double screenScale) {
  widget->setGeometry(TwipsRect(left, top, width, height, screenScale));
}

}  // namespace qv
