#pragma once
// Trial_Balance: the trial balance as of the date in its date box, scrolled by the
// program's own bar. The opener writes today into the box and computes; a committed date
// (a day picked, Enter) or the Include Sub Accounts item computes again; Up and Down in the
// date box scroll.

#include "statements/statement_window.h"
#include "statements/trial_balance.h"

namespace qv {

class TrialBalanceWindow : public StatementWindow {
  Q_OBJECT

 public:
  explicit TrialBalanceWindow(const StatementContext& context, QWidget* parent = nullptr);

  // The computation for the date in the box (mainLOAD).
  void mainLOAD() { Recompute(); }

  const TrialBalance& Statement() const { return tb_; }
  DaySerial TrialDate() const { return trialDate_; }

  CalanderForm* ISCalander = nullptr;
  PelVerticalScroll* TScroll = nullptr;

 protected:
  bool ReadDates(std::string& problem) override;
  bool Compute() override;
  StatementDrawing Draw(DrawingSurface& surface) const override;
  StatementOutput Output() const override;
  void SetDefaultDates() override;
  std::string LedgerEndDate() const override;
  std::string EmailBaseName() const override { return "TrialBalance"; }
  std::string EmailSubject() const override;

 private:
  TrialBalance tb_;
  DaySerial trialDate_ = kZeroDate;
};

}  // namespace qv
