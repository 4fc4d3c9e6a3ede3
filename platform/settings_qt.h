#pragma once
// The per-user saved settings of the program: organisation and application "QV", group
// "Settings", values kept as text. Only the main window's size is saved there.

#include <QSettings>
#include <QString>
#include <memory>

namespace qv {

class SettingsQt {
 public:
  // The user's settings store (on Linux ~/.config/QV/QV.conf, or under XDG_CONFIG_HOME).
  SettingsQt();
  // A settings file of its own, in INI form; tests use one in a temporary folder.
  explicit SettingsQt(const QString& iniFile);
  ~SettingsQt();

  // The value as text; `defaultValue` when the key is missing.
  QString Read(const QString& key, const QString& defaultValue = QString()) const;
  void Write(const QString& key, const QString& value);
  // Writes pending changes to the store. Returns false when the store cannot be written.
  bool Sync();

  QString FileName() const;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace qv
