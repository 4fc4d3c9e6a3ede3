#pragma once
// The screen's mouse pointer: one application-wide state, normal (0), busy (11) or help
// (14, the arrow with a question mark). Windows set it around long work and for help mode;
// observers (the Qt adapter in platform/screen_pointer_qt.h, the help window) follow it.
// A window's own pointer over part of it is a widget cursor and not this state.

#include <functional>
#include <vector>

namespace qv {

enum class PointerShape : int { Normal = 0, Busy = 11, Help = 14 };

class ScreenPointer {
 public:
  using Observer = std::function<void(PointerShape)>;

  PointerShape Shape() const { return shape_; }
  // Observers hear of every change of shape; setting the shape it already has is no change.
  void Set(PointerShape shape);

  // Returns an id for RemoveObserver. Observers may be added or removed while being told.
  int AddObserver(Observer observer);
  void RemoveObserver(int id);

 private:
  struct Entry {
    int Id;
    Observer Call;
  };
  PointerShape shape_ = PointerShape::Normal;
  std::vector<Entry> observers_;
  int nextId_ = 1;
  int busyDepth_ = 0;  // BusyPointer scopes alive

  friend class BusyPointer;
};

// The program's screen pointer.
ScreenPointer& TheScreenPointer();

// Shows the busy pointer while it lives, then the normal one. Nested scopes end only with the
// outermost, so an inner job finishing does not clear the pointer of the job around it.
class BusyPointer {
 public:
  explicit BusyPointer(ScreenPointer& pointer = TheScreenPointer());
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  ScreenPointer& pointer_;
};

}  // namespace qv
