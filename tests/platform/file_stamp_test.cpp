#include "platform/file_stamp.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "platform/file_io.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

// Sets the file's modification time, as a program that keeps times does.
void SetModified(const std::string& path, const FileStamp& like) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(like.ModifiedNs / 1000000000);
  times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(like.ModifiedNs % 1000000000);
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class FileStampTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  const std::string path_ = folder_.Path("book.acc");
};

TEST_F(FileStampTest, AnotherFileOrOtherBytesCountAsChangedTheSameBytesDoNot) {
  ASSERT_EQ(WriteFileAtomically(path_, "the books as saved here"), 0);
  const FileStamp stamp = StampOfFile(path_);
  ASSERT_TRUE(stamp.Known && stamp.DigestKnown);
  EXPECT_FALSE(FileChangedSince(stamp, path_));
  // Another copy's save: other bytes of the same length, renamed into place, with the old
  // modification time.
  ASSERT_EQ(WriteFileAtomically(path_, "the books as saved THERE"), 0);
  SetModified(path_, stamp);
  EXPECT_TRUE(FileChangedSince(stamp, path_));
  // Written over in place, the same length and time again.
  ASSERT_EQ(WriteFileAtomically(path_, "the books as saved here"), 0);
  const FileStamp again = StampOfFile(path_);
  if (FILE* file = std::fopen(path_.c_str(), "r+")) {
    std::fputs("THE", file);
    std::fclose(file);
  }
  SetModified(path_, again);
  EXPECT_TRUE(FileChangedSince(again, path_));
  // The very same bytes, newly written or only touched, lose nothing when written over.
  ASSERT_EQ(WriteFileAtomically(path_, "the books as saved here"), 0);
  EXPECT_FALSE(FileChangedSince(stamp, path_));
  // Nothing at the path, or no stamp: nothing to lose.
  std::filesystem::remove(path_);
  EXPECT_FALSE(FileChangedSince(stamp, path_));
  EXPECT_FALSE(FileChangedSince(FileStamp{}, folder_.File("other.acc")));
  EXPECT_FALSE(StampOfFile(path_).Known);
}

TEST_F(FileStampTest, AFileChangedWhileItWasReadCountsAsChangedFromThen) {
  ASSERT_EQ(WriteFileAtomically(path_, "as it was read"), 0);
  const FileStamp before = FileIdentity(path_);
  ASSERT_TRUE(before.Known);
  EXPECT_FALSE(before.DigestKnown);
  EXPECT_FALSE(FileChangedSince(StampAfterReading(before, path_), path_));
  ASSERT_EQ(WriteFileAtomically(path_, "as it is after"), 0);
  const FileStamp stamp = StampAfterReading(before, path_);
  EXPECT_TRUE(FileChangedSince(stamp, path_));
}

}  // namespace
}  // namespace qv
