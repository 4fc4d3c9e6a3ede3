#pragma once
// Where the keyboard focus is shows in every window, from the moment the window opens.
//
// Qt's styles draw the focus mark of a button, a list or a check box only once the keyboard
// has moved the focus in its window; a window that opens with the focus on a button would
// hide it, and Space would press a button the user cannot see chosen. The program's own
// controls draw their mark with DrawFocusMark.

class QApplication;
class QColor;
class QPainter;
class QRect;

namespace qv {

// Makes every window of the application show its focus mark from its first showing, once
// however often it is called.
void InstallFocusMarks(QApplication& app);

// The dotted outline just inside `area` that a control of the program's own draws while it
// has the focus, in `color`.
void DrawFocusMark(QPainter& painter, const QRect& area, const QColor& color);

}  // namespace qv
