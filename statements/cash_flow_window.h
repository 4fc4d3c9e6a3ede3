#pragma once
// CashFlow: the comparative statement's window. A band across the top holds the period kind
// (DateTerm), the account (tReportAcc; its start text "Revenue / Expense" stands for all
// accounts), the folio box (FolioChoiceTx: a folio and Enter choose its account) and the
// first period shown (SmSelect). Below it the statement is drawn on light stripes and
// scrolls both ways (VScroll1, HScroll1); only the lines and columns in view are replayed.
// Hovering an account row shows its folio and name in the menu bar's read-out (mA); a left
// click opens the program's running-balance ledger of that account, a right click its
// T-account ledger, each keeping its own dates. The Accounts menu (OpFile) prints, copies,
// mails and exports the statement.
//
// The window is made afresh by its menu command and computes the all-accounts statement
// with monthly periods when it is made; a new period kind or account computes again.

#include <QMainWindow>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/amount.h"
#include "statements/cash_flow.h"
#include "statements/cash_flow_layout.h"
#include "statements/cash_flow_outputs.h"
#include "statements/statement_window.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;

namespace qv {

class CashFlowCanvas;
class PelVerticalScroll;
class RealhScroll;

class CashFlow : public QMainWindow {
  Q_OBJECT

 public:
  explicit CashFlow(const StatementContext& context, QWidget* parent = nullptr);
  ~CashFlow() override;

  // Computes the statement for the chosen account (all accounts when none) with the period
  // kind in DateTerm, fills SmSelect and shows from the first period. Form_Resize follows.
  void Form_Cash_Flow(std::optional<Folio> folio);
  // Lays the statement out again and sets the scroll ranges.
  void Form_Resize();

  // The choices of the band.
  void DateTerm_Click();
  void tReportAcc_Click();
  void SmSelect_Click();
  // Enter in the folio box: the account with that folio, or the message that there is none.
  void FolioChoiceEntered();

  // The Accounts menu.
  void PrintCash_Click();
  void SaveB_Click();
  void EmalSt_Click();
  void SaveA_Click();

  // ---- What the window shows, for tests.
  const CashFlowStatement& Statement() const { return statement_; }
  const CashFlowDrawing& Drawing() const { return drawing_; }
  int FirstPeriodShown() const { return firstPeriodShown_; }
  std::optional<Folio> ChosenFolio() const { return chosenFolio_; }
  QWidget* Canvas() const;
  // The sentence shown when the statement could not be computed ("" otherwise).
  QString StatusText() const;
  // The scroll offsets in twips.
  int OffsetX() const;
  int OffsetY() const;

  QComboBox* DateTerm = nullptr;
  QComboBox* tReportAcc = nullptr;
  QLineEdit* FolioChoiceTx = nullptr;
  QComboBox* SmSelect = nullptr;
  PelVerticalScroll* VScroll1 = nullptr;
  RealhScroll* HScroll1 = nullptr;
  QMenu* OpFile = nullptr;
  QAction* SaveB = nullptr;
  QAction* PrintCash = nullptr;
  QAction* EmalSt = nullptr;
  QAction* SaveA = nullptr;
  QAction* mA = nullptr;
  // Tests: answers the Export command's file dialog in its place (the path to write, with
  // the chosen type's extension, or "" for cancel); a file there is still asked about.
  ExportFileChooser ChooseExportFile;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class CashFlowCanvas;
  void BuildBand();
  void BuildMenus();
  void PlaceParts();
  void ApplyScrollRanges();
  StatementLook Look() const;
  // The statement's outputs from the first period shown.
  CashFlowOutput Output() const;
  // True, after saying why, when the statement could not be computed (its sums too large, or
  // no periods to show): then it is not handed on, so no empty statement is written or copied.
  bool Refused(std::string_view notDone) const;
  // The text of the account box that stands for all accounts.
  static QString StartText();
  void CanvasMouseMove(double y);
  void CanvasMouseRelease(Qt::MouseButton button, double y);

  StatementContext context_;
  QtTextMetrics screenMetrics_;
  CashFlowStatement statement_;
  CashFlowDrawing drawing_;
  int firstPeriodShown_ = 1;
  std::optional<Folio> chosenFolio_;
  // The names in the account box, for its type-ahead.
  std::vector<std::string> accountNames_;
  std::optional<double> lastMouseY_;
  QWidget* band_ = nullptr;
  CashFlowCanvas* canvas_ = nullptr;
};

}  // namespace qv
