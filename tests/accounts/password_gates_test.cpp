#include "accounts/password_gates.h"

#include <deque>
#include <gtest/gtest.h>

#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

// Plays the user at the prompt, driving the model as the window does: each showing takes
// the next script. Typing a character or Backspace changes the box and then reports the
// key; a paste (Ctrl+V) puts a whole text in at once. The showing ends as soon as the model
// accepts or locks out, or with Exit when its script runs out.
class ScriptedPasswordPrompt final : public PasswordPrompt {
 public:
  struct Step {
    enum Kind { Type, Paste, Key } kind;
    std::string text;
    int code = 0;
  };
  using Script = std::vector<Step>;

  explicit ScriptedPasswordPrompt(PasswordPromptModel& model) : model_(model) {}

  void Then(Script script) { scripts_.push_back(std::move(script)); }

  void Ask(const std::string& wanted, Session& session) override {
    ++showings_;
    stepsTaken_ = 0;
    model_.Begin(wanted);
    std::string box;
    const Script script = scripts_.empty() ? Script{} : scripts_.front();
    if (!scripts_.empty()) scripts_.pop_front();
    for (const Step& step : script) {
      ++stepsTaken_;
      int code = step.code;
      bool changed = true;
      switch (step.kind) {
        case Step::Type:
          box += step.text;
          code = static_cast<unsigned char>(step.text[0]);
          break;
        case Step::Paste:
          box += step.text;
          code = 22;
          break;
        case Step::Key:
          changed = code == 8 && !box.empty();
          if (changed) box.pop_back();
          break;
      }
      if (changed && model_.TextChanged(box)) session.LoginPassword = model_.AcceptedPassword();
      if (model_.KeyPressed(code) || model_.Accepted()) return;
    }
  }

  int Showings() const { return showings_; }
  int StepsTaken() const { return stepsTaken_; }

 private:
  PasswordPromptModel& model_;
  std::deque<Script> scripts_;
  int showings_ = 0;
  int stepsTaken_ = 0;
};

ScriptedPasswordPrompt::Script Typing(std::string_view text) {
  ScriptedPasswordPrompt::Script script;
  for (char c : text) script.push_back({ScriptedPasswordPrompt::Step::Type, std::string(1, c)});
  return script;
}
ScriptedPasswordPrompt::Step Pasting(std::string text) {
  return {ScriptedPasswordPrompt::Step::Paste, std::move(text)};
}
ScriptedPasswordPrompt::Step Pressing(int code) {
  return {ScriptedPasswordPrompt::Step::Key, {}, code};
}

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
  EXPECT_EQ(prompt.Showings(), 0);

  // Nor does an empty password ever accept an empty box.
  model.Begin("");
  EXPECT_FALSE(model.TextChanged(""));
}

TEST_F(PasswordGatesTest, TheAdminGatePassesOnTheLastCharacterOfThePassword) {
  prompt.Then(Typing("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.Showings(), 1);
  EXPECT_EQ(prompt.StepsTaken(), 6);
  EXPECT_EQ(session.LoginPassword, "");

  // Pasting the whole password closes the prompt at once.
  prompt.Then({Pasting("abcdef"), Pressing(13)});
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.StepsTaken(), 1);
}

TEST_F(PasswordGatesTest, ExitOrAWrongPasswordFailsSilently) {
  session.LoginPassword = "stale";
  prompt.Then(Typing("ABCDEF"));  // letter case counts
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(session.LoginPassword, "");
  prompt.Then({});  // Exit at once
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.Showings(), 2);
  EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(PasswordGatesTest, EachGateAcceptsOnlyThePasswordItWants) {
  // The file password is a leading part of the admin password: the admin prompt stays
  // open past it and the admin can still type the whole password.
  books.FilePassword = "abc";
  prompt.Then(Typing("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.StepsTaken(), 6);

  // At a file prompt, the admin password of the book in memory is just a wrong text.
  prompt.Then(Typing("abcdef"));
  EXPECT_FALSE(PassFilePasswordGate("abcdefgh", session, prompt));
  prompt.Then(Typing("abcdefgh"));
  EXPECT_TRUE(PassFilePasswordGate("abcdefgh", session, prompt));
}

TEST_F(PasswordGatesTest, AnAbandonedOpenChangesNeitherTheBooksNorTheSession) {
  books.FilePassword = "own";
  session.LastFilePath = "/home/u/books/shop.acc";
  const std::vector<PostingLine> lines = books.PostingLines;
  ScreenPointer pointer;
  pointer.Set(PointerShape::Busy);

  prompt.Then(Typing("guess"));
  EXPECT_FALSE(PassFilePasswordGate("theirs", session, prompt, pointer));
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);  // the user can see the prompt waits
  EXPECT_EQ(books.FilePassword, "own");
  EXPECT_EQ(books.PostingLines, lines);
  EXPECT_EQ(session.LastFilePath, "/home/u/books/shop.acc");
  EXPECT_EQ(session.LoginPassword, "");
}

TEST_F(PasswordGatesTest, TheCountOfFailedKeysSpansShowingsAndCountsControlKeys) {
  prompt.Then({Pressing(8), Pressing(13), Pressing(27), Pressing(3), Pressing(9), Pressing(0)});
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 4);  // Tab moves the focus, 0 types nothing
  prompt.Then(Typing("xyz"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 7);

  // An accepted password starts the count again; the key that completes it is no failure.
  prompt.Then(Typing("abcdef"));
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 0);
}

TEST_F(PasswordGatesTest, TheFiveHundredthFailedKeyEndsTheProgramAfterItsMessage) {
  messages.Then(PromptAnswer::Ok);
  // 499 failed presses over two showings; a key that completes the password is no
  // failure, even as the 500th press.
  prompt.Then(ScriptedPasswordPrompt::Script(300, Pressing(8)));
  prompt.Then(ScriptedPasswordPrompt::Script(199, Pressing(8)));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(model.FailedKeyPresses(), 499);
  prompt.Then({Pasting("abcdef")});
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(quits, 0);

  // 499 again, then the 500th press in the middle of the right password ends the run.
  prompt.Then(ScriptedPasswordPrompt::Script(499, Pressing(13)));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  prompt.Then(Typing("abcdef"));
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.StepsTaken(), 1);
  EXPECT_EQ(quits, 1);
  ASSERT_EQ(messages.History().size(), 1u);
  const PromptRequest& shown = messages.History()[0].Request;
  EXPECT_EQ(shown.Text, "Hacking Protection Activated, Ending");
  EXPECT_EQ(shown.Buttons, PromptButtons::Ok);
  EXPECT_EQ(shown.Caption(), kApplicationTitle);
}

}  // namespace
}  // namespace qv
