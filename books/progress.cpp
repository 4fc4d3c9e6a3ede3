#include "books/progress.h"

#include <cmath>

namespace qv {

void ProgressCounter::Start(int64_t lastLineIndex) {
  count_ = 0;
  const double step = std::nearbyint(static_cast<double>(lastLineIndex) / 99.0);
  step_ = step < 1 ? 1 : static_cast<int64_t>(step);
}

bool ProgressCounter::Tick() {
  // The count stops at the frame, so it can never overflow on a long job. Below the frame
  // each tick adds one whole per cent.
  if (count_ >= kFrameTwips) return false;
  count_ += kTwipsPerTick;
  return true;
}

int32_t ProgressCounter::BarWidthTwips() const {
  if (count_ == 0) return 1;
  return count_ < kFrameTwips ? count_ : kFrameTwips;
}

std::string ProgressCounter::PercentText() const {
  const int32_t percent = count_ / kTwipsPerTick;
  return std::to_string(percent < 100 ? percent : 100) + "%";
}

}  // namespace qv
