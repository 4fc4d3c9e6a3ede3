#pragma once
// Running_Balance: the running-balance ledger window. It shows one account (with or
// without its sub-accounts) between two dates, a row per posting with the balance after it
// (ledgers/running_balance_view.h). Its print-out carries the business's heading and its
// e-mail is named "AccountLedger". Besides the windows opened from the menus, one default
// window serves the statements' drill-down (a left click on an account).

#include "ledgers/ledger_window.h"

namespace qv {

class PelVerticalScroll;

class Running_Balance : public LedgerWindow {
  Q_OBJECT

 public:
  explicit Running_Balance(LedgerContext& context, QWidget* parent = nullptr);

  // The ledger's scroll bar.
  PelVerticalScroll* VScroll1 = nullptr;

 protected:
  LedgerSheet BuildSheet(const LedgerOptions& options) override;
  std::string MailBaseName() const override { return "AccountLedger"; }
  bool PrintsBusinessHeader() const override { return true; }
};

}  // namespace qv
