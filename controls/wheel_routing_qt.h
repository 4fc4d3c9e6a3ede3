#pragma once
// The mouse wheel as the program's windows take it.
//
// A list or number box without the keyboard focus never changes its value under the wheel:
// Qt's combo and spin boxes take the wheel whether or not they have the focus, so a wheel
// meant to scroll the window would change a posting's account. The wheel goes on to the
// box's parent instead, as over any box that leaves it alone. With the focus, a box takes the
// wheel as usual.
//
// Over a view scrolled by a bar of its own, the wheel moves that bar a step a notch, as its
// arrows do; the edit pending in the bar's window is stored first, as a click on the arrow
// would store it by taking the focus.

#include <QObject>

class QApplication;
class QScrollBar;
class QWidget;

namespace qv {

class ScrollBarControl;

// Puts the rule for unfocused boxes in place for every window of the application.
void InstallWheelGuard(QApplication& app);

// The wheel over `area`, or over anything within it that leaves the wheel alone, moves the
// bar while it is shown.
void WheelMovesBar(QWidget* area, ScrollBarControl* bar);
void WheelMovesBar(QWidget* area, QScrollBar* bar);

}  // namespace qv
