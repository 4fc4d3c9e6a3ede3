#include "controls/wait_screen_model.h"

namespace qv {

uint32_t FadeSequenceColor(const FadeColorList& fade, int64_t index) {
  int64_t position = index % 60;
  if (position < 0) position += 60;
  return position < 30 ? fade[static_cast<std::size_t>(position + 1)]
                       : fade[static_cast<std::size_t>(60 - position)];
}

bool FadeColorsSet(const FadeColorList& fade) {
  for (std::size_t i = 1; i < fade.size(); ++i)
    if (fade[i] != 0) return true;
  return false;
}

int32_t TicksForPosition(int64_t done, int64_t total) {
  if (total <= 0 || done <= 0) return 0;
  if (done >= total) return 99;
  // In floating point, so that no product of large positions can overflow.
  const double ticks = static_cast<double>(done) / static_cast<double>(total) * 99.0;
  return static_cast<int32_t>(ticks);
}

}  // namespace qv
