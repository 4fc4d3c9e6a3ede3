#include "platform/screen_fit_qt.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace qv {
namespace {

// A scroll area that asks for the whole of its contents (a plain one asks for at most
// 36 x 24 lines), so that the window opens at the design size where there is room.
// The area grows no larger than its contents, following them as their layout settles.
class FixedContentsArea final : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override { return widget() ? widget()->size() : QScrollArea::sizeHint(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::Resize) {
      setMaximumSize(widget()->size());
      updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
  }
};

// Marks a window of fixed contents once it has been sized to them.
constexpr const char* kOpenedBefore = "qvOpenedBefore";

#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
// The X11 display the program runs on, where it runs on one.
struct X11Display {
  xcb_connection_t* connection;
  xcb_window_t root;
};

std::optional<X11Display> DisplayOf(const QWidget* window) {
  if (QGuiApplication::platformName() != "xcb" || window->internalWinId() == 0) return std::nullopt;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return std::nullopt;
  const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  if (screens.rem == 0) return std::nullopt;
  return X11Display{connection, screens.data->root};
}

xcb_atom_t AtomNamed(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return found;
}

// The first four numbers of a window's property of numbers (the window manager standards'),
// nothing where it holds fewer or is not set.
std::optional<std::array<std::uint32_t, 4>> FourNumbers(xcb_connection_t* connection,
                                                        xcb_window_t of, xcb_atom_t property) {
  if (property == XCB_ATOM_NONE) return std::nullopt;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, of, property, XCB_ATOM_CARDINAL, 0, 4), nullptr);
  std::optional<std::array<std::uint32_t, 4>> numbers;
  if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
    numbers.emplace();
    std::memcpy(numbers->data(), xcb_get_property_value(reply), sizeof *numbers);
  }
  std::free(reply);
  return numbers;
}
#endif

// The frame the window manager declares around the window (the window manager standards'
// _NET_FRAME_EXTENTS, set as it takes the window), in the display's pixels; nothing where it
// declares none or the display is not X11's. Qt learns of a window's frame only when the
// window is next moved or resized after the window manager took it, which for a window left
// where the program put it may be never: the declared frame is the one to go by.
std::optional<QMargins> DeclaredFrame(const QWidget* window) {
#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
  const std::optional<X11Display> display = DisplayOf(window);
  if (!display) return std::nullopt;
  static const xcb_atom_t extents = AtomNamed(display->connection, "_NET_FRAME_EXTENTS");
  const auto sides =
      FourNumbers(display->connection, static_cast<xcb_window_t>(window->internalWinId()), extents);
  if (!sides) return std::nullopt;
  const auto [left, right, top, bottom] = *sides;
  return QMargins(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                  static_cast<int>(bottom));
#else
  (void)window;
  return std::nullopt;
#endif
}

// Whether Qt knows where the window is: where the display shows its area is where Qt has it
// (to within a pixel of the screen). Qt learns where the window manager has put a window from
// a message that may come after the window is on the screen; until then, a move computed
// from where Qt has it would go astray. Off X11 Qt is taken to know.
bool PlaceKnown(const QWidget* window) {
#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
  const std::optional<X11Display> display = DisplayOf(window);
  if (!display) return true;
  xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
      display->connection,
      xcb_translate_coordinates(display->connection,
                                static_cast<xcb_window_t>(window->internalWinId()), display->root,
                                0, 0),
      nullptr);
  if (reply == nullptr) return true;
  const QPoint shown(reply->dst_x, reply->dst_y);
  std::free(reply);
  const qreal ratio = window->devicePixelRatioF();
  const QPointF known = QPointF(window->geometry().topLeft()) * ratio;
  return std::abs(known.x() - shown.x()) < ratio && std::abs(known.y() - shown.y()) < ratio;
#else
  (void)window;
  return true;
#endif
}

// Margins multiplied by a scale, each taken up to whole pixels, so that a frame is never
// taken for less than it is.
QMargins ScaledUp(const QMargins& margins, qreal scale) {
  const auto side = [scale](int pixels) {
    return static_cast<int>(std::ceil(pixels * scale - 1e-9));
  };
  return QMargins(side(margins.left()), side(margins.top()), side(margins.right()),
                  side(margins.bottom()));
}

// The window's frame as Qt knows it, in the display's pixels.
QMargins QtFrameOf(const QWidget* window) {
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return ScaledUp(QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom()),
                  window->devicePixelRatioF());
}

