// The book commands as a user meets them: which file Save writes, what is refused before
// anything is read, and the two roll-over commands with their gate and question, and the
// file that the rolled-over book is saved to.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

#include "app/startup.h"
#include "controls/file_dialog.h"
#include "platform/string_table.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

class BookCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(SmallBook(), false); }
  // A book file whose opening for reading is refused (EACCES): the book itself with no
  // permissions, or, where permissions do not bind (the superuser), a link named like a book
  // to a write-only attribute of the kernel's sysfs, which refuses every read. Empty when
  // neither can be had.
  std::string UnreadableBook() {
    const auto refused = [](const std::string& file) {
      const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      return fd < 0 && errno == EACCES;
    };
    if (chmod(path.c_str(), 0) == 0 && refused(path)) return path;
    std::error_code error;
    for (const auto& bus : fs::directory_iterator("/sys/bus", error)) {
      const fs::path attribute = bus.path() / "uevent";
      if (!refused(attribute.string())) continue;
      const fs::path link = p.folder / "locked.acc";
      fs::create_symlink(attribute, link, error);
      if (!error && refused(link.string())) return link.string();
    }
    return {};
  }
};

TEST_F(BookCommandsTest, APipeIsRefusedAtOnceAndAnUnreadableFileIsNoWriteError) {
  const std::string pipe = (p.folder / "pipe.acc").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  p.app->TheSession().ChosenFileName = pipe;
  EXPECT_FALSE(w->LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("is a named pipe, not a book file"), std::string::npos);
  EXPECT_EQ(books().LastLineIndex(), 6);

  // A file that cannot be opened for reading (EACCES): the message speaks of reading.
  const std::string locked = UnreadableBook();
  if (locked.empty()) GTEST_SKIP() << "no file here refuses this user a read";
  prompts.Then(PromptAnswer::Ok);
  p.app->TheSession().ChosenFileName = locked;
  EXPECT_FALSE(w->LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 2u);
  EXPECT_EQ(prompts.Texts()[1].rfind("The file could not be read.", 0), 0u) << prompts.Texts()[1];
  EXPECT_EQ(books().LastLineIndex(), 6);
}

// A book named with 80 CJK characters (244 bytes) opens and is saved in place; a save that
// fails says why in a sentence of its own, not under the title of a file that could not be
// opened.
TEST_F(BookCommandsTest, ABookWithALongNameIsSavedAndAFailedSaveSaysWhy) {
  std::string name;
  for (int i = 0; i < 80; ++i) name += "\u5e33";  // 帳, three bytes each
  const std::string longName = WriteBookFile(p.folder / (name + ".acc"), SmallBook());
  p.answers = {longName};
  w->MenuItem("LoadFile")->trigger();
  ASSERT_EQ(p.app->TheSession().LastFilePath, longName);
  books().BusinessName = "Harbour Lane";
  PromptAnswerer prompts;
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(ReadBook(longName, "acc", Day(2026, 1, 1)).Book->BusinessName, "Harbour Lane");
  const std::string tooLong = (p.folder / (std::string(300, 'x') + ".acc")).string();
  prompts.Then(PromptAnswer::Ok);
  p.answers = {tooLong};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Writing \"" + tooLong +
                                                      "\" failed: File name too long. The "
                                                      "file was not changed."});
  EXPECT_EQ(p.app->TheSession().LastFilePath, longName);
}

