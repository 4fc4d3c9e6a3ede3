#include "accounts/password_gates.h"

#include <gtest/gtest.h>
#include <deque>

#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

// Plays the user at the prompt as the window drives the model: each showing types the next
// text one key at a time and ends once the model accepts, or with Exit after the last key.
class TypingPrompt final : public PasswordPrompt {
 public:
  explicit TypingPrompt(PasswordPromptModel& model) : model_(model) {}
  void Then(std::string keys) { texts_.push_back(std::move(keys)); }
  void Ask(const std::string& wanted, Session& session) override {
    ++showings;
    model_.Begin(wanted);
    std::string box, keys;
    if (!texts_.empty()) {
      keys = texts_.front();
      texts_.pop_front();
    }
    for (keysTyped = 0; keysTyped < keys.size() && !model_.Accepted();) {
      box += keys[keysTyped++];
      if (model_.TextChanged(box)) session.LoginPassword = model_.AcceptedPassword();
      model_.KeyPressed(static_cast<unsigned char>(box.back()));
    }
  }
  int showings = 0;
  std::size_t keysTyped = 0;

 private:
  PasswordPromptModel& model_;
  std::deque<std::string> texts_;
};

class PasswordGatesTest : public ::testing::Test {
 protected:
  PromptAnswerer messages;  // the gates themselves never show a message
  int quits = 0;
  PasswordPromptModel model{[this] { ++quits; }};
  TypingPrompt prompt{model};
  Books books = testing::BookWithChart({});
  Session session;
};

TEST_F(PasswordGatesTest, NoPasswordMeansNoPromptAndAnEmptyPasswordAcceptsNothing) {
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_TRUE(PassFilePasswordGate("", session, prompt));
  EXPECT_EQ(prompt.showings, 0);
  model.Begin("");
  EXPECT_FALSE(model.TextChanged(""));
}

TEST_F(PasswordGatesTest, EachGateAcceptsOnlyItsPasswordOnTheKeyThatCompletesIt) {
  // The file password is a leading part of the admin password: the admin prompt stays
  // open past it.
  books.AdminPassword = "abcdef";
  books.FilePassword = "abc";
  prompt.Then("abcdefgh");
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.keysTyped, 6u);
  EXPECT_EQ(session.LoginPassword, "") << "no accepted password outlives its check";
  prompt.Then("ABCDEF");  // letter case counts
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  // At a file prompt, the admin password of the book in memory is just a wrong text.
  prompt.Then("abcdef");
  EXPECT_FALSE(PassFilePasswordGate("abcdefgh", session, prompt));
  prompt.Then("abcdefgh");
  EXPECT_TRUE(PassFilePasswordGate("abcdefgh", session, prompt));
}

TEST_F(PasswordGatesTest, AnAbandonedOpenChangesNeitherTheBooksNorTheSession) {
  books.FilePassword = "own";
  session.LastFilePath = "/home/u/books/shop.acc";
  const Books before = books;
  ScreenPointer pointer;
  pointer.Set(PointerShape::Busy);
  prompt.Then("guess");
  EXPECT_FALSE(PassFilePasswordGate("theirs", session, prompt, pointer));
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);  // the user can see the prompt waits
  EXPECT_EQ(books.FilePassword, "own");
  EXPECT_EQ(books.PostingLines, before.PostingLines);
  EXPECT_EQ(session.LastFilePath, "/home/u/books/shop.acc");
}

TEST_F(PasswordGatesTest, FailedKeysAddUpOverShowingsUntilAcceptedAndTheFiveHundredthEndsTheRun) {
  // Tab moves the focus and 0 types nothing: neither counts.
  for (int code : {8, 13, 27, 3, 9, 0}) model.KeyPressed(code);
  EXPECT_EQ(model.FailedKeyPresses(), 4);
  model.Begin("abcdef");
  for (int i = 0; i < 495; ++i) model.KeyPressed(8);
  EXPECT_EQ(model.FailedKeyPresses(), 499);
  // A key that completes the password is no failure, even as the 500th press; an accepted
  // password starts the count again.
  ASSERT_TRUE(model.TextChanged("abcdef"));
  EXPECT_FALSE(model.KeyPressed('f'));
  EXPECT_EQ(std::pair(model.FailedKeyPresses(), quits), std::pair(0, 0));

  messages.Then(PromptAnswer::Ok);
  model.Begin("abcdef");
  for (int i = 0; i < 499; ++i) model.KeyPressed(13);
  EXPECT_TRUE(model.KeyPressed('a'));
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Hacking Protection Activated, Ending"});
}

}  // namespace
}  // namespace qv
