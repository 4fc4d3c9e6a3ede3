#pragma once
// The e-mail message file: an unsent message with an HTML body that the user's mail program
// opens, ready to be addressed and sent. The file says it is unsent (X-Unsent: 1); the
// sender, addressee and date are left out for the mail program to add when the user sends.
//
// The message keeps to the Internet message format, so that every mail program reads it as
// written: a Subject that is not plain ASCII is written as encoded words (UTF-8, base64), the
// body is UTF-8 HTML in base64, and no line is longer than 78 characters. Line breaks in the
// subject become blanks, so no text can add a header line of its own.
//
// The file goes to a folder of the user's own (EmailFolder) as "<base name><n>.eml", n the
// lowest number not taken: it is written completely under a private name first and then
// given its name, which never replaces a file that stands there, so each message keeps its
// own file until the mail program has read it. Messages older than kEmailFileDays days are
// removed from the folder. The Qt side (controls/email_file_qt.h) opens the file.

#include <string>
#include <string_view>

namespace qv {

inline constexpr int kEmailFileNames = 1000;
inline constexpr int kEmailFileDays = 14;

// The message: the header lines, an empty line and the body, each line ended by CR LF.
// `producer` names the program in the X-MimeOLE line; NUL characters are left out of the
// body, and malformed UTF-8 reads as U+FFFD.
std::string EmailFileText(std::string_view subject, std::string_view producer,
                          std::string_view htmlBody);

// One header line, "<name>: <value>", folded to lines of at most 78 characters: the value as
// it stands when it is printable ASCII that folds at its blanks, otherwise as UTF-8 encoded
// words. CR and LF in the value become blanks. No CR LF at the end.
std::string EmailHeaderLine(std::string_view name, std::string_view value);

// Where a message was written, or the errno value of the failure (no file is left then).
struct EmailFileWrite {
  int Error = 0;
  std::string Path;
};

// The folder of the user's own where messages go, made when missing (mode 0700):
// "quorvel" in the runtime folder XDG_RUNTIME_DIR when that is the user's own, otherwise
// "quorvel/messages" in the cache folder (XDG_CACHE_HOME, else ~/.cache). Error says why
// there is none.
EmailFileWrite EmailFolder();

// Writes the message text in `folder` under the first free "<baseName><n>.eml".
EmailFileWrite SaveEmailFile(std::string_view baseName, std::string_view text,
                             const std::string& folder);

}  // namespace qv
