#include "calculators/rolling_calculator_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

class RollingCalculatorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  static QWidget* Focused() { return QApplication::focusWidget(); }
  static void Keys(const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(Focused(), *k);
  }
  QString Total() const { return w.TotalAmount->text(); }
  int Last() const { return w.Tape().VisibleRows(); }

  Rolling_Caculator w{UsEnglishLocale()};
};

TEST_F(RollingCalculatorWindowTest, KeysBuildTheListAndItsResult) {
  ASSERT_EQ(Focused(), w.CalAmount(0));
  Keys("12*");
  EXPECT_EQ(Focused(), w.CalAmount(1));
  EXPECT_EQ(w.Op(1)->text(), "x");  // shown at once
  EXPECT_EQ(w.CalAmount(0)->text(), "12.00");
  Keys("3");
  QTest::keyClick(Focused(), Qt::Key_Return);
  EXPECT_EQ(Focused(), w.CalAmount(2));
  EXPECT_EQ(Total(), "36.00");
  // Letters are dropped; Up goes back a row; the button turns its operator.
  Keys("ab");
  EXPECT_EQ(w.CalAmount(2)->text(), "");
  QTest::keyClick(Focused(), Qt::Key_Up);
  EXPECT_EQ(Focused(), w.CalAmount(1));
  QTest::mouseClick(w.Op(1), Qt::LeftButton);
  EXPECT_EQ(w.Op(1)->text(), "/");
  EXPECT_EQ(Total(), "4.00");
}

TEST_F(RollingCalculatorWindowTest, KeysAtTheBottomRowGrowTheListAndKeepTheFocus) {
  w.CalAmount(Last())->setFocus();
  Keys("5-");
  EXPECT_EQ(Focused(), w.CalAmount(Last()));
  EXPECT_EQ(w.ScrollNum->Value(), 1);
  EXPECT_EQ(w.ScrollNum->ValueMax(), 1);
  EXPECT_EQ(w.CalAmount(Last())->text(), "");
  EXPECT_EQ(w.Op(Last())->text(), "-");
  EXPECT_EQ(w.CalAmount(Last() - 1)->text(), "5.00");
  Keys("2");
  EXPECT_EQ(Total(), "3.00");
  // Scrolling back shows the first rows again.
  w.ScrollNum->SetValue(0);
  EXPECT_EQ(w.CalAmount(Last())->text(), "5.00");
}

TEST_F(RollingCalculatorWindowTest, RowsFillTheWindowWithoutOverlapping) {
  for (const QSize size : {QSize(1, 1), QSize(320, 420), QSize(500, 1400)}) {
    w.resize(size);
    const QWidget* client = w.centralWidget();
    ASSERT_GE(w.RowCount(), Last() + 1);
    for (int row = 0; row <= Last(); ++row) {
      const QRect box = w.CalAmount(row)->geometry();
      EXPECT_TRUE(w.CalAmount(row)->isVisible() && client->rect().contains(box)) << row;
      EXPECT_FALSE(box.intersects(w.Op(row)->geometry()));
      EXPECT_TRUE(row == 0 || box.top() > w.CalAmount(row - 1)->geometry().bottom()) << row;
    }
    EXPECT_TRUE(w.RowCount() == Last() + 1 || !w.CalAmount(Last() + 1)->isVisible());
    const QRect total = w.TotalAmount->geometry();
    EXPECT_GT(total.top(), w.CalAmount(Last())->geometry().bottom());
    EXPECT_TRUE(client->rect().contains(total));
    EXPECT_TRUE(client->rect().contains(w.ScrollNum->geometry()));
    EXPECT_EQ(w.ScrollNum->geometry().left(), w.CalAmount(0)->geometry().right() + 1);
    EXPECT_EQ(w.Op11->geometry().top(), total.top());
  }
  EXPECT_GT(Last(), 40);  // a tall window makes the rows it needs
}

TEST_F(RollingCalculatorWindowTest, NegativeValuesShowInRedParenthesesAndTheMenusAct) {
  SetClipboardText("-5\r\n3\r\n0");
  w.P_m_Click();
  EXPECT_EQ(w.CalAmount(0)->text(), "(5.00)");
  EXPECT_EQ(w.CalAmount(0)->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(w.CalAmount(1)->palette().color(QPalette::Text), QColor(0, 0, 0));
  EXPECT_EQ(Total(), "(2.00)");
  w.MenuItem("dp1(25)")->trigger();
  EXPECT_EQ(w.CalAmount(0)->text(), "-5");
  EXPECT_FALSE(w.MenuItem("dp1(2)")->isChecked());
  w.MenuItem("CalcFuntions(1)")->trigger();
  w.MenuItem("SortNm")->trigger();
  EXPECT_EQ(w.CalAmount(0)->text(), "3");
  EXPECT_EQ(Total(), "Average : 3");
  w.MenuItem("Clear_Total")->trigger();
  EXPECT_EQ(w.CalAmount(0)->text() + Total(), "");
}

TEST_F(RollingCalculatorWindowTest, APasteBeyondTheLimitSaysWhatWasLeftOut) {
  std::string text;
  for (int i = 0; i < 33000; ++i) text += "1\r\n";
  SetClipboardText(text);
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  w.P_m_Click();
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("were left out"), std::string::npos);
  EXPECT_EQ(w.ScrollNum->ValueMax(), kRollPasteScrollLimit + 1);
}

}  // namespace
}  // namespace qv::testing
