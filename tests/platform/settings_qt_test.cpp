#include "platform/settings_qt.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <tuple>

#include "tests/support/scoped_env.h"

namespace qv {
namespace {

TEST(SettingsQt, ValuesAreTextUnderTheSettingsGroupInTheApplicationsOwnStore) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("settings.ini");
  {
    SettingsQt settings(file);
    EXPECT_EQ(settings.Read("Width", "9600"), "9600");  // missing: the default
    settings.Write("Width", "12345.5");
    settings.Write("Height", "");
    EXPECT_TRUE(settings.Sync());
  }
  EXPECT_EQ(SettingsQt(file).Read("Height", "7000"), "");  // stored empty is not missing
  EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("Settings/Width").toString(), "12345.5");
  // The user's store, in the configuration folder pointed at the temporary folder.
  const testing::ScopedEnv config("XDG_CONFIG_HOME", dir.path().toStdString());
  EXPECT_EQ(SettingsQt().FileName(), dir.path() + "/QV/QV.conf");
}

// A link to a regular file is written through: the file it leads to is replaced, the link
// stays. Anything else that is not a regular file is left as it was, neither read nor
// written; the values written stay for the run only.
TEST(SettingsQt, OnlyARegularFileIsReplaced) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString kept = dir.filePath("kept/settings.ini");
  ASSERT_TRUE(QDir().mkpath(dir.filePath("kept")));
  {
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\nHeight=7000\n");
  }
  ASSERT_TRUE(QFile::link(kept, dir.filePath("linked.ini")));
  {
    SettingsQt settings(dir.filePath("linked.ini"));
    settings.Write("Width", "12000");
    EXPECT_TRUE(settings.Sync());
  }
  EXPECT_TRUE(QFileInfo(dir.filePath("linked.ini")).isSymLink());
  QSettings written(kept, QSettings::IniFormat);
  EXPECT_EQ(written.value("Settings/Width").toString(), "12000");
  EXPECT_EQ(written.value("Settings/Height").toString(), "7000");

  ASSERT_TRUE(QDir().mkpath(dir.filePath("folder")));
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("to-pipe")));
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere/settings.ini"), dir.filePath("dangling")));
  for (const char* name : {"folder", "pipe", "to-pipe", "dangling"}) {
    const QString path = dir.filePath(name);
    struct stat before {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &before), 0);
    {
      SettingsQt settings(path);
      settings.Write("Width", "12000");
      EXPECT_EQ(settings.Read("Width"), "12000") << name;
      EXPECT_FALSE(settings.Sync()) << name;
    }
    struct stat after {};
    ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &after), 0) << name;
    EXPECT_EQ(std::tuple(after.st_mode, after.st_ino), std::tuple(before.st_mode, before.st_ino))
        << name;
  }
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));
}

TEST(SettingsQt, ALinkToADeviceNodeIsLeftAsItWas) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray node = QFile::encodeName(dir.filePath("node"));
  // The numbers of the null device, on a node of the test's own.
  if (::mknod(node.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
    GTEST_SKIP() << "a device node cannot be made here (it needs root): " << std::strerror(errno);
  ASSERT_TRUE(QFile::link(dir.filePath("node"), dir.filePath("settings.ini")));
  {
    SettingsQt settings(dir.filePath("settings.ini"));
    settings.Write("Width", "12000");
    EXPECT_FALSE(settings.Sync());
  }
  struct stat st {};
  ASSERT_EQ(::lstat(node.constData(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(st.st_rdev, makedev(1, 3));
  EXPECT_TRUE(QFileInfo(dir.filePath("settings.ini")).isSymLink());
}

}  // namespace
}  // namespace qv
