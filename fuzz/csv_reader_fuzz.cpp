// Fuzzes the csv book reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  qv::fuzz::CheckReader(std::string_view(reinterpret_cast<const char*>(data), size),
                        qv::BookFileType::kCsv);
  return 0;
}