// A save or an export replaces only an ordinary file, or one behind a link: a named pipe or
// a device node at the book's path, or behind a link there, is left as it is, and the
// message says what stands there.
TEST_F(BookCommandsTest, ASaveOrAnExportLeavesAPipeOrADeviceAtThePathAsItIs) {
  ASSERT_EQ(mkfifo((p.folder / "pipe").c_str(), 0600), 0);
  std::vector<std::pair<std::string, std::string>> nodes = {{"pipe", "a named pipe"}};
  // A node like /dev/null; only the superuser may make one.
  if (mknod((p.folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    nodes.emplace_back("null", "a device");
  const auto kind = [](const fs::path& at) { return fs::symlink_status(at).type(); };
  PromptAnswerer prompts;
  for (const auto& [node, what] : nodes) {
    const fs::file_type nodeType = kind(p.folder / node);
    for (const bool link : {false, true}) {
      const fs::path sheet = p.folder / ("copy-" + node + (link ? "-link" : "") + ".xls");
      fs::remove(path);
      if (link) {
        fs::create_symlink(node, path);
        fs::create_symlink(node, sheet);
      } else {
        fs::rename(p.folder / node, path);
        fs::create_hard_link(path, sheet);
      }
      books().BusinessName = "Harbour Lane";
      const std::size_t asked = prompts.Texts().size();
      prompts.Then(PromptAnswer::Ok);
      w->MenuItem("SaveFile(0)")->trigger();
      prompts.Then(PromptAnswer::Yes).Then(PromptAnswer::Ok);  // replace it? then the message
      p.answers = {sheet.string()};
      w->MenuItem("SaveFile(1)")->trigger();
      ASSERT_EQ(prompts.Texts().size(), asked + 3) << node << link;
      const std::string tail = " is " + what + ", not an ordinary file; nothing was written.";
      EXPECT_EQ(prompts.Texts()[asked], "\"" + path + "\"" + tail);
      EXPECT_EQ(prompts.Texts()[asked + 2], "\"" + sheet.string() + "\"" + tail);
      EXPECT_EQ(kind(path), link ? fs::file_type::symlink : nodeType) << node;
      EXPECT_EQ(kind(sheet), link ? fs::file_type::symlink : nodeType) << node;
      EXPECT_TRUE(w->BooksChangedSinceSaved());
      if (!link) fs::rename(path, p.folder / node);
      fs::remove(sheet);
    }
    EXPECT_EQ(kind(p.folder / node), nodeType) << node;
  }
  if (nodes.size() == 1) GTEST_SKIP() << "no device node can be made here (not the superuser)";
}

// A path longer than the system takes is no missing book: the message names the cause.
TEST_F(BookCommandsTest, OpeningAPathBeyondTheSystemsLimitSaysTheNameIsTooLong) {
  std::string deep = p.folder.string();
  while (deep.size() <= PATH_MAX) deep += "/" + std::string(200, 'd');
  deep += "/book.acc";
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  p.app->TheSession().ChosenFileName = deep;
  EXPECT_FALSE(w->LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("\"" + deep + "\" failed: File name too long."),
            std::string::npos)
      << prompts.Texts()[0];
  EXPECT_EQ(prompts.Texts()[0].find("does not exist"), std::string::npos);
  EXPECT_EQ(books().LastLineIndex(), 6);
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
}

TEST_F(BookCommandsTest, CarryOverPassesTheGateClosesTheViewsAndClosesTheIncomeAccounts) {
  QPointer<QWidget> view = new QWidget;
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->show();
  p.app->Windows().JournalWindows.push_back(view);
  books().AdminPassword = "boss";
  const Books before = books();
  w->MenuItem("BalBForword")->trigger();
  EXPECT_EQ(FirstChange(before, books()), "") << "a failed gate ends the command silently";
  p.prompt.known = {"boss"};
  w->MenuItem("BalBForword")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(view.isNull()) << "the views of the old journal are closed";
  // Cash 150 and bank 60 come forward; the sales of 210 are closed into folio 1, as the
  // book has no capital account.
  ASSERT_EQ(books().LastLineIndex(), 3);
  EXPECT_EQ(books().EntryNumbers[0].TrimmedText(), "B/D");
  for (const PostingLine& line : books().PostingLines) EXPECT_NE(line.LineFolio, Money(400));
  EXPECT_EQ(w->ScrollAcc->ValueMax(), 3);
}

// A rolled-over book holds the new period, no longer the old period's file: the first save
// shows the file dialog with the old file's name, and keeping it replaces that file only on
// Yes to the question any other file gets. Until then Exit asks. The new lines start the day
// after the old journal's last entry (3 March; today is 15 March).
TEST_F(BookCommandsTest, ARolledOverBookIsSavedUnderANameAskedForAndReplacesTheOldFileOnlyOnYes) {
  w->ChooseBookFile = nullptr;  // the real dialog, answered through its own controls
  QString nameShown;
  // Save (Ctrl+S), accepting the file dialog as it opens, the replace question answered.
  const auto save = [&](PromptAnswer replace) {
    nameShown.clear();
    QTimer::singleShot(0, w, [&nameShown] {
      if (auto* dialog = qobject_cast<FileDialog*>(QApplication::activeModalWidget())) {
        nameShown = dialog->NameBox()->text();
        dialog->AcceptButton()->click();
      }
    });
    PromptAnswerer prompts;
    prompts.Then(replace);
    w->MenuItem("SaveFile(0)")->trigger();
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{ReplaceFileQuestion(path)});
  };
  for (const char* command : {"Brought_Forward", "BalBForword"}) {
    SCOPED_TRACE(command);
    WriteBookFile(path, SmallBook());
    p.app->TheSession().ChosenFileName = path;
    ASSERT_TRUE(w->LoadAccFile(1));
    const std::string oldPeriod = ScratchFolder::Read(path);
    w->MenuItem(command)->trigger();
    ASSERT_EQ(books().EntryNumbers[0].TrimmedText(), "B/D");
    for (const PostingLine& line : books().PostingLines) EXPECT_EQ(line.LineDate, Day(2026, 3, 4));
    EXPECT_EQ(w->windowTitle().toStdString(), TitleText({})) << "the book has no file yet";

    save(PromptAnswer::No);
    EXPECT_EQ(nameShown, "book.acc");
    EXPECT_TRUE(ScratchFolder::Read(path) == oldPeriod) << "the old period's file is kept";
    {
      PromptAnswerer prompts;
      prompts.Then(PromptAnswer::No);
      w->Exitit_Click();
      EXPECT_EQ(prompts.Texts(), std::vector<std::string>{Str(279)});
      EXPECT_EQ(p.ended, 0);
    }

    save(PromptAnswer::Yes);
    EXPECT_EQ(nameShown, "book.acc");
    const BookReadResult saved = ReadBook(path, "acc", Day(2026, 1, 1));
    ASSERT_TRUE(saved.Ok());
    EXPECT_EQ(saved.Book->PostingLines, books().PostingLines);
    EXPECT_EQ(w->windowTitle().toStdString(), TitleText(path));
    EXPECT_FALSE(w->BooksChangedSinceSaved());
  }
}

TEST_F(BookCommandsTest, AnUnbalancedJournalIsRolledOverOnlyOnYes) {
  books().PostingLines[0].Amount = Money(112.5);
  const Books before = books();
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  w->MenuItem("Brought_Forward")->trigger();
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0],
            "The journal does not balance: its debits exceed its credits by 12.5. The Balance "
            "b/f account (folio 1) will take the difference. Go on?");
  EXPECT_EQ(FirstChange(before, books()), "");
  w->MenuItem("Brought_Forward")->trigger();
  EXPECT_EQ(books().EntryNumbers[0].TrimmedText(), "B/D");
}

}  // namespace
}  // namespace qv::testing
