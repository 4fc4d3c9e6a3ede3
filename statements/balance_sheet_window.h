#pragma once
// Balance_Sheet: the balance sheet as of the date in its date box (the latest posting date
// when it opens), in the standard or the United States layout, scrolled by the program's
// own bar, with the return on equity in its menu bar. Any number can be open, each with its
// own date, layout and profit.

#include "statements/balance_sheet.h"
#include "statements/statement_window.h"

namespace qv {

class BalanceSheetWindow : public StatementWindow {
  Q_OBJECT

 public:
  explicit BalanceSheetWindow(const StatementContext& context, QWidget* parent = nullptr);

  // The computation for the date in the box (BalanceMainLOAD).
  void BalanceMainLOAD() { Recompute(); }

  const BalanceSheet& Statement() const { return sheet_; }
  BalanceSheetLayout Layout() const;

  CalanderForm* ISCalander = nullptr;
  PelVerticalScroll* VScroll1 = nullptr;
  // The layout item: checked, the United States layout.
  QAction* USA = nullptr;
  QAction* Ratio = nullptr;

 protected:
  bool ReadDates(std::string& problem) override;
  bool Compute() override;
  StatementDrawing Draw(DrawingSurface& surface) const override;
  StatementOutput Output() const override;
  void SetDefaultDates() override;
  std::string LedgerEndDate() const override;
  std::string EmailBaseName() const override { return "BalanceSheet"; }
  std::string EmailSubject() const override;
  void ShowRatios() override;
  void DatePicked() override;

 private:
  BalanceSheet sheet_;
  DaySerial sheetDate_ = kZeroDate;
};

}  // namespace qv
