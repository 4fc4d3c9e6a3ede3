#include "accounts/password_gates.h"

#include <gtest/gtest.h>
#include <deque>

#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

// One showing's steps: a one-character step is a key press (a printable character types
// itself, Backspace 8 removes one, other codes change nothing), a longer one a paste
// (Ctrl+V) that puts the whole text in at once.
using Script = std::vector<std::string>;

Script Keys(std::string_view keys) {
  Script script;
  for (char c : keys) script.emplace_back(1, c);
  return script;
}

// Plays the user at the prompt, driving the model as the window does: each showing takes
// the next script and ends as soon as the model accepts or locks out, or with Exit when
// its script runs out.
class ScriptedPasswordPrompt final : public PasswordPrompt {
 public:
  explicit ScriptedPasswordPrompt(PasswordPromptModel& model) : model_(model) {}
  void Then(Script script) { scripts_.push_back(std::move(script)); }

  void Ask(const std::string& wanted, Session& session) override {
    ++showings_;
    stepsTaken_ = 0;
    model_.Begin(wanted);
    std::string box;
    Script script;
    if (!scripts_.empty()) {
      script = std::move(scripts_.front());
      scripts_.pop_front();
    }
    for (const std::string& step : script) {
      ++stepsTaken_;
      const int code = step.size() > 1 ? 22 : static_cast<unsigned char>(step[0]);
      bool changed = true;
      if (code == 22 || code >= 32)
        box += step;
      else if (code == 8 && !box.empty())
        box.pop_back();
      else
        changed = false;
      if (changed && model_.TextChanged(box)) session.LoginPassword = model_.AcceptedPassword();
      if (model_.KeyPressed(code) || model_.Accepted()) return;
    }
  }

  int showings_ = 0;
  int stepsTaken_ = 0;

 private:
  PasswordPromptModel& model_;
  std::deque<Script> scripts_;
};

class PasswordGatesTest : public ::testing::Test {
 protected:
  PasswordGatesTest() { books.AdminPassword = "abcdef"; }

  PromptAnswerer messages;  // the gates themselves never show a message
  int quits = 0;
  PasswordPromptModel model{[this] { ++quits; }};
  ScriptedPasswordPrompt prompt{model};
  Books books = testing::BookWithChart({});
  Session session;
};

TEST_F(PasswordGatesTest, NoPasswordMeansNoPrompt) {
  books.AdminPassword.clear();
  session.LoginPassword = "left over";
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_TRUE(PassFilePasswordGate("", session, prompt));
  EXPECT_EQ(prompt.showings_, 0);
  // Nor does an empty password ever accept an empty box.
  model.Begin("");
  EXPECT_FALSE(model.TextChanged(""));
}

TEST_F(PasswordGatesTest, TheAdminGatePassesOnTheLastCharacterAndFailsSilentlyOtherwise) {
  prompt.Then(Keys("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.stepsTaken_, 6);
  EXPECT_EQ(session.LoginPassword, "");
  // Pasting the whole password closes the prompt at once.
  prompt.Then({"abcdef", "\r"});
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.stepsTaken_, 1);

  session.LoginPassword = "stale";
  prompt.Then(Keys("ABCDEF"));  // letter case counts
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(session.LoginPassword, "");
  prompt.Then({});  // Exit at once
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.showings_, 4);
  EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(PasswordGatesTest, EachGateAcceptsOnlyThePasswordItWants) {
  // The file password is a leading part of the admin password: the admin prompt stays
  // open past it and the admin can still type the whole password.
  books.FilePassword = "abc";
  prompt.Then(Keys("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.stepsTaken_, 6);
  // At a file prompt, the admin password of the book in memory is just a wrong text.
  prompt.Then(Keys("abcdef"));
  EXPECT_FALSE(PassFilePasswordGate("abcdefgh", session, prompt));
  prompt.Then(Keys("abcdefgh"));
  EXPECT_TRUE(PassFilePasswordGate("abcdefgh", session, prompt));
}

TEST_F(PasswordGatesTest, AnAbandonedOpenChangesNeitherTheBooksNorTheSession) {
  books.FilePassword = "own";
  session.LastFilePath = "/home/u/books/shop.acc";
  const Books before = books;
  ScreenPointer pointer;
  pointer.Set(PointerShape::Busy);
  prompt.Then(Keys("guess"));
  EXPECT_FALSE(PassFilePasswordGate("theirs", session, prompt, pointer));
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);  // the user can see the prompt waits
  EXPECT_EQ(books.FilePassword, "own");
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  EXPECT_EQ(session.LastFilePath, "/home/u/books/shop.acc");
  EXPECT_EQ(session.LoginPassword, "");
}

TEST_F(PasswordGatesTest, TheCountOfFailedKeysSpansShowingsAndCountsControlKeys) {
  prompt.Then(Keys(std::string("\b\r\x1b\x03\t\0", 6)));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 4);  // Tab moves the focus, 0 types nothing
  prompt.Then(Keys("xyz"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 7);
  // An accepted password starts the count again; the key that completes it is no failure.
  prompt.Then(Keys("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 0);
}

TEST_F(PasswordGatesTest, TheFiveHundredthFailedKeyEndsTheProgramAfterItsMessage) {
  messages.Then(PromptAnswer::Ok);
  // 499 failed presses over two showings; a key that completes the password is no
  // failure, even as the 500th press.
  prompt.Then(Script(300, "\b"));
  prompt.Then(Script(199, "\b"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 499);
  prompt.Then({"abcdef"});
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(quits, 0);

  // 499 again, then the 500th press in the middle of the right password ends the run.
  prompt.Then(Script(499, "\r"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  prompt.Then(Keys("abcdef"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.stepsTaken_, 1);
  EXPECT_EQ(quits, 1);
  ASSERT_EQ(messages.History().size(), 1u);
  EXPECT_EQ(messages.History()[0].Request,
            (PromptRequest{"Hacking Protection Activated, Ending", PromptButtons::Ok,
                           PromptIcon::None, std::nullopt}));
}

}  // namespace
}  // namespace qv
