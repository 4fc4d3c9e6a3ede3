#include "platform/screen_pointer.h"

#include <algorithm>

namespace qv {

void ScreenPointer::Set(PointerShape shape) {
  if (shape == shape_) return;
  shape_ = shape;
  // Tell a copy of the list: an observer may add or remove observers. One removed meanwhile
  // is not told.
  const std::vector<Entry> snapshot = observers_;
  for (const Entry& entry : snapshot) {
    const bool stillThere = std::any_of(observers_.begin(), observers_.end(),
                                        [&](const Entry& e) { return e.Id == entry.Id; });
    if (stillThere && entry.Call) entry.Call(shape);
    if (shape_ != shape) break;  // an observer changed it again; its own round told the rest
  }
}

int ScreenPointer::AddObserver(Observer observer) {
  const int id = nextId_++;
  observers_.push_back(Entry{id, std::move(observer)});
  return id;
}

void ScreenPointer::RemoveObserver(int id) {
  observers_.erase(std::remove_if(observers_.begin(), observers_.end(),
                                  [id](const Entry& e) { return e.Id == id; }),
                   observers_.end());
}

ScreenPointer& TheScreenPointer() {
  static ScreenPointer pointer;
  return pointer;
}

BusyPointer::BusyPointer(ScreenPointer& pointer) : pointer_(pointer) {
  ++pointer_.busyDepth_;
  pointer_.Set(PointerShape::Busy);
}

BusyPointer::~BusyPointer() {
  if (--pointer_.busyDepth_ == 0) pointer_.Set(PointerShape::Normal);
}

}  // namespace qv
