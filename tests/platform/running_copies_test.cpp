#include "platform/running_copies.h"

#include <gtest/gtest.h>

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
