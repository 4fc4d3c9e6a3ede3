#include "controls/file_dialog_model.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <tuple>
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using Names = std::vector<std::string>;

FileDialogRequest SaveAsRequest(std::string preset = {}) {
  return {"acc", {"*.acc", "*.txt", "*.csv", "*.xls"}, 166, 165, std::move(preset)};
}

TEST(FileDialogRules, TypeCodesNamesPathsForbiddenCharactersAndPatterns) {
  EXPECT_EQ(CaptionIdForType("CSV"), 0) << "type codes compare with case";
  EXPECT_EQ(NameForType("my.report", "csv") + "|" + NameForType("", "csv"), "my.csv|.csv");
  EXPECT_EQ(FileNameWithType("/u/OLD.ACC", "acc"), "/u/OLD.ACC")
      << "the file listed is the file used";
  // Absolute paths keep folders whose names hold dots; cancelled stays cancelled.
  EXPECT_EQ(FileNameWithType("/home/u/my.books/report", "csv"), "/home/u/my.books/report.csv");
  EXPECT_EQ(FileNameWithType("/home/u/my.books/report.acc", "txt"), "/home/u/my.books/report.txt");
  EXPECT_EQ(FileNameWithType("", "acc"), "");
  // The root folder, which the dialog's browsing reaches only at the top.
  EXPECT_EQ(JoinPath("/", "a.acc") + "|" + LastPathComponent("/"), "/a.acc|");
  EXPECT_EQ(FolderChain("/"), Names{"/"});
  // Forbidden characters never reach the name; patterns ignore case.
  EXPECT_EQ(WithoutForbiddenCharacters("/etc/pass\\wd:<x>?*|\"\n"), "/etc/passwdx");
  EXPECT_EQ(WithoutForbiddenCharacters("Bücher 2026.acc"), "Bücher 2026.acc");
  for (auto [name, pattern, matches] : {std::tuple{"OLD.ACC", "*.acc", true},
                                        {"new.acc.bak", "*.acc", false},
                                        {"newacc", "*.acc", false},
                                        {"é.txt", "?.txt", true} /* one character, not one byte */,
                                        {"anything", "*", true}}) {
    EXPECT_EQ(MatchesFilePattern(name, pattern), matches) << name << " " << pattern;
  }
}

// A document's title proposes its file: never a folder, never a forbidden character.
TEST(FileDialogRules, ADocumentsTitleGivesTheNameProposedForItsFile) {
  const std::pair<const char*, const char*> titles[] = {
      {"Trial Balance -", "Trial Balance.pdf"},
      {"Reconciled General Journal", "Reconciled General Journal.pdf"},
      {"Quorvel V6.2 : /home/u/books.acc    ", "Quorvel V6.2  homeubooks.acc.pdf"},
      {"Acme Ltd. Ledger", "Acme Ltd. Ledger.pdf"},
      {" - : ", "Document.pdf"},
      {"", "Document.pdf"}};
  for (const auto& [title, name] : titles) EXPECT_EQ(DocumentFileName(title, "pdf"), name);
}

TEST(FileDialogFolders, ListsFoldersAndMatchingFilesButNotHiddenOnes) {
  ScratchFolder scratch;
  for (const char* file : {"OLD.ACC", "new.acc", "notes.txt", ".hidden.acc"}) scratch.File(file);
  for (const char* folder : {"b-folder", "A.folder", ".cache"}) scratch.Folder(folder);
  const FolderListing listing = ListFolder(scratch.Path(), "*.acc");
  ASSERT_TRUE(listing.readable);
  EXPECT_EQ(listing.files, (Names{"new.acc", "OLD.ACC"}));
  EXPECT_EQ(listing.folders, (Names{"A.folder", "b-folder"}));
  EXPECT_FALSE(ListFolder(scratch.Path() + "/missing", "*.acc").readable);
}

class FileDialogModelTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  Session session;
  FileDialogModel model{scratch.Path()};
};

TEST_F(FileDialogModelTest, AcceptNeedsANameWithAStemAndATypedPathLeadsToItsFolder) {
  PromptAnswerer prompts;
  model.Prepare(session, SaveAsRequest());
  EXPECT_EQ(session.ChosenFileName, "");
  EXPECT_FALSE(model.Accept()) << "an empty name leaves the dialog open, and says nothing";
  model.ChooseType(2);
  EXPECT_EQ(model.NameText(), ".csv");
  prompts.Then(PromptAnswer::Ok);
  EXPECT_FALSE(model.Accept()) << "a name that is only an extension is refused";
  EXPECT_EQ(prompts.Texts(), Names{"\".csv\" is only an extension and names no file: type a "
                                   "name before the point, as in \"name.csv\"."});
  EXPECT_EQ(model.SetNameText("C:\\books.acc"), "Cbooks.acc");
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/Cbooks.acc");
  // A hidden folder, which the folder list leaves out, is reached by typing its path; with
  // nothing after the last "/" the dialog only moves there.
  const std::string hidden = scratch.Folder(".books/2026");
  model.SetNameText(".books/2026/");
  EXPECT_FALSE(model.Accept());
  EXPECT_EQ(model.Folder(), hidden);
  EXPECT_EQ(FolderChain(model.Folder()).back(), hidden);
  model.SetNameText(scratch.Path() + "/.books/year.acc");
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/.books/year.acc");
  EXPECT_TRUE(model.Accept());
  EXPECT_EQ(model.Folder() + "|" + model.NameText(), scratch.Path() + "/.books|year.acc");
  model.SetNameText("missing/x.acc");
  EXPECT_FALSE(model.Accept()) << "a folder that is not there leaves the dialog as it was";
  EXPECT_EQ(model.Folder(), scratch.Path() + "/.books");
  model.OpenFolder(scratch.Path());
  model.SetNameText("ledger");
  EXPECT_TRUE(model.Accept());
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/ledger");
  EXPECT_EQ(FileNameWithType(session.ChosenFileName, session.ChosenFileType),
            scratch.Path() + "/ledger.csv");
}

