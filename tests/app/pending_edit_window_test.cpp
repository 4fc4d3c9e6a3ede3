// An edit still in its box when a command comes is stored first, as leaving the box stores
// it: the entry's date, an account name the type-ahead did not complete, the boxes of the
// prepared entries and the chart editor, before Ctrl+S, the toolbar's Save, Ctrl+Q or a menu.

#include <QMenuBar>
#include <QMessageBox>

#include "accounts/chart_editor_window.h"
#include "accounts/prepared_entries_window.h"
#include "platform/prompts_qt.h"
#include "platform/string_table.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// The small book with an account whose name goes on from another's: Cash and Cash Float.
class PendingEditWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Books book = SmallBook();
    book.AccountNames[4] = "Cash Float";
    book.AccountFolios[4] = Money(111);
    StartOn(book);
  }
  // The book as the file holds it.
  Books Saved() const {
    BookReadResult read = ReadBook(path, "acc", Day(2026, 3, 15));
    EXPECT_TRUE(read.Ok()) << read.Message;
    return std::move(read.Book).value_or(Books());
  }
  // Types over the date box of the entry holding `line` as a user does, not leaving it.
  void TypeDate(int line, const QString& text) {
    w->ScrollAcc->SetValue(line);
    Focus(w->Datetext->DateX());
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeKeys(text);
  }
  // "Cash" typed in a list as "Cash F" (which shows Cash Float, whose folio the entry screen
  // takes at once) and three Backspaces, which the type-ahead leaves to the box.
  static void TypeCashBack(QComboBox* list) {
    Focus(list);
    TypeKeys("cash f");
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Backspace);
    ASSERT_EQ(list->currentText(), "Cash");
  }
  // The toolbar's Save clicked; the window has the keyboard again after the wait screen, as
  // the window system gives it back.
  void ClickSave() {
    QTest::mouseClick(w->CalcButton(1), Qt::LeftButton);
    Activate(w);
  }
};

TEST_F(PendingEditWindowTest, KeysATypedDateOrNameIsTakenByCtrlSTheToolbarsSaveAndCtrlQ) {
  PromptAnswerer prompts;
  TypeDate(0, "5/1/2025");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[1].LineDate, Day(2025, 5, 1));
  EXPECT_EQ(w->Datetext->Text(), "5/1/25");
  // Saved as shown, Exit ends without a question.
  Activate(w);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(p.ended, 1);
  TypeDate(5, "6/2/2025");
  ClickSave();
  EXPECT_EQ(Saved().PostingLines[6].LineDate, Day(2025, 6, 2));
  w->ScrollAcc->SetValue(5);  // B7: Bank / Sales
  TypeCashBack(w->DebitAccName(0));
  ASSERT_EQ(Line(5).LineFolio, Money(111));
  // Taken before Exit looks for changes: it asks, and No keeps the program.
  prompts.Then(PromptAnswer::No);
  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(p.ended, 1);
  EXPECT_EQ(Line(5).LineFolio, Money(110));
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Saved().PostingLines[5].LineFolio, Money(110));
  EXPECT_EQ(w->DebitFolio(0)->text(), "110");
  Activate(w);
  EXPECT_TRUE(w->DebitAccName(0)->hasFocus()) << "the box keeps the keyboard";
}

// The program's own message boxes: "Invalid Date" once, then the save; Exit asks about a
// date typed since.
TEST_F(PendingEditWindowTest, KeysAnInvalidDateIsToldOnceBeforeTheSaveAndExitAsksAboutATypedDate) {
  QtPromptService boxes;
  ScopedPromptService shown(boxes);
  std::vector<std::string> seen;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen.push_back(box->text().toStdString());
    QTest::keyClick(box, Qt::Key_Return);
  });
  answerer.start(10);
  TypeDate(2, "13/45/26");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(seen, std::vector<std::string>{"Invalid Date"});
  const Books saved = Saved();
  for (int i = 2; i <= 4; ++i) EXPECT_EQ(saved.PostingLines[i].LineDate, Day(2026, 3, 15)) << i;
  Activate(w);
  TypeDate(2, "4/1/2026");
  Press(Qt::Key_Q, Qt::ControlModifier);  // Enter on the question: No, the default
  EXPECT_EQ(seen, (std::vector<std::string>{"Invalid Date", Str(279)}));
  EXPECT_EQ(p.ended, 0);
  EXPECT_EQ(Line(2).LineDate, Day(2026, 4, 1));
}

// A box of another window is stored when the main window's toolbar is clicked, before the
// click makes that window the active one; a chart folio that did not store is told about
// before its window's menu opens.
TEST_F(PendingEditWindowTest, KeysTheBoxesOfTheOtherWindowsAreStoredBeforeACommand) {
  PromptAnswerer prompts;
  w->MenuItem("EnTryDic")->trigger();
  auto* prepared = qobject_cast<RecurringEntries*>(p.app->Windows().RecurringEntries.data());
  ASSERT_NE(prepared, nullptr);
  Activate(prepared);
  TypeCashBack(prepared->Account_Name[0]);
  ClickSave();
  ASSERT_FALSE(Saved().PreparedGroups[0].empty());
  EXPECT_EQ(Saved().PreparedGroups[0][0].LineFolio, Money(110));

  w->MenuItem("EditAccounts")->trigger();
  auto* editor = qobject_cast<ConfigAccounts*>(p.app->Windows().ConfigAccounts.data());
  ASSERT_NE(editor, nullptr);
  Activate(editor);
  QLineEdit* folio = editor->Folio[1];
  const std::string kept = folio->text().toStdString();
  Focus(folio);
  folio->insert("1.2.3");  // pasted: the key filter does not see it
  prompts.Then(PromptAnswer::Ok);
  QMenuBar* bar = editor->menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, {},
                    bar->actionGeometry(editor->HelpConfig->menuAction()).center());
  editor->HelpConfig->close();
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("keeps folio " + kept + "."), std::string::npos)
      << prompts.Texts()[0];
  EXPECT_EQ(folio->text().toStdString(), kept);
}

}  // namespace
}  // namespace qv::testing
