#pragma once
// RealhScroll: the horizontal twin of PelVerticalScroll, laid out left to right. It differs
// in small ways that its one host relies on: setting Value has no lower bound and places the
// thumb without the end clamp, the thumb has no pressed look, the arrow keys repeat while
// held, and keys are not shown to the host first.

#include "controls/scroll_bar_control.h"

namespace qv {

class RealhScroll : public ScrollBarControl {
  Q_OBJECT

 public:
  explicit RealhScroll(QWidget* parent = nullptr);
  // A bar with the settings stored for its place, e.g. kCashFlowHScroll1Settings; `timer`
  // drives the auto-repeat (a window timer when none is given).
  explicit RealhScroll(const ScrollBarSettings& settings, QWidget* parent = nullptr,
                       std::unique_ptr<RepeatTimer> timer = nullptr);
};

}  // namespace qv
