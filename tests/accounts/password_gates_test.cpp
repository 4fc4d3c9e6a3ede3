#include "accounts/password_gates.h"

#include <gtest/gtest.h>

#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

// Plays the user at the prompt as the window drives the model: each showing types the next
// text one key at a time and ends once the model accepts, or with Exit after the last key.
class TypingPrompt final : public PasswordPrompt {
 public:
  explicit TypingPrompt(PasswordPromptModel& model) : model_(model) {}
  void Ask(const std::string& wanted, Session& session) override {
    ++showings;
    model_.Begin(wanted);
    std::string box;
    for (keysTyped = 0; keysTyped < keys.size() && !model_.Accepted();) {
      box += keys[keysTyped++];
      if (model_.TextChanged(box)) session.LoginPassword = model_.AcceptedPassword();
      model_.KeyPressed(static_cast<unsigned char>(box.back()));
    }
  }
  std::string keys;  // what the next showing types
  int showings = 0;
  std::size_t keysTyped = 0;

 private:
  PasswordPromptModel& model_;
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

TEST_F(PasswordGatesTest, EachGateAcceptsOnlyItsPasswordOnTheKeyThatCompletesIt) {
  // No password means no prompt, and an empty password accepts nothing.
  EXPECT_TRUE(PassAdminGate(books, session, prompt) && PassFilePasswordGate("", session, prompt));
  EXPECT_EQ(prompt.showings, 0);
  model.Begin("");
  EXPECT_FALSE(model.TextChanged(""));
  // The file password is a leading part of the admin password: the admin prompt stays
  // open past it.
  books.AdminPassword = "abcdef";
  books.FilePassword = "abc";
  prompt.keys = "abcdefgh";
  EXPECT_TRUE(PassAdminGate(books, session, prompt));
  EXPECT_EQ(prompt.keysTyped, 6u);
  EXPECT_EQ(session.LoginPassword, "") << "no accepted password outlives its check";
  prompt.keys = "ABCDEF";  // letter case counts
  EXPECT_FALSE(PassAdminGate(books, session, prompt));
  // At a file prompt, the admin password of the book in memory is just a wrong text.
  prompt.keys = "abcdef";
  EXPECT_FALSE(PassFilePasswordGate("abcdefgh", session, prompt));
  // An abandoned open changes neither the books nor the session, and the prompt shows the
  // normal pointer while it waits.
  session.LastFilePath = "/home/u/books/shop.acc";
  const Books unchanged = books;
  ScreenPointer pointer;
  pointer.Set(PointerShape::Busy);
  prompt.keys = "guess";
  EXPECT_FALSE(PassFilePasswordGate("theirs", session, prompt, pointer));
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_EQ(std::tie(books.FilePassword, books.PostingLines),
            std::tie(unchanged.FilePassword, unchanged.PostingLines));
  EXPECT_EQ(session.LastFilePath, "/home/u/books/shop.acc");
  prompt.keys = "abcdefgh";
  EXPECT_TRUE(PassFilePasswordGate("abcdefgh", session, prompt));
}

TEST_F(PasswordGatesTest, FailedKeysAddUpUntilAcceptedAndTheFiveHundredthEndsTheRun) {
  // Tab moves the focus and 0 types nothing: neither counts.
  model.Begin("abcdef");
  for (int code : {8, 13, 27, 3, 9, 0}) model.KeyPressed(code);
  EXPECT_EQ(model.FailedKeyPresses(), 4);
  // A character beyond 16 bits, or one whose 16-bit code reads as negative, counts alike.
  for (int code : {0x8A66, 0x1F600, -30106}) model.KeyPressed(code);
  EXPECT_EQ(model.FailedKeyPresses(), 7);
  for (int i = 0; i < 492; ++i) model.KeyPressed(8);
  EXPECT_EQ(model.FailedKeyPresses(), 499);
  // A key that completes the password is no failure, even as the 500th press; an accepted
  // password starts the count again; the 500th failed key ends the run.
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
