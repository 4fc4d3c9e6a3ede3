#pragma once
// Answers the program's prompts in a test: install one for the test's duration, queue the
// answers the test expects to give, and read back what was asked. A prompt that the test
// did not expect, or an answer left unused at the end, fails the test.
//
//   PromptAnswerer prompts;
//   prompts.Then(PromptAnswer::Yes);
//   window.close();
//   EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Do you want to exit ..."});

#include <gtest/gtest.h>

#include "platform/prompts.h"

namespace qv {

class PromptAnswerer {
 public:
  PromptAnswerer() : scope_(scripted_) {
    scripted_.OnUnexpected = [](const PromptRequest& request, const std::string& reason) {
      ADD_FAILURE() << "Unexpected prompt \"" << request.Text << "\": " << reason;
    };
  }
  ~PromptAnswerer() {
    EXPECT_EQ(scripted_.PendingAnswers(), 0u) << "scripted answers were never asked for";
  }
  PromptAnswerer(const PromptAnswerer&) = delete;
  PromptAnswerer& operator=(const PromptAnswerer&) = delete;

  PromptAnswerer& Then(PromptAnswer answer) {
    scripted_.Then(answer);
    return *this;
  }
  const std::vector<ScriptedPrompts::Asked>& History() const { return scripted_.History(); }
  std::vector<std::string> Texts() const { return scripted_.Texts(); }
  ScriptedPrompts& Scripted() { return scripted_; }

 private:
  ScriptedPrompts scripted_;
  ScopedPromptService scope_;
};

}  // namespace qv
