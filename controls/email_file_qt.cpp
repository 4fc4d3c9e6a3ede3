#include "controls/email_file_qt.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <optional>
#include <utility>

#include "platform/email_file.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/system_error_text.h"

namespace qv {

namespace {

std::function<bool(const std::string&)>& Opener() {
  static std::function<bool(const std::string&)> open;
  return open;
}

// Whether the desktop names a default program for e-mail messages, as xdg-mime tells it;
// nothing when xdg-mime cannot be asked (not installed, or no answer in time).
std::optional<bool> DesktopHasMailProgram() {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                           QStringLiteral("message/rfc822")});
  if (!query.waitForStarted(3000)) return std::nullopt;
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return std::nullopt;
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return std::nullopt;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool OpenWithMailProgram(const std::string& path) {
  // The desktop's opener hands a file without a program of its own to whatever it finds,
  // or to nothing, and says so only on the terminal: ask first whether there is one.
  if (DesktopHasMailProgram() == false) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool WriteEmailFile(const std::string& baseName, const std::string& htmlBody,
                    const std::string& subject) {
  EmailFileWrite written;
  {
    BusyPointer busy;
    const EmailFileWrite folder = EmailFolder();
    written = folder.Error != 0
                  ? folder
                  : SaveEmailFile(baseName, EmailFileText(subject, kApplicationTitle, htmlBody),
                                  folder.Path);
    if (written.Error != 0 && written.Path.empty()) written.Path = folder.Path;
  }
  if (written.Error != 0) {
    ShowMessage("The e-mail message could not be written in the folder \"" + written.Path + "\" (" +
                    SystemErrorText(written.Error) + "), so no message was opened.",
                PromptIcon::Exclamation);
    return false;
  }
  const bool opened = Opener() ? Opener()(written.Path) : OpenWithMailProgram(written.Path);
  if (!opened) {
    ShowMessage("The e-mail message was written to \"" + written.Path +
                    "\", but no mail program opened it: none is set up to open e-mail message "
                    "files (.eml). Open that file with your mail program to address and send it.",
                PromptIcon::Exclamation);
    return false;
  }
  return true;
}

ScopedEmailOpener::ScopedEmailOpener(std::function<bool(const std::string& path)> open)
    : previous_(std::exchange(Opener(), std::move(open))) {}

ScopedEmailOpener::~ScopedEmailOpener() { Opener() = std::move(previous_); }

}  // namespace qv
