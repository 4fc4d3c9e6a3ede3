#pragma once
// The repeat timer of the running program: a precise QTimer on the window thread.

#include <QTimer>

#include "controls/repeat_timer.h"

namespace qv {

class QtRepeatTimer final : public RepeatTimer {
 public:
  QtRepeatTimer();

  void SetTick(std::function<void()> tick) override;
  void SetInterval(int milliseconds) override;
  int Interval() const override;
  void SetEnabled(bool on) override;
  bool Enabled() const override;

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

}  // namespace qv