// The frame the window system has put around the window, in the display's pixels, once it is
// on the screen (it does so after the window is shown, when the window manager takes it;
// without one, never). Qt is not asked before the window is on the screen: it would keep what
// it gets before the window manager has taken the window, no frame, until the window is next
// moved or resized.
std::optional<QMargins> OwnFrame(const QWidget* window) {
  const QWindow* handle = window->windowHandle();
  if (handle == nullptr || !handle->isExposed()) return std::nullopt;
  if (const std::optional<QMargins> declared = DeclaredFrame(window);
      declared && !declared->isNull())
    return declared;
  const QMargins known = QtFrameOf(window);
  return known.isNull() ? std::nullopt : std::optional<QMargins>(known);
}

bool IsFramed(const QWidget* window) { return OwnFrame(window).has_value(); }

// Another open window's frame: the best guess at the frame a window not yet framed will get;
// nothing while no other window has one.
std::optional<QMargins> OtherWindowsFrame(const QWidget* besides) {
  for (const QWidget* other : QApplication::topLevelWidgets())
    if (other != besides && other->isVisible() && other->windowType() == Qt::Window)
      if (const std::optional<QMargins> frame = OwnFrame(other)) return frame;
  return std::nullopt;
}

// The frame the window system puts around a window, in the display's pixels: the window's
// own once it has one, otherwise that of another open window (before its first showing a
// window has none yet).
QMargins FrameOf(const QWidget* window) {
  if (const std::optional<QMargins> own = OwnFrame(window)) return *own;
  return OtherWindowsFrame(window).value_or(QMargins());
}

QScreen* ScreenOf(const QWidget* window) {
  QScreen* screen = window->screen();
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// A rectangle of logical pixels in the display's, as Qt maps a window's place and size: each
// multiplied by the scale, from the screen's corner (which is at the same place in both), and
// rounded to whole pixels.
QRect InDisplayPixels(const QRect& logical, const QWidget* window) {
  const qreal ratio = window->devicePixelRatioF();
  const QScreen* screen = ScreenOf(window);
  const QPoint corner = screen != nullptr ? screen->geometry().topLeft() : QPoint();
  return QRect(corner + (logical.topLeft() - corner) * ratio,
               (QSizeF(logical.size()) * ratio).toSize());
}

// Where the window's own area (its frame about it) may lie, in logical pixels, for its frame
// to show within the work area; empty where there is no screen. The display shows a window
// at its logical place and size each multiplied by the scale (from the screen's corner) and
// rounded to whole pixels: at a fractional scale a logical pixel is not a whole number of the
// display's, and the two roundings may together put the window's right or bottom edge one
// pixel further out than its logical edge, which is allowed for.
QRect RoomWithin(const QWidget* window, const QMargins& frame) {
  const QRect area = ShownWorkAreaOf(window);
  if (area.isEmpty()) return QRect();
  const qreal ratio = window->devicePixelRatioF();
  const QPoint origin = ScreenOf(window)->geometry().topLeft();
  const int rounding = ratio == std::floor(ratio) ? 0 : 1;
  // The first logical pixel shown at or after `pixel`, and the logical end of what shows
  // before `pixel` (the display's), from the screen's corner at `from`.
  const auto firstAfter = [ratio](int pixel, int from) {
    return from + static_cast<int>(std::ceil((pixel - from - 0.5) / ratio - 1e-9));
  };
  const auto endBefore = [ratio, rounding](int pixel, int from) {
    return from + static_cast<int>(std::floor((pixel - from - rounding) / ratio + 1e-9));
  };
  const QPoint topLeft(firstAfter(area.left() + frame.left(), origin.x()),
                       firstAfter(area.top() + frame.top(), origin.y()));
  const QPoint end(endBefore(area.right() + 1 - frame.right(), origin.x()),
                   endBefore(area.bottom() + 1 - frame.bottom(), origin.y()));
  return QRect(topLeft, end - QPoint(1, 1));
}

// Sizes a window of fixed contents to them where the room allows; where they scroll one way,
// it leaves room for that scroll bar.
void SizeToContents(QWidget* window, QScrollArea* scroller, const QSize& room) {
  // The window's limits of an earlier fit are not its contents'.
  window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  scroller->setMaximumSize(scroller->widget()->size());
  window->layout()->activate();
  const QSize want = window->sizeHint();
  const int bar = scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller);
  QSize bars(0, 0);
  if (want.width() > room.width()) bars.setHeight(bar);
  if (want.height() + bars.height() > room.height()) bars.setWidth(bar);
  if (want.width() + bars.width() > room.width()) bars.setHeight(bar);
  scroller->setMaximumSize(scroller->widget()->size() + bars);
  window->layout()->activate();
  window->setMaximumSize(want + bars);
  window->resize((want + bars).boundedTo(room));
}

