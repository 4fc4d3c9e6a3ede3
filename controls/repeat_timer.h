#pragma once
// The timer behind a control's auto-repeat, as an interface so that the control's logic can
// run on a window timer in the program and on a hand-stepped clock in tests.

#include <functional>

namespace qv {

class RepeatTimer {
 public:
  virtual ~RepeatTimer() = default;

  // The function run at every tick while the timer is on.
  virtual void SetTick(std::function<void()> tick) = 0;

  // Sets the interval in milliseconds. A running timer whose interval changes counts the
  // new interval from now; setting the interval it already has changes nothing, so a key's
  // repeated presses do not hold back its ticks.
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;

  // Switches the timer on or off. Switching on a timer that is already on changes nothing;
  // switching on a stopped one counts a full interval from now.
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace qv
