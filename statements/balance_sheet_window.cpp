#include "statements/balance_sheet_window.h"

#include <QMenu>
#include <QMenuBar>

#include "controls/date_picker_control.h"
#include "controls/vertical_scroll_control.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/account_sums.h"
#include "statements/balance_sheet_layout.h"
#include "statements/statement_frame.h"
#include "statements/statement_texts.h"

namespace qv {

namespace {
constexpr int kCaptionBalanceSheet = 136;
constexpr int kCaptionLayout = 256;
constexpr double kDateBoxLeft = 1440;
}  // namespace

BalanceSheetWindow::BalanceSheetWindow(const StatementContext& context, QWidget* parent)
    : StatementWindow(context, parent) {
  setObjectName("Balance_Sheet");
  setWindowTitle(QString::fromStdString(Str(kCaptionBalanceSheet)));
  VScroll1 = new PelVerticalScroll(kBalanceSheetVScroll1Settings);
  VScroll1->setObjectName("VScroll1");
  BuildFrame(VScroll1);
  USA = new QAction(QString::fromStdString(Str(kCaptionLayout)), AccountsMenu());
  USA->setObjectName("USA");
  USA->setCheckable(true);
  AccountsMenu()->insertAction(SubAccountsItem(), USA);
  // The layout changes the drawing only.
  connect(USA, &QAction::triggered, this, [this] {
    Relayout();
    SetScrollValue(0);
  });
  Ratio = menuBar()->addAction(QString());
  Ratio->setObjectName("Ratio");
  Ratio->setVisible(false);
  ISCalander = AddDateBox(kDateBoxLeft);
  ISCalander->setObjectName("ISCalander");
  PlaceInBand(P, RightOf(ISCalander) + 80, 4000);
  SetDefaultDates();
  resize(Px(12000), Px(7000));
}

BalanceSheetLayout BalanceSheetWindow::Layout() const {
  return USA->isChecked() ? BalanceSheetLayout::kUnitedStates : BalanceSheetLayout::kStandard;
}

void BalanceSheetWindow::DatePicked() {
  setEnabled(false);
  Recompute(true);
  setEnabled(true);
}

bool BalanceSheetWindow::ReadDates(std::string& problem) {
  return ReadDateBox(ISCalander, sheetDate_, problem);
}

bool BalanceSheetWindow::Compute() {
  sheet_ = ComputeBalanceSheet(TheBooks(), {sheetDate_, SubAccountsItem()->isChecked()});
  TheSession().NetProfit = sheet_.SheetProfit;
  return !sheet_.Failed();
}

StatementDrawing BalanceSheetWindow::Draw(DrawingSurface& surface) const {
  return DrawBalanceSheet(surface, sheet_, Layout(), LookFor(TheBooks().BalanceSheetDecimals));
}

StatementOutput BalanceSheetWindow::Output() const {
  return StatementOutput(sheet_, Layout(), LookFor(TheBooks().BalanceSheetDecimals));
}

void BalanceSheetWindow::SetDefaultDates() {
  sheetDate_ = PostingDateRange(TheBooks()).Latest;
  ISCalander->SetText(QString::fromStdString(DateText(sheetDate_)));
}

std::string BalanceSheetWindow::LedgerEndDate() const { return ISCalander->Text().toStdString(); }

std::string BalanceSheetWindow::EmailSubject() const {
  return BalanceSheetSubject(TheBooks().BusinessName, sheet_.SheetDate, Locale());
}

void BalanceSheetWindow::ShowRatios() {
  const auto& ratio = sheet_.ReturnOnEquity;
  Ratio->setVisible(ratio.has_value());
  Ratio->setText(ratio ? QString::fromStdString(RatioCaption(*ratio, Locale())) : QString());
}

}  // namespace qv
