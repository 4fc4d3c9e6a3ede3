#include "platform/prompts.h"
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Prompts, ScriptedAnswersGoInOrderScopesNestAndWhatWasNotScriptedIsReported) {
  ScriptedPrompts outer, scripted;
  {
    ScopedPromptService outerScope(outer);
    ScopedPromptService scope(scripted);
    scripted.Then(PromptAnswer::Ok);
    ShowMessage("inner");
  }
  EXPECT_EQ(AskQuestion("Nobody sees this", PromptButtons::YesNo), PromptAnswer::No);
  EXPECT_TRUE(outer.History().empty());
  ScopedPromptService scope(scripted);
  scripted.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  EXPECT_EQ(AskQuestion("Exit ?", PromptButtons::YesNo), PromptAnswer::No);
  EXPECT_EQ(AskQuestion("Move ?", PromptButtons::YesNo, PromptIcon::Question, "Accounts"),
            PromptAnswer::Yes);
  ASSERT_EQ(scripted.History().size(), 3u);
  EXPECT_EQ(scripted.History()[1].Request.Caption(), "Quorvel");
  EXPECT_EQ(scripted.History()[2].Request.Caption(), "Accounts");
  EXPECT_EQ((PromptRequest{"x", PromptButtons::Ok, PromptIcon::None, ""}).Caption(), "");
  // Unscripted or impossible answers get the escape answer and are reported.
  int reported = 0;
  scripted.OnUnexpected = [&](const PromptRequest&, const std::string&) { ++reported; };
  // Nothing scripted: Cancel where offered, else No, else OK.
  const std::pair<PromptButtons, PromptAnswer> escapes[] = {
      {PromptButtons::Ok, PromptAnswer::Ok},
      {PromptButtons::OkCancel, PromptAnswer::Cancel},
      {PromptButtons::YesNo, PromptAnswer::No},
      {PromptButtons::YesNoCancel, PromptAnswer::Cancel}};
  for (const auto& [buttons, answer] : escapes) EXPECT_EQ(AskQuestion("Sure ?", buttons), answer);
  scripted.Then(PromptAnswer::Yes);  // a Yes for a box that only has OK
  ShowMessage("Printer Error");
  EXPECT_EQ(scripted.History().back().Answer, PromptAnswer::Ok);
  EXPECT_EQ(reported, 5);
}

}  // namespace
}  // namespace qv
