#include "controls/file_dialog_model.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

FileDialogRequest SaveAsRequest(std::string preset = {}) {
  FileDialogRequest request;
  request.defaultType = "acc";
  request.patterns = {"*.acc", "*.txt", "*.csv", "*.xls"};
  request.captionId = 166;
  request.acceptCaptionId = 165;
  request.presetName = std::move(preset);
  return request;
}

TEST(FileDialogRules, TypeCodesCaptionsAndNames) {
  EXPECT_EQ(FileTypeOfPattern("*.csv"), "csv");
  EXPECT_EQ(FileTypeOfPattern("*.htm"), "htm");
  EXPECT_EQ(FileTypeOfPattern("ab"), "ab");

  EXPECT_EQ(CaptionIdForType("acc"), 195);
  EXPECT_EQ(CaptionIdForType("csv"), 196);
  EXPECT_EQ(CaptionIdForType("xls"), 197);
  EXPECT_EQ(CaptionIdForType("txt"), 198);
  EXPECT_EQ(CaptionIdForType("rtf"), 0);
  EXPECT_EQ(CaptionIdForType("CSV"), 0) << "type codes compare with case";

  EXPECT_EQ(NameForType("books.acc", "csv"), "books.csv");
  EXPECT_EQ(NameForType("my.report", "csv"), "my.csv");
  EXPECT_EQ(NameForType("", "csv"), ".csv");

  EXPECT_FALSE(IsAcceptableName(""));
  EXPECT_FALSE(IsAcceptableName(".csv"));
  EXPECT_TRUE(IsAcceptableName("a.csv"));
  EXPECT_TRUE(IsAcceptableName("books"));

  // Absolute paths keep folders whose names hold dots.
  EXPECT_EQ(FileNameWithType("/home/u/my.books/report", "csv"), "/home/u/my.books/report.csv");
  EXPECT_EQ(FileNameWithType("/home/u/my.books/report.acc", "txt"),
            "/home/u/my.books/report.txt");
  EXPECT_EQ(FileNameWithType("", "acc"), "") << "cancelled stays cancelled";
}

TEST(FileDialogRules, ForbiddenCharactersNeverReachTheName) {
  for (char c : std::string("|*\"/:<>?\\")) EXPECT_TRUE(IsForbiddenNameCharacter(c)) << c;
  EXPECT_FALSE(IsForbiddenNameCharacter('.'));
  EXPECT_FALSE(IsForbiddenNameCharacter(' '));
  EXPECT_EQ(WithoutForbiddenCharacters("/etc/pass\\wd:<x>?*|\"\n"), "etcpasswdx");
  EXPECT_EQ(WithoutForbiddenCharacters("Bücher 2026.acc"), "Bücher 2026.acc");
}

TEST(FileDialogRules, PatternsMatchWithoutRegardToCase) {
  EXPECT_TRUE(MatchesFilePattern("OLD.ACC", "*.acc"));
  EXPECT_TRUE(MatchesFilePattern("new.acc", "*.acc"));
  EXPECT_FALSE(MatchesFilePattern("new.acc.bak", "*.acc"));
  EXPECT_FALSE(MatchesFilePattern("newacc", "*.acc"));
  EXPECT_TRUE(MatchesFilePattern("é.txt", "?.txt")) << "? stands for one character";
  EXPECT_TRUE(MatchesFilePattern("anything", "*"));
}

TEST(FileDialogRules, PathPieces) {
  EXPECT_EQ(JoinPath("/home/u", "a.acc"), "/home/u/a.acc");
  EXPECT_EQ(JoinPath("/", "a.acc"), "/a.acc");
  EXPECT_EQ(FolderChain("/home/u"), (std::vector<std::string>{"/", "/home", "/home/u"}));
  EXPECT_EQ(FolderChain("/"), (std::vector<std::string>{"/"}));
  EXPECT_EQ(LastPathComponent("/home/u"), "u");
  EXPECT_EQ(LastPathComponent("/"), "");
}

TEST(FileDialogFolders, ListsFoldersAndMatchingFilesButNotHiddenOnes) {
  ScratchFolder scratch;
  scratch.File("OLD.ACC");
  scratch.File("new.acc");
  scratch.File("notes.txt");
  scratch.File(".hidden.acc");
  scratch.Folder("b-folder");
  scratch.Folder("A.folder");
  scratch.Folder(".cache");

  const FolderListing listing = ListFolder(scratch.Path(), "*.acc");
  ASSERT_TRUE(listing.readable);
  EXPECT_EQ(listing.files, (std::vector<std::string>{"new.acc", "OLD.ACC"}));
  EXPECT_EQ(listing.folders, (std::vector<std::string>{"A.folder", "b-folder"}));

  EXPECT_FALSE(ListFolder(scratch.Path() + "/missing", "*.acc").readable);
}

class FileDialogModelTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  Session session;
};

