#include "accounts/password_dialog.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "controls/text_box_keys_qt.h"
#include "tests/controls/input_events_qt.h"
#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

using testing::SendKey;

// Types the text one key at a time, as long as the prompt is up.
void Type(PasswordDialog& dialog, const QString& text) {
  for (QChar c : text)
    if (dialog.isVisible()) SendKey(dialog.PasswordBox(), c.toUpper().unicode(), QString(c));
}

class PasswordDialogTest : public ::testing::Test {
 protected:
  PasswordDialogTest() {
    books.AdminPassword = "abcdef";
    books.FilePassword = "abc";
    books.FontName = "Courier New";
  }

  // Runs `steps` on the prompt once its modal showing is up; a prompt the steps leave open is
  // closed with "Exit" and counted in `leftOpen`, so no test waits on a modal showing.
  void OnNextShowing(std::function<void(PasswordDialog&)> steps) {
    QTimer::singleShot(0, [this, steps = std::move(steps)] {
      auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        ADD_FAILURE() << "the password prompt is not showing";
        return;
      }
      steps(*dialog);
      if (dialog->isVisible()) {
        ++leftOpen;
        dialog->ExitButton()->click();
      }
    });
  }

  PromptAnswerer messages;
  int quits = 0;
  int leftOpen = 0;
  PasswordPromptModel model{[this] { ++quits; }};
  Books books = testing::BookWithChart({});
  Session session;
  PasswordDialogPrompt prompt{model, books, session, nullptr};
};

TEST_F(PasswordDialogTest, AMaskedBoxWhereEnterAndEscapeOnlyCountAndThePasswordClosesAtOnce) {
  OnNextShowing([&](PasswordDialog& dialog) {
    EXPECT_EQ(dialog.PromptLabel()->text(), "Password Required");
    EXPECT_EQ(dialog.PasswordBox()->font().family(), "Courier New");
    EXPECT_EQ(dialog.focusWidget(), dialog.PasswordBox());
    Type(dialog, "ab");
    EXPECT_EQ(dialog.PasswordBox()->displayText(), "**");
    testing::Grab(&dialog, "password_dialog");
    SendKey(dialog.PasswordBox(), Qt::Key_Return, "\r");
    SendKey(dialog.PasswordBox(), Qt::Key_Escape, QString(QChar(27)));
    SendKey(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    SendKey(dialog.PasswordBox(), Qt::Key_Backspace, "\b");
    EXPECT_EQ(dialog.PasswordBox()->text(), "a");
    dialog.PasswordBox()->insert(QString(100, 'z'));
    EXPECT_EQ(dialog.PasswordBox()->text().size(), 80);
    dialog.ExitButton()->click();
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  // Exit unloads the prompt; a, b, Enter, Escape in the box and Backspace were counted.
  EXPECT_EQ(std::pair(leftOpen, prompt.Window()),
            std::pair(0, static_cast<PasswordDialog*>(nullptr)));
  EXPECT_EQ(model.FailedKeyPresses(), 5);
  // Typing or pasting the password closes the prompt at once.
  bool stillOpenAfterFive = false;
  OnNextShowing([&](PasswordDialog& dialog) {
    Type(dialog, "abcde");
    stillOpenAfterFive = dialog.isVisible();
    Type(dialog, "f");
  });
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_TRUE(stillOpenAfterFive);  // "abc", the file password, did not close it either
  // Accepted: the window stays loaded, hidden, and the next showing starts empty.
  ASSERT_NE(prompt.Window(), nullptr);
  EXPECT_FALSE(prompt.Window()->isVisible());
  PasswordDialog* first = prompt.Window();
  QApplication::clipboard()->setText("abc");
  OnNextShowing([&](PasswordDialog& dialog) {
    EXPECT_EQ(&dialog, first);
    EXPECT_EQ(dialog.PasswordBox()->text(), "");
    SendKey(dialog.PasswordBox(), Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
  });
  EXPECT_TRUE(PassFilePasswordGate(books.FilePassword, session, prompt));
  EXPECT_EQ(leftOpen, 0);
}

TEST_F(PasswordDialogTest, TheFiveHundredthFailedKeyClosesThePromptAndEndsTheRun) {
  messages.Then(PromptAnswer::Ok);
  OnNextShowing([&](PasswordDialog& dialog) {
    for (int i = 0; i < 500 && dialog.isVisible(); ++i)
      SendKey(dialog.PasswordBox(), Qt::Key_Backspace, "\b");
    EXPECT_FALSE(dialog.isVisible());
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(std::pair(quits, leftOpen), std::pair(1, 0));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
}

// A password of CJK, Hangul or emoji characters has the same lockout: every key that reaches
// the box as a character counts, typed or handed in by an input method, whatever its code.
TEST_F(PasswordDialogTest, KeysOfEveryScriptCountTowardsTheLockout) {
  books.AdminPassword = "\u5bc6\u7801";  // 密码
  const QString typed[] = {QString::fromUtf8("\u8a66"), QString::fromUtf8("\ud55c"),
                           QString::fromUtf8("\U0001F600"), QString::fromUtf8("\u00e9")};
  OnNextShowing([&](PasswordDialog& dialog) {
    for (int i = 0; i < 300; ++i) {
      const QString& c = typed[i % 4];
      SendKey(dialog.PasswordBox(), c.size() == 1 ? c.at(0).unicode() : 0, c);
    }
    EXPECT_EQ(dialog.PasswordBox()->text().size(), 80);  // the box is full; keys still count
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 300);
  // Input-method text: each character counts; the 500th ends the run.
  messages.Then(PromptAnswer::Ok);
  int commits = 0;
  OnNextShowing([&](PasswordDialog& dialog) {
    for (; commits < 550 && dialog.isVisible(); ++commits) {
      QInputMethodEvent event;
      event.setCommitString(typed[0] + typed[1]);
      QApplication::sendEvent(dialog.PasswordBox(), &event);
    }
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(std::pair(commits, quits), std::pair(100, 1));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
}

// The program's shared rule for Ctrl+A is in place, as in the running program: in this box
// Ctrl+A still selects the whole text, and it counts like any key, so after 499 Backspaces
// it is the 500th.
TEST_F(PasswordDialogTest, KeysCtrlASelectsAllAndCountsTowardsTheLockout) {
  InstallTextBoxKeys(*qobject_cast<QApplication*>(QCoreApplication::instance()));
  const auto ctrlA = [](PasswordDialog& dialog) {
    SendKey(dialog.PasswordBox(), Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
  };
  messages.Then(PromptAnswer::Ok);
  bool openAfter499 = false;
  OnNextShowing([&](PasswordDialog& dialog) {
    for (int i = 0; i < 499; ++i) SendKey(dialog.PasswordBox(), Qt::Key_Backspace, "\b");
    openAfter499 = dialog.isVisible();
    ctrlA(dialog);
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_TRUE(openAfter499);
  EXPECT_EQ(std::pair(quits, leftOpen), std::pair(1, 0));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
  int selected = -1;
  OnNextShowing([&](PasswordDialog& dialog) {
    Type(dialog, "ab");
    ctrlA(dialog);
    selected = dialog.PasswordBox()->selectionLength();
  });
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(std::pair(selected, model.FailedKeyPresses()), std::pair(2, 3));
}

}  // namespace
}  // namespace qv
