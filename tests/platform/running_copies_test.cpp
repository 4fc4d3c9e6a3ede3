#include "platform/running_copies.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using testing::ScratchFolder;

TEST(RunningCopies, EveryCopyThatRunsCountsWhicheverStartedFirst) {
  ScratchFolder folder;
  const std::string path = folder.Path("copies.lock");
  auto first = std::make_unique<RunningCopyLock>(path);
  EXPECT_TRUE(first->Held());
  EXPECT_FALSE(first->OtherCopyRuns());
  auto second = std::make_unique<RunningCopyLock>(path);
  EXPECT_TRUE(second->OtherCopyRuns());
  // The first copy ends while the second runs: a third is still not alone.
  first.reset();
  auto third = std::make_unique<RunningCopyLock>(path);
  EXPECT_TRUE(third->OtherCopyRuns());
  second.reset();
  third.reset();
  EXPECT_FALSE(RunningCopyLock(path).OtherCopyRuns());
}

TEST(RunningCopies, ACopyThatWasKilledCountsNoLonger) {
  ScratchFolder folder;
  const std::string path = folder.Path("copies.lock");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RunningCopyLock lock(path);
    const char held = lock.Held() ? 'y' : 'n';
    if (::write(ready[1], &held, 1) != 1) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  EXPECT_EQ(held, 'y');
  EXPECT_TRUE(RunningCopyLock(path).OtherCopyRuns());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_FALSE(RunningCopyLock(path).OtherCopyRuns());
}

// A lock that cannot be made leaves the copy alone, never a second copy; a link planted at
// the lock's name is not followed.
TEST(RunningCopies, ALockThatCannotBeMadeIsNoOtherCopy) {
  ScratchFolder folder;
  const std::string file = folder.File("plain");
  std::filesystem::create_directory(folder.Path("folder"));
  std::filesystem::create_symlink(file, folder.Path("link"));
  for (const std::string& path : {folder.Path("missing/copies.lock"), file + "/copies.lock",
                                  folder.Path("folder"), folder.Path("link")}) {
    const RunningCopyLock lock(path);
    EXPECT_FALSE(lock.Held()) << path;
    EXPECT_FALSE(lock.OtherCopyRuns()) << path;
  }
}

}  // namespace
}  // namespace qv
