#pragma once
// Shows the screen pointer state with application override cursors: busy is Qt::WaitCursor,
// help Qt::WhatsThisCursor, normal no override cursor. At most one override cursor is ever
// on Qt's stack, so changing between busy and help replaces it and going back to normal
// leaves the windows' own cursors. The program sets override cursors only through here.

#include <Qt>

#include "platform/screen_pointer.h"

namespace qv {

// The cursor shape of a pointer state; Qt::ArrowCursor for normal.
Qt::CursorShape CursorShapeOf(PointerShape shape);

// Follows a ScreenPointer from construction to destruction; applies its shape at once.
// Destroying it removes the override cursor.
class ScreenPointerCursor {
 public:
  explicit ScreenPointerCursor(ScreenPointer& pointer = TheScreenPointer());
  ~ScreenPointerCursor();
  ScreenPointerCursor(const ScreenPointerCursor&) = delete;
  ScreenPointerCursor& operator=(const ScreenPointerCursor&) = delete;

 private:
  static void Apply(PointerShape shape);

  ScreenPointer& pointer_;
  int observerId_;
};

}  // namespace qv
