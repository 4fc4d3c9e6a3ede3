#pragma once
// The main window's commands that open the journal and ledger views, and what the views
// need of the program: Display > Journals Entries, T-Accounts Ledger and Running Balance
// Ledger (a new window per command), Display > Reconciliation > the same three (leaving
// out reconciled lines, tinted light blue, captioned "Reconciled ..."), Edit > Search
// Entries No / Notes (the find dialog, whose results show in FindJournal) and Edit >
// Unbalanced Entries (the single UnbalancedJournal, tinted light red). In help mode each
// command shows its help card instead.
//
// A click on a view's line moves the main window's journal bar to that posting line,
// restoring the main window when it is minimised. The statements' drill-down uses the
// default T-account and running-balance windows (DefaultReport, DefaultRunningBalance).

#include <QObject>
#include <QPointer>
#include <memory>

#include "ledgers/general_journal_window.h"
#include "ledgers/ledger_window.h"
#include "ledgers/running_balance_window.h"
#include "ledgers/t_account_window.h"

namespace qv {

class Application;
class Find_Entry;

// The reconciliation views' tint and the unbalanced entries' tint (0xBBGGRR).
inline constexpr ColorValue kReconciliationTint = 0xFFE0E0;
inline constexpr ColorValue kUnbalancedTint = 0xF0F0FF;

class LedgerOpeners : public QObject {
  Q_OBJECT

 public:
  // Connects the main window's menu items to the commands.
  explicit LedgerOpeners(Application& app);
  // The views go before the context they hold.
  ~LedgerOpeners() override;

  // Display > Journals Entries, T-Accounts Ledger, Running Balance Ledger.
  void ShowJournals_Click();
  void ShowTaccount_Click();
  void Rb_MenuItem_Click();
  // Display > Reconciliation > item 0 (journal), 2 (T-account) or 3 (running balance).
  void RA1_Click(int index);
  // Edit > Search Entries No (0), Search Entries Notes (1), Unbalanced Entries (4).
  void SearchMenu_Click(int index);

  // The find dialog, made on first use, shown over the main window.
  void ShowFindEntry();
  // The pending search's results in FindJournal, made on first use.
  void ShowFindResults();

  // The default windows of the statements' drill-down, made on first use (and again after
  // they were closed).
  Report* DefaultReport();
  Running_Balance* DefaultRunningBalance();
  GeneralJournal* FindJournal();
  GeneralJournal* UnbalancedJournal();

  // Shows a posting line in the main window.
  void ShowPostingLine(int32_t line, bool bringForward);

  LedgerContext& Context() { return *context_; }

 private:
  // A new window of a kind in its list (nothing when the list's counter is at its top).
  template <class Window>
  Window* NewListedWindow(std::vector<QPointer<QWidget>>& list, int16_t& count);
  // Tints a reconciliation view and makes it leave out reconciled lines.
  static void MakeReconciliationView(LedgerWindow* window);

  // The single window kept in `slot`, made by `make` when there is none.
  template <class Window, class Make>
  Window* SingleWindow(QPointer<QWidget>& slot, Make make);

  Application& app_;
  std::unique_ptr<LedgerContext> context_;
};

}  // namespace qv
