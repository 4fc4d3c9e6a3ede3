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

TEST(ScreenPointerCursor, ShowsOneOverrideCursorForBusyAndHelp) {
  ScreenPointer pointer;
  {
    ScreenPointerCursor cursor(pointer);
    EXPECT_EQ(Override(), std::nullopt);
    pointer.Set(PointerShape::Busy);
    EXPECT_EQ(Override(), Qt::WaitCursor);
    pointer.Set(PointerShape::Help);
    EXPECT_EQ(Override(), Qt::WhatsThisCursor);
    pointer.Set(PointerShape::Busy);
    pointer.Set(PointerShape::Normal);
    EXPECT_EQ(Override(), std::nullopt);
    pointer.Set(PointerShape::Busy);
    pointer.Set(PointerShape::Help);
    // Changing between shapes never stacks: one restore leaves no override cursor.
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(Override(), std::nullopt);
    pointer.Set(PointerShape::Busy);
  }
  // Going away takes the override cursor with it.
  EXPECT_EQ(Override(), std::nullopt);
}

TEST(ScreenPointerCursor, TakesTheShapeAlreadySetAndClearsStrayLevels) {
  ScreenPointer pointer;
  pointer.Set(PointerShape::Help);
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  ScreenPointerCursor cursor(pointer);
  EXPECT_EQ(Override(), Qt::WhatsThisCursor);
  pointer.Set(PointerShape::Normal);
  EXPECT_EQ(Override(), std::nullopt);
}

}  // namespace
}  // namespace qv
