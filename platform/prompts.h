#pragma once
// The prompt service: every message box and modal question of the program goes through the
// one installed PromptService, never straight to the window system. The application
// installs the window-system one (platform/prompts_qt.h); tests install a ScriptedPrompts,
// which answers from a script and records every question asked.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The program's title: the default caption of its message boxes.
inline constexpr const char* kApplicationTitle = "Quorvel";

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Question, Exclamation, Critical };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptRequest {
  std::string Text;
  PromptButtons Buttons = PromptButtons::Ok;
  PromptIcon Icon = PromptIcon::None;
  // The caption; none = the program's title. An empty caption stays empty.
  std::optional<std::string> Title;
  // The button that Enter presses; none = the first button (OK or Yes). A question whose Yes
  // throws work away makes No the default.
  std::optional<PromptAnswer> Default;

  std::string Caption() const { return Title ? *Title : std::string(kApplicationTitle); }
  bool operator==(const PromptRequest&) const = default;
};

// True when the box offers that answer.
bool Offers(PromptButtons buttons, PromptAnswer answer);
// The answer of a box closed without a choice (Escape): Cancel where offered, else No,
// else OK.
PromptAnswer EscapeAnswer(PromptButtons buttons);

class PromptService {
 public:
  virtual ~PromptService() = default;
  // Shows the message and waits for the answer, which is one of the offered buttons.
  virtual PromptAnswer Ask(const PromptRequest& request) = 0;
};

// The installed service. With none installed, every prompt is written to the standard error
// stream and gets the escape answer.
PromptService& Prompts();

// Installs a service for the lifetime of this object, then puts back the one before.
class ScopedPromptService {
 public:
  explicit ScopedPromptService(PromptService& service);
  ~ScopedPromptService();
  ScopedPromptService(const ScopedPromptService&) = delete;
  ScopedPromptService& operator=(const ScopedPromptService&) = delete;

 private:
  PromptService* previous_;
};

// Shortcuts through the installed service.
void ShowMessage(const std::string& text, PromptIcon icon = PromptIcon::None,
                 std::optional<std::string> title = std::nullopt);
PromptAnswer AskQuestion(const std::string& text, PromptButtons buttons,
                         PromptIcon icon = PromptIcon::None,
                         std::optional<std::string> title = std::nullopt);
// A Yes and No question whose default is No: Enter and Escape alike leave things as they are.
PromptAnswer AskYesNoDefaultNo(const std::string& text, PromptIcon icon = PromptIcon::None);

// Answers prompts from a queue of scripted answers and records every request. A prompt with
// no answer left, or whose scripted answer the box does not offer, gets the escape answer
// and is reported to OnUnexpected (tests make that a failure).
class ScriptedPrompts final : public PromptService {
 public:
  struct Asked {
    PromptRequest Request;
    PromptAnswer Answer;
  };

  // Queues the answer to the next prompt.
  ScriptedPrompts& Then(PromptAnswer answer);

  PromptAnswer Ask(const PromptRequest& request) override;

  const std::vector<Asked>& History() const { return history_; }
  std::size_t PendingAnswers() const { return answers_.size(); }
  // Texts of the prompts asked so far, in order.
  std::vector<std::string> Texts() const;
  void Clear();

  // Called with the request and a reason when a prompt was not answered as scripted.
  std::function<void(const PromptRequest&, const std::string& reason)> OnUnexpected;

 private:
  std::deque<PromptAnswer> answers_;
  std::vector<Asked> history_;
};

}  // namespace qv
