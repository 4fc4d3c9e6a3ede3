#include "platform/screen_pointer.h"
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ScreenPointer, ObserversHearEachChangeOnceAndMayRemoveThemselvesAndOthers) {
  ScreenPointer pointer;
  std::vector<int> heard;
  pointer.AddObserver([&](PointerShape s) { heard.push_back(static_cast<int>(s)); });
  int first = 0, second = 0, secondId = 0;
  int firstId = pointer.AddObserver([&](PointerShape) {
    ++first;
    pointer.RemoveObserver(firstId);
    pointer.RemoveObserver(secondId);
  });
  secondId = pointer.AddObserver([&](PointerShape) { ++second; });
  for (PointerShape s :
       {PointerShape::Help, PointerShape::Help, PointerShape::Busy, PointerShape::Normal})
    pointer.Set(s);
  EXPECT_EQ(heard, (std::vector<int>{14, 11, 0}));
  EXPECT_EQ(std::pair(first, second), std::pair(1, 0));
}

}  // namespace
}  // namespace qv
