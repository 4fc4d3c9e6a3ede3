#include "platform/temp_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/file_io.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the scope, then puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value)
      setenv(name_, value->c_str(), 1);
    else
      unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

class TempFilesTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  const std::string& dir_ = folder_.Path();
};

TEST_F(TempFilesTest, EachFileIsNewPrivateAndUnforeseeable) {
  // A file planted under the plain name is never the one written.
  const std::string planted = folder_.File("Invoice0.eml", "planted");
  std::string first, second;
  ASSERT_EQ(WriteKeptTemporaryFile("Invoice", ".eml", "one", first, dir_), 0);
  ASSERT_EQ(WriteKeptTemporaryFile("Invoice", ".eml", "two", second, dir_), 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(fs::path(first).parent_path(), fs::path(dir_));
  EXPECT_EQ(fs::path(first).extension(), ".eml");
  EXPECT_TRUE(fs::path(first).filename().string().starts_with("Invoice"));
  EXPECT_EQ(testing::ScratchFolder::Read(first), "one");
  EXPECT_EQ(testing::ScratchFolder::Read(planted), "planted");
  struct stat st {};
  ASSERT_EQ(stat(first.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(TempFilesTest, AFileGoesWithItsObjectUnlessKept) {
  std::string dropped, kept;
  {
    TemporaryFile file;
    ASSERT_EQ(file.Create("Scratch", ".txt", dir_), 0);
    EXPECT_EQ(file.Write("x"), 0);
    dropped = file.Path();
    EXPECT_TRUE(FileExists(dropped));
  }
  {
    TemporaryFile file;
    ASSERT_EQ(file.Create("Mail", ".eml", dir_), 0);
    EXPECT_EQ(file.Close(), 0);
    file.Keep();
    kept = file.Path();
  }
  EXPECT_FALSE(FileExists(dropped));
  EXPECT_TRUE(FileExists(kept));
}

TEST_F(TempFilesTest, FailuresAreReportedAndLeaveNothing) {
  std::string path;
  EXPECT_EQ(WriteKeptTemporaryFile("Invoice", ".eml", "x", path, dir_ + "/missing"), ENOENT);
  EXPECT_TRUE(path.empty());
  TemporaryFile file;
  EXPECT_EQ(file.Create("../escape", ".eml", dir_), EINVAL);
  EXPECT_EQ(file.Write("x"), EBADF);
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(TempFilesTest, TheTemporaryFolderComesFromTheFirstVariableNamingAFolder) {
  const std::string other = folder_.Folder("other");
  {
    ScopedEnv tmp("tmp", dir_ + "/not-there"), upperTmp("TMP", std::nullopt), temp("temp", other),
        tmpdir("TMPDIR", dir_);
    EXPECT_EQ(TemporaryFolder(), other);
  }
  ScopedEnv tmp("tmp", std::nullopt), upperTmp("TMP", std::nullopt), temp("temp", ""),
      upperTemp("TEMP", std::nullopt);
  {
    ScopedEnv tmpdir("TMPDIR", dir_);
    EXPECT_EQ(TemporaryFolder(), dir_);
  }
  ScopedEnv noTmpdir("TMPDIR", std::nullopt);
  EXPECT_EQ(TemporaryFolder(), "/tmp");
}

}  // namespace
}  // namespace qv
