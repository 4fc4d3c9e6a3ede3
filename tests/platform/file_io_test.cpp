#include "platform/file_io.h"
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>
#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  static std::string Read(const std::string& path) { return testing::ScratchFolder::Read(path); }
  testing::ScratchFolder folder_;
  const std::string path_ = Path("book.acc");
};

TEST_F(FileIoTest, WritesAndReplacesWholeFilesAndAFailedOrAbandonedWriteLeavesTheOldOne) {
  ASSERT_EQ(WriteFileAtomically(path_, "first"), 0);
  EXPECT_EQ(Read(path_), "first");
  // A large text crosses the writer's buffer several times.
  std::string big(3'500'000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<char>('a' + i % 26);
  ASSERT_EQ(WriteFileAtomically(path_, big), 0);
  EXPECT_EQ(Read(path_), big);
  EXPECT_EQ(folder_.EntryCount(), 1u) << "no temporary file is left behind";
  // A failed or abandoned write leaves the old file.
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
  fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(WriteFileAtomically(path_, "new"), EACCES);
  EXPECT_EQ(Read(path_), "old");
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st.st_mode;
}

TEST_F(FileIoTest, ANewFileFollowsTheUmaskAndAReplacedOneKeepsItsMode) {
  const mode_t old = ::umask(077);
  const int err = WriteFileAtomically(path_, "secret book");
  ::umask(old);
  ASSERT_EQ(err, 0);
  EXPECT_EQ(ModeOf(path_) & 0777, 0600u);
  ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
  ASSERT_EQ(WriteFileAtomically(path_, "new"), 0);
  EXPECT_EQ(ModeOf(path_) & 0777, 0640u);
}

TEST_F(FileIoTest, ASaveThroughALinkWritesTheLinkedFileAndAReadOnlyFileIsRefused) {
  const std::string real = folder_.File("real/book.acc", "old");
  const std::string link = Path("link.acc");
  fs::create_symlink("real/book.acc", link);
  ASSERT_EQ(WriteFileAtomically(link, "new"), 0);
  EXPECT_TRUE(S_ISLNK(ModeOf(link)));
  EXPECT_EQ(Read(real), "new");
  EXPECT_EQ(folder_.EntryCount(), 2u) << "the temporary file went beside the linked file";
  ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
  EXPECT_EQ(WriteFileAtomically(link, "newer"), EACCES);
  EXPECT_EQ(Read(real), "new");
}

TEST_F(FileIoTest, ASaveRemovesTheTemporariesOfKilledSavesOfTheSameFile) {
  // Process 4194305 is above the largest process id Linux gives, so it has gone.
  const std::string gone = folder_.File(".book.acc.tmp-4194305-abcdef");
  const std::string running = folder_.File(".book.acc.tmp-1-abcdef");
  const std::string other = folder_.File(".other.acc.tmp-4194305-abcdef");
  ASSERT_EQ(WriteFileAtomically(path_, "book"), 0);
  EXPECT_EQ(std::tuple(fs::exists(gone), fs::exists(running), fs::exists(other)),
            std::tuple(false, true, true));
  AtomicFileWriter writer(path_);
  ASSERT_EQ(writer.Open(), 0);
  EXPECT_THAT(writer.TemporaryPath(),
              ::testing::HasSubstr("/.book.acc.tmp-" + std::to_string(::getpid()) + "-"));
}

// A target whose name or path is as long as the system takes is written in place: the
// temporary file's name stays within the limits. A killed save of such a file leaves a
// temporary that the next save clears away.
TEST_F(FileIoTest, ATargetAtTheLimitsOfNameAndPathIsWrittenInPlace) {
  std::string cjk;
  for (int i = 0; i < 83; ++i) cjk += "\u8a66";  // 試, three bytes each
  const std::string named = Path(cjk + ".acc");  // 253 bytes
  const std::string deep = folder_.DeepPath(std::string(NAME_MAX, 'n'), PATH_MAX - 1);
  ASSERT_EQ(deep.size(), static_cast<std::size_t>(PATH_MAX - 1));
  for (const std::string& path : {named, deep}) {
    ASSERT_EQ(WriteFileAtomically(path, "first"), 0) << path.size();
    ASSERT_EQ(WriteFileAtomically(path, "second"), 0) << path.size();
    EXPECT_EQ(Read(path), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), {}),
              path == named ? 2 : 1)
        << "no temporary file is left";
  }
  AtomicFileWriter writer(named);
  ASSERT_EQ(writer.Open(), 0);
  std::string killed = writer.TemporaryPath();
  EXPECT_LE(fs::path(killed).filename().string().size(), static_cast<std::size_t>(NAME_MAX));
  const std::string pid = "-" + std::to_string(::getpid()) + "-";
  killed.replace(killed.rfind(pid), pid.size(), "-4194305-");
  writer.Discard();
  std::ofstream(killed) << "half";
  ASSERT_TRUE(fs::exists(killed));
  ASSERT_EQ(WriteFileAtomically(named, "third"), 0);
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_EQ(Read(named), "third");
}

TEST_F(FileIoTest, ReadingTakesOnlyOrdinaryFilesAndNeverWaitsOnAPipe) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  const std::tuple<std::string, int, FileKind> cases[] = {
      {Path("pipe"), ENODEV, FileKind::kPipe},
      {"/dev/zero", ENODEV, FileKind::kDevice},
      {folder_.Path(), EISDIR, FileKind::kFolder},
      {Path("none.acc"), ENOENT, FileKind::kNone}};
  for (const auto& [path, error, kind] : cases) {
    FileReader file;
    EXPECT_EQ(file.Open(path), error) << path;
    EXPECT_EQ(file.Kind(), kind) << path;
  }
  std::string out = "kept";
  ASSERT_EQ(WriteFileAtomically(Path("ten"), "0123456789"), 0);
  EXPECT_EQ(ReadWholeFile(Path("ten"), out, 5), EFBIG);
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(ReadWholeFile(Path("ten"), out), 0);
  EXPECT_EQ(out, "0123456789");
  EXPECT_TRUE(FileExists(Path("ten")));
  EXPECT_FALSE(FileExists(folder_.Path()));
}

// The last comparison and the rename are one step against another process: while another
// copy holds the lock over the file, a commit waits, then finds the file that copy put there.
TEST_F(FileIoTest, ACommitWaitsForAnotherProcessReplacingTheFileAndThenFindsItChanged) {
  ASSERT_EQ(WriteFileAtomically(path_, "opened"), 0);
  AtomicFileWriter writer(path_);
  writer.ReplaceOnlyUnchanged(StampOfFile(path_));
  ASSERT_EQ(writer.Open(), 0);
  writer.Write("this copy's book");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other copy: it takes the lock, says so, and replaces the file a while later.
    int result = 1;
    {
      const int folder = ::open(folder_.Path().c_str(), O_RDONLY | O_DIRECTORY);
      const ReplaceLock lock(folder, "book.acc");
      if (lock.Held() && ::write(ready[1], "!", 1) == 1) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (WriteFileAtomically(Path("beside"), "the other copy's book") == 0 &&
            ::rename(Path("beside").c_str(), path_.c_str()) == 0)
          result = 0;
      }
    }
    ::_exit(result);
  }
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1) << "the other copy took no lock";
  EXPECT_EQ(writer.Commit(), kTargetChanged);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Read(path_), "the other copy's book");
  EXPECT_EQ(folder_.EntryCount(), 1u) << "no lock file or temporary in the book's folder";
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace qv
