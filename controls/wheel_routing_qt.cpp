#include "controls/wheel_routing_qt.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
#include <utility>

#include "controls/application_filter_qt.h"
#include "controls/pending_edit_qt.h"
#include "controls/scroll_bar_control.h"

namespace qv {
namespace {

// A box whose value the wheel would change.
bool TakesWheelForValue(const QObject* object) {
  return qobject_cast<const QComboBox*>(object) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(object) != nullptr;
}

class WheelGuard final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the cheap test of its type comes first.
    if (event->type() != QEvent::Polish && event->type() != QEvent::Wheel) return false;
    if (!TakesWheelForValue(watched)) return false;
    auto* box = static_cast<QWidget*>(watched);
    // Qt gives such a box the focus when the wheel turns over it, before anything can look
    // at the event: the box takes the focus by click and Tab only.
    if (event->type() == QEvent::Polish && box->focusPolicy() == Qt::WheelFocus)
      box->setFocusPolicy(Qt::StrongFocus);
    if (event->type() != QEvent::Wheel) return false;
    const QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == box || box->isAncestorOf(focus))) return false;
    // Handled here and not accepted: the application hands the wheel to the parent.
    event->ignore();
    return true;
  }
};

// Turns the wheel over an area into whole notches for a bar; a notch is 120 eighths of a
// degree, and finer wheels add up to it.
class WheelToBar final : public QObject {
 public:
  WheelToBar(QWidget* area, QWidget* bar, std::function<void(int notches)> step)
      : QObject(area), bar_(bar), step_(std::move(step)) {
    area->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Wheel || !bar_ || !bar_->isVisible() || !bar_->isEnabled())
      return false;
    pending_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    const int notches = pending_ / 120;
    pending_ -= notches * 120;
    if (notches != 0) {
      StorePendingEditOf(bar_);
      if (bar_) step_(notches);
    }
    event->accept();
    return true;
  }

 private:
  QPointer<QWidget> bar_;
  std::function<void(int)> step_;
  int pending_ = 0;
};

}  // namespace

void InstallWheelGuard(QApplication& app) {
  InstallApplicationFilter<WheelGuard>(app, "WheelGuard");
}

void WheelMovesBar(QWidget* area, ScrollBarControl* bar) {
  // The wheel turned away from the user (up) moves towards the start, as the top arrow does.
  new WheelToBar(area, bar, [bar](int notches) { bar->StepLines(-notches); });
}

void WheelMovesBar(QWidget* area, QScrollBar* bar) {
  new WheelToBar(area, bar, [bar](int notches) {
    const auto action =
        notches > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0; i < std::abs(notches); ++i) bar->triggerAction(action);
  });
}

}  // namespace qv
