#pragma once
// The prompt service of the running program: each prompt is a modal QMessageBox centred over
// the active window (the main window when none is), captioned with the program's title
// unless the prompt names another.

#include <QMessageBox>
#include <QPointer>

#include "platform/prompts.h"

namespace qv {

class QtPromptService final : public PromptService {
 public:
  PromptAnswer Ask(const PromptRequest& request) override;
  // The window a box is shown over when no window of the program is active (the program in
  // the background, or the keyboard between windows): the main window.
  void SetOwner(QWidget* owner) { owner_ = owner; }

 private:
  QPointer<QWidget> owner_;
};

// The message box of a prompt, not yet shown; the caller owns it.
QMessageBox* MakeMessageBox(const PromptRequest& request, QWidget* parent);
// The answer of a button of that box (the escape answer for anything else).
PromptAnswer AnswerOf(QMessageBox::StandardButton button, PromptButtons buttons);

}  // namespace qv
