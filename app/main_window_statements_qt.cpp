// The main window's statement commands: the trial balance, the income statement, the
// balance sheet and the comparative statement of the open book, and what the window lists do
// with the statement windows.

#include <QAction>
#include <QComboBox>

#include "app/application_messages.h"
#include "app/application_window.h"
#include "app/ledger_openers_qt.h"
#include "app/main_window.h"
#include "books/date_styles.h"
#include "controls/date_picker_control.h"
#include "controls/pending_edit_qt.h"
#include "platform/string_table.h"
#include "statements/balance_sheet_window.h"
#include "statements/cash_flow_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_window.h"

namespace qv {

namespace {

StatementContext StatementContextOf(Application& app) {
  StatementContext context;
  context.TheBooks = &app.TheBooks();
  context.TheSession = &app.TheSession();
  context.Locale = app.Locale();
  context.TheClock = &app.TheClock();
  context.SecondCopy = app.SecondCopy();
  // A row opens the program's default ledger of its kind, filled and shown again; without an
  // end date the ledger keeps its own.
  context.OpenLedger = [&app](LedgerLink link, const std::string& name, const std::string& end) {
    StorePendingEdits();  // the ledger shows the books with the edits still in their boxes
    LedgerWindow* ledger = link == LedgerLink::RunningBalance
                               ? static_cast<LedgerWindow*>(app.Ledgers().DefaultRunningBalance())
                               : app.Ledgers().DefaultReport();
    if (!end.empty()) ledger->DateSearch(1)->SetText(QString::fromStdString(end));
    ledger->tReportAcc->setEditText(QString::fromStdString(name));
    ledger->tReportAcc_Click();
    ledger->show();
    ledger->raise();
    ledger->activateWindow();
  };
  context.ShowFileError = [](int code, const std::string& detail) { ShowWriteError(code, detail); };
  return context;
}

// The statements need a journal of at least two posting lines.
bool HasStatement(const Books& books) { return books.LastLineIndex() >= 1; }

template <typename Window>
void ForEachStatementWindow(WindowLists& lists, Window&& act) {
  for (QPointer<QWidget>* single : {&lists.Trial_Balance, &lists.Income_Statement})
    if (auto* window = qobject_cast<StatementWindow*>(single->data())) act(window);
  for (QPointer<QWidget>& sheet : lists.BalanceSheetWindows)
    if (auto* window = qobject_cast<StatementWindow*>(sheet.data())) act(window);
}

}  // namespace

void WindowLists::FollowNewBook() {
  ForEachStatementWindow(*this, [](StatementWindow* window) { window->BooksReplaced(); });
}

void WindowLists::DeleteStatementWindows() {
  ForEachStatementWindow(*this, [](StatementWindow* window) { delete window; });
  delete CashFlow.data();
}

void TAcount::ConnectStatementCommands() {
  connect(MenuItem("TrialBalance"), &QAction::triggered, this, &TAcount::TrialBalance_Click);
  connect(MenuItem("IncomeStatement"), &QAction::triggered, this, &TAcount::IncomeStatement_Click);
  connect(MenuItem("Show_Balance"), &QAction::triggered, this, &TAcount::Show_Balance_Click);
  connect(MenuItem("CashFlowMenu"), &QAction::triggered, this, &TAcount::CashFlowMenu_Click);
}

void TAcount::TrialBalance_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::TrialBalance))) return;
  const Books& books = app_.TheBooks();
  if (!HasStatement(books)) return;
  WindowLists& lists = app_.Windows();
  delete lists.Trial_Balance.data();
  auto* window = new TrialBalanceWindow(StatementContextOf(app_));
  window->ISCalander->SetText(QString::fromStdString(
      FormatDateStyle(app_.TheClock().Today(), books.DateStyleIndex, app_.Locale())));
  window->mainLOAD();
  lists.Trial_Balance = window;
  window->show();
}

void TAcount::IncomeStatement_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::IncomeStatement))) return;
  if (!HasStatement(app_.TheBooks())) return;
  WindowLists& lists = app_.Windows();
  delete lists.Income_Statement.data();
  auto* window = new IncomeStatementWindow(StatementContextOf(app_));
  window->Form_Activate2();
  lists.Income_Statement = window;
  window->show();
}

void TAcount::Show_Balance_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::BalanceSheet))) return;
  if (!HasStatement(app_.TheBooks())) return;
  WindowLists& lists = app_.Windows();
  auto* window = WindowLists::AddListed<BalanceSheetWindow>(
      lists.BalanceSheetWindows, lists.BalanceSheetWindowCount,
      [this] { return new BalanceSheetWindow(StatementContextOf(app_)); });
  if (window == nullptr) return;
  window->BalanceMainLOAD();
  window->show();
}

void TAcount::CashFlowMenu_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::ComparativeStatement))) return;
  WindowLists& lists = app_.Windows();
  delete lists.CashFlow.data();
  auto* window = new CashFlow(StatementContextOf(app_));
  constexpr int kCaptionComparativeStatement = 135;
  window->setWindowTitle(QString::fromStdString(Str(kCaptionComparativeStatement)));
  lists.CashFlow = window;
  window->show();
}

}  // namespace qv
