#include "platform/number_text.h"

#include <algorithm>
#include <array>

namespace qv {

std::string NumberText(double value, std::chars_format format, int precision) {
  // The largest double has 309 digits before the point; with a sign, the point and at most
  // 100 decimals every value fits.
  std::array<char, 512> buffer;
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          format, std::clamp(precision, 0, 100));
  if (error != std::errc()) return std::string();
  return std::string(buffer.data(), end);
}

}  // namespace qv
