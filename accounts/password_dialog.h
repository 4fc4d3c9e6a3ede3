#pragma once
// The password prompt "Secured Account": one line "Password Required", a password box that
// shows every character as "*" and takes at most 80 characters, and an "Exit" button, over
// the program's gradient band. It closes by itself on the keystroke that completes the
// password it was asked for; Enter and Escape do nothing in it; "Exit" (or the window's
// close box) leaves it without a match. What it accepts and the lockout are the model's
// (accounts/password_gates.h); this window shows it and feeds it the keys.

#include <QDialog>
#include <QPointer>
#include <string>

#include "accounts/password_gates.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  // Reads the font of the password box from `books` (FontName) as it loads; the band's
  // colours come from `session`.
  PasswordDialog(PasswordPromptModel& model, const Books& books, const Session& session,
                 QWidget* owner);

  // Shows the prompt modally until it accepts `wanted` or is left; true when it accepted.
  bool Ask(const std::string& wanted);

  // True once the prompt has been left with "Exit" (the window is then to be unloaded).
  bool WasExited() const { return exited_; }

  QLabel* PromptLabel() const { return label_; }
  QLineEdit* PasswordBox() const { return box_; }
  QPushButton* ExitButton() const { return exit_; }

 public slots:
  // "Exit" and the close box.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnTextChanged(const QString& text);
  void OnKeyHandled(int characterCode);

  PasswordPromptModel& model_;
  const Session& session_;
  QLabel* label_ = nullptr;
  QLineEdit* box_ = nullptr;
  QPushButton* exit_ = nullptr;
  bool exited_ = false;
};

// The prompt that the gates use in the running program, shown modally over `owner`. Its
// window is built on first use, kept (hidden) after it accepts, and unloaded when it is
// left with "Exit", so the next showing builds it afresh. The lockout count lives in the
// model and survives all of this.
class PasswordDialogPrompt final : public PasswordPrompt {
 public:
  PasswordDialogPrompt(PasswordPromptModel& model, const Books& books, const Session& session,
                       QWidget* owner);
  ~PasswordDialogPrompt() override;
  PasswordDialogPrompt(const PasswordDialogPrompt&) = delete;
  PasswordDialogPrompt& operator=(const PasswordDialogPrompt&) = delete;

  void Ask(const std::string& wanted, Session& session) override;

  // The loaded window, or null while none is.
  PasswordDialog* Window() const { return dialog_; }

 private:
  PasswordPromptModel& model_;
  const Books& books_;
  const Session& session_;
  QPointer<QWidget> owner_;
  QPointer<PasswordDialog> dialog_;
};

}  // namespace qv
