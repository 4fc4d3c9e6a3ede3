#include "platform/screen_pointer_qt.h"

#include <QCursor>
#include <QGuiApplication>

namespace qv {

Qt::CursorShape CursorShapeOf(PointerShape shape) {
  switch (shape) {
    case PointerShape::Busy: return Qt::WaitCursor;
    case PointerShape::Help: return Qt::WhatsThisCursor;
    case PointerShape::Normal: break;
  }
  return Qt::ArrowCursor;
}

ScreenPointerCursor::ScreenPointerCursor(ScreenPointer& pointer)
    : pointer_(pointer), observerId_(pointer.AddObserver(&ScreenPointerCursor::Apply)) {
  Apply(pointer_.Shape());
}

ScreenPointerCursor::~ScreenPointerCursor() {
  pointer_.RemoveObserver(observerId_);
  Apply(PointerShape::Normal);
}

void ScreenPointerCursor::Apply(PointerShape shape) {
  if (shape == PointerShape::Normal) {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    return;
  }
  const QCursor cursor(CursorShapeOf(shape));
  if (QGuiApplication::overrideCursor())
    QGuiApplication::changeOverrideCursor(cursor);
  else
    QGuiApplication::setOverrideCursor(cursor);
}

}  // namespace qv
