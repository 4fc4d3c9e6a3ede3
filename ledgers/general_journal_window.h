#pragma once
// GeneralJournal: the general journal window. It lists the entries of every account or of
// one, between two dates, each with its debit and credit lines, its notes and the totals at
// the foot (ledgers/journal_view.h). The same window shows the results of the searches:
// the find dialog's notes and entry-number searches (FindJournal) and the entries that do
// not balance (UnbalancedJournal). A search, once given, stays the window's own: changing
// the account or the dates narrows it.

#include <string>

#include "ledgers/journal_view.h"
#include "ledgers/ledger_window.h"

namespace qv {

class PelVerticalScroll;

class GeneralJournal : public LedgerWindow {
  Q_OBJECT

 public:
  explicit GeneralJournal(LedgerContext& context, QWidget* parent = nullptr);

  // The journal's scroll bar.
  PelVerticalScroll* JJournal = nullptr;

  // Takes the search the session holds pending (SearchPending 1 with SearchMode and
  // SearchText), clears the pending mark and shows the entries found, over every account
  // and date. Does nothing when no search is pending. Only the window the search was meant
  // for takes it, so a pending search never turns up in another journal.
  void TakePendingSearch();
  int16_t SearchMode() const { return searchMode_; }
  const std::string& SearchText() const { return searchText_; }

 protected:
  LedgerSheet BuildSheet(const LedgerOptions& options) override;
  std::string MailBaseName() const override { return "Journal"; }

 private:
  int16_t searchMode_ = kNoSearch;
  std::string searchText_;
};

}  // namespace qv
