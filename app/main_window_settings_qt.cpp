// The main window's commands that open the chart and settings windows: the chart editor,
// Move Account, the configuration window and the prepared entry groups. The chart editor,
// Move Account and the configuration window are behind the admin password; in help mode the
// commands that honour it show their card instead of opening.

#include <QAction>
#include <QApplication>

#include "accounts/chart_editor_window.h"
#include "accounts/configuration_window.h"
#include "accounts/font_facts_qt.h"
#include "accounts/move_accounts_dialog.h"
#include "accounts/prepared_entries_window.h"
#include "app/application_hooks.h"
#include "app/application_window.h"
#include "app/main_window.h"
#include "controls/help_window.h"
#include "controls/vertical_scroll_control.h"
#include "platform/keyboard_return_qt.h"
#include "platform/screen_pointer.h"

namespace qv {
namespace {

// The chart editor as the window lists keep it: a new book closes it without its checks.
class ChartEditorWindow final : public ConfigAccounts, public ClosesWithBook {
 public:
  using ConfigAccounts::ConfigAccounts;
  void CloseForNewBook() override { CloseWithoutChecks(); }
};

// The prepared-groups window as the window lists keep it: saving the book includes its
// working list.
class PreparedEntriesWindow final : public RecurringEntries, public StoresBeforeSave {
 public:
  using RecurringEntries::RecurringEntries;
  void StoreBeforeSave() override { StoreWorkingList(); }
};

// Brings an open single window forward; false when there is none.
bool Raise(QWidget* window) {
  if (window == nullptr) return false;
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

}  // namespace

void TAcount::ConnectSettingsCommands() {
  connect(MenuItem("EditAccounts"), &QAction::triggered, this, &TAcount::EditAccounts_Click);
  connect(MenuItem("ReplaceAccountsMenu"), &QAction::triggered, this,
          &TAcount::ReplaceAccountsMenu_Click);
  connect(MenuItem("SoftwareSettings"), &QAction::triggered, this,
          &TAcount::SoftwareSettings_Click);
  connect(MenuItem("EnTryDic"), &QAction::triggered, this, &TAcount::EnTryDic_Click);
}

void TAcount::EditAccounts_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::AccountSettings))) return;
  if (!PassAdminGate()) return;
  WindowLists& windows = app_.Windows();
  if (Raise(windows.ConfigAccounts)) return;
  ChartEditorHooks hooks;
  hooks.BeforeChecks = [&windows] {
    if (windows.FindJournal) windows.FindJournal->close();
    if (windows.Report) windows.Report->close();
  };
  hooks.AfterClose = [this] {
    // The lists show the chart as it now stands, and the entry screen starts again at the
    // journal's first line.
    RefillAccountLists();
    ScrollAcc->SetValue(0);
    ScrollAcc_Change();
  };
  auto* editor = new ChartEditorWindow(app_.TheBooks(), app_.TheSession(), app_.Locale(),
                                       std::move(hooks), this);
  windows.ConfigAccounts = editor;
  editor->show();
}

void TAcount::ReplaceAccountsMenu_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::MoveAccount))) return;
  if (!PassAdminGate()) return;
  // The shown entry is shown again at once, so that no account list writes an old folio
  // back into a moved line.
  MoveAccounts dialog(app_.TheBooks(), app_.Locale(), [this] { ScrollAcc_Change(); });
  RunModal(dialog);
}

void TAcount::SoftwareSettings_Click() {
  // Configurations does not look at help mode.
  if (!PassAdminGate()) return;
  WindowLists& windows = app_.Windows();
  if (Raise(windows.QVMainsettings)) return;
  QVMainsettings* settings = nullptr;
  {
    const BusyPointer busy;
    QApplication::processEvents();
    // The entry screen follows a new date style at once.
    settings = new QVMainsettings(
        app_.TheBooks(), app_.Locale(), app_.TheClock().Today(), ScreenFonts(),
        [this] { ScrollAcc_Change(); }, this);
  }
  windows.QVMainsettings = settings;
  settings->show();
}

void TAcount::EnTryDic_Click() {
  if (ShowHelpCard(MenuCommandHelp(MenuCommand::PreparedEntries))) return;
  WindowLists& windows = app_.Windows();
  if (Raise(windows.RecurringEntries)) return;
  PreparedEntriesHooks hooks;
  hooks.Included = [this] {
    // The entry screen shows the journal's new last entry.
    const int32_t last = app_.TheBooks().LastLineIndex();
    ScrollAcc->SetValueMax(last);
    ScrollAcc->SetValue(last);
  };
  hooks.Background = ButtonBar->Picture();
  auto* prepared =
      new PreparedEntriesWindow(app_.TheBooks(), app_.Locale(), app_.TheClock(), std::move(hooks));
  prepared->setWindowTitle(MenuItem("EnTryDic")->text());
  // It has no owner, yet it edits the books the application holds: it goes with the main
  // window, before them.
  connect(this, &QObject::destroyed, prepared, [prepared] { delete prepared; });
  windows.RecurringEntries = prepared;
  prepared->show();
}

}  // namespace qv
