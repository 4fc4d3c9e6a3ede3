#include "controls/file_dialog.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include "platform/colors_qt.h"
#include "tests/controls/input_events_qt.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using namespace testing;

QString Q(const std::string& text) { return QString::fromStdString(text); }

FileDialogRequest OpenRequest(std::string preset = {}) {
  return {"acc", {"*.acc", "*.txt", "*.csv"}, 111, 285, std::move(preset)};
}

class FileDialogWindowTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  Session session;
  FileDialogModel model{scratch.Path()};
};

TEST_F(FileDialogWindowTest, ShowsItsCaptionTheFilesOfTheTypeAndTheGradient) {
  for (const char* file : {"OLD.ACC", "new.acc", "notes.txt"}) scratch.File(file);
  for (int i = 1; i <= 30; ++i) session.FadeColors[size_t(i)] = RgbValue(uint8_t(100 + i), 50, 20);
  model.Prepare(session, OpenRequest());
  FileDialog dialog(model, session);
  EXPECT_EQ(dialog.windowTitle() + " " + dialog.AcceptButton()->text(), "Open Project... Open");
  EXPECT_EQ(dialog.findChild<QLabel*>("Label1_2")->text(), "List Files of Type:");
  EXPECT_EQ(dialog.TypeList()->currentText(), "*.acc");
  ASSERT_EQ(dialog.FileList()->count(), 2);
  EXPECT_EQ(dialog.FileList()->item(0)->text() + " " + dialog.FileList()->item(1)->text(),
            "new.acc OLD.ACC");
  EXPECT_EQ(dialog.FolderLabel()->text(), Q(scratch.Path()));
  // The gradient bands, one fade colour each, down the right of the window.
  const QImage image = Grab(&dialog, "file_dialog");
  EXPECT_EQ(image.pixelColor(image.width() - 2, 0), ToQColor(session.FadeColors[1]));
  EXPECT_EQ(image.pixelColor(image.width() - 2, 2), ToQColor(session.FadeColors[2]));
  // Clicking a label takes the user to the type list.
  SendMouse(dialog.findChild<QLabel*>("Label1_3"), QEvent::MouseButtonPress, QPointF(2, 2));
  EXPECT_EQ(dialog.focusWidget(), dialog.TypeList());
}

TEST_F(FileDialogWindowTest, ChoosingCsvRewritesTheNameAndForbiddenCharactersNeverReachIt) {
  model.Prepare(session, OpenRequest("books.acc"));
  session.LoginPassword = "secret";
  FileDialog dialog(model, session);
  emit dialog.TypeList()->activated(2);
  QLineEdit* box = dialog.NameBox();
  EXPECT_EQ(box->text(), "books.csv");
  EXPECT_EQ(dialog.windowTitle(), "Save CSV As...") << "a saving caption also when opening";
  EXPECT_EQ(session.ChosenFileType + session.LoginPassword, "csv");
  EXPECT_EQ(dialog.focusWidget(), box);
  box->clear();
  for (auto [key, text] : {std::pair{Qt::Key_A, "a"}, {Qt::Key_Colon, ":"}, {Qt::Key_B, "b"}})
    SendKey(box, key, text);
  EXPECT_EQ(box->text(), "ab");
  SendKey(box, Qt::Key_Backspace, "\b");
  EXPECT_EQ(box->text(), "a") << "editing keys still work";
  // A "/" is kept: a typed path leads to its folder.
  QApplication::clipboard()->setText("/etc/x:y");
  box->paste();
  EXPECT_EQ(box->text(), "a/etc/xy");
  EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/a/etc/xy");
}

TEST_F(FileDialogWindowTest, EnterGoesToAcceptEmptyNamesStayDoubleClickAcceptsCloseReturnsNothing) {
  scratch.File("year.acc");
  model.Prepare(session, OpenRequest());
  {
    FileDialog dialog(model, session);
    dialog.show();
    SendKey(dialog.NameBox(), Qt::Key_Return, "\r");
    EXPECT_EQ(dialog.focusWidget(), dialog.AcceptButton());
    EXPECT_TRUE(dialog.isVisible()) << "Enter does not accept";
    dialog.AcceptButton()->click();
    EXPECT_TRUE(dialog.isVisible()) << "an empty name leaves the dialog open";
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    QListWidgetItem* item = dialog.FileList()->item(0);
    ASSERT_NE(item, nullptr);
    emit dialog.FileList()->itemClicked(item);
    EXPECT_EQ(dialog.NameBox()->text(), "year.acc");
    emit dialog.FileList()->itemDoubleClicked(item);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(session.ChosenFileName, scratch.Path() + "/year.acc");
  }
  model.Prepare(session, OpenRequest("books.acc"));
  FileDialog dialog(model, session);
  dialog.show();
  dialog.close();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(session.ChosenFileName + dialog.NameBox()->text().toStdString(), "");
}

// With the name box empty, choosing "*.xls" leaves the caret before the point, so typing
// names the file; accepting the lone extension keeps the dialog open and says why. A lone
// point is no extension: like the empty box it is refused without a word.
TEST_F(FileDialogWindowTest, TypingAfterAChosenTypeNamesTheFileAndALoneExtensionIsRefusedAloud) {
  PromptAnswerer prompts;
  model.Prepare(session, {"acc", {"*.acc", "*.txt", "*.csv", "*.xls"}, 166, 165, {}, true});
  FileDialog dialog(model, session);
  dialog.show();
  QLineEdit* box = dialog.NameBox();
  QTest::keyClicks(box, ".");
  dialog.AcceptButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{});
  box->clear();
  emit dialog.TypeList()->activated(3);
  EXPECT_EQ(box->text(), ".xls");
  prompts.Then(PromptAnswer::Ok);
  dialog.AcceptButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(dialog.focusWidget(), box) << "the name is typed next";
  QTest::keyClicks(box, "shop");
  EXPECT_EQ(box->text(), "shop.xls");
  // With a name, the caret again stands before the new type's point.
  emit dialog.TypeList()->activated(2);
  EXPECT_EQ(box->text(), "shop.csv");
  EXPECT_EQ(box->cursorPosition(), 4);
  dialog.AcceptButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(session.ChosenFileName + "|" + session.ChosenFileType, scratch.Path("shop.csv|csv"));
}

