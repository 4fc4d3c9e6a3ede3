// The main window's Comparative Statement command: its help card, a window made afresh on
// every command and closed with the book, and a row's click into the program's ledgers,
// which keep their own dates.

#include <QComboBox>

#include "app/ledger_openers_qt.h"
#include "controls/date_picker_control.h"
#include "platform/units.h"
#include "statements/cash_flow_window.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

class CashFlowOpenerTest : public MainWindowTest {
 protected:
  CashFlow* Window() { return qobject_cast<CashFlow*>(p.app->Windows().CashFlow.data()); }
  void Run() {
    w->MenuItem("CashFlowMenu")->trigger();
    QApplication::processEvents();
  }
};

TEST_F(CashFlowOpenerTest, HelpCardOrAFreshWindowThatGoesWithTheBook) {
  StartOn(SmallBook());
  HelpMode(true);
  Run();
  EXPECT_EQ(HelpTitle(), "Comparative Sheets");
  EXPECT_EQ(Window(), nullptr);
  HelpMode(false);

  Run();
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->windowTitle(), "Comparative Statement...");
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_EQ(Window()->Statement().InflowCount(), 1);  // Sales
  Window()->DateTerm->setCurrentIndex(3);
  emit Window()->DateTerm->activated(3);
  const QPointer<QWidget> first = Window();
  Run();
  EXPECT_TRUE(first.isNull());
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Window()->DateTerm->currentIndex(), 0) << "made afresh, monthly";

  const QPointer<QWidget> open = Window();
  p.app->Windows().CloseForNewBook();
  QApplication::processEvents();
  EXPECT_TRUE(open.isNull());
}

TEST_F(CashFlowOpenerTest, ARowOpensTheDefaultLedgersOnTheirOwnDates) {
  StartOn(SmallBook());
  Run();
  CashFlow* cashFlow = Window();
  ASSERT_NE(cashFlow, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(cashFlow));
  cashFlow->tReportAcc->setEditText("Cash");
  cashFlow->tReportAcc_Click();
  Running_Balance* running = p.app->Ledgers().DefaultRunningBalance();
  running->DateSearch(1)->SetText("03/02/2026");
  const auto click = [&](Qt::MouseButton button) {
    const QPoint at(60, Px(cashFlow->Drawing().Drawing.Rows[0].Bottom - 100));
    QMouseEvent move(QEvent::MouseMove, at, cashFlow->Canvas()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(cashFlow->Canvas(), &move);
    QTest::mouseClick(cashFlow->Canvas(), button, Qt::NoModifier, at);
  };
  click(Qt::LeftButton);
  EXPECT_TRUE(running->isVisible());
  EXPECT_EQ(running->tReportAcc->currentText(), "Sales");
  EXPECT_EQ(running->DateSearch(1)->Text(), "03/02/2026");
  click(Qt::RightButton);
  EXPECT_EQ(p.app->Ledgers().DefaultReport()->tReportAcc->currentText(), "Sales");
}

}  // namespace
}  // namespace qv::testing