// The window's own scroll area of fixed contents, if it has one (a window it owns, a child
// window, may hold one of its own).
QScrollArea* FixedContentsOf(QWidget* window) {
  // (The area has no meta-object of its own: Qt's search by type would take any scroll area.)
  for (auto* area : window->findChildren<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly))
    if (dynamic_cast<FixedContentsArea*>(area) != nullptr && area->widget() != nullptr) return area;
  return nullptr;
}

// Makes the window no larger than the room, lowering its minimum size where it must.
void BoundTo(QWidget* window, const QSize& room) {
  const QSize minimum = window->minimumSize();
  if (minimum.width() > room.width() || minimum.height() > room.height())
    window->setMinimumSize(minimum.boundedTo(room));
  if (window->width() > room.width() || window->height() > room.height())
    window->resize(window->size().boundedTo(room));
}

// Moves the window's own area within the room (RoomWithin), where it lies out. The move is
// made from where the window is, so that it goes by as much whatever frame Qt reckons with.
void MoveWithin(QWidget* window, const QRect& room) {
  const QRect inner = window->geometry();
  const int left = std::max(room.left(), std::min(inner.left(), room.right() + 1 - inner.width()));
  const int top = std::max(room.top(), std::min(inner.top(), room.bottom() + 1 - inner.height()));
  if (left != inner.left() || top != inner.top())
    window->move(window->pos() + QPoint(left - inner.left(), top - inner.top()));
}

// Fits a shown window to the work area by its frame: its own once the window system has
// framed it, else the guess of FrameOf. A window smaller than the room is only moved.
void FitShown(QWidget* window) {
  if (window->isMaximized() || window->isFullScreen() || window->isMinimized()) return;
  const QRect room = RoomWithin(window, FrameOf(window));
  if (room.isEmpty()) return;
  if (window->width() > room.width() || window->height() > room.height()) {
    if (QScrollArea* scroller = FixedContentsOf(window))
      SizeToContents(window, scroller, room.size());
    BoundTo(window, room.size());
  }
  MoveWithin(window, room);
}

// Watches a window that has just been shown until the window manager has framed and placed
// it, and Qt knows where, and fits it by its frame then: a window's frame is not known as it
// opens. Where no window has a frame (no window manager), the window is fitted at once as it
// is; where the frame has not come after a while, by the frame of the other windows.
class FrameWatch final : public QObject {
 public:
  explicit FrameWatch(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
    if (QWindow* handle = window->windowHandle()) handle->installEventFilter(this);
    // The window manager's frame is not always followed by a message Qt passes on: the
    // window is looked at a few times a second meanwhile.
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &FrameWatch::Check);
    poll_.start();
    QTimer::singleShot(kWaitMs, this, [this] {
      if (window_->isVisible() && PlaceKnown(window_)) FitShown(window_);
      deleteLater();
    });
  }

  // Called once the events of the showing have run.
  void Settle() {
    Check();
    if (!done_ && !OtherWindowsFrame(window_) && PlaceKnown(window_)) FitShown(window_);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Hide) {
      deleteLater();
    } else if (event->type() == QEvent::Expose ||
               ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
                event->spontaneous())) {
      Check();
    }
    return false;
  }

 private:
  static constexpr int kPollMs = 20;
  static constexpr int kWaitMs = 2000;

  void Check() {
    if (done_ || !window_->isVisible() || !IsFramed(window_) || !PlaceKnown(window_)) return;
    done_ = true;
    poll_.stop();
    window_->removeEventFilter(this);
    if (QWindow* handle = window_->windowHandle()) handle->removeEventFilter(this);
    FitShown(window_);
    deleteLater();
  }

  QWidget* window_;
  QTimer poll_;
  bool done_ = false;
};

// Whether the window takes the keyboard as it opens: plain windows and dialogs do; popups,
// tool windows (the help window that follows a user's clicks) and splash screens do not.
bool TakesKeyboard(const QWidget* window) {
  const Qt::WindowType type = window->windowType();
  return (type == Qt::Window || type == Qt::Dialog) &&
         !window->testAttribute(Qt::WA_ShowWithoutActivating) &&
         !window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
}

}  // namespace

QRect ShownWorkAreaOf(const QWidget* window) {
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) return QRect();
  QRect shown = InDisplayPixels(screen->geometry(), window);
#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
  if (const std::optional<X11Display> display = DisplayOf(window)) {
    // The root window is as large as the display; the window manager declares the part of it
    // its panels leave free (_NET_WORKAREA, of which Qt too takes the first four numbers).
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(display->connection)).data;
    shown &= QRect(0, 0, root->width_in_pixels, root->height_in_pixels);
    static const xcb_atom_t workArea = AtomNamed(display->connection, "_NET_WORKAREA");
    if (const auto free = FourNumbers(display->connection, display->root, workArea))
      shown &= QRect(static_cast<int>((*free)[0]), static_cast<int>((*free)[1]),
                     static_cast<int>((*free)[2]), static_cast<int>((*free)[3]));
    return shown;
  }
