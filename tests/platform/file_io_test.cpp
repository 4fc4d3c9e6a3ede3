#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cerrno>
#include <filesystem>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  static std::string Read(const std::string& path) { return testing::ScratchFolder::Read(path); }
  testing::ScratchFolder folder_;
  const std::string path_ = Path("book.acc");
};

TEST_F(FileIoTest, WritesAndReplacesWholeFiles) {
  ASSERT_EQ(WriteFileAtomically(path_, "first"), 0);
  EXPECT_EQ(Read(path_), "first");
  // A large text crosses the writer's buffer several times.
  std::string big(3'500'000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>('a' + i % 26);
  ASSERT_EQ(WriteFileAtomically(path_, big), 0);
  EXPECT_EQ(Read(path_), big);
  EXPECT_EQ(folder_.EntryCount(), 1u) << "no temporary file is left behind";
}

TEST_F(FileIoTest, AFailedOrAbandonedWriteLeavesTheOldFile) {
  ASSERT_EQ(WriteFileAtomically(path_, "old"), 0);
  {
    AtomicFileWriter writer(path_);
    ASSERT_EQ(writer.Open(), 0);
    writer.Write("half a new book");
    // Destroyed without Commit: as if the program failed half-way.
  }
  EXPECT_EQ(WriteFileAtomically(Path("missing/book.acc"), "x"), ENOENT);
  {
    testing::FileSizeLimit fullDisk(64 * 1024);
    EXPECT_EQ(WriteFileAtomically(path_, std::string(3'000'000, 'n')), EFBIG);
  }
  EXPECT_EQ(Read(path_), "old");
  EXPECT_EQ(folder_.EntryCount(), 1u);
}

TEST_F(FileIoTest, AReadOnlyFolderIsReportedAndTheOldFileKept) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_EQ(WriteFileAtomically(path_, "old"), 0);
  std::filesystem::permissions(folder_.Path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(WriteFileAtomically(path_, "new"), EACCES);
  EXPECT_EQ(Read(path_), "old");
}

TEST_F(FileIoTest, ReadingReportsMissingFilesAndFolders) {
  std::string out = "kept";
  EXPECT_EQ(ReadWholeFile(Path("none.acc"), out), ENOENT);
  EXPECT_EQ(ReadWholeFile(folder_.Path(), out), EISDIR);
  EXPECT_EQ(out, "kept");
  ASSERT_EQ(WriteFileAtomically(Path("ten"), "0123456789"), 0);
  EXPECT_EQ(ReadWholeFile(Path("ten"), out, 5), EFBIG);
  EXPECT_TRUE(FileExists(Path("ten")));
  EXPECT_FALSE(FileExists(folder_.Path()));
}

}  // namespace
}  // namespace qv
