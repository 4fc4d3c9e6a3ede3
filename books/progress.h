#pragma once
// The counting behind the wait screen's bar: long loops over the posting lines tick once
// every ProgressStep lines, about 99 times in all; each tick widens the bar by 29 twips
// and shows one more per cent. The bar never passes its frame and the text never passes
// 100 %, however many ticks a job makes.

#include <cstdint>
#include <string>

namespace qv {

class ProgressCounter {
 public:
  static constexpr int32_t kTwipsPerTick = 29;
  // The bar's frame: 100 ticks.
  static constexpr int32_t kFrameTwips = 100 * kTwipsPerTick;

  // Starts a job over a journal whose last line has this index: the count goes back to 0
  // and the step becomes lastLineIndex / 99, rounded half to even, at least 1.
  void Start(int64_t lastLineIndex);

  // True when the loop at this line index should tick.
  bool IsTickLine(int64_t index) const { return index % step_ == 0; }

  // One step of the bar. Returns true when the percentage text changed.
  bool Tick();

  int32_t ProgressCount() const { return count_; }
  int32_t ProgressStep() const { return static_cast<int32_t>(step_); }
  // The bar's width in twips: 1 before the first tick, then the count, at most the frame.
  int32_t BarWidthTwips() const;
  // The whole per cent followed by "%", at most "100%".
  std::string PercentText() const;

 private:
  int32_t count_ = 0;
  int64_t step_ = 1;
};

}  // namespace qv
