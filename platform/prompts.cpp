#include "platform/prompts.h"

#include <cstdio>

namespace qv {

namespace {

// Used while no service is installed: a prompt that nobody can see is logged and closed.
class UnattendedPrompts final : public PromptService {
 public:
  PromptAnswer Ask(const PromptRequest& request) override {
    std::fprintf(stderr, "%s: %s\n", request.Caption().c_str(), request.Text.c_str());
    return EscapeAnswer(request.Buttons);
  }
};

UnattendedPrompts unattended;
PromptService* installed = nullptr;

const char* AnswerName(PromptAnswer answer) {
  switch (answer) {
    case PromptAnswer::Ok: return "OK";
    case PromptAnswer::Cancel: return "Cancel";
    case PromptAnswer::Yes: return "Yes";
    case PromptAnswer::No: return "No";
  }
  return "?";
}

}  // namespace

bool Offers(PromptButtons buttons, PromptAnswer answer) {
  switch (buttons) {
    case PromptButtons::Ok: return answer == PromptAnswer::Ok;
    case PromptButtons::OkCancel:
      return answer == PromptAnswer::Ok || answer == PromptAnswer::Cancel;
    case PromptButtons::YesNo: return answer == PromptAnswer::Yes || answer == PromptAnswer::No;
    case PromptButtons::YesNoCancel:
      return answer == PromptAnswer::Yes || answer == PromptAnswer::No ||
             answer == PromptAnswer::Cancel;
  }
  return false;
}

PromptAnswer EscapeAnswer(PromptButtons buttons) {
  if (Offers(buttons, PromptAnswer::Cancel)) return PromptAnswer::Cancel;
  if (Offers(buttons, PromptAnswer::No)) return PromptAnswer::No;
  return PromptAnswer::Ok;
}

PromptService& Prompts() { return installed ? *installed : unattended; }

ScopedPromptService::ScopedPromptService(PromptService& service) : previous_(installed) {
  installed = &service;
}

ScopedPromptService::~ScopedPromptService() { installed = previous_; }

void ShowMessage(const std::string& text, PromptIcon icon, std::optional<std::string> title) {
  Prompts().Ask(PromptRequest{text, PromptButtons::Ok, icon, std::move(title)});
}

PromptAnswer AskQuestion(const std::string& text, PromptButtons buttons, PromptIcon icon,
                         std::optional<std::string> title) {
  return Prompts().Ask(PromptRequest{text, buttons, icon, std::move(title)});
}

PromptAnswer AskYesNoDefaultNo(const std::string& text, PromptIcon icon) {
  return Prompts().Ask(
      PromptRequest{text, PromptButtons::YesNo, icon, std::nullopt, PromptAnswer::No});
}

ScriptedPrompts& ScriptedPrompts::Then(PromptAnswer answer) {
  answers_.push_back(answer);
  return *this;
}

PromptAnswer ScriptedPrompts::Ask(const PromptRequest& request) {
  PromptAnswer answer = EscapeAnswer(request.Buttons);
  if (answers_.empty()) {
    if (OnUnexpected) OnUnexpected(request, "no answer was scripted");
  } else {
    const PromptAnswer scripted = answers_.front();
    answers_.pop_front();
    if (Offers(request.Buttons, scripted)) {
      answer = scripted;
    } else if (OnUnexpected) {
      OnUnexpected(request,
                   std::string("the scripted answer ") + AnswerName(scripted) + " is not offered");
    }
  }
  history_.push_back(Asked{request, answer});
  return answer;
}

std::vector<std::string> ScriptedPrompts::Texts() const {
  std::vector<std::string> texts;
  texts.reserve(history_.size());
  for (const Asked& asked : history_) texts.push_back(asked.Request.Text);
  return texts;
}

void ScriptedPrompts::Clear() {
  answers_.clear();
  history_.clear();
}

}  // namespace qv
