#include "ledgers/general_journal_window.h"

#include <memory>

#include <QComboBox>

#include "controls/vertical_scroll_control.h"

namespace qv {

namespace {
constexpr int kJournalCaptionId = 129;
}  // namespace

GeneralJournal::GeneralJournal(LedgerContext& context, QWidget* parent)
    : LedgerWindow(context, kGeneralJournalJJournalSettings, true, kJournalCaptionId, parent) {
  setObjectName("GeneralJournal");
  JJournal = ScrollBar();
}

void GeneralJournal::TakePendingSearch() {
  Session& session = Context().TheSession;
  if (session.SearchPending != 1) return;
  session.SearchPending = 0;
  searchMode_ = session.SearchMode;
  searchText_ = session.SearchText;
  // A search looks through every account and every date.
  Form_Load();
  tReportAcc->setEditText(kAllAccountsText);
  Rebuild();
}

LedgerSheet GeneralJournal::BuildSheet(const LedgerOptions& options) {
  const JournalOptions journal{options, searchMode_, searchText_};
  auto view = std::make_shared<const JournalView>(ComputeJournal(Context().TheBooks, journal));
  return JournalSheet(std::move(view), Context().TheBooks, Context().Locale);
}

}  // namespace qv
