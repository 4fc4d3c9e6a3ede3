#include "controls/horizontal_scroll_control.h"

namespace qv {

RealhScroll::RealhScroll(QWidget* parent) : RealhScroll(ScrollBarSettings{}, parent) {}

RealhScroll::RealhScroll(const ScrollBarSettings& settings, QWidget* parent,
                         std::unique_ptr<RepeatTimer> timer)
    : ScrollBarControl(ScrollBarKind::Horizontal, settings, parent, std::move(timer)) {}

}  // namespace qv
