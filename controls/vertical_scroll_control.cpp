#include "controls/vertical_scroll_control.h"

namespace qv {

PelVerticalScroll::PelVerticalScroll(QWidget* parent)
    : PelVerticalScroll(ScrollBarSettings{}, parent) {}

PelVerticalScroll::PelVerticalScroll(const ScrollBarSettings& settings, QWidget* parent,
                                     std::unique_ptr<RepeatTimer> timer)
    : ScrollBarControl(ScrollBarKind::Vertical, settings, parent, std::move(timer)) {}

void PelVerticalScroll::HostKeyDown(int16_t& keyCode, int16_t& shift) {
  emit KeyDown(keyCode, shift);
}

}  // namespace qv
