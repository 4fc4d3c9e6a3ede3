#pragma once
// Comparing texts without regard to case, as the journal's searches do: letters of the
// scripts that have capitals (platform/utf8.h's ToLowerText) match either case, every other
// character matches only itself. Plain ASCII texts are compared in place, without copies,
// so that a search runs through a journal of a million lines quickly.

#include <string>
#include <string_view>

namespace qv {

class CaseInsensitiveText {
 public:
  explicit CaseInsensitiveText(std::string_view needle);

  // True when `text` holds the needle (an empty needle is in every text).
  bool FoundIn(std::string_view text) const;
  // True when `text` is the needle.
  bool Equals(std::string_view text) const;

 private:
  std::string lower_;
  bool ascii_ = true;
};

}  // namespace qv
