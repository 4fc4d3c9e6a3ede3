#pragma once
// PelVerticalScroll: the program's own vertical scroll bar. It keeps a whole-number value in
// a range and shows it as a thumb on a dithered track between two arrow buttons, all shaded
// from one colour (BackColor). The value changes by dragging the thumb, by presses on the
// arrows and the track (repeating while the button is held) and by Page Up, Page Down, Up
// and Down; every key goes to the host first through KeyDown.

#include "controls/scroll_bar_control.h"

namespace qv {

class PelVerticalScroll : public ScrollBarControl {
  Q_OBJECT

 public:
  explicit PelVerticalScroll(QWidget* parent = nullptr);
  // A bar with the settings stored for its place, e.g. kMainScrollAccSettings; `timer`
  // drives the auto-repeat (a window timer when none is given).
  explicit PelVerticalScroll(const ScrollBarSettings& settings, QWidget* parent = nullptr,
                             std::unique_ptr<RepeatTimer> timer = nullptr);

 signals:
  // Raised on every key press before the bar acts on the key. Connect directly: a handler
  // may change KeyCode, and setting it to 0 cancels the bar's own handling of the key.
  // Shift: 1 Shift, 2 Ctrl, 4 Alt.
  void KeyDown(int16_t& KeyCode, int16_t& Shift);

 protected:
  void HostKeyDown(int16_t& keyCode, int16_t& shift) override;
};

}  // namespace qv
