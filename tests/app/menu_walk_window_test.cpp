// Every menu item and toolbar button of the main window, clicked with help mode off and on:
// each must do something a user can see; in help mode a command that honours it shows its
// help card and does nothing else. Questions get their escape answer, file questions are
// cancelled, and the windows each command opens are closed.

#include <QDialog>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "controls/email_file_qt.h"
#include "controls/print_document_qt.h"
#include "controls/shared_printer_qt.h"
#include "tests/app/main_window_commands_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// What a user could see change after a command: the windows opened, the book, and the rest
// by name; the help window's parts are left out when `withHelp` is false.
struct World {
  std::set<QWidget*> windows;
  Books book;
  std::map<std::string, QString> seen;

  std::vector<std::string> ChangesFrom(const World& before, bool withHelp) const {
    static const std::set<std::string> help = {"the help window", "the help card",
                                               "Contents' check mark", "the pointer"};
    std::vector<std::string> changes;
    if (std::ranges::any_of(windows, [&](QWidget* w) { return !before.windows.contains(w); }))
      changes.push_back("a window opened");
    if (!FirstDifference(book, before.book).empty()) changes.push_back("the book");
    for (const auto& [what, value] : seen)
      if ((withHelp || !help.contains(what)) && value != before.seen.at(what))
        changes.push_back(what);
    return changes;
  }
};

// The commands that do not look at help mode, or act in it as well as explaining.
const QStringList kActInHelpMode = QString(
                                       "Exitit CopyTheEntry PageTheEntry Rolling_Calculator_Menu "
                                       "Depreciation_Menu SoftwareSettings HelpSelect AboutMenu "
                                       "Samples(1) CalcButton2 CalcButton3 CalcButton10 "
                                       "CalcButton11 CalcButton13")
                                       .split(' ');

// An entry on the clipboard that differs from every entry of the book.
constexpr const char* kClipboardEntry = "110\t\tCash\t7\t\r\n\t400\tSales\t7\tWalk\r\nQV";

class MenuWalkTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!PrintsToFile(SharedPrinter()))
      GTEST_SKIP() << "a printer is installed; the invoice would go to it";
  }

  // The visible windows besides the main and help windows.
  std::set<QWidget*> OtherWindows() const {
    std::set<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window != w && window != TheHelpDesk().Window() &&
          !qobject_cast<QMenu*>(window))
        windows.insert(window);
    return windows;
  }

  World Look() {
    World world{OtherWindows(), books(), {}};
    HelpWindow* help = TheHelpDesk().Window();
    const auto n = [](auto number) { return QString::number(static_cast<int64_t>(number)); };
    world.seen = {
        {"the help window",
         help ? help->windowTitle() + "|" + help->Text() + "|" + n(help->isVisible()) : QString()},
        {"the help card", help ? help->Title() : QString()},
        {"Contents' check mark", n(w->MenuItem("HelpSelect")->isChecked())},
        {"the pointer", n(TheScreenPointer().Shape())},
        {"a message", n(prompts.History().size())},
        {"a file question", n(p.requests.size())},
        {"printing", n(pdfQuestions)},
        {"a mail", n(mails)},
        {"a modal window", n(modals)},
        {"the program ended", n(p.ended)},
        {"a second copy", n(p.started.size())},
        {"the entry shown", n(w->ScrollAcc->Value())},
        {"the clipboard", QApplication::clipboard()->text()},
        {"the book file", n(fs::last_write_time(path).time_since_epoch().count())}};
    return world;
  }

  // The book as it was, its first entry shown, help mode as wanted (switched on afresh, so
  // that the help window shows its general text), the windows of the last command closed.
  void Reset(bool helpMode) {
    for (QWidget* window : OtherWindows()) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (TheHelpDesk().IsOn() || w->MenuItem("HelpSelect")->isChecked())
      w->MenuItem("HelpSelect")->trigger();
    if (TheHelpDesk().IsOn()) w->MenuItem("HelpSelect")->trigger();
    if (!FirstDifference(books(), original).empty()) {
      p.app->TheSession().ChosenFileName = path;
      ASSERT_TRUE(w->LoadAccFile(1));
    }
    if (helpMode) w->MenuItem("HelpSelect")->trigger();
    ASSERT_EQ(TheHelpDesk().IsOn(), helpMode);
    w->ScrollAcc->SetValue(0);
    QApplication::clipboard()->setText(kClipboardEntry);
    QApplication::setActiveWindow(w);
  }

  // Runs a command with the modal windows it opens closed as soon as they show.
  void Run(const std::function<void()>& command) {
    RunClosingModals(command, [this](QWidget*) { ++modals; });
  }

  PromptAnswerer prompts;
  Books original;
  int pdfQuestions = 0, mails = 0, modals = 0;
};

TEST_F(MenuWalkTest, EveryMenuItemAndToolbarButtonDoesSomethingAndInHelpModeOnlyExplains) {
  fs::create_directories(p.folder / "Examples");
  WriteBookFile(p.folder / "Examples" / "Sample.acc", SmallBook());
  StartOn(SmallBook());
  original = books();
  prompts.Scripted().OnUnexpected = [](const PromptRequest&, const std::string&) {};
  ScopedPdfFileAnswer pdf([this] { return ++pdfQuestions, std::string(); });
  ScopedEmailOpener mail([this](const std::string&) { return ++mails, true; });
  const std::string tmp = (p.folder / "tmp").string();
  fs::create_directories(tmp);
  setenv("tmp", tmp.c_str(), 1);
  const auto commands = MainWindowCommands(w);
  ASSERT_GE(commands.size(), 50u);
  for (const bool helpMode : {false, true}) {
    for (const auto& [name, command] : commands) {
      SCOPED_TRACE((helpMode ? "help mode, " : "") + name.toStdString());
      Reset(helpMode);
      const World before = Look();
      Run(command);
      const World after = Look();
      const std::vector<std::string> changes = after.ChangesFrom(before, true);
      EXPECT_FALSE(changes.empty()) << "did nothing";
      if (helpMode && !kActInHelpMode.contains(name)) {
        EXPECT_NE(after.seen.at("the help card"), kHelpWindowTitle) << "showed no help card";
        EXPECT_EQ(after.ChangesFrom(before, false), std::vector<std::string>{})
            << "acted as well as explaining";
      }
      Reset(false);
    }
  }
  unsetenv("tmp");
}

}  // namespace
}  // namespace qv::testing
