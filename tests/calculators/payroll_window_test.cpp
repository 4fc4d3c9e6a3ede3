#include "calculators/payroll_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace qv::testing {
namespace {

class PayrollWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  // Types into a box as a user does, after clicking into it.
  static void TypeInto(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  static void Leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
  PayRoll::ColumnBoxes& Column(int i) { return w.Columns[static_cast<std::size_t>(i)]; }

  PayRoll w{UsEnglishLocale(), "$ :", "Arial"};
};

TEST_F(PayrollWindowTest, ANewSheetShowsItsCaptionsAndZeros) {
  EXPECT_EQ(QStringList({w.PayTitle[5]->text(), w.PayTitle[7]->text(), w.PayTitle[12]->text(),
                         w.PayTitle[15]->text(), w.ShiftT[0]->text(), w.ShiftT[6]->text(),
                         Column(3).PaySt->text(), Column(3).PayNet->text()}),
            QStringList({"Rate $ : P/H", "% =  $ :", "Net $ :", "TOTALS :", "Period 1", "Period 7",
                         "09:00 am", "0.00"}));
  EXPECT_TRUE(Column(0).PayNet->isReadOnly());
  EXPECT_FALSE(w.PayDT[0]->isReadOnly());
  // Every caption and box shows its whole text and stands apart from the others.
  const QList<QWidget*> all = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (const QWidget* a : all) {
    if (const auto* label = qobject_cast<const QLabel*>(a)) {
      EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
          << label->text().toStdString();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(a)) {
      const QString widest = box->maxLength() == 5 ? "99999" : "12:00 am";
      EXPECT_LT(QFontMetrics(box->font()).horizontalAdvance(widest), box->width() - 4);
    }
    for (const QWidget* b : all) {
      if (a != b) {
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " " << b->objectName().toStdString();
      }
    }
    EXPECT_TRUE(w.rect().contains(a->geometry()));
  }
}

TEST_F(PayrollWindowTest, KeysTypeShiftsThatAreComputedAsTheyAreLeft) {
  TypeInto(Column(0).PaySt, "8:00 am");
  Leave();
  TypeInto(Column(0).PayEnd, "5:00 PM");
  Leave();
  EXPECT_EQ(Column(0).PayEnd->text(), "05:00 pm");
  TypeInto(Column(0).PayBreak, "1:00");
  Leave();
  EXPECT_EQ(Column(0).PayTotal->text(), "08:00");
  TypeInto(Column(0).PayRate, "1x0");  // the letter is dropped; every key recomputes
  EXPECT_EQ(Column(0).PayRate->text(), "10");
  EXPECT_EQ(Column(0).PayGross->text(), "80.00");
  Leave();
  EXPECT_EQ(w.PayNetT->text(), "80.00");
}

TEST_F(PayrollWindowTest, KeysInAPercentageRecomputeEveryColumn) {
  TypeInto(Column(2).PayEnd, "10:00 am");
  Leave();
  TypeInto(Column(2).PayRate, "10");
  Leave();
  std::vector<QString> seen;
  w.PayP[0]->setFocus(Qt::MouseFocusReason);
  for (const char* key : {"1", "5", "0"}) {
    QTest::keyClicks(w.PayP[0], key);
    seen.push_back(Column(2).PayDe[0]->text());
  }
  EXPECT_EQ(seen, (std::vector<QString>{"0.1", "1.5", "15"}));
  Leave();
  EXPECT_EQ(w.PayP[0]->text(), "99");
  EXPECT_EQ(Column(2).PayDe[0]->text(), "9.9");
  TypeInto(w.PayP[1], "100");  // 100 stays: deduction 2 is the whole gross
  Leave();
  EXPECT_EQ(w.PayP[1]->text(), "100");
  EXPECT_EQ(Column(2).PayDe[1]->text(), "10");
  // A deduction typed as an amount takes effect when left.
  TypeInto(Column(2).PayDe[3], "-5");
  Leave();
  EXPECT_EQ(Column(2).PayNet->text(), "(4.90)");  // 10 - 9.9 - 10 + 5
}

TEST(PayrollWindowsTest, TwoWindowsKeepSeparateSheets) {
  PayRoll first(UsEnglishLocale(), "$ :", "Arial");
  PayRoll second(UsEnglishLocale(), "\u20AC :", "Arial");
  first.Columns[0].PayRate->setText("10");
  emit first.Columns[0].PayRate->textEdited("10");
  EXPECT_EQ(first.Sheet().Columns[0].PayRate, "10");
  EXPECT_EQ(second.Sheet().Columns[0].PayRate, "0");
  EXPECT_EQ(second.PayTitle[12]->text(), "Net \u20AC :");
}

}  // namespace
}  // namespace qv::testing
