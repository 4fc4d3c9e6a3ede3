#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  static std::string Read(const std::string& path) { return testing::ScratchFolder::Read(path); }
  std::size_t EntriesInFolder() const { return folder_.EntryCount(); }
  testing::ScratchFolder folder_;
  const std::string& dir_ = folder_.Path();
};

TEST_F(FileIoTest, WritesAndReplacesWholeFiles) {
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "first"), 0);
  EXPECT_EQ(Read(path), "first");
  // A large text crosses the writer's buffer several times.
  std::string big(3'500'000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>('a' + i % 26);
  ASSERT_EQ(WriteFileAtomically(path, big), 0);
  EXPECT_EQ(Read(path), big);
  EXPECT_EQ(EntriesInFolder(), 1u) << "no temporary file is left behind";
}

TEST_F(FileIoTest, AFailedOrAbandonedWriteLeavesTheOldFile) {
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old contents"), 0);
  {
    AtomicFileWriter writer(path);
    ASSERT_EQ(writer.Open(), 0);
    writer.Write("half a new book");
    // Destroyed without Commit: as if the program failed half-way.
  }
  EXPECT_EQ(Read(path), "old contents");
  EXPECT_EQ(EntriesInFolder(), 1u);

  // A folder that does not exist.
  EXPECT_EQ(WriteFileAtomically(Path("missing/book.acc"), "x"), ENOENT);
}

TEST_F(FileIoTest, AReadOnlyFolderIsReportedAndTheOldFileKept) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
  fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(WriteFileAtomically(path, "new"), EACCES);
  EXPECT_EQ(Read(path), "old");
}

TEST_F(FileIoTest, AWriteThatRunsOutOfSpaceIsReportedAndTheOldFileKept) {
  const std::string path = Path("book.acc");
  ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
  // A file-size limit makes the write fail part-way, as a full disk does.
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int err = WriteFileAtomically(path, std::string(3'000'000, 'n'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(err, EFBIG);
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(FileIoTest, ReadingReportsMissingFilesAndFolders) {
  std::string out = "kept";
  EXPECT_EQ(ReadWholeFile(Path("none.acc"), out), ENOENT);
  EXPECT_EQ(ReadWholeFile(dir_, out), EISDIR);
  EXPECT_EQ(out, "kept");
  ASSERT_EQ(WriteFileAtomically(Path("ten"), "0123456789"), 0);
  EXPECT_EQ(ReadWholeFile(Path("ten"), out, 5), EFBIG);
  EXPECT_TRUE(FileExists(Path("ten")));
  EXPECT_FALSE(FileExists(dir_));
}

}  // namespace
}  // namespace qv
