#include "platform/settings_qt.h"

namespace qv {

namespace {
const QString kGroup = QStringLiteral("Settings");

QString Key(const QString& key) { return kGroup + QLatin1Char('/') + key; }
}  // namespace

SettingsQt::SettingsQt()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("QV"), QStringLiteral("QV"))) {}

SettingsQt::SettingsQt(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsQt::~SettingsQt() = default;

QString SettingsQt::Read(const QString& key, const QString& defaultValue) const {
  const QVariant value = settings_->value(Key(key));
  return value.isValid() ? value.toString() : defaultValue;
}

void SettingsQt::Write(const QString& key, const QString& value) {
  settings_->setValue(Key(key), value);
}

bool SettingsQt::Sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

QString SettingsQt::FileName() const { return settings_->fileName(); }

}  // namespace qv
