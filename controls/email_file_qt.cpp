#include "controls/email_file_qt.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>
#include <cstring>
#include <utility>

#include "platform/email_file.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"

namespace qv {

namespace {

std::function<std::string()>& Producer() {
  static std::function<std::string()> title;
  return title;
}

std::function<bool(const std::string&)>& Opener() {
  static std::function<bool(const std::string&)> open;
  return open;
}

bool OpenWithDesktop(const std::string& path) {
  if (Opener()) return Opener()(path);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace

void SetEmailProducer(std::function<std::string()> title) { Producer() = std::move(title); }

bool WriteEmailFile(const std::string& baseName, const std::string& htmlBody,
                    const std::string& subject) {
  const std::string producer =
      Producer() ? Producer()() : QGuiApplication::applicationDisplayName().toStdString();
  const std::string folder = TemporaryFolder();
  EmailFileWrite written;
  {
    BusyPointer busy;
    written = SaveEmailFile(baseName, EmailFileText(subject, producer, htmlBody), folder);
  }
  if (written.Error != 0) {
    ShowMessage("The e-mail message could not be written in the temporary folder \"" + folder +
                    "\" (" + std::strerror(written.Error) + "), so no message was opened.",
                PromptIcon::Exclamation);
    return false;
  }
  if (!OpenWithDesktop(written.Path)) {
    ShowMessage("The e-mail message was written to \"" + written.Path +
                    "\", but no mail program could be started to open it.",
                PromptIcon::Exclamation);
    return false;
  }
  return true;
}

ScopedEmailOpener::ScopedEmailOpener(std::function<bool(const std::string& path)> open)
    : previous_(std::exchange(Opener(), std::move(open))) {}

ScopedEmailOpener::~ScopedEmailOpener() { Opener() = std::move(previous_); }

}  // namespace qv
