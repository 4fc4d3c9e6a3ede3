#include "controls/pending_edit_qt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QWidget>
#include <utility>
#include <vector>

#include "controls/application_filter_qt.h"

namespace qv {
namespace {

constexpr const char* kStoreName = "StoreWhenLeft";
constexpr const char* kActsOnClick = "qvActsOnClick";

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
LeavingStore* StoreOf(const QWidget* w) {
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
// leaving that opened it.
bool IsModal(const QWidget* window) { return window->windowModality() != Qt::NonModal; }

// The widget that the menu bar took the keyboard from (Alt); the menu bar gives it back.
QPointer<QWidget> heldByMenuBar;

// The edit still in its box in `window`: the box is the window's focused one, or the menu bar
// holds the keyboard for it.
LeavingStore* PendingIn(const QWidget* window) {
  if (window == nullptr || !window->isVisible()) return nullptr;
  const QWidget* focus = window->focusWidget();
  if (qobject_cast<const QMenuBar*>(focus) != nullptr && heldByMenuBar &&
      heldByMenuBar->window() == window)
    focus = heldByMenuBar;
  return StoreOf(focus);
}

// The pending edits of the program's windows, that of the active window first.
std::vector<QPointer<LeavingStore>> PendingEdits() {
  std::vector<QPointer<LeavingStore>> pending;
  QWidget* active = QApplication::activeWindow();
  if (LeavingStore* store = PendingIn(active)) pending.emplace_back(store);
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window != active && !OpensOverAnother(window))
      if (LeavingStore* store = PendingIn(window)) pending.emplace_back(store);
  return pending;
}

// Runs what leaving a box does, once at a time: its message may be answered with a click.
bool storing = false;

void Run(LeavingStore* store) {
  if (store == nullptr || storing) return;
  const std::function<void()> run = store->Store();  // the box may go while it runs
  storing = true;
  struct Done {
    ~Done() { storing = false; }
  } done;
  run();
}

// A menu of a box's own (its context menu, and the menus that opens): what it runs is the
// box's own editing, no command.
bool IsMenuOfABox(const QMenu& menu) {
  const QWidget* owner = menu.parentWidget();
  while (qobject_cast<const QMenu*>(owner) != nullptr) owner = owner->parentWidget();
  return StoreOf(owner) != nullptr;
}

// An item that runs when chosen: enabled, shown, and no submenu or separator.
QAction* Runnable(QAction* action) {
  return action != nullptr && action->isEnabled() && action->isVisible() &&
                 !action->isSeparator() && action->menu() == nullptr
             ? action
             : nullptr;
}

QAction* ChosenBy(const QMenu& menu, const QMouseEvent& release) {
  return Runnable(menu.actionAt(release.position().toPoint()));
}

// The item that a key runs in an open menu: Enter (or Space, where the style has it) runs
// the marked one, and a letter the one item it is underlined in.
QAction* ChosenBy(const QMenu& menu, const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Runnable(menu.activeAction());
    case Qt::Key_Space:
      return menu.style()->styleHint(QStyle::SH_Menu_SpaceActivatesItem, nullptr, &menu)
                 ? Runnable(menu.activeAction())
                 : nullptr;
    default: break;
  }
  const Qt::KeyboardModifiers others =
      key.modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
  if (others != Qt::NoModifier || key.text().size() != 1) return nullptr;
  const char16_t letter = key.text().at(0).toUpper().unicode();
  QAction* found = nullptr;
  int count = 0;
  for (QAction* action : menu.actions()) {
    if (!action->isVisible() || action->isSeparator()) continue;
    const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
    if (!mnemonic.isEmpty() && (mnemonic[0].toCombined() & 0xffff) == letter) {
      found = action;
      ++count;
    }
  }
  return count == 1 ? Runnable(found) : nullptr;
}

class PendingEditGuard final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the cheap test of its type comes first.
    switch (event->type()) {
      case QEvent::Shortcut:
        // The menu bar's Alt+letter opens a menu; a modal window's keys are its own.
        if (qobject_cast<QMenuBar*>(watched) == nullptr &&
            QApplication::activeModalWidget() == nullptr)
          StorePendingEdits();
        break;
      case QEvent::MouseButtonRelease: return Released(watched, *static_cast<QMouseEvent*>(event));
      case QEvent::KeyPress:
        if (auto* menu = qobject_cast<QMenu*>(watched))
          return RunChosen(*menu, ChosenBy(*menu, *static_cast<QKeyEvent*>(event)));
        [[fallthrough]];
      case QEvent::KeyRelease: KeyOnButton(watched, *static_cast<QKeyEvent*>(event)); break;
      case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason &&
            watched->isWidgetType())
          heldByMenuBar = static_cast<QWidget*>(watched);
        break;
      case QEvent::Close:
        // The window closing is left; another window's edit waits.
        if (watched->isWidgetType()) {
          auto* window = static_cast<QWidget*>(watched);
          if (window->isWindow() && !OpensOverAnother(window) && !IsModal(window))
            Run(PendingIn(window));
        }
        break;
      default: break;
    }
    return false;
  }

 private:
  // A menu item chosen while an edit is pending: the menus close, as for any chosen item,
  // so that a message of the store shows over its window, the edits are stored and the item
  // runs. Without a pending edit the menu runs it its own way.
  static bool RunChosen(const QMenu& menu, QAction* chosen) {
    if (chosen == nullptr || IsMenuOfABox(menu) || PendingEdits().empty()) return false;
    const QPointer<QAction> action = chosen;
    for (int i = 0; i < 16; ++i) {  // a menu and the menus it opened from
      QWidget* popup = QApplication::activePopupWidget();
      if (popup == nullptr) break;
      popup->close();
    }
    StorePendingEdits();
    if (action) action->trigger();
    return true;
  }

  // A control that runs a command: enabled, in a window of the program's own, and not a part
  // of a box (its list's button, the date picker's).
  static bool IsCommand(const QWidget* control) {
    const QWidget* window = control->window();
    return control->isEnabled() && !OpensOverAnother(window) && !IsModal(window) &&
           StoreOf(control) == nullptr;
  }

  // A button pressed from the keyboard acts as clicked: Enter when the key goes down, Space
  // when it comes up.
  static void KeyOnButton(QObject* watched, const QKeyEvent& key) {
    if (key.isAutoRepeat() || key.modifiers() & ~Qt::KeypadModifier) return;
    // Enter clicks only a push button that takes it (its window's default or auto-default).
    const auto* push = qobject_cast<const QPushButton*>(watched);
    const bool enter = (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && push &&
                       (push->autoDefault() || push->isDefault());
    const bool space = key.key() == Qt::Key_Space;
    if (!(key.type() == QEvent::KeyPress ? enter : space)) return;
    const QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(watched);
    if (!button || (space && !button->isDown()) || !IsCommand(button)) return;
    StorePendingEdits();
    // A message of the store took the keyboard from the button: the press still counts.
    if (space && button && !button->isDown()) button->setDown(true);
  }

  // The click of a button, or of a picture that acts, is over when the button comes up.
  static bool Released(QObject* watched, const QMouseEvent& release) {
    if (release.button() != Qt::LeftButton || !watched->isWidgetType()) return false;
    if (auto* menu = qobject_cast<QMenu*>(watched))
      return RunChosen(*menu, ChosenBy(*menu, release));
    auto* target = static_cast<QWidget*>(watched);
    if (!target->rect().contains(release.position().toPoint())) return false;
    const QPointer<QAbstractButton> button = qobject_cast<QAbstractButton*>(target);
    const bool acts = button ? button->isDown() : target->property(kActsOnClick).toBool();
    if (!acts || !IsCommand(target)) return false;
    StorePendingEdits();
    // A message of the store took the keyboard from the button: the click still comes.
    if (button && !button->isDown()) button->setDown(true);
    return false;
  }
};

}  // namespace

