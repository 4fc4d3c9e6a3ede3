#include "accounts/password_gates.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/prompts.h"

namespace qv {

namespace {

// Shows the prompt for `wanted` and tells whether it was accepted; LoginPassword is
// emptied before and after, so no accepted password outlives its check.
bool AskFor(const std::string& wanted, Session& session, PasswordPrompt& prompt) {
  session.LoginPassword.clear();
  prompt.Ask(wanted, session);
  const bool passed = session.LoginPassword == wanted;
  session.LoginPassword.clear();
  return passed;
}

}  // namespace

void EndProgramAtOnce() {
  std::fflush(nullptr);
  std::_Exit(EXIT_SUCCESS);
}

bool IsCountedKey(int characterCode) { return characterCode != 0 && characterCode != 9; }

PasswordPromptModel::PasswordPromptModel(QuitFunction quit) : quit_(std::move(quit)) {}

void PasswordPromptModel::Begin(std::string wanted) {
  wanted_ = std::move(wanted);
  accepted_ = false;
}

bool PasswordPromptModel::TextChanged(std::string_view text) {
  if (accepted_ || wanted_.empty() || text != wanted_) return false;
  accepted_ = true;
  failedKeys_ = 0;
  return true;
}

bool PasswordPromptModel::KeyPressed(int characterCode) {
  if (accepted_ || !IsCountedKey(characterCode)) return false;
  if (++failedKeys_ < kLockoutKeyPresses) return false;
  ShowMessage(kLockoutMessage);
  if (quit_) quit_();
  failedKeys_ = 0;
  return true;
}

bool PassAdminGate(const Books& books, Session& session, PasswordPrompt& prompt) {
  if (books.AdminPassword.empty()) return true;
  return AskFor(books.AdminPassword, session, prompt);
}

bool PassFilePasswordGate(const std::string& filePassword, Session& session, PasswordPrompt& prompt,
                          ScreenPointer& pointer) {
  if (filePassword.empty()) return true;
  pointer.Set(PointerShape::Normal);
  return AskFor(filePassword, session, prompt);
}

}  // namespace qv
