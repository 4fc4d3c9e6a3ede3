#include "platform/screen_pointer_qt.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

namespace qv {
namespace {

int OverrideLevels() {
  int levels = 0;
  while (QGuiApplication::overrideCursor()) {
    QGuiApplication::restoreOverrideCursor();
    ++levels;
  }
  return levels;
}

TEST(ScreenPointerCursor, ShowsOneOverrideCursorForBusyAndHelp) {
  ScreenPointer pointer;
  {
    ScreenPointerCursor cursor(pointer);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    pointer.Set(PointerShape::Busy);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    pointer.Set(PointerShape::Help);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
    pointer.Set(PointerShape::Busy);
    pointer.Set(PointerShape::Normal);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    pointer.Set(PointerShape::Busy);
    pointer.Set(PointerShape::Help);
    // Changing between shapes never stacks: one restore leaves no override cursor.
    EXPECT_EQ(OverrideLevels(), 1);
    pointer.Set(PointerShape::Busy);
  }
  // Going away takes the override cursor with it.
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ScreenPointerCursor, TakesTheShapeAlreadySetAndClearsStrayLevels) {
  ScreenPointer pointer;
  pointer.Set(PointerShape::Help);
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  ScreenPointerCursor cursor(pointer);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
  pointer.Set(PointerShape::Normal);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace qv
