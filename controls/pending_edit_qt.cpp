#include "controls/pending_edit_qt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "controls/application_filter_qt.h"

namespace qv {
namespace {

constexpr const char* kStoreName = "StoreWhenLeft";

// What leaving one box does, kept as a child of the box so that it goes with it.
class LeavingStore final : public QObject {
 public:
  LeavingStore(QWidget* box, std::function<void()> store) : QObject(box), store_(std::move(store)) {
    setObjectName(kStoreName);
  }
  QWidget* Box() const { return static_cast<QWidget*>(parent()); }
  const std::function<void()>& Store() const { return store_; }

 private:
  std::function<void()> store_;
};

// The registered box that `w` is or lies in, within its window; null for none.
LeavingStore* StoreOf(QWidget* w) {
  for (; w != nullptr; w = w->parentWidget()) {
    for (QObject* child : w->children())
      if (auto* store = dynamic_cast<LeavingStore*>(child)) return store;
    if (w->isWindow()) break;
  }
  return nullptr;
}

// Menus, drop-down lists and tips open over a window and are never one of their own.
bool OpensOverAnother(const QWidget* window) {
  const Qt::WindowType type = window->windowType();
  return type == Qt::Popup || type == Qt::ToolTip;
}

// A modal window (a message, a question, a file dialog) is part of the command or the
// leaving that opened it, not another window the user went to.
bool IsModal(const QWidget* window) { return window->windowModality() != Qt::NonModal; }

QWidget* ProgramWindowOf(QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  return widget->isWindow() && !OpensOverAnother(widget) ? widget : nullptr;
}

class PendingEditGuard final : public QObject {
 public:
  using QObject::QObject;

  // The session ends: the window with the keyboard, or the one that had it last.
  void SessionEnds() {
    QWidget* window = QApplication::activeWindow();
    StoreNow(window != nullptr ? window : lastActive_.data());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the cheap test of its type comes first.
    switch (event->type()) {
      case QEvent::Shortcut: StoreNow(QApplication::activeWindow()); break;
      case QEvent::MouseButtonPress: Pressed(watched, *static_cast<QMouseEvent*>(event)); break;
      case QEvent::Close:
        // The window closing is left, and a window that ends the program with it must see
        // the edit of the one that has the keyboard.
        if (QWidget* window = ProgramWindowOf(watched)) {
          StoreNow(window);
          if (lastActive_ && lastActive_ != window) StoreNow(lastActive_);
        }
        break;
      case QEvent::WindowActivate:
        if (QWidget* window = ProgramWindowOf(watched)) Activated(window);
        break;
      case QEvent::FocusOut:
        // The menu bar takes the keyboard (Alt): the box is left until a menu item runs.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason &&
            watched->isWidgetType())
          StoreAfterMove(static_cast<QWidget*>(watched));
        break;
      default: break;
    }
    return false;
  }

 private:
  // Runs what leaving a box does, once at a time: its message may activate a window.
  void Store(LeavingStore* store) {
    if (store == nullptr || storing_) return;
    const std::function<void()> run = store->Store();  // the box may go while it runs
    storing_ = true;
    run();
    storing_ = false;
  }

  // Before a command acts: the box left by an earlier move, then the one focused in `window`.
  void StoreNow(QWidget* window) {
    StoreLeft();
    if (window != nullptr) Store(StoreOf(window->focusWidget()));
  }

  // While the focus moves, a message box would take part in the move: the box's edit is
  // stored once the move is over, or before the next command, whichever comes first.
  void StoreAfterMove(QWidget* focus) {
    if (storing_) return;
    LeavingStore* store = StoreOf(focus);
    if (store == nullptr) return;
    left_ = store->Box();
    QTimer::singleShot(0, this, [this] { StoreLeft(); });
  }

  void StoreLeft() {
    if (storing_ || !left_) return;
    QWidget* box = left_;
    left_ = nullptr;
    Store(StoreOf(box));
  }

  // Another window of the program takes the keyboard: the box of the one left is left.
  void Activated(QWidget* window) {
    if (window != QApplication::activeWindow() || IsModal(window)) return;
    const QPointer<QWidget> left = lastActive_;
    lastActive_ = window;
    if (left && left != window) StoreAfterMove(left->focusWidget());
  }

  void Pressed(QObject* watched, const QMouseEvent& press) {
    if (!watched->isWidgetType()) return;
    auto* target = static_cast<QWidget*>(watched);
    // A press that a widget leaves goes on to its parents; it counts once.
    const bool passedOn = lastPress_ && target->isAncestorOf(lastPress_) &&
                          press.timestamp() == lastPressTime_ &&
                          press.globalPosition() == lastPressAt_;
    lastPress_ = target;
    lastPressTime_ = press.timestamp();
    lastPressAt_ = press.globalPosition();
    if (passedOn) return;
    QWidget* window = target->window();
    if (OpensOverAnother(window)) return;
    // The press may come before the window it lands in is made the active one: the box of
    // the window left is stored first, as the command may read it.
    if (window != lastActive_ && !IsModal(window)) {
      const QPointer<QWidget> left = lastActive_;
      lastActive_ = window;
      if (left) StoreNow(left);
    }
    // A click that gave the focus to something else was the box's own leaving; a click in
    // the box or its parts (its list, its button) leaves nothing.
    LeavingStore* store = StoreOf(window->focusWidget());
    if (store == nullptr) return;
    if (QWidget* box = store->Box(); box == target || box->isAncestorOf(target)) return;
    StoreNow(window);
  }

  QPointer<QWidget> lastActive_;
  QPointer<QWidget> left_;
  QPointer<QWidget> lastPress_;
  quint64 lastPressTime_ = 0;
  QPointF lastPressAt_;
  bool storing_ = false;
};

}  // namespace

void StoresWhenLeft(QWidget* box, std::function<void()> store) {
  new LeavingStore(box, std::move(store));
}

void InstallPendingEditGuard(QApplication& app) {
  // Once for the application, however many times the program's windows are set up.
  auto* guard = InstallApplicationFilter<PendingEditGuard>(app, "PendingEditGuard");
  if (guard == nullptr) return;
  // Made before any window asks its question at the session's end, so it runs first.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, guard,
                   [guard] { guard->SessionEnds(); });
}

}  // namespace qv
