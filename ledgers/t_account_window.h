#pragma once
// Report: the T-account ledger window. It shows one account (with or without its
// sub-accounts) between two dates as a T-account: debits on the left, credits on the
// right, the opening balance brought down and the account balanced off at the foot
// (ledgers/t_account_view.h). Besides the windows opened from the menus, one default
// window serves the statements' drill-down (a right click on an account).

#include "ledgers/ledger_window.h"

namespace qv {

class PelVerticalScroll;

class Report : public LedgerWindow {
  Q_OBJECT

 public:
  explicit Report(LedgerContext& context, QWidget* parent = nullptr);

  // The ledger's scroll bar.
  PelVerticalScroll* Vs = nullptr;

 protected:
  LedgerSheet BuildSheet(const LedgerOptions& options) override;
  std::string MailBaseName() const override { return "AccountLedger"; }
  // A click shows the line in the main window without bringing it forward.
  bool BringsMainForward() const override { return false; }
};

}  // namespace qv
