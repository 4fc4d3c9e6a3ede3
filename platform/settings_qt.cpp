#include "platform/settings_qt.h"

#include <sys/stat.h>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>

namespace qv {

namespace {
const QString kGroup = QStringLiteral("Settings");

QString Key(const QString& key) { return kGroup + QLatin1Char('/') + key; }
}  // namespace

SettingsQt::SettingsQt()
    : SettingsQt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/QV/QV.conf")) {}

SettingsQt::SettingsQt(const QString& iniFile) : file_(iniFile) {
  if (StoreIsUsable()) settings_ = std::make_unique<QSettings>(file_, QSettings::IniFormat);
}

SettingsQt::~SettingsQt() = default;

bool SettingsQt::StoreIsUsable() const {
  const QByteArray path = QFile::encodeName(file_);
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return errno == ENOENT;
  if (S_ISLNK(st.st_mode) && ::stat(path.constData(), &st) != 0) return false;
  return S_ISREG(st.st_mode);
}

QString SettingsQt::Read(const QString& key, const QString& defaultValue) const {
  if (const auto kept = unstored_.constFind(key); kept != unstored_.constEnd()) return *kept;
  if (!settings_) return defaultValue;
  const QVariant value = settings_->value(Key(key));
  return value.isValid() ? value.toString() : defaultValue;
}

void SettingsQt::Write(const QString& key, const QString& value) {
  // Looked at just before each write, which follows at once, so that nothing waits to be
  // written into a file that has since become something else.
  if (!StoreIsUsable()) {
    unstored_.insert(key, value);
    return;
  }
  if (!settings_) settings_ = std::make_unique<QSettings>(file_, QSettings::IniFormat);
  unstored_.remove(key);
  settings_->setValue(Key(key), value);
  settings_->sync();
}

bool SettingsQt::Sync() {
  if (!unstored_.isEmpty() || !StoreIsUsable()) return false;
  if (!settings_) return true;  // nothing was written
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

QString SettingsQt::FileName() const { return file_; }

}  // namespace qv
