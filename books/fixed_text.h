#pragma once
// A text of exactly N characters: a shorter text is padded on the right with spaces, a
// longer one is cut to N. Characters are UTF-8 code points, not bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace qv {

template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t kLength = N;

  FixedText() : text_(N, ' ') {}
  explicit FixedText(std::string_view text) : text_(FitToLength(text, N)) {}

  FixedText& operator=(std::string_view text) {
    text_ = FitToLength(text, N);
    return *this;
  }

  // The padded text, always N characters.
  const std::string& Text() const { return text_; }
  // The text without its trailing spaces.
  std::string_view TrimmedText() const {
    std::string_view v = text_;
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
  }

  bool operator==(const FixedText&) const = default;
  // Comparing with a plain text compares with that text padded or cut to N characters.
  bool operator==(std::string_view other) const { return text_ == FitToLength(other, N); }

 private:
  std::string text_;
};

}  // namespace qv
