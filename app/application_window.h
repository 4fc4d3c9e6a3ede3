#pragma once
// The running program: the open book, the session's working values, the locale as read at
// start-up, today's clock, the saved settings, the lists of the windows that commands open,
// the password prompt and the main window. main() makes one and starts it; window tests
// make their own with a settings file, a clock, an example folder and prompts of their own.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts/password_gates.h"
#include "books/books.h"
#include "books/day_date.h"
#include "books/locale_symbols.h"
#include "books/session.h"
#include "platform/locale_info.h"
#include "platform/screen_fit_qt.h"
#include "platform/settings_qt.h"

namespace qv {

class LedgerOpeners;
class RunningCopyLock;
class TAcount;

// The windows that commands open, kept so that the commands that replace the book can close
// them. A list grows by one window per command and its counter only rises; a window the
// user closed leaves an empty slot.
struct WindowLists {
  std::vector<QPointer<QWidget>> JournalWindows;
  int16_t JournalWindowCount = 0;
  std::vector<QPointer<QWidget>> LedgerWindows;
  int16_t LedgerWindowCount = 0;
  std::vector<QPointer<QWidget>> RunningBalanceWindows;
  int16_t RunningBalanceWindowCount = 0;
  std::vector<QPointer<QWidget>> BalanceSheetWindows;
  int16_t BalanceSheetWindowCount = 0;
  // The single trial-balance and income-statement windows.
  QPointer<QWidget> Trial_Balance;
  QPointer<QWidget> Income_Statement;
  std::vector<QPointer<QWidget>> PayRollWindows;
  int16_t PayRollWindowCount = 0;
  std::vector<QPointer<QWidget>> RollingCalculatorWindows;
  int16_t RollingCalculatorWindowCount = 0;

  // Single windows, made on first use.
  QPointer<QWidget> CashFlow;
  QPointer<QWidget> RecurringEntries;   // the prepared-groups window
  QPointer<QWidget> ConfigAccounts;     // the chart-of-accounts editor
  QPointer<QWidget> QVMainsettings;     // the configuration window
  QPointer<QWidget> FindJournal;        // the find dialog's results, a GeneralJournal
  QPointer<QWidget> UnbalancedJournal;  // the entries that do not balance, a GeneralJournal
  QPointer<QWidget> Find_Entry;
  // The default T-account and running-balance windows that the statements drill into.
  QPointer<QWidget> Report;
  QPointer<QWidget> Running_Balance;
  QPointer<QWidget> Depreciation;  // the depreciation calculator

  // Tells the statement windows that the book was replaced: each takes the new book's dates
  // and computes afresh when next activated. Called once the new book is in place, so that
  // a window activated while it was read or rolled over does not settle on the old one.
  void FollowNewBook();

  // Shows the find dialog (Find_Entry) owned by the main window, once it exists.
  std::function<void()> ShowFindEntry;

  // A new window for one of the lists above: made by `make` and kept at the list's next
  // index, its counter, which then rises by one. At the counter's largest value nothing is
  // made: the user is told so and the result is null.
  template <class Window, class Make>
  static Window* AddListed(std::vector<QPointer<QWidget>>& list, int16_t& count, Make&& make) {
    if (!RoomForAnother(count)) return nullptr;
    Window* window = make();
    list.resize(static_cast<std::size_t>(count) + 1);
    list[static_cast<std::size_t>(count)] = window;
    ++count;
    return window;
  }
  // True while a list's counter can count one more window; otherwise says so and is false.
  static bool RoomForAnother(int16_t count);

  // Closes every window that must not outlive the open book: all the journal, ledger and
  // running-balance windows, the comparative statement, the prepared-groups window (which
  // stores its working list as it closes), and the chart editor and configuration window
  // without their closing checks (see app/application_hooks.h). The statement windows stay
  // open; FollowNewBook marks them once the new book is in place.
  void CloseForNewBook();
  // Before the book is saved: the open windows that hold edits apart from the book put them
  // in (see app/application_hooks.h).
  void StoreBeforeSave();
  // The statement windows and their rows go (before the books they show).
  void DeleteStatementWindows();
};

// How a run of the program is set up. The defaults are those of the real program.
struct ApplicationOptions {
  // The command line, the program's name first.
  std::vector<std::string> Arguments;
  // The saved settings: the user's store when empty, else this INI file.
  std::string SettingsFile;
  // The folders searched for example books; when empty, the Examples folder beside the
  // program and then the installed data folders.
  std::vector<std::string> ExampleFolders;
  // Today's date; the system clock when null. Must outlive the application.
  const Clock* TheClock = nullptr;
  // The locale; the system's when not given.
  std::optional<LocaleInfo> Locale;
  // Whether another copy of the program runs; found out when not given.
  std::optional<bool> SecondCopy;
  // The password prompt of the gates; the program's prompt window when null. Must outlive
  // the application.
  PasswordPrompt* Prompt = nullptr;
  // How the program's prompt window ends the program on its lockout: at once, nothing
  // saved, when not given (tests record the call instead).
  std::function<void()> EndOnLockout;
};

class Application {
 public:
  explicit Application(ApplicationOptions options = {});
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up: the main window loads (Form_Load), opens the book named on the command line
  // and shows itself.
  void Start();

  Books& TheBooks() { return books_; }
  Session& TheSession() { return session_; }
  const LocaleInfo& Locale() const { return locale_; }
  const LocaleSymbols& Symbols() const { return symbols_; }
  const Clock& TheClock() const { return *clock_; }
  SettingsQt& Settings() { return *settings_; }
  WindowLists& Windows() { return windows_; }
  PasswordPrompt& Prompt();
  bool SecondCopy() const { return secondCopy_; }
  const std::vector<std::string>& Arguments() const { return options_.Arguments; }
  const std::vector<std::string>& ExampleFolders() const { return exampleFolders_; }
  TAcount& MainWindow() { return *mainWindow_; }
  // The journal and ledger commands, and the default ledger windows of the statements.
  LedgerOpeners& Ledgers() { return *ledgers_; }

 private:
  ApplicationOptions options_;
  // Fits every window to the screen as it opens; it outlives the windows.
  WindowOpening windowOpening_;
  std::unique_ptr<Clock> ownClock_;
  const Clock* clock_ = nullptr;
  LocaleInfo locale_;
  LocaleSymbols symbols_;
  std::unique_ptr<SettingsQt> settings_;
  Books books_;
  Session session_;
  WindowLists windows_;
  std::vector<std::string> exampleFolders_;
  std::unique_ptr<RunningCopyLock> runningLock_;
  bool secondCopy_ = false;
  std::unique_ptr<PasswordPromptModel> passwordModel_;
  std::unique_ptr<PasswordPrompt> ownPrompt_;
  std::unique_ptr<TAcount> mainWindow_;
  std::unique_ptr<LedgerOpeners> ledgers_;
};

// The folders searched for example books: "Examples" beside the program, then
// "quorvel/Examples" in each installed data folder.
std::vector<std::string> DefaultExampleFolders();

}  // namespace qv
