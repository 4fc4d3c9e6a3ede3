// The calculators as the main window opens them.

#include <QLineEdit>

#include "app/calculator_openers_qt.h"
#include "calculators/depreciation_window.h"
#include "calculators/payroll_window.h"
#include "calculators/rolling_calculator_window.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

class CalculatorOpenersTest : public MainWindowTest {
 protected:
  Rolling_Caculator* NewCalculator() {
    w->MenuItem("Rolling_Calculator_Menu")->trigger();
    const auto& list = p.app->Windows().RollingCalculatorWindows;
    EXPECT_EQ(p.app->Windows().RollingCalculatorWindowCount, static_cast<int16_t>(list.size()));
    return list.empty() ? nullptr : qobject_cast<Rolling_Caculator*>(list.back().data());
  }
};

TEST_F(CalculatorOpenersTest, ACopiedEntryAndACopiedListPasteToTheSameResult) {
  StartOn(SmallBook());
  w->MenuItem("CopyTheEntry")->trigger();  // Cash 100 debit, Sales 100 credit
  Rolling_Caculator* first = NewCalculator();
  ASSERT_NE(first, nullptr);
  first->MenuItem("P_m")->trigger();
  EXPECT_EQ(first->Op(0)->text(), "+");
  EXPECT_EQ(first->Op(1)->text(), "-");
  EXPECT_EQ(first->CalAmount(0)->text(), "100.00");
  EXPECT_EQ(first->CalAmount(1)->text(), "100.00");
  EXPECT_EQ(first->TotalAmount->text(), ".00");
  EXPECT_TRUE(first->Tape().List().RollValues[0].IsNumber());

  first->MenuItem("C_m")->trigger();
  Rolling_Caculator* second = NewCalculator();
  ASSERT_NE(second, first);
  second->MenuItem("P_m")->trigger();
  EXPECT_EQ(second->TotalAmount->text(), first->TotalAmount->text());
  EXPECT_EQ(second->Op(1)->text(), "-");
  EXPECT_EQ(second->Tape().CopyText(), first->Tape().CopyText());
  EXPECT_EQ(p.app->Windows().RollingCalculatorWindowCount, 2);
  // Each calculator is a window of its own.
  EXPECT_TRUE(first->isWindow());
  EXPECT_EQ(first->parentWidget(), nullptr);
}

TEST_F(CalculatorOpenersTest, TheDepreciationWindowIsOneAndThePayrollSheetsMany) {
  StartOn(SmallBook());
  w->MenuItem("Depreciation_Menu")->trigger();
  QPointer<QWidget> depreciation = p.app->Windows().Depreciation;
  ASSERT_NE(qobject_cast<Depreciation*>(depreciation.data()), nullptr);
  w->CalcButton_Click(11);  // the toolbar button runs the same command
  EXPECT_EQ(p.app->Windows().Depreciation, depreciation);
  depreciation->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(depreciation.isNull());

  w->MenuItem("PayCalc")->trigger();
  w->CalcButton_Click(12);
  ASSERT_EQ(p.app->Windows().PayRollWindowCount, 2);
  auto* sheet = qobject_cast<PayRoll*>(p.app->Windows().PayRollWindows[1].data());
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->PayTitle[12]->text(), "Net " + w->GL(8)->text());
}

TEST_F(CalculatorOpenersTest, InHelpModeTwoCalculatorsStillOpen) {
  StartOn(SmallBook());
  HelpMode(true);
  w->MenuItem("Rolling_Calculator_Menu")->trigger();
  EXPECT_EQ(HelpTitle(), "Rolling Caculator");
  EXPECT_EQ(p.app->Windows().RollingCalculatorWindowCount, 1);
  w->MenuItem("Depreciation_Menu")->trigger();
  EXPECT_EQ(HelpTitle(), "Depreciation Calculator");
  EXPECT_FALSE(p.app->Windows().Depreciation.isNull());
  w->MenuItem("PayCalc")->trigger();
  EXPECT_EQ(HelpTitle(), "Payroll Calculator...");
  EXPECT_EQ(p.app->Windows().PayRollWindowCount, 0);
}

}  // namespace
}  // namespace qv::testing
