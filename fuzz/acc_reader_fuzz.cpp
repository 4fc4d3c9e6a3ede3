// Fuzzes the book-file reader. Each input is read as it stands and, so that the search gets
// past the checksum, once more with its last four bytes set to the checksum of the rest.
#include <cstddef>
#include <cstdint>

#include "bookfiles/acc_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  qv::fuzz::CheckReader(bytes, qv::BookFileType::kAcc);
  if (bytes.size() >= 16) {
    const uint32_t crc = qv::Crc32(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i)
      bytes[bytes.size() - 4 + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (8 * i));
    qv::fuzz::CheckReader(bytes, qv::BookFileType::kAcc);
  }
  return 0;
}
