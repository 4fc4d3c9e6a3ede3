#pragma once
// Reads an Excel 2.1 (BIFF2) file back for tests: its records in order, its cell records,
// and its cells by row and column.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <locale>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace qv::testing {

struct BiffRecord {
  uint16_t type = 0;
  std::string data;
  bool operator==(const BiffRecord&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const BiffRecord& r) {
  os << "record 0x" << std::hex << r.type << std::dec << " [";
  for (unsigned char c : r.data) os << ' ' << static_cast<int>(c);
  return os << " ]";
}

inline uint16_t U16(const std::string& bytes, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                               (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

// Splits a BIFF2 file into its records; fails the test on a record that runs past the end.
inline std::vector<BiffRecord> Records(const std::string& path) {
  const std::string bytes = ScratchFolder::Read(path);
  std::vector<BiffRecord> out;
  std::size_t at = 0;
  while (at + 4 <= bytes.size()) {
    const std::size_t length = U16(bytes, at + 2);
    if (at + 4 + length > bytes.size()) break;
    out.push_back({U16(bytes, at), bytes.substr(at + 4, length)});
    at += 4 + length;
  }
  EXPECT_EQ(at, bytes.size()) << "a record runs past the end of the file";
  return out;
}

// The cell records (INTEGER, NUMBER, LABEL) of a file.
inline std::vector<BiffRecord> Cells(const std::string& path) {
  std::vector<BiffRecord> cells;
  for (const BiffRecord& r : Records(path))
    if (r.type >= 0x0002 && r.type <= 0x0004) cells.push_back(r);
  return cells;
}

// The cells of a sheet by row and column (both from 1), as text: labels as their bytes (in
// the sheet's code page), numbers in their shortest form.
inline std::map<std::pair<int, int>, std::string> CellMap(const std::string& path) {
  std::map<std::pair<int, int>, std::string> out;
  for (const BiffRecord& r : Cells(path)) {
    std::string& cell = out[{U16(r.data, 0) + 1, U16(r.data, 2) + 1}];
    if (r.type == 0x0004) {
      cell = r.data.substr(8);
    } else if (r.type == 0x0002) {
      cell = std::to_string(U16(r.data, 7));
    } else {
      double v = 0;
      std::memcpy(&v, r.data.data() + 7, 8);
      std::ostringstream text;
      text.imbue(std::locale::classic());  // "." as the point whatever the global locale
      text << v;
      cell = text.str();
    }
  }
  return out;
}

}  // namespace qv::testing
