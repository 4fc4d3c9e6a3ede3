#include "platform/email_file.h"

#include <cerrno>
#include <cstdio>

namespace qv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One header line's value: CR and LF become blanks.
std::string HeaderValue(std::string_view text) {
  std::string value(text);
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  return value;
}

// True for the rename errors that mean only that this name is taken by something the user
// may not replace; the next name may do.
bool NameUnavailable(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EISDIR:
    case ENOTEMPTY:
    case EEXIST:
    case EBUSY:
    case ETXTBSY: return true;
    default: return false;
  }
}

}  // namespace

std::string EmailFileText(std::string_view subject, std::string_view producer,
                          std::string_view htmlBody) {
  std::string text;
  text.reserve(htmlBody.size() + 256);
  auto line = [&text](std::string_view a, std::string_view b = {}) {
    text.append(a);
    text.append(b);
    text.append(kLineEnd);
  };
  line("Reply-To: ");
  line("To: ");
  line("From: ");
  line("Subject: ", HeaderValue(subject));
  line("Date: ");
  line("X-Mailer: ");
  line("MIME-Version: 1.0");
  line("X-Unsent: 1");
  line("X-MimeOLE: Produced By ", HeaderValue(producer));
  line("Content-Type: text/html; charset=utf-8");
  line("");
  for (char c : htmlBody)
    if (c != '\0') text += c;
  text.append(kLineEnd);
  return text;
}

EmailFileWrite SaveEmailFile(std::string_view baseName, std::string_view text,
                             const std::string& folder) {
  TemporaryFile file;
  int error = file.Create(std::string(baseName) + "-", ".part", folder);
  if (error == 0) error = file.Write(text);
  if (error == 0) error = file.Close();
  if (error != 0) return {error, {}};  // the temporary file goes with its object
  std::string stem = folder;
  if (stem.empty() || stem.back() != '/') stem += '/';
  stem.append(baseName);
  for (int n = 0; n < kEmailFileNames; ++n) {
    const std::string path = stem + std::to_string(n) + ".eml";
    // A rename replaces the name itself: a link planted there is replaced, not followed.
    if (std::rename(file.Path().c_str(), path.c_str()) == 0) {
      file.Keep();
      return {0, path};
    }
    error = errno ? errno : EIO;
    if (!NameUnavailable(error)) break;
  }
  return {error, {}};
}

}  // namespace qv