// The dialog opens on the preset type wherever its pattern stands in the list, listing only
// files of that type, and the file written is of the type shown: a name typed with another
// extension takes the shown one.
TEST_F(FileDialogModelTest, OpensOnThePresetTypeAndTheFileWrittenIsOfTheTypeShown) {
  for (const char* file : {"old.rtf", "old.xls", "page.htm"}) scratch.File(file);
  model.Prepare(session, {"xls", {"*.rtf", "*.xls", "*.htm"}, 166, 165, {}});
  EXPECT_EQ(model.Pattern() + "|" + session.ChosenFileType, "*.xls|xls");
  EXPECT_EQ(model.PatternIndex(), 1u);
  EXPECT_EQ(model.Listing().files, Names{"old.xls"});
  model.SetNameText("typed.rtf");
  ASSERT_TRUE(model.Accept());
  EXPECT_EQ(FileNameWithType(session.ChosenFileName, session.ChosenFileType),
            scratch.Path() + "/typed.xls");
  // The name kept for the next use shows that use's type, which is the type written.
  model.Prepare(session, {"xls", {"*.rtf", "*.xls", "*.htm"}, 166, 165, {}});
  EXPECT_EQ(model.NameText(), "typed.xls");
  model.Prepare(session, {"rtf", {"*.rtf"}, 166, 165, {}});
  EXPECT_EQ(model.Pattern() + "|" + session.ChosenFileType, "*.rtf|rtf");
  EXPECT_EQ(model.Listing().files, Names{"old.rtf"});
  EXPECT_EQ(model.NameText(), "typed.rtf");
  // A preset type the list does not offer: the first pattern, whose type is written.
  model.Prepare(session, {"pdf", {"*.htm", "*.rtf"}, 166, 165, {}});
  EXPECT_EQ(model.Pattern() + "|" + session.ChosenFileType, "*.htm|htm");
  EXPECT_EQ(model.NameText(), "typed.htm");
}

// Before a file that stands there is written over, the user is asked, No the default; the
// open book's own file, reached by any path, is replaced without a question.
TEST(FileReplaceQuestion, AFileThatStandsThereIsReplacedOnlyOnYesTheOwnFileWithoutAsking) {
  ScratchFolder scratch;
  PromptAnswerer prompts;
  const std::string shop = scratch.File("shop.csv");
  const std::string own = scratch.File("book.acc");
  EXPECT_TRUE(MayReplaceFile(scratch.Path("new.csv")));
  EXPECT_TRUE(MayReplaceFile(scratch.Path() + "/./book.acc", own));
  EXPECT_TRUE(prompts.History().empty());
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  EXPECT_FALSE(MayReplaceFile(shop, own));
  EXPECT_TRUE(MayReplaceFile(shop));
  ASSERT_EQ(prompts.History().size(), 2u);
  const PromptRequest& asked = prompts.History()[0].Request;
  EXPECT_EQ(asked.Text, "\"" + shop + "\" already exists. Replace it ?");
  EXPECT_EQ(asked.Buttons, PromptButtons::YesNo);
  EXPECT_EQ(asked.Default, PromptAnswer::No);
}

TEST_F(FileDialogModelTest, UnreadableOrVanishedFoldersFallBackAndNeverLoop) {
  const std::string kept = scratch.Folder("kept");
  FileDialogModel inKept(kept);
  inKept.Prepare(session, SaveAsRequest());
  EXPECT_FALSE(inKept.OpenFolder(scratch.Path() + "/missing"));
  EXPECT_EQ(inKept.Folder(), kept) << "back to the folder it was in";
  fs::remove_all(kept);  // the folder it was in vanished as well: the home folder
  EXPECT_FALSE(inKept.OpenFolder(scratch.Path() + "/missing"));
  EXPECT_EQ(inKept.Folder(), HomeFolder());
  // A vanished folder is left for the nearest one above.
  FileDialogModel deep(scratch.Folder("a/b/c"));
  fs::remove_all(scratch.Path() + "/a/b");
  deep.Prepare(session, SaveAsRequest());
  EXPECT_EQ(deep.Folder(), scratch.Path() + "/a");
}

}  // namespace
}  // namespace qv
