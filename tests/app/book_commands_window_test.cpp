// The book commands as a user meets them: which file Save writes, what is refused before
// anything is read, and the two roll-over commands with their gate and question.

#include <sys/stat.h>
#include <unistd.h>

#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

class BookCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(SmallBook(), false); }
  std::string BusinessNameIn(const std::string& file, const char* type) {
    const BookReadResult read = ReadBook(file, type, Day(2026, 1, 1));
    EXPECT_TRUE(read.Ok()) << read.Message;
    return read.Ok() ? read.Book->BusinessName : std::string();
  }
};

TEST_F(BookCommandsTest, OnlyABookFileIsTheTargetOfSave) {
  const std::string title = w->windowTitle().toStdString();
  const std::string copy = (p.folder / "copy.csv").string();
  p.answers = {copy};
  w->MenuItem("SaveFile(1)")->trigger();
  const std::string written = ScratchFolder::Read(copy);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(p.app->TheSession().LastFilePath, path) << "a CSV copy is no save target";
  EXPECT_EQ(w->windowTitle().toStdString(), title);

  books().BusinessName = "Changed";
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(BusinessNameIn(path, "acc"), "Changed");
  EXPECT_EQ(ScratchFolder::Read(copy), written);

  // A book opened from its text form has no book file: Save asks for one.
  p.app->TheSession().ChosenFileName = WriteBookFile(p.folder / "other.txt", SmallBook());
  ASSERT_TRUE(w->LoadAccFile(1));
  EXPECT_TRUE(p.app->TheSession().LastFilePath.empty());
  p.answers = {(p.folder / "other.acc").string()};
  p.requests.clear();
  w->MenuItem("SaveFile(0)")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.requests[0].patterns, std::vector<std::string>{"*.acc"});
  EXPECT_EQ(p.app->TheSession().LastFilePath, (p.folder / "other.acc").string());
}

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

  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  prompts.Then(PromptAnswer::Ok);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  p.app->TheSession().ChosenFileName = path;
  EXPECT_FALSE(w->LoadAccFile(1));
  ASSERT_EQ(prompts.Texts().size(), 2u);
  EXPECT_EQ(prompts.Texts()[1].rfind("The file could not be read.", 0), 0u) << prompts.Texts()[1];
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
