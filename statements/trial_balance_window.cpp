#include "statements/trial_balance_window.h"

#include "controls/date_picker_control.h"
#include "controls/vertical_scroll_control.h"
#include "platform/key_codes.h"
#include "platform/string_table.h"
#include "platform/units.h"
#include "statements/statement_frame.h"
#include "statements/statement_lines.h"
#include "statements/trial_balance_layout.h"

namespace qv {

namespace {
constexpr int kCaptionTrialBalance = 154;
constexpr double kDateBoxLeft = 1440;
}  // namespace

TrialBalanceWindow::TrialBalanceWindow(const StatementContext& context, QWidget* parent)
    : StatementWindow(context, parent) {
  setObjectName("Trial_Balance");
  setWindowTitle(QString::fromStdString(Str(kCaptionTrialBalance)));
  TScroll = new PelVerticalScroll(kTrialBalanceTScrollSettings);
  TScroll->setObjectName("TScroll");
  BuildFrame(TScroll);
  ISCalander = AddDateBox(kDateBoxLeft);
  ISCalander->setObjectName("ISCalander");
  PlaceInBand(P, RightOf(ISCalander) + 50, 4000);
  // Up and Down in the date box scroll the statement.
  connect(
      ISCalander, &CalanderForm::KeyDown, this,
      [this](int16_t& keyCode, int16_t&) {
        if (keyCode != kKeyUp && keyCode != kKeyDown) return;
        TScroll->SetValue(TScroll->Value() + (keyCode == kKeyUp ? -10 : 10));
        keyCode = 0;
      },
      Qt::DirectConnection);
  trialDate_ = Today();
  resize(Px(12000), Px(7000));
}

bool TrialBalanceWindow::ReadDates(std::string& problem) {
  return ReadDateBox(ISCalander, trialDate_, problem);
}

bool TrialBalanceWindow::Compute() {
  tb_ = ComputeTrialBalance(TheBooks(), {trialDate_, SubAccountsItem()->isChecked()});
  return !tb_.Failed();
}

StatementDrawing TrialBalanceWindow::Draw(DrawingSurface& surface) const {
  return DrawTrialBalance(surface, tb_, LookFor(TheBooks().TrialDecimals));
}

StatementOutput TrialBalanceWindow::Output() const {
  return StatementOutput(tb_, LookFor(TheBooks().TrialDecimals));
}

void TrialBalanceWindow::SetDefaultDates() {
  trialDate_ = Today();
  ISCalander->SetText(QString::fromStdString(DateText(Today())));
}

std::string TrialBalanceWindow::LedgerEndDate() const { return ISCalander->Text().toStdString(); }

std::string TrialBalanceWindow::EmailSubject() const {
  return TrialBalanceSubject(TheBooks().BusinessName, tb_.TrialDate, Locale());
}

}  // namespace qv
