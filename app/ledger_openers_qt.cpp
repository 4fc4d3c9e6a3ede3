#include "app/ledger_openers_qt.h"

#include <QAction>

#include "app/application_messages.h"
#include "app/application_window.h"
#include "app/main_window.h"
#include "app/main_window_help.h"
#include "controls/help_window.h"
#include "controls/pending_edit_qt.h"
#include "controls/vertical_scroll_control.h"
#include "ledgers/find_entry_dialog.h"
#include "platform/string_table.h"

namespace qv {
namespace {

constexpr int kReconciledId = 288;
constexpr int kUnbalancedEntriesId = 304;

// The window to bring forward: shown, raised and given the focus.
void BringForward(QWidget* window) {
  window->show();
  if (window->isMinimized()) window->showNormal();
  window->raise();
  window->activateWindow();
}

bool ShowsHelp(MenuCommand command) { return TheHelpDesk().ShowCard(MenuCommandHelp(command)); }

}  // namespace

LedgerOpeners::LedgerOpeners(Application& app) : app_(app) {
  context_ = std::make_unique<LedgerContext>(
      LedgerContext{app.TheBooks(), app.TheSession(), app.Locale(), app.TheClock(),
                    [this](int32_t line, bool forward) { ShowPostingLine(line, forward); },
                    [](int code, const std::string& detail) { ShowWriteError(code, detail); }});
  TAcount& main = app.MainWindow();
  auto on = [&](const char* item, auto command) {
    if (QAction* action = main.MenuItem(item)) connect(action, &QAction::triggered, this, command);
  };
  on("ShowJournals", [this] { ShowJournals_Click(); });
  on("ShowTaccount", [this] { ShowTaccount_Click(); });
  on("Rb_MenuItem", [this] { Rb_MenuItem_Click(); });
  for (int index : {0, 2, 3})
    on(QString("RA1(%1)").arg(index).toUtf8().constData(), [this, index] { RA1_Click(index); });
  for (int index : {0, 1, 4})
    on(QString("SearchMenu(%1)").arg(index).toUtf8().constData(),
       [this, index] { SearchMenu_Click(index); });
  app.Windows().ShowFindEntry = [this] { ShowFindEntry(); };
}

LedgerOpeners::~LedgerOpeners() {
  WindowLists& windows = app_.Windows();
  windows.ShowFindEntry = nullptr;
  auto drop = [](QWidget* window) { delete window; };
  for (auto* list :
       {&windows.JournalWindows, &windows.LedgerWindows, &windows.RunningBalanceWindows})
    for (QPointer<QWidget>& window : *list) drop(window.data());
  for (QPointer<QWidget>* single : {&windows.FindJournal, &windows.UnbalancedJournal,
                                    &windows.Find_Entry, &windows.Report, &windows.Running_Balance})
    drop(single->data());
}

template <class Window>
Window* LedgerOpeners::NewListedWindow(std::vector<QPointer<QWidget>>& list, int16_t& count) {
  return WindowLists::AddListed<Window>(list, count, [this] { return new Window(*context_); });
}

void LedgerOpeners::ShowJournals_Click() {
  if (ShowsHelp(MenuCommand::JournalEntries)) return;
  WindowLists& w = app_.Windows();
  if (auto* window = NewListedWindow<GeneralJournal>(w.JournalWindows, w.JournalWindowCount))
    window->show();
}

void LedgerOpeners::ShowTaccount_Click() {
  if (ShowsHelp(MenuCommand::TAccountLedger)) return;
  WindowLists& w = app_.Windows();
  if (auto* window = NewListedWindow<Report>(w.LedgerWindows, w.LedgerWindowCount)) window->show();
}

void LedgerOpeners::Rb_MenuItem_Click() {
  if (ShowsHelp(MenuCommand::RunningBalanceLedger)) return;
  WindowLists& w = app_.Windows();
  if (auto* window =
          NewListedWindow<Running_Balance>(w.RunningBalanceWindows, w.RunningBalanceWindowCount))
    window->show();
}

void LedgerOpeners::MakeReconciliationView(LedgerWindow* window) {
  window->HideReconciled = true;
  window->SetBackColor(kReconciliationTint);
  window->setWindowTitle(QString::fromStdString(Str(kReconciledId)) + " " + window->windowTitle());
  window->show();
}

void LedgerOpeners::RA1_Click(int index) {
  HelpCard card = EntryHelp(EntryHelpTopic::Reconcile);
  card.title = kReconciliationHelpTitle;
  if (TheHelpDesk().ShowCard(card)) return;
  WindowLists& w = app_.Windows();
  LedgerWindow* window = nullptr;
  switch (index) {
    case 0: window = NewListedWindow<GeneralJournal>(w.JournalWindows, w.JournalWindowCount); break;
    case 2: window = NewListedWindow<Report>(w.LedgerWindows, w.LedgerWindowCount); break;
    case 3:
      window =
          NewListedWindow<Running_Balance>(w.RunningBalanceWindows, w.RunningBalanceWindowCount);
      break;
    default: return;
  }
  if (window) MakeReconciliationView(window);
}

void LedgerOpeners::SearchMenu_Click(int index) {
  // Item 3 (Balance Point) is the main window's own command; 2 is a separator.
  if (index != 0 && index != 1 && index != 4) return;
  if (ShowsHelp(index == 0   ? MenuCommand::SearchEntryNumbers
                : index == 1 ? MenuCommand::SearchEntryNotes
                             : MenuCommand::UnbalancedEntries))
    return;
  Session& session = app_.TheSession();
  if (index == 4) {
    session.SearchPending = 1;
    session.SearchMode = kSearchUnbalanced;
    GeneralJournal* journal = UnbalancedJournal();
    journal->TakePendingSearch();
    BringForward(journal);
    return;
  }
  session.SearchMode = index == 0 ? kSearchEntryNumber : kSearchNotes;
  ShowFindEntry();
}

template <class Window, class Make>
Window* LedgerOpeners::SingleWindow(QPointer<QWidget>& slot, Make make) {
  if (!slot) slot = make();
  return static_cast<Window*>(slot.data());
}

void LedgerOpeners::ShowFindEntry() {
  auto* find = SingleWindow<Find_Entry>(app_.Windows().Find_Entry, [this] {
    return new Find_Entry(
        app_.TheSession(), [this] { ShowFindResults(); }, &app_.MainWindow());
  });
  // Shown again so that its caption follows the search mode.
  find->hide();
  BringForward(find);
}

GeneralJournal* LedgerOpeners::FindJournal() {
  return SingleWindow<GeneralJournal>(app_.Windows().FindJournal,
                                      [this] { return new GeneralJournal(*context_); });
}

void LedgerOpeners::ShowFindResults() {
  GeneralJournal* journal = FindJournal();
  journal->TakePendingSearch();
  BringForward(journal);
}

GeneralJournal* LedgerOpeners::UnbalancedJournal() {
  return SingleWindow<GeneralJournal>(app_.Windows().UnbalancedJournal, [this] {
    auto* journal = new GeneralJournal(*context_);
    journal->setWindowTitle(QString::fromStdString(Str(kUnbalancedEntriesId)));
    journal->SetBackColor(kUnbalancedTint);
    return journal;
  });
}

Report* LedgerOpeners::DefaultReport() {
  return SingleWindow<Report>(app_.Windows().Report, [this] { return new Report(*context_); });
}

Running_Balance* LedgerOpeners::DefaultRunningBalance() {
  return SingleWindow<Running_Balance>(app_.Windows().Running_Balance,
                                       [this] { return new Running_Balance(*context_); });
}

void LedgerOpeners::ShowPostingLine(int32_t line, bool bringForward) {
  TAcount& main = app_.MainWindow();
  if (line < 0 || line > app_.TheBooks().LastLineIndex()) return;
  // The entry shown is left for another: an edit still in its box goes into it first,
  // whichever window has the keyboard by now.
  StorePendingEdits();
  if (main.isMinimized()) main.showNormal();
  main.ScrollAcc->SetValueMax(app_.TheBooks().LastLineIndex());
  main.ScrollAcc->SetValue(line);
  if (bringForward) BringForward(&main);
}

}  // namespace qv
