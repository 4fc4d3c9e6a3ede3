#include "ledgers/t_account_window.h"

#include <memory>

#include "controls/vertical_scroll_control.h"

namespace qv {

namespace {
constexpr int kTAccountCaptionId = 130;
}  // namespace

Report::Report(LedgerContext& context, QWidget* parent)
    : LedgerWindow(context, kTAccountVsSettings, false, kTAccountCaptionId, parent) {
  setObjectName("Report");
  Vs = ScrollBar();
}

LedgerSheet Report::BuildSheet(const LedgerOptions& options) {
  auto view = std::make_shared<const TAccountView>(ComputeTAccount(Context().TheBooks, options));
  return TAccountSheet(std::move(view), Context().TheBooks, Context().Locale);
}

}  // namespace qv
