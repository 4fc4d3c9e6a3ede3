#include "ledgers/running_balance_window.h"

#include <memory>

#include "controls/vertical_scroll_control.h"

namespace qv {

namespace {
constexpr int kRunningBalanceCaptionId = 131;
}  // namespace

Running_Balance::Running_Balance(LedgerContext& context, QWidget* parent)
    : LedgerWindow(context, kRunningBalanceVScroll1Settings, false, kRunningBalanceCaptionId,
                   parent) {
  setObjectName("Running_Balance");
  VScroll1 = ScrollBar();
}

LedgerSheet Running_Balance::BuildSheet(const LedgerOptions& options) {
  auto view = std::make_shared<const RunningBalanceView>(
      ComputeRunningBalance(Context().TheBooks, options));
  return RunningBalanceSheet(std::move(view), Context().TheBooks, Context().Locale);
}

}  // namespace qv
