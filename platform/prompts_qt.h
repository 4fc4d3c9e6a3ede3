#pragma once
// The prompt service of the running program: each prompt is a modal QMessageBox centred over
// the window whose command asked it, captioned with the program's title unless the prompt
// names another.
//
// The window of the command is the window that took the user's last click or key (or whose
// close box the user clicked): a command runs from a click or a key in its window, or in a
// menu or list that drops from it. When
// that window has gone or is hidden by the time the prompt is asked (a file dialog, or a
// message box the command showed before), the nearest shown window it belonged to is taken:
// a dialog's owner. The active window is not used for this: after a modal dialog closes,
// the window system gives the keyboard back to its owner only some time later.

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/prompts.h"

namespace qv {

class QtPromptService final : public PromptService {
 public:
  QtPromptService();
  ~QtPromptService() override;
  QtPromptService(const QtPromptService&) = delete;
  QtPromptService& operator=(const QtPromptService&) = delete;

  PromptAnswer Ask(const PromptRequest& request) override;
  // The window a box is shown over when no command window is known or shown (a prompt
  // before the user did anything) and no window of the program is active: the main window.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  // The window the next box opens over (null: none, the window system places it).
  QWidget* BoxParent() const;

 private:
  class InputWatch;
  std::unique_ptr<InputWatch> watch_;
  QPointer<QWidget> owner_;
};

// The message box of a prompt, not yet shown; the caller owns it.
QMessageBox* MakeMessageBox(const PromptRequest& request, QWidget* parent);
// The answer of a button of that box (the escape answer for anything else).
PromptAnswer AnswerOf(QMessageBox::StandardButton button, PromptButtons buttons);

}  // namespace qv
