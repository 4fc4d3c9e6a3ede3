#pragma once
// The per-user saved settings of the program: organisation and application "QV", group
// "Settings", values kept as text. Only the main window's size is saved there.
//
// The settings replace only a regular file. A settings path that is a link to anything but
// a regular file (a device, /dev/null among them), a folder, a pipe or a link that leads
// nowhere is left alone: it is neither read nor written, and the values written during the
// run are kept in memory only. A link to a regular file is written through: the new file
// takes the place of the file it leads to, in that file's folder, and the link stays, as
// with the book files (users keep such files in a folder of their own and link them in).

#include <QHash>
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
  // Stores the value at once when the store may be written, else keeps it for the run.
  void Write(const QString& key, const QString& value);
  // Writes pending changes to the store. Returns false when the store cannot be written, or
  // a value was kept out of it.
  bool Sync();

  QString FileName() const;

 private:
  // Whether the store's file may be read and replaced (see above); a missing file is made.
  bool StoreIsUsable() const;

  QString file_;
  std::unique_ptr<QSettings> settings_;  // none while the store is left alone
  QHash<QString, QString> unstored_;     // values written while it was left alone
};

}  // namespace qv
