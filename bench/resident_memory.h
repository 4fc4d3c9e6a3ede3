#pragma once
// The process's resident memory as the kernel counts it, for benchmarks of steps whose
// memory goes through more than operator new (Qt's texts and byte arrays, the PDF writer):
// what is resident now, and the most that was resident since the mark was last reset.

#include <cstdint>
#include <fstream>
#include <string>

namespace qv::bench {

// A field of /proc/self/status in bytes ("VmHWM:", "VmRSS:"), or -1 when unknown.
inline int64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(field.size())) * 1024;
  return -1;
}

// The resident high-water mark in bytes (VmHWM).
inline int64_t PeakResidentBytes() { return StatusBytes("VmHWM:"); }
// What is resident now (VmRSS).
inline int64_t ResidentBytes() { return StatusBytes("VmRSS:"); }
// Starts the high-water mark again from what is resident now.
inline void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace qv::bench
