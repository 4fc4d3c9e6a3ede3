#include "controls/email_file_qt.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <optional>
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
    // No folder of the user's own can be made (not even by the administrator, in /proc).
    ScopedEnv run("XDG_RUNTIME_DIR", std::nullopt);
    ScopedEnv cache("XDG_CACHE_HOME", "/proc/none");
    prompts.Then(PromptAnswer::Ok);
    EXPECT_FALSE(WriteEmailFile("Invoice", "<p>x</p>", "s"));
  }
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_EQ(prompts.Texts()[0].rfind("The e-mail message could not be written in the folder", 0),
            0u);
  const std::string runtime = folder.Folder("run");
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  ScopedEnv run("XDG_RUNTIME_DIR", runtime);
  EXPECT_TRUE(WriteEmailFile("TrialBalance", "<b>Trial</b>", "Acme, Trial Balance"));
  // A second book's message takes a name of its own.
  EXPECT_TRUE(WriteEmailFile("TrialBalance", "<b>Other</b>", "Other, Trial Balance"));
  ASSERT_EQ(opened, (std::vector<std::string>{runtime + "/quorvel/TrialBalance0.eml",
                                              runtime + "/quorvel/TrialBalance1.eml"}));
  const std::string text = ScratchFolder::Read(opened[0]);
  EXPECT_NE(text.find("Subject: Acme, Trial Balance\r\n"), std::string::npos);
  // The program is named, not the window with the book's path.
  EXPECT_NE(text.find("X-MimeOLE: Produced By Quorvel\r\n"), std::string::npos);
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  // No program takes the file: the user is told where it is.
  taken = false;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_FALSE(WriteEmailFile("Invoice", "<p>x</p>", "s"));
  ASSERT_EQ(std::pair(opened.size(), prompts.Texts().size()), std::pair(size_t{3}, size_t{2}));
  EXPECT_EQ(prompts.Texts()[1], "The e-mail message was written to \"" + opened[2] +
                                    "\", but no mail program opened it: none is set up to open "
                                    "e-mail message files (.eml). Open that file with your mail "
                                    "program to address and send it.");
  EXPECT_EQ(ScratchFolder::Read(opened[2]).substr(0, 10), "Subject: s");
}

// The desktop's list of default programs names none for e-mail messages: the message is not
// handed to whatever program the desktop would find, and the user is told.
TEST(WriteEmailFile, WithNoMailProgramOnTheDesktopSaysWhereTheMessageIs) {
  ScratchFolder folder;
  const std::string tools = folder.Folder("bin");
  const std::string log = folder.Path("asked");
  const std::string script = folder.File(
      "bin/xdg-mime", "#!/bin/sh\necho \"$@\" >> " + log + "\nexit 0\n");  // names no program
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  std::filesystem::copy_file(script, tools + "/xdg-open");  // would take any file
  ScopedEnv path("PATH", tools + ":" + std::getenv("PATH"));
  EXPECT_FALSE(OpenWithMailProgram(folder.File("Invoice0.eml")));
  EXPECT_EQ(ScratchFolder::Read(log), "query default message/rfc822\n") << "nothing opened";
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_FALSE(WriteEmailFile("Invoice", "<p>x</p>", "s"));
  ASSERT_EQ(prompts.Texts().size(), 1u);
  EXPECT_NE(prompts.Texts()[0].find("but no mail program opened it"), std::string::npos);
}

}  // namespace
}  // namespace qv
