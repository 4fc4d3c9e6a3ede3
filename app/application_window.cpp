#include "app/application_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <limits>

#include "accounts/password_dialog.h"
#include "app/application_hooks.h"
#include "app/ledger_openers_qt.h"
#include "app/main_window.h"
#include "controls/focus_marks_qt.h"
#include "controls/pending_edit_qt.h"
#include "controls/text_box_keys_qt.h"
#include "controls/wheel_routing_qt.h"
#include "platform/locale_qt.h"
#include "platform/prompts.h"
#include "platform/running_copies.h"

// Resources of a static library are registered by hand.
static void RegisterResources() { Q_INIT_RESOURCE(quorvel); }

namespace qv {
namespace {

// Closes a window that must go with the book, without any question.
void CloseWithBook(QPointer<QWidget>& window) {
  if (!window) return;
  if (auto* hook = dynamic_cast<ClosesWithBook*>(window.data()))
    hook->CloseForNewBook();
  else
    window->close();
}

void CloseAll(std::vector<QPointer<QWidget>>& windows) {
  for (QPointer<QWidget>& window : windows) CloseWithBook(window);
}

// Takes this copy's share of the running copies' lock, held for the run; `secondCopy` tells
// whether any other copy of the program runs.
std::unique_ptr<RunningCopyLock> LockRunningCopy(bool& secondCopy) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  auto lock = std::make_unique<RunningCopyLock>(
      QFile::encodeName(folder + "/quorvel-copies.lock").toStdString());
  secondCopy = lock->OtherCopyRuns();
  return lock;
}

}  // namespace

void WindowLists::CloseForNewBook() {
  CloseAll(JournalWindows);
  CloseAll(LedgerWindows);
  CloseAll(RunningBalanceWindows);
  CloseWithBook(CashFlow);
  CloseWithBook(RecurringEntries);
  CloseWithBook(ConfigAccounts);
  CloseWithBook(QVMainsettings);
}

bool WindowLists::RoomForAnother(int16_t count) {
  if (count < std::numeric_limits<int16_t>::max()) return true;
  ShowMessage(
      "No more windows of this kind can be opened in this run of the program: it has opened "
      "32,767 of them. The windows that are open stay as they are.");
  return false;
}

void WindowLists::StoreBeforeSave() {
  if (auto* holder = dynamic_cast<qv::StoresBeforeSave*>(RecurringEntries.data()))
    holder->StoreBeforeSave();
}

std::vector<std::string> DefaultExampleFolders() {
  std::vector<std::string> folders;
  folders.push_back(
      QDir(QCoreApplication::applicationDirPath()).filePath("Examples").toStdString());
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    folders.push_back(QDir(data).filePath("quorvel/Examples").toStdString());
  return folders;
}

Application::Application(ApplicationOptions options) : options_(std::move(options)) {
  RegisterResources();
  QCoreApplication::instance()->installEventFilter(&windowOpening_);
  // The program's icon: every window's, and the picture of the About text.
  QApplication::setWindowIcon(QIcon(":/quorvel.svg"));
  if (options_.TheClock) {
    clock_ = options_.TheClock;
  } else {
    ownClock_ = std::make_unique<SystemClock>();
    clock_ = ownClock_.get();
  }
  locale_ = options_.Locale ? *options_.Locale : CaptureLocale();
  symbols_ = LocaleSymbolsOf(locale_);
  settings_ = options_.SettingsFile.empty()
                  ? std::make_unique<SettingsQt>()
                  : std::make_unique<SettingsQt>(QString::fromStdString(options_.SettingsFile));
  books_ = NewBooks(clock_->Today());
  exampleFolders_ =
      options_.ExampleFolders.empty() ? DefaultExampleFolders() : options_.ExampleFolders;
  if (options_.SecondCopy)
    secondCopy_ = *options_.SecondCopy;
  else
    runningLock_ = LockRunningCopy(secondCopy_);
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    InstallWheelGuard(*app);
    InstallTextBoxKeys(*app);
    InstallFocusMarks(*app);
    InstallPendingEditGuard(*app);
  }
  mainWindow_ = std::make_unique<TAcount>(*this);
  ledgers_ = std::make_unique<LedgerOpeners>(*this);
}

Application::~Application() {
  // The windows go before the books they show, the views before the main window.
  windows_.DeleteStatementWindows();
  ledgers_.reset();
  mainWindow_.reset();
  ownPrompt_.reset();
}

PasswordPrompt& Application::Prompt() {
  if (options_.Prompt) return *options_.Prompt;
  if (!ownPrompt_) {
    passwordModel_ = std::make_unique<PasswordPromptModel>(
        options_.EndOnLockout ? options_.EndOnLockout
                              : PasswordPromptModel::QuitFunction(EndProgramAtOnce));
    ownPrompt_ = std::make_unique<PasswordDialogPrompt>(*passwordModel_, books_, session_,
                                                        mainWindow_.get());
  }
  return *ownPrompt_;
}

void Application::Start() {
  mainWindow_->Form_Load();
  mainWindow_->show();
}

}  // namespace qv