void StoresWhenLeft(QWidget* box, std::function<void()> store) {
  new LeavingStore(box, std::move(store));
}

bool LeftWithinWindow(const QWidget* box, const QFocusEvent& event) {
  const Qt::FocusReason reason = event.reason();
  if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason ||
      reason == Qt::ActiveWindowFocusReason)
    return false;
  // The new focus is set before the box hears of its loss; none is a move inside the window
  // (a box hidden or disabled while it had the keyboard).
  const QWidget* now = QApplication::focusWidget();
  return now == nullptr || now->window() == box->window();
}

void ActsOnClick(QWidget* clickable) { clickable->setProperty(kActsOnClick, true); }

void StorePendingEdits() {
  for (const QPointer<LeavingStore>& store : PendingEdits()) Run(store.data());
}

void StorePendingEditOf(const QWidget* widget) {
  if (widget != nullptr) Run(PendingIn(widget->window()));
}

void InstallPendingEditGuard(QApplication& app) {
  // Once for the application, however many times the program's windows are set up.
  auto* guard = InstallApplicationFilter<PendingEditGuard>(app, "PendingEditGuard");
  if (guard == nullptr) return;
  // Made before any window asks its question at the session's end, so it runs first.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, guard, [] { StorePendingEdits(); });
}

}  // namespace qv
