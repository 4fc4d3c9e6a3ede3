#include "platform/string_table.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace qv {
namespace {

struct Entry {
  int id;
  const char* text;
};

const Entry kEntries[] = {
#include "string_table_en.inc"
};

const std::vector<std::pair<int, std::string>>& Table() {
  static const std::vector<std::pair<int, std::string>> table = [] {
    std::vector<std::pair<int, std::string>> t;
    t.reserve(std::size(kEntries));
    for (const Entry& e : kEntries) t.emplace_back(e.id, e.text);
    std::sort(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return t;
  }();
  return table;
}

const std::string* Find(int id) {
  const auto& t = Table();
  auto it = std::lower_bound(t.begin(), t.end(), id,
                             [](const auto& e, int key) { return e.first < key; });
  return (it != t.end() && it->first == id) ? &it->second : nullptr;
}

}  // namespace

const std::string& Str(int id) {
  static const std::string empty;
  const std::string* s = Find(id);
  return s ? *s : empty;
}

}  // namespace qv
