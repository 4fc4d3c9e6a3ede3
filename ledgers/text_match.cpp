#include "ledgers/text_match.h"

#include <algorithm>

#include "platform/utf8.h"

namespace qv {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CaseInsensitiveText::CaseInsensitiveText(std::string_view needle)
    : lower_(ToLowerText(needle)), ascii_(IsAscii(lower_)) {}

bool CaseInsensitiveText::FoundIn(std::string_view text) const {
  if (lower_.empty()) return true;
  if (IsAscii(text)) {
    // A needle with other characters cannot be in a plain ASCII text.
    if (!ascii_ || lower_.size() > text.size()) return false;
    return std::search(text.begin(), text.end(), lower_.begin(), lower_.end(),
                       [](char a, char b) { return LowerAscii(a) == b; }) != text.end();
  }
  return ToLowerText(text).find(lower_) != std::string::npos;
}

bool CaseInsensitiveText::Equals(std::string_view text) const {
  if (IsAscii(text)) {
    return ascii_ && text.size() == lower_.size() &&
           std::equal(text.begin(), text.end(), lower_.begin(),
                      [](char a, char b) { return LowerAscii(a) == b; });
  }
  return ToLowerText(text) == lower_;
}

}  // namespace qv
