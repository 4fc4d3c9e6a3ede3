#include "platform/temp_files.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include "platform/file_io.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

TEST(TempFiles, EachFileIsNewPrivateAndUnforeseeable) {
  testing::ScratchFolder folder;
  // A file planted under the plain name is never the one written.
  const std::string planted = folder.File("Invoice0.eml", "planted");
  TemporaryFile one, two;
  ASSERT_EQ(one.Create("Invoice", ".eml", folder.Path()), 0);
  ASSERT_EQ(two.Create("Invoice", ".eml", folder.Path()), 0);
  ASSERT_EQ(one.Write("one") + one.Close(), 0);
  const std::string first = one.Path();
  EXPECT_NE(first, two.Path());
  EXPECT_EQ(fs::path(first).parent_path(), fs::path(folder.Path()));
  EXPECT_TRUE(first.ends_with(".eml") &&
              fs::path(first).filename().string().starts_with("Invoice"));
  EXPECT_EQ(testing::ScratchFolder::Read(first), "one");
  EXPECT_EQ(testing::ScratchFolder::Read(planted), "planted");
  struct stat st {};
  ASSERT_EQ(stat(first.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(TempFiles, AFileGoesWithItsObjectUnlessKeptAndFailuresLeaveNothing) {
  testing::ScratchFolder folder;
  std::string dropped, kept;
  {
    TemporaryFile file, mail;
    ASSERT_EQ(file.Create("Scratch", ".txt", folder.Path()), 0);
    ASSERT_EQ(mail.Create("Mail", ".eml", folder.Path()), 0);
    mail.Keep();
    dropped = file.Path();
    kept = mail.Path();
  }
  EXPECT_TRUE(!FileExists(dropped) && FileExists(kept));
  fs::remove(kept);
  TemporaryFile missing, escape;
  EXPECT_EQ(missing.Create("Invoice", ".eml", folder.Path("missing")), ENOENT);
  EXPECT_EQ(escape.Create("../escape", ".eml", folder.Path()), EINVAL);
  EXPECT_EQ(escape.Write("x"), EBADF);
  EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(TempFiles, TheTemporaryFolderComesFromTheFirstVariableNamingAFolder) {
  testing::ScratchFolder folder;
  const std::string other = folder.Folder("other");
  {
    ScopedEnv tmp("tmp", folder.Path("not-there")), upperTmp("TMP", std::nullopt),
        temp("temp", other), tmpdir("TMPDIR", folder.Path());
    EXPECT_EQ(TemporaryFolder(), other);
  }
  ScopedEnv tmp("tmp", std::nullopt), upperTmp("TMP", std::nullopt), temp("temp", ""),
      upperTemp("TEMP", std::nullopt), tmpdir("TMPDIR", std::nullopt);
  EXPECT_EQ(TemporaryFolder(), "/tmp");
}

}  // namespace
}  // namespace qv
