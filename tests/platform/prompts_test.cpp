#include "platform/prompts.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Prompts, ScriptedAnswersGoToThePromptsInOrderAndAreRecorded) {
  ScriptedPrompts scripted;
  ScopedPromptService scope(scripted);
  scripted.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  EXPECT_EQ(AskQuestion("Do you want to exit without saving ?", PromptButtons::YesNo),
            PromptAnswer::No);
  EXPECT_EQ(AskQuestion("Move Account 110 to 120, Are you sure ?", PromptButtons::YesNo,
                        PromptIcon::Question, "Accounts"),
            PromptAnswer::Yes);
  ASSERT_EQ(scripted.History().size(), 2u);
  EXPECT_EQ(scripted.History()[0].Request.Caption(), "Quorvel");
  EXPECT_EQ(scripted.History()[1].Request.Caption(), "Accounts");
  EXPECT_EQ(scripted.History()[1].Request.Icon, PromptIcon::Question);
  EXPECT_EQ(scripted.History()[1].Answer, PromptAnswer::Yes);
  EXPECT_EQ(scripted.PendingAnswers(), 0u);
  // An empty caption stays empty.
  const PromptRequest untitled{"Can not set X", PromptButtons::Ok, PromptIcon::Exclamation, ""};
  EXPECT_EQ(untitled.Caption(), "");
}

TEST(Prompts, UnscriptedOrImpossibleAnswersGetTheEscapeAnswerAndAreReported) {
  ScriptedPrompts scripted;
  ScopedPromptService scope(scripted);
  std::vector<std::string> reasons;
  scripted.OnUnexpected = [&](const PromptRequest&, const std::string& reason) {
    reasons.push_back(reason);
  };
  // Nothing scripted: a question is answered as if closed, the safe way: Cancel, else No,
  // else OK.
  const std::pair<PromptButtons, PromptAnswer> escapes[] = {
      {PromptButtons::Ok, PromptAnswer::Ok},
      {PromptButtons::OkCancel, PromptAnswer::Cancel},
      {PromptButtons::YesNo, PromptAnswer::No},
      {PromptButtons::YesNoCancel, PromptAnswer::Cancel}};
  for (const auto& [buttons, answer] : escapes) {
    EXPECT_EQ(EscapeAnswer(buttons), answer);
    EXPECT_EQ(AskQuestion("Sure ?", buttons), answer);
  }
  // A scripted Yes for a box that only has OK.
  scripted.Then(PromptAnswer::Yes);
  ShowMessage("Printer Error, Please Check the Printer...");
  EXPECT_EQ(scripted.History().back().Answer, PromptAnswer::Ok);
  EXPECT_EQ(reasons.size(), 5u);
}

TEST(Prompts, ScopedServicesNestAndRestore) {
  ScriptedPrompts outer, inner;
  {
    ScopedPromptService outerScope(outer);
    outer.Then(PromptAnswer::Ok);
    {
      ScopedPromptService innerScope(inner);
      inner.Then(PromptAnswer::Ok);
      ShowMessage("inner");
    }
    ShowMessage("outer");
  }
  EXPECT_EQ(inner.Texts(), std::vector<std::string>{"inner"});
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
  // With nothing installed a prompt is logged and closed, never blocking.
  EXPECT_EQ(AskQuestion("Nobody sees this", PromptButtons::YesNo), PromptAnswer::No);
}

}  // namespace
}  // namespace qv
