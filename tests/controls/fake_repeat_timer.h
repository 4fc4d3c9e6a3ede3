#pragma once
// A repeat timer on a hand-stepped clock: Advance(ms) runs every tick that falls due on the
// way, at its due time, with the same restart rules as the program's window timer.

#include "controls/repeat_timer.h"

namespace qv::testing {

class FakeRepeatTimer : public RepeatTimer {
 public:
  void SetTick(std::function<void()> tick) override { tick_ = std::move(tick); }
  void SetInterval(int milliseconds) override {
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    if (enabled_) due_ = now_ + interval_;
  }
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override {
    if (on && !enabled_) due_ = now_ + interval_;
    enabled_ = on;
  }
  bool Enabled() const override { return enabled_; }

  void Advance(long long milliseconds) {
    const long long end = now_ + milliseconds;
    while (enabled_ && interval_ > 0 && due_ <= end) {
      now_ = due_;
      due_ = now_ + interval_;
      if (tick_) tick_();
    }
    now_ = end;
  }
  long long Now() const { return now_; }

 private:
  std::function<void()> tick_;
  int interval_ = 0;
  bool enabled_ = false;
  long long now_ = 0, due_ = 0;
};

}  // namespace qv::testing
