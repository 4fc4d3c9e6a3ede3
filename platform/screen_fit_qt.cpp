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
#include <algorithm>

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

// The frame the window system puts around a window: the window's own once it has one,
// otherwise that of another open window (before its first showing a window has none yet).
QMargins FrameOf(const QWidget* window) {
  const auto margins = [](const QWidget* w) {
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
  };
  if (window->frameGeometry() != window->geometry()) return margins(window);
  for (const QWidget* other : QApplication::topLevelWidgets())
    if (other->isVisible() && other->windowType() == Qt::Window &&
        other->frameGeometry() != other->geometry())
      return margins(other);
  return {};
}

// Moves the window so that its frame lies within the area, where it does not.
void MoveWithin(QWidget* window, const QRect& area) {
  const QRect outer = window->geometry().marginsAdded(FrameOf(window));
  const int left = std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width()));
  const int top = std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height()));
  if (left != outer.left() || top != outer.top()) window->move(left, top);
}

// Whether the window takes the keyboard as it opens: plain windows and dialogs do; popups,
// tool windows (the help window that follows a user's clicks) and splash screens do not.
bool TakesKeyboard(const QWidget* window) {
  const Qt::WindowType type = window->windowType();
  return (type == Qt::Window || type == Qt::Dialog) &&
         !window->testAttribute(Qt::WA_ShowWithoutActivating) &&
         !window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
}

}  // namespace

QRect WorkAreaOf(const QWidget* window) {
  QScreen* screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

void FitToScreen(QWidget* window) {
  const QRect area = WorkAreaOf(window);
  if (area.isEmpty()) return;
  const QMargins frame = FrameOf(window);
  const QSize room(area.width() - frame.left() - frame.right(),
                   area.height() - frame.top() - frame.bottom());
  // A window of fixed contents opens as large as they are, where there is room (a window
  // sized by Qt alone would open at two thirds of the screen at most); where they scroll one
  // way, it leaves room for that scroll bar.
  // Its own area only: a window it owns (a child window) may hold one of its own.
  if (auto* scroller = window->findChild<FixedContentsArea*>(QString(), Qt::FindDirectChildrenOnly);
      scroller != nullptr && scroller->widget() != nullptr &&
      !window->property(kOpenedBefore).toBool()) {
    window->setProperty(kOpenedBefore, true);
    window->layout()->activate();
    const QSize want = window->sizeHint();
    const int bar = scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroller);
    QSize bars(0, 0);
    if (want.width() > room.width()) bars.setHeight(bar);
    if (want.height() + bars.height() > room.height()) bars.setWidth(bar);
    scroller->setMaximumSize(scroller->widget()->size() + bars);
    window->layout()->activate();
    window->setMaximumSize(want + bars);
    window->resize((want + bars).boundedTo(room));
  }
  const QSize minimum = window->minimumSize();
  if (minimum.width() > room.width() || minimum.height() > room.height())
    window->setMinimumSize(minimum.boundedTo(room));
  if (window->width() > room.width() || window->height() > room.height())
    window->resize(window->size().boundedTo(room));
  // A window not yet placed is placed by its owner (a dialog centres itself over it as it
  // shows, after this) or by the window system, and moved in once shown where it lies out;
  // one placed already is moved in now. Moving an unplaced dialog here would mark it placed,
  // and it would stay where it was made, at the screen's top left corner.
  if (window->testAttribute(Qt::WA_Moved)) MoveWithin(window, area);
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
  // Once shown: the window system may have placed it, or given it a frame, that reaches out.
  // It takes the keyboard unless the keyboard has moved on meanwhile (the user, or another
  // window opened since, took it).
  QPointer<QWidget> keyboardBefore = QApplication::activeWindow();
  QTimer::singleShot(0, window, [window, keyboardBefore] {
    if (!window->isVisible()) return;
    MoveWithin(window, WorkAreaOf(window));
    if (TakesKeyboard(window) && !window->isActiveWindow() && !window->isMinimized() &&
        QApplication::activeWindow() == keyboardBefore.data())
      window->activateWindow();
  });
  return false;
}

}  // namespace qv
