#pragma once
// Income_Statement: the income statement of the period between its two date boxes (from the
// earliest to the latest posting date when it opens), scrolled by the program's own bar (a
// stop of the Tab key, as in the other statements), with the gross and net ratio lines in its
// menu bar and a Refresh button. Each computation leaves the period's net result in the
// session's NetProfit.

#include <QPushButton>

#include "statements/income_statement.h"
#include "statements/statement_window.h"

namespace qv {

class IncomeStatementWindow : public StatementWindow {
  Q_OBJECT

 public:
  explicit IncomeStatementWindow(const StatementContext& context, QWidget* parent = nullptr);

  // The computation for the period in the boxes (Form_Activate2).
  void Form_Activate2() { Recompute(); }
  // The Refresh button: computes again and shows the statement from the top.
  void Command1_Click();

  const IncomeStatement& Statement() const { return statement_; }
  // The menu bar's ratio lines: 0 gross, 1 net.
  QAction* Ratio(int index) const { return ratio_[index == 0 ? 0 : 1]; }

  CalanderForm* DateSearch[2] = {};
  QLabel* ToLable = nullptr;
  QPushButton* Command1 = nullptr;
  PelVerticalScroll* VScroll1 = nullptr;

 protected:
  bool ReadDates(std::string& problem) override;
  bool Compute() override;
  StatementDrawing Draw(DrawingSurface& surface) const override;
  StatementOutput Output() const override;
  void SetDefaultDates() override;
  std::string LedgerEndDate() const override;
  std::string EmailBaseName() const override { return "IncomeStatement"; }
  std::string EmailSubject() const override;
  void ShowRatios() override;

 private:
  IncomeStatement statement_;
  DaySerial from_ = kZeroDate;
  DaySerial to_ = kZeroDate;
  QAction* ratio_[2] = {};
};

}  // namespace qv
