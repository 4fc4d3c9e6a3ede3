// Looking changes nothing: every window of the program opened from the menus and the toolbar
// and closed again without an edit, every entry shown and its boxes passed through with Tab,
// and opens that are refused, leave the books as they were opened, so Exit ends at once.

#include <QMenu>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "platform/string_table.h"
#include "tests/app/main_window_commands_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// The commands that are not looking: they change the books, read or write files, print or
// mail, or end the program.
const QStringList kNotLooking = QString(
                                    "LoadFile SaveFile(0) SaveFile(1) Invoice InsertEntries Exitit "
                                    "NewEntryMenu CopyTheEntry PageTheEntry ArUshore BalBForword "
                                    "Brought_Forward HelpSelect CalcButton0 CalcButton1 "
                                    "CalcButton2 CalcButton3 CalcButton13")
                                    .split(' ');

// A book kept by another program or an older version: values that the windows show mended
// (tracking numbers stored as -1, a reconciled mark of 2, a prepared group without lines, a
// NUL in a group's name) and two accounts of one name, Bank being a second "Cash".
Books BookFromElsewhere() {
  Books book = SmallBook();
  book.AutoTrackingNumbers = -1;
  for (std::size_t i = 2; i <= 4; ++i) book.PostingLines[i].Reconciled = 2;
  book.PreparedGroups[0].clear();
  book.GroupNames[1] = std::string("Pay\0run", 7);
  book.AccountNames[2] = "Cash";
  return book;
}

class UnchangedBooksTest : public MainWindowTest {
 protected:
  // The visible windows besides the main window.
  std::set<QWidget*> OtherWindows() const {
    std::set<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window != w && !qobject_cast<QMenu*>(window))
        windows.insert(window);
    return windows;
  }

  // Starts the program on the book at `book` ("" for a new book).
  void StartWith(const std::string& book) {
    p.app.reset();
    p.options.Arguments = {"quorvel"};
    if (!book.empty()) p.options.Arguments.push_back(book);
    w = &p.StartActive();
  }

  // Passes through a window's boxes with Tab, as a user looking around does.
  static void TabAround(QWidget* window) {
    Activate(window);
    for (int i = 0; i < 40; ++i) Press(Qt::Key_Tab);
  }

  // Shows every entry and passes through its boxes; opens every window and closes it.
  void LookAround() {
    for (int line = 0; line <= books().LastLineIndex(); line += 2) {
      w->ScrollAcc->SetValue(line);
      TabAround(w);
    }
    for (const auto& [name, command] : MainWindowCommands(w)) {
      if (kNotLooking.contains(name)) continue;
      SCOPED_TRACE(name.toStdString());
      const std::set<QWidget*> before = OtherWindows();
      RunClosingModals(command, [](QWidget*) {});
      for (QWidget* window : OtherWindows()) {
        if (before.contains(window)) continue;
        TabAround(window);
        window->close();
      }
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      Activate(w);
    }
  }

  // Three opens refused: an empty file, a PDF named as a book, random bytes.
  void RefuseThreeOpens() {
    std::ofstream(p.folder / "empty.acc");
    std::ofstream(p.folder / "manual.acc") << "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< >>\n";
    std::ofstream noise(p.folder / "noise.acc", std::ios::binary);
    std::mt19937 random(7);
    for (int i = 0; i < (1 << 19); ++i) noise.put(static_cast<char>(random()));
    noise.close();
    for (const char* name : {"empty.acc", "manual.acc", "noise.acc"}) {
      p.answers = {(p.folder / name).string()};
      w->MenuItem("LoadFile")->trigger();
    }
  }
};

TEST_F(UnchangedBooksTest, EveryWindowOpenedAndClosedAndThreeRefusedOpensLeaveNothingToSave) {
  const fs::path examples =
      fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "Examples";
  PromptAnswerer prompts;
  prompts.Scripted().OnUnexpected = [](const PromptRequest&, const std::string&) {};
  const std::string elsewhere = WriteBookFile(p.folder / "elsewhere.acc", BookFromElsewhere());
  for (const std::string& book :
       {(examples / "Trading Business.acc").string(), (examples / "Payroll Example.acc").string(),
        std::string(), elsewhere}) {
    SCOPED_TRACE(book.empty() ? "a new book" : book);
    StartWith(book);
    ASSERT_EQ(p.app->TheSession().LastFilePath, book);
    const Books opened = books();
    LookAround();
    RefuseThreeOpens();
    EXPECT_EQ(FirstDifference(opened, books()), "");
    const int ended = p.ended;
    const std::size_t asked = prompts.History().size();
    w->MenuItem("Exitit")->trigger();
    EXPECT_EQ(p.ended, ended + 1);
    EXPECT_EQ(prompts.History().size(), asked) << "Exit asked " << prompts.Texts().back();
  }
}

}  // namespace
}  // namespace qv::testing
