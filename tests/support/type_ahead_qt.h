#pragma once
// Checks of the account lists' type-ahead as a user meets it, shared by the windows whose
// account box has it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QTest>

#include "accounts/account_combo_qt.h"

namespace qv::testing {

// After typing into `box`: its list of accounts is open on `account`, just below the box at
// its left edge and as wide as it, while the box keeps the keyboard. Returns the list (null,
// after a failure, when none is open).
inline QListView* ExpectTypeAheadListOn(QComboBox* box, const QString& account) {
  QListView* list = OpenTypeAheadList(box);
  if (list == nullptr) {
    ADD_FAILURE() << "no list of accounts is open";
    return nullptr;
  }
  EXPECT_EQ(list->currentIndex().data().toString(), account);
  EXPECT_EQ(box->currentText(), account);
  EXPECT_EQ(QApplication::focusWidget(), box);
  const QPoint under = box->mapToGlobal(QPoint(0, box->height()));
  EXPECT_EQ(list->geometry().topLeft(), under) << "just below the box, at its left edge";
  EXPECT_EQ(list->width(), box->width());
  return list;
}

// Clicks the account the open list of `box` shows as current; the list closes.
inline void ClickTypeAheadChoice(QComboBox* box) {
  QListView* list = OpenTypeAheadList(box);
  ASSERT_NE(list, nullptr);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->currentIndex()).center());
  EXPECT_EQ(OpenTypeAheadList(box), nullptr);
}

}  // namespace qv::testing
