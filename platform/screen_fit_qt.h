#pragma once
// Keeps windows on the screen: a window opens wholly within its screen's work area (the
// screen less the desktop's panels), frame and title bar included, and takes the keyboard.

#include <QObject>
#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

namespace qv {

// Sizes and places a top-level window within the work area, frame included: one larger than
// the area is made as large as the area allows, its minimum size lowered to fit (its contents
// scroll or lay themselves out narrower), and one placed partly outside is moved in. Before
// the window system has framed the window, the frame is taken to be that of the other windows.
void FitToScreen(QWidget* window);

// The window's frame on the screen: as the window manager declares it once the window is on
// the screen, else as Qt knows it (the window's own area where it has no frame).
QRect FrameGeometryOf(const QWidget* window);

// The window's frame and its screen's work area as the display shows them, in the display's
// own pixels, which at a fractional scale are not the logical ones multiplied out: the
// display rounds each window's place and size to whole pixels of its own. Where the display
// cannot be asked (not X11), the logical ones mapped as Qt maps them.
QRect ShownFrameGeometryOf(const QWidget* window);
QRect ShownWorkAreaOf(const QWidget* window);

// The largest size of the window's client area for which its frame fits the work area (no
// limit where there is no screen).
QSize RoomOf(const QWidget* window);

// Puts a window's contents of fixed design size into a scroll area filling the window (a
// main window's client area): the window opens as large as the contents where the work area
// allows, grows no larger and offers no maximise button; on a smaller screen it scrolls.
QScrollArea* HoldFixedContents(QWidget* window, QWidget* contents);

// Takes the maximise button from a window whose contents do not grow with it.
void OfferNoMaximise(QWidget* window);

// Watches the application's windows as they open: each is fitted to the screen, and fitted
// again by its own frame once the window manager has framed and placed it, and, unless it is
// a tool window or asks not to be, given the keyboard.
class WindowOpening final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qv
