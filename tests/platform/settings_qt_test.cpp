#include "platform/settings_qt.h"
#include <gtest/gtest.h>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

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
  // The user's store, pointed at the temporary folder for this test, then back.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  EXPECT_EQ(SettingsQt().FileName(), dir.path() + "/QV/QV.conf");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

}  // namespace
}  // namespace qv
