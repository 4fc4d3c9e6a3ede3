#pragma once
// Shows a window and makes it the active one, so that keys go to its focused box as a
// user's do.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace qv::testing {

inline void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace qv::testing
