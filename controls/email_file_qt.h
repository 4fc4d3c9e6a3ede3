#pragma once
// WriteEmailFile: the e-mail command of every window that mails (the invoice, the ledgers,
// the statements). It writes the unsent message file (platform/email_file.h) in the user's
// own message folder and opens it with the desktop's program for .eml files, which shows it
// ready to be addressed and sent. A message that could not be written is never opened; each
// failure is told in one message, and when no mail program opens the message the user is
// told where its file is.

#include <functional>
#include <string>

namespace qv {

// Writes "<baseName><n>.eml" with the HTML body and the subject and opens it. True when the
// file was written and handed to the mail program.
bool WriteEmailFile(const std::string& baseName, const std::string& htmlBody,
                    const std::string& subject);

// Opens the message file with the desktop's program for e-mail messages. False when there
// is none (the desktop's list of default programs names none for message/rfc822) or it
// could not be started.
bool OpenWithMailProgram(const std::string& path);

// Tests: message files are handed to `open` instead of the desktop while this object lives;
// `open` returns whether a program took the file.
class ScopedEmailOpener {
 public:
  explicit ScopedEmailOpener(std::function<bool(const std::string& path)> open);
  ~ScopedEmailOpener();
  ScopedEmailOpener(const ScopedEmailOpener&) = delete;
  ScopedEmailOpener& operator=(const ScopedEmailOpener&) = delete;

 private:
  std::function<bool(const std::string&)> previous_;
};

}  // namespace qv
