#pragma once
// The two password gates and the password prompt's logic, without its window.
//
// A book carries a file password (asked when the book is opened, or when entries are
// inserted from it) and an admin password (asked before the commands that reshape or
// replace the books). A gate shows the prompt only when the password it wants is set. The
// prompt accepts only that password, on the keystroke that completes it (no Enter needed),
// and hands it back in Session::LoginPassword; the gate compares it and forgets it. A gate
// that fails ends its command silently: the caller does nothing and says nothing.
//
// The prompt also keeps the run's lockout: key presses in the password box are counted over
// the whole run, across every showing of the prompt; an accepted password starts the count
// again, so only presses that lead to no accepted password add up. The 500th such press
// shows "Hacking Protection Activated, Ending" and ends the program at once, without any
// window's closing question and without saving.

#include <functional>
#include <string>
#include <string_view>

#include "books/books.h"
#include "books/session.h"
#include "platform/screen_pointer.h"

namespace qv {

// Key presses that lead to no accepted password before the program ends.
inline constexpr int kLockoutKeyPresses = 500;
// The longest text the password box (and every box where a password is set) takes.
inline constexpr int kPasswordMaxLength = 80;
inline constexpr const char* kLockoutMessage = "Hacking Protection Activated, Ending";

// Ends the process at once: no window closes, nothing is saved, no question is asked.
[[noreturn]] void EndProgramAtOnce();

// True for a key press that the lockout counts: one that reaches the password box as a
// character, whatever its code (printable characters of any script, Backspace 8, Enter 13,
// Escape 27, the Ctrl combinations 1 to 26). Tab (9) moves the focus and is not counted; 0
// types nothing.
bool IsCountedKey(int characterCode);

// The state of the password prompt over the whole run: what the showing in progress wants
// and the lockout count. The window (accounts/password_dialog.h) feeds it the box's changes
// and key presses.
class PasswordPromptModel {
 public:
  using QuitFunction = std::function<void()>;

  // `quit` ends the program on lockout; tests give one that only records the call.
  explicit PasswordPromptModel(QuitFunction quit = EndProgramAtOnce);

  // A showing begins: the box is empty and only `wanted` will be accepted (an empty
  // `wanted` never is).
  void Begin(std::string wanted);

  // The box's text changed. True when it equals the wanted password: the showing is
  // accepted, the lockout count starts again, and the prompt is to close with
  // AcceptedPassword() handed to its caller.
  bool TextChanged(std::string_view text);

  // A key press with this character code reached the box and has been handled (its
  // change of the text, if any, already given to TextChanged). A counted key that did not
  // get the password accepted adds one to the count; at kLockoutKeyPresses the lockout
  // message is shown through the prompt service and the program ends. True when the
  // lockout struck (seen only when `quit` returns, as in tests): the prompt is then to
  // close without a match, and the count starts again.
  bool KeyPressed(int characterCode);

  bool Accepted() const { return accepted_; }
  const std::string& AcceptedPassword() const { return wanted_; }
  int FailedKeyPresses() const { return failedKeys_; }

 private:
  QuitFunction quit_;
  std::string wanted_;
  bool accepted_ = false;
  int failedKeys_ = 0;
};

// What the gates ask of the prompt: show it modally until it accepts `wanted` or the user
// leaves it. On acceptance it sets session.LoginPassword to `wanted`; otherwise it leaves
// LoginPassword as it was.
class PasswordPrompt {
 public:
  virtual ~PasswordPrompt() = default;
  virtual void Ask(const std::string& wanted, Session& session) = 0;
};

// The admin gate, run before every admin-guarded command. True at once, with no prompt,
// when the book has no admin password; otherwise true only when the prompt accepted the
// admin password. LoginPassword is empty afterwards either way.
bool PassAdminGate(const Books& books, Session& session, PasswordPrompt& prompt);

// The file-password gate, run when a book file that carries a password is opened or its
// entries are inserted. `filePassword` is the password read from that file; the books in
// memory are not touched, so an abandoned open leaves them, and their own file password,
// as they were. True at once when `filePassword` is empty; otherwise the pointer is set back
// to normal, the prompt is shown, and the gate is true only when it accepted
// `filePassword`. LoginPassword is empty afterwards either way.
bool PassFilePasswordGate(const std::string& filePassword, Session& session, PasswordPrompt& prompt,
                          ScreenPointer& pointer = TheScreenPointer());

}  // namespace qv
