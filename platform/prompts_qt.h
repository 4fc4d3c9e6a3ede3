#pragma once
// The prompt service of the running program: each prompt is a modal QMessageBox over the
// active window, captioned with the program's title unless the prompt names another.

#include <QMessageBox>

#include "platform/prompts.h"

namespace qv {

class QtPromptService final : public PromptService {
 public:
  PromptAnswer Ask(const PromptRequest& request) override;
};

// The message box of a prompt, not yet shown; the caller owns it.
QMessageBox* MakeMessageBox(const PromptRequest& request, QWidget* parent);
// The answer of a button of that box (the escape answer for anything else).
PromptAnswer AnswerOf(QMessageBox::StandardButton button, PromptButtons buttons);

}  // namespace qv
