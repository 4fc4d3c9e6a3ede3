// The boxes that feed a book text (an account's details, the business address) as a user
// fills them by pasting, and the book they leave saved in every form and read back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "accounts/chart_editor.h"
#include "accounts/chart_editor_window.h"
#include "accounts/configuration_window.h"
#include "bookfiles/book_files.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"

namespace qv::testing {
namespace {

// Two megabytes pasted into the account details and the business address: each box keeps
// what a book holds and says so, and the book then saves in every form and reads back equal.
TEST(BookTextBoxes, ATwoMegabytePasteIsCutToWhatABookHoldsAndEveryFormReadsBack) {
  Books books = BookWithChart({{"Cash", 1000, kCurrentAsset}, {"Sales", 1010, kRevenue}});
  Session session;
  const LocaleInfo locale = UsEnglishLocale();
  AddEntry(books, Day(2026, 3, 1), "1", {{1000, 5}}, {{1010, 5}}, "Opening");
  std::string pasted;
  while (pasted.size() < (2u << 20)) pasted += "Deliver to the back door – ring twice\n";
  QApplication::clipboard()->setText(QString::fromStdString(pasted));
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok).Then(PromptAnswer::Ok);
  auto editor =
      std::make_unique<ConfigAccounts>(books, session, locale, ChartEditorHooks{}, nullptr);
  editor->show();
  editor->ANote2->setFocus();
  editor->ANote2->paste();
  QTest::qWait(0);
  const std::string details = books.AccountDetails[0];
  QVMainsettings settings(
      books, locale, Day(2026, 3, 5), {}, [] {}, nullptr);
  settings.show();
  settings.BusAddress->setFocus();
  settings.BusAddress->paste();
  QTest::qWait(0);
  const std::string cut(kBookTextCutMessage);
  EXPECT_EQ(prompts.Texts(), (std::vector<std::string>{cut, cut}));
  for (const std::string* text :
       {&details, static_cast<const std::string*>(&books.BusinessAddress)}) {
    EXPECT_LE(text->size(), kMaxTextBytes);
    EXPECT_GT(text->size(), kMaxTextBytes - 64) << "cut at the limit, not before";
    EXPECT_EQ(ToBoxLines(*text), pasted.substr(0, ToBoxLines(*text).size()));
  }
  EXPECT_EQ(ToBookLines(editor->ANote2->toPlainText().toStdString()), details);
  EXPECT_EQ(ToBookLines(settings.BusAddress->toPlainText().toStdString()), books.BusinessAddress);
  ScratchFolder folder;
  const CompareParts carried[] = {
      {},
      {.passwords = false},
      {.passwords = false, .settingsAndGroups = false, .accountExtras = false}};
  int form = 0;
  for (const char* type : {"acc", "txt", "csv"}) {
    const std::string path = folder.Path(std::string("book.") + type);
    const BookFileResult saved = WriteBook(path, type, books);
    ASSERT_TRUE(saved.Ok()) << saved.Message;
    const BookReadResult read = ReadBook(path, type, kToday);
    ASSERT_TRUE(read.Ok()) << read.Message;
    EXPECT_EQ(FirstDifference(books, *read.Book, carried[form++]), "") << type;
  }
}

}  // namespace
}  // namespace qv::testing