TEST_F(FileDialogModelTest, ChoosingATypeRewritesTheNameTheCaptionAndForgetsThePassword) {
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest("books.acc"));
  EXPECT_EQ(session.ChosenFileType, "acc");
  EXPECT_EQ(model.CaptionId(), 166);
  EXPECT_EQ(model.AcceptCaptionId(), 165);
  session.LoginPassword = "secret";

  model.ChooseType(2);  // *.csv
  EXPECT_EQ(model.NameText(), "books.csv");
  EXPECT_EQ(model.CaptionId(), 196);
  EXPECT_EQ(session.ChosenFileType, "csv");
  EXPECT_EQ(session.LoginPassword, "");
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/books.csv");

  // A type without a caption of its own leaves the caption as it is.
  FileDialogRequest exportRequest;
  exportRequest.defaultType = "xls";
  exportRequest.patterns = {"*.xls", "*.rtf", "*.htm"};
  exportRequest.captionId = 166;
  exportRequest.acceptCaptionId = 165;
  model.Prepare(session, exportRequest);
  model.ChooseType(1);
  EXPECT_EQ(model.CaptionId(), 166);
  EXPECT_EQ(session.ChosenFileType, "rtf");
}

TEST_F(FileDialogModelTest, AcceptNeedsANameWithAStem) {
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest());
  EXPECT_EQ(session.ChosenFileName, "");
  EXPECT_FALSE(model.Accept()) << "an empty name leaves the dialog open";

  model.ChooseType(2);
  EXPECT_EQ(model.NameText(), ".csv");
  EXPECT_FALSE(model.Accept()) << "a name that is only an extension is refused";

  model.SetNameText("ledger");
  EXPECT_TRUE(model.Accept());
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/ledger");
  EXPECT_EQ(FileNameWithType(session.ChosenFileName, session.ChosenFileType),
            scratch.Path() + "/ledger.csv");
}

TEST_F(FileDialogModelTest, TypedPathsAreStrippedToAPlainName) {
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest());
  EXPECT_EQ(model.SetNameText("../../etc/passwd"), "....etcpasswd");
  EXPECT_EQ(model.SetNameText("C:\\books.acc"), "Cbooks.acc");
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/Cbooks.acc");
}

TEST_F(FileDialogModelTest, CancelAndCloseChooseNothing) {
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest("books.acc"));
  model.Cancel();
  EXPECT_EQ(session.ChosenFileName, "");
  EXPECT_EQ(model.NameText(), "books.acc") << "cancel keeps the name for the next use";

  model.Close();
  EXPECT_EQ(session.ChosenFileName, "");
  EXPECT_EQ(model.NameText(), "") << "the close box starts the next use afresh";
}

TEST_F(FileDialogModelTest, DoubleClickChoosesTheFileInItsFolder) {
  const std::string sub = scratch.Folder("my.books");
  scratch.File("my.books/year.acc");
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest());
  ASSERT_TRUE(model.OpenFolder(sub));
  EXPECT_EQ(model.Listing().files, (std::vector<std::string>{"year.acc"}));
  model.ClickFile("year.acc");
  EXPECT_EQ(model.NameText(), "year.acc");
  EXPECT_TRUE(model.DoubleClickFile("year.acc"));
  EXPECT_EQ(session.ChosenFileName, sub + "/year.acc");
  EXPECT_EQ(FileNameWithType(session.ChosenFileName, session.ChosenFileType), sub + "/year.acc");
}

TEST_F(FileDialogModelTest, ReopensInTheFolderLastBrowsed) {
  const std::string exports = scratch.Folder("exports");
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest("books.acc"));
  model.OpenFolder(exports);
  model.Cancel();

  model.Prepare(session, SaveAsRequest());
  EXPECT_EQ(model.Folder(), exports);
  EXPECT_EQ(model.NameText(), "books.acc");
  EXPECT_EQ(session.ChosenFileName, exports + "/books.acc");
}

TEST_F(FileDialogModelTest, AnUnreadableFolderFallsBackOnceAndNeverLoops) {
  const std::string kept = scratch.Folder("kept");
  FileDialogModel model(kept);
  model.Prepare(session, SaveAsRequest());
  EXPECT_FALSE(model.OpenFolder(scratch.Path() + "/missing"));
  EXPECT_EQ(model.Folder(), kept) << "back to the folder it was in";

  // The folder it was in vanished as well: the home folder.
  fs::remove_all(kept);
  EXPECT_FALSE(model.OpenFolder(scratch.Path() + "/missing"));
  EXPECT_EQ(model.Folder(), HomeFolder());
}

TEST_F(FileDialogModelTest, AVanishedFolderIsLeftForTheNearestOneAbove) {
  const std::string deep = scratch.Folder("a/b/c");
  FileDialogModel model(deep);
  fs::remove_all(scratch.Path() + "/a/b");
  model.Prepare(session, SaveAsRequest());
  EXPECT_EQ(model.Folder(), scratch.Path() + "/a");
}

TEST_F(FileDialogModelTest, APresetPathMovesToItsFolder) {
  const std::string folder = scratch.Folder("year 2026");
  FileDialogModel model(scratch.Path());
  model.Prepare(session, SaveAsRequest(folder + "/books.acc"));
  EXPECT_EQ(model.Folder(), folder);
  EXPECT_EQ(model.NameText(), "books.acc");
  EXPECT_EQ(session.ChosenFileName, folder + "/books.acc");
}

}  // namespace
}  // namespace qv
