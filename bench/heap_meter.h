#pragma once
// Counts the bytes the program holds through operator new, so that a benchmark can report
// the most a step held at once beyond what was held before it. Only quorvel_bench counts;
// every other program uses the ordinary allocator.

#include <cstdint>

namespace qv {

class HeapMeter {
 public:
  // Starts a measurement at what is held now.
  HeapMeter();
  // The most held at once since the start, beyond what was held then.
  int64_t PeakBytes() const;
  // What is held now beyond what was held at the start.
  int64_t HeldBytes() const;

 private:
  int64_t start_;
};

}  // namespace qv
