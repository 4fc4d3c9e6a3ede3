#pragma once
// What the wait screen works out without a window: the colours of its gradient strip, and
// how far the bar should stand for a job that reports its position. The strip runs through
// the start-up gradient colours 1 to 30 and back (30 to 1); the file dialog repeats the same
// run as bands down its background.

#include <array>
#include <cstdint>

namespace qv {

using FadeColorList = std::array<uint32_t, 31>;

// The colour (0xBBGGRR) at position `index` (from 0) of the repeating run 1, 2, ..., 30,
// 30, 29, ..., 1: positions 0 to 29 take colours 1 to 30, positions 30 to 59 colours 30 to
// 1, and so on every 60 positions.
uint32_t FadeSequenceColor(const FadeColorList& fade, int64_t index);

// True once the gradient colours have been computed (any of colours 1 to 30 is not 0).
// Before that, windows keep their plain background rather than paint black bands.
bool FadeColorsSet(const FadeColorList& fade);

// The number of ticks (0 to 99) that stand for `done` of `total` units: a job that reports
// its position every hundredth of the way or so moves the bar as far as it got, even when a
// report skipped a step. Nothing done, or nothing to do, is 0 ticks.
int32_t TicksForPosition(int64_t done, int64_t total);

// The activity word the wait screen shows unless the caller gives another.
inline constexpr const char* kWaitScreenActivity = "Processing";

}  // namespace qv