#endif
  return shown & InDisplayPixels(screen->availableGeometry(), window);
}

void FitToScreen(QWidget* window) {
  const QRect room = RoomWithin(window, FrameOf(window));
  if (room.isEmpty()) return;
  // A window of fixed contents opens as large as they are, where there is room (a window
  // sized by Qt alone would open at two thirds of the screen at most).
  if (QScrollArea* scroller = FixedContentsOf(window);
      scroller != nullptr && !window->property(kOpenedBefore).toBool()) {
    window->setProperty(kOpenedBefore, true);
    SizeToContents(window, scroller, room.size());
  }
  BoundTo(window, room.size());
  // A window not yet placed is placed by its owner (a dialog centres itself over it as it
  // shows, after this) or by the window system, and moved in once shown where it lies out;
  // one placed already is moved in now. Moving an unplaced dialog here would mark it placed,
  // and it would stay where it was made, at the screen's top left corner.
  if (window->testAttribute(Qt::WA_Moved)) MoveWithin(window, room);
}

QRect FrameGeometryOf(const QWidget* window) {
  const std::optional<QMargins> own = OwnFrame(window);
  return own ? window->geometry().marginsAdded(ScaledUp(*own, 1 / window->devicePixelRatioF()))
             : window->frameGeometry();
}

QRect ShownFrameGeometryOf(const QWidget* window) {
  QRect shown = InDisplayPixels(window->geometry(), window);
#if defined(QV_HAVE_XCB) && QT_CONFIG(xcb)
  if (const std::optional<X11Display> display = DisplayOf(window)) {
    const auto id = static_cast<xcb_window_t>(window->internalWinId());
    xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
        display->connection,
        xcb_translate_coordinates(display->connection, id, display->root, 0, 0), nullptr);
    xcb_get_geometry_reply_t* size = xcb_get_geometry_reply(
        display->connection, xcb_get_geometry(display->connection, id), nullptr);
    if (at != nullptr && size != nullptr)
      shown = QRect(at->dst_x, at->dst_y, size->width, size->height);
    std::free(at);
    std::free(size);
  }
#endif
  const std::optional<QMargins> own = OwnFrame(window);
  return own ? shown.marginsAdded(*own) : shown;
}

QSize RoomOf(const QWidget* window) {
  const QRect room = RoomWithin(window, FrameOf(window));
  return room.isEmpty() ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : room.size();
}

QScrollArea* HoldFixedContents(QWidget* window, QWidget* contents) {
  if (!contents->testAttribute(Qt::WA_Resized)) contents->adjustSize();
  auto* scroller = new FixedContentsArea(window);
  scroller->setObjectName(window->objectName() + "Scroller");
  scroller->setFrameShape(QFrame::NoFrame);
  // The area shows nothing of its own to take the focus with: Tab goes from control to
  // control, and the area scrolls to the one that takes the focus.
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidget(contents);
  scroller->setMaximumSize(contents->size());
  if (auto* main = qobject_cast<QMainWindow*>(window)) {
    main->setCentralWidget(scroller);
  } else {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
  }
  OfferNoMaximise(window);
  return scroller;
}

void OfferNoMaximise(QWidget* window) {
  const Qt::WindowFlags kept =
      window->windowFlags() & (Qt::WindowType_Mask | Qt::WindowStaysOnTopHint);
  window->setWindowFlags(kept | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
}

bool WindowOpening::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType())
    return false;
  auto* window = static_cast<QWidget*>(watched);
  if (!window->isWindow() || window->windowType() == Qt::Popup ||
      window->windowType() == Qt::ToolTip)
    return false;
  FitToScreen(window);
  // Once shown: the window system may place it, or give it a frame, that reaches out.
  // It takes the keyboard unless the keyboard has moved on meanwhile (the user, or another
  // window opened since, took it).
  QPointer<FrameWatch> watch = new FrameWatch(window);
  QPointer<QWidget> keyboardBefore = QApplication::activeWindow();
  QTimer::singleShot(0, window, [window, watch, keyboardBefore] {
    if (!window->isVisible()) return;
    if (watch) watch->Settle();
    if (TakesKeyboard(window) && !window->isActiveWindow() && !window->isMinimized() &&
        QApplication::activeWindow() == keyboardBefore.data())
      window->activateWindow();
  });
  return false;
}

}  // namespace qv
