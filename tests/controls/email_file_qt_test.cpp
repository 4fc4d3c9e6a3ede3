#include "controls/email_file_qt.h"
#include <gtest/gtest.h>
#include <vector>
#include "platform/screen_pointer.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using namespace testing;

TEST(WriteEmailFile, OpensTheWrittenMessageAndTellsAFailureOnceOpeningNothingHalfWritten) {
  ScratchFolder folder;
  PromptAnswerer prompts;
  std::vector<std::string> opened;
  bool taken = true;  // whether a program takes the file
  ScopedEmailOpener opener([&](const std::string& path) { return opened.push_back(path), taken; });
  {
    // A folder where no file can be made, even by the administrator.
    ScopedEnv tmp("tmp", "/proc");
    prompts.Then(PromptAnswer::Ok);
    EXPECT_FALSE(WriteEmailFile("Invoice", "<p>x</p>", "s"));
  }
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0].rfind("The e-mail message could not be written", 0), 0u);
  ScopedEnv tmp("tmp", folder.Path());
  SetEmailProducer([] { return std::string("Quorvel - books.acc"); });
  EXPECT_TRUE(WriteEmailFile("TrialBalance", "<b>Trial</b>", "Acme, Trial Balance"));
  SetEmailProducer({});
  ASSERT_EQ(opened, std::vector<std::string>{folder.Path("TrialBalance0.eml")});
  const std::string text = ScratchFolder::Read(opened[0]);
  EXPECT_NE(text.find("Subject: Acme, Trial Balance\r\n"), std::string::npos);
  EXPECT_NE(text.find("X-MimeOLE: Produced By Quorvel - books.acc\r\n"), std::string::npos);
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  // No program takes the file: that is told too.
  taken = false;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_FALSE(WriteEmailFile("Invoice", "<p>x</p>", "s"));
  EXPECT_EQ(std::pair(opened.size(), prompts.Texts().size()), std::pair(size_t{2}, size_t{2}));
}

}  // namespace
}  // namespace qv
