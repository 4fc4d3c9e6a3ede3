#include "app/calculator_openers_qt.h"

#include <QAction>
#include <QLabel>

#include "app/application_window.h"
#include "app/main_window.h"
#include "calculators/depreciation_window.h"
#include "calculators/payroll_window.h"
#include "calculators/rolling_calculator_window.h"
#include "controls/help_window.h"

namespace qv {
namespace {

// The help test of a calculator command: true when the command is to stop here.
bool OnlyHelp(MenuCommand command) {
  return TheHelpDesk().ShowCard(MenuCommandHelp(command)) && !ActsInHelpMode(command);
}

// A window of its own, without owner, gone when closed and at the latest with the main
// window, before the books that it may read.
void ShowIndependent(TAcount& main, QWidget* window) {
  if (!window->testAttribute(Qt::WA_DeleteOnClose)) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&main, &QObject::destroyed, window, [window] { delete window; });
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

void ConnectCalculatorCommands(TAcount& main) {
  QObject::connect(main.MenuItem("Rolling_Calculator_Menu"), &QAction::triggered, &main,
                   [&main] { Rolling_Calculator_Menu_Click(main); });
  QObject::connect(main.MenuItem("Depreciation_Menu"), &QAction::triggered, &main,
                   [&main] { Depreciation_Menu_Click(main); });
  QObject::connect(main.MenuItem("PayCalc"), &QAction::triggered, &main,
                   [&main] { PayCalc_Click(main); });
}

void Rolling_Calculator_Menu_Click(TAcount& main) {
  if (OnlyHelp(MenuCommand::RunningCalculator)) return;
  Application& app = main.App();
  WindowLists& lists = app.Windows();
  if (auto* window = WindowLists::AddListed<Rolling_Caculator>(
          lists.RollingCalculatorWindows, lists.RollingCalculatorWindowCount,
          [&app] { return new Rolling_Caculator(app.Locale()); }))
    ShowIndependent(main, window);
}

void Depreciation_Menu_Click(TAcount& main) {
  if (OnlyHelp(MenuCommand::DepreciationCalculator)) return;
  Application& app = main.App();
  QPointer<QWidget>& single = app.Windows().Depreciation;
  if (!single) single = new Depreciation(app.TheBooks(), app.Locale());
  ShowIndependent(main, single);
}

void PayCalc_Click(TAcount& main) {
  if (OnlyHelp(MenuCommand::PayrollCalculator)) return;
  Application& app = main.App();
  WindowLists& lists = app.Windows();
  if (auto* window = WindowLists::AddListed<PayRoll>(
          lists.PayRollWindows, lists.PayRollWindowCount, [&app, &main] {
            return new PayRoll(app.Locale(), main.GL(8)->text().toStdString(),
                               app.TheBooks().FontName);
          }))
    ShowIndependent(main, window);
}

}  // namespace qv
