#pragma once
// The paper sizes the print set-up offers: the standard paper codes 1 to 41 of the printer
// settings and the name the paper list shows for each.

#include <string_view>

namespace qv {

inline constexpr int kFirstPaperCode = 1;
inline constexpr int kLastPaperCode = 41;

// The name shown for a paper code ("A4, 210 x 297 mm" for 9); "" for a code outside 1 to 41.
std::string_view PaperName(int code);

}  // namespace qv
