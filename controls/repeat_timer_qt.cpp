#include "controls/repeat_timer_qt.h"

namespace qv {

QtRepeatTimer::QtRepeatTimer() {
  // Line steps repeat every 10 ms; a coarse timer would stretch them.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (tick_) tick_();
  });
}

void QtRepeatTimer::SetTick(std::function<void()> tick) { tick_ = std::move(tick); }

void QtRepeatTimer::SetInterval(int milliseconds) {
  // QTimer restarts a running timer on every setInterval, even to the same value.
  if (milliseconds == timer_.interval()) return;
  timer_.setInterval(milliseconds);
}

int QtRepeatTimer::Interval() const { return timer_.interval(); }

void QtRepeatTimer::SetEnabled(bool on) {
  if (!on) {
    timer_.stop();
  } else if (!timer_.isActive()) {
    timer_.start();
  }
}

bool QtRepeatTimer::Enabled() const { return timer_.isActive(); }

}  // namespace qv
