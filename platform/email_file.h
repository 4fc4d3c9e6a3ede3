#pragma once
// The e-mail message file: an unsent message with an HTML body that the user's mail program
// opens, ready to be addressed and sent. The sender, addressee and date are left for the
// mail program; the file says it is unsent (X-Unsent: 1) and that its body is HTML in UTF-8.
//
// The file goes to the user's temporary folder as "<base name><n>.eml", n from 0: it is
// written completely under a new private name first and then renamed to that name, which
// replaces whatever stood there (a link is replaced, never followed). A name that cannot be
// replaced (another user's file, a folder) moves on to the next number, up to
// kEmailFileNames names. The Qt side (controls/email_file_qt.h) opens the file.

#include <string>
#include <string_view>

#include "platform/temp_files.h"

namespace qv {

inline constexpr int kEmailFileNames = 1000;

// The message: the header lines, an empty line and the body, each ended by CR LF. Line breaks
// in the subject and the producer (the program's window title) become blanks, so each stays
// one header line; NUL characters are left out of the body.
std::string EmailFileText(std::string_view subject, std::string_view producer,
                          std::string_view htmlBody);

// Where a message was written, or the errno value of the failure (no file is left then).
struct EmailFileWrite {
  int Error = 0;
  std::string Path;
};

// Writes the message text in `folder` under the first free "<baseName><n>.eml".
EmailFileWrite SaveEmailFile(std::string_view baseName, std::string_view text,
                             const std::string& folder = TemporaryFolder());

}  // namespace qv