TEST_F(FileDialogWindowTest, AnUnreadablePlaceGoesBackToTheFolderBrowsed) {
  const std::string here = scratch.Folder("here");
  FileDialogModel local(here);
  local.Prepare(session, OpenRequest());
  FileDialog dialog(local, session, nullptr,
                    {{"here", Q(scratch.Path())}, {"gone", Q(scratch.Path() + "/gone")}});
  EXPECT_EQ(dialog.PlaceList()->currentIndex(), 0);
  emit dialog.PlaceList()->activated(1);
  EXPECT_EQ(local.Folder(), here);
  EXPECT_EQ(dialog.PlaceList()->currentIndex(), 0);
  EXPECT_EQ(dialog.FolderLabel()->text(), Q(here));
}

// Opens the folder of that name in the dialog's folder tree, as a double-click does.
void OpenFolder(FileDialog& dialog, const std::string& name) {
  auto items = dialog.FolderList()->findItems(Q(name), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 1) << name;
  emit dialog.FolderList()->itemActivated(items.front(), 0);
}

void AcceptName(FileDialog& dialog, const QString& name) {
  dialog.NameBox()->setText(name);
  emit dialog.NameBox()->textEdited(name);
  dialog.AcceptButton()->click();
}

TEST(ChooseFile, ReturnsAbsolutePathsAndReopensWhereTheUserLastBrowsed) {
  ScratchFolder scratch;
  const std::string books = scratch.Folder("my.books");
  const std::string exports = scratch.Folder("exports");
  Session session;
  // Open the book: browse into "my.books" and type a name without extension.
  WhenModalShows<FileDialog>([&](FileDialog& dialog) {
    OpenFolder(dialog, "my.books");
    AcceptName(dialog, "report");
  });
  FileDialogRequest request = OpenRequest(scratch.Path() + "/");
  request.defaultType = "csv";
  const std::string opened = ChooseFile(nullptr, session, request);
  EXPECT_EQ(opened, books + "/report.csv") << "folder names with dots are not cut";
  EXPECT_EQ(session.ChosenFileName + "|" + session.ChosenFileType, books + "/report|csv");
  // An export elsewhere later.
  WhenModalShows<FileDialog>([&](FileDialog& dialog) {
    EXPECT_EQ(dialog.FolderLabel()->text(), Q(books)) << "reopens in the folder last browsed";
    OpenFolder(dialog, fs::path(scratch.Path()).filename().string());
    OpenFolder(dialog, "exports");
    AcceptName(dialog, "ledger.htm");
  });
  const FileDialogRequest exportRequest{"htm", {"*.htm", "*.rtf"}, 166, 165, {}};
  EXPECT_EQ(ChooseFile(nullptr, session, exportRequest), exports + "/ledger.htm");
  // Cancel returns nothing and keeps the name for the next use.
  WhenModalShows<FileDialog>([](FileDialog& dialog) { dialog.CancelButton()->click(); });
  EXPECT_EQ(ChooseFile(nullptr, session, exportRequest), "");
  EXPECT_EQ(session.ChosenFileName, "");
  WhenModalShows<FileDialog>([&](FileDialog& dialog) {
    EXPECT_EQ(dialog.NameBox()->text(), "ledger.htm");
    dialog.CancelButton()->click();
  });
  ChooseFile(nullptr, session, exportRequest);
}

// A command that writes asks before it replaces a file that stands there, whether the dialog
// or a test's answer named it, and No counts as a cancel; reading asks nothing, and nor does
// the file the request names as its own.
TEST(ChooseFile, AWritingCommandAsksBeforeReplacingAFileAndNoIsACancel) {
  ScratchFolder scratch;
  const std::string shop = scratch.File("shop.csv", "old");
  Session session;
  PromptAnswerer prompts;
  const FileDialogAnswer answerShop = [&shop](const FileDialogRequest&) { return shop; };
  FileDialogRequest request{"csv", {"*.xls", "*.csv"}, 166, 165, shop};
  EXPECT_EQ(ChooseFile(nullptr, session, request, answerShop), shop);
  request.writes = true;
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  for (const std::string& expected : {std::string(), shop}) {
    WhenModalShows<FileDialog>([](FileDialog& dialog) { dialog.AcceptButton()->click(); });
    EXPECT_EQ(ChooseFile(nullptr, session, request), expected);
    EXPECT_EQ(session.ChosenFileName, expected);
  }
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>(2, "\"" + shop + "\" already exists. Replace it ?"));
  prompts.Then(PromptAnswer::No);
  EXPECT_EQ(ChooseFile(nullptr, session, request, answerShop), "");
  request.ownFile = shop;
  EXPECT_EQ(ChooseFile(nullptr, session, request, answerShop), shop);
  EXPECT_EQ(prompts.History().size(), 3u);
  EXPECT_EQ(ScratchFolder::Read(shop), "old");
}

}  // namespace
}  // namespace qv
