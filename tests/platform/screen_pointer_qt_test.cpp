#include "platform/screen_pointer_qt.h"
#include <gtest/gtest.h>
#include <QCursor>
#include <QGuiApplication>

namespace qv {
namespace {

std::optional<Qt::CursorShape> Override() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor ? std::optional(cursor->shape()) : std::nullopt;
}

TEST(ScreenPointerCursor, ShowsOneOverrideCursorThatNeverStacks) {
  ScreenPointer pointer;
  pointer.Set(PointerShape::Help);
  // Stray levels set by others are cleared; the shape already set is taken.
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  {
    ScreenPointerCursor cursor(pointer);
    EXPECT_EQ(Override(), Qt::WhatsThisCursor);
    pointer.Set(PointerShape::Busy);
    EXPECT_EQ(Override(), Qt::WaitCursor);
    pointer.Set(PointerShape::Normal);
    EXPECT_EQ(Override(), std::nullopt);
    pointer.Set(PointerShape::Busy);
    pointer.Set(PointerShape::Help);
    QGuiApplication::restoreOverrideCursor();  // one restore leaves none
    EXPECT_EQ(Override(), std::nullopt);
    pointer.Set(PointerShape::Busy);
  }
  EXPECT_EQ(Override(), std::nullopt) << "going away takes the override cursor with it";
}

}  // namespace
}  // namespace qv
