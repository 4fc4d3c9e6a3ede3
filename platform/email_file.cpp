#include "platform/email_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/temp_files.h"
#include "platform/utf8.h"

namespace qv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// The longest line the message format recommends, and the longest encoded word it allows.
constexpr std::size_t kLineLength = 78;
constexpr std::size_t kEncodedWordLength = 75;
constexpr std::string_view kWordStart = "=?UTF-8?B?";
constexpr std::string_view kWordEnd = "?=";
// Base64 body lines: 57 bytes make 76 characters.
constexpr std::size_t kBodyBytesPerLine = 57;

void AppendBase64(std::string& out, std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                       static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kDigits[(v >> shift) & 63];
  }
  const std::size_t left = bytes.size() - i;
  if (left == 0) return;
  uint32_t v = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
  if (left == 2) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
  out += kDigits[(v >> 18) & 63];
  out += kDigits[(v >> 12) & 63];
  out += left == 2 ? kDigits[(v >> 6) & 63] : '=';
  out += '=';
}

// The value as one line of valid UTF-8: CR and LF become blanks.
std::string OneLine(std::string_view value) {
  std::string text = IsValidUtf8(value) ? std::string(value) : SanitizeUtf8(value);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

// A value that a reader takes as it stands: printable ASCII, no blank at either end (readers
// drop them) and nothing that looks like the start of an encoded word.
bool IsPlainValue(std::string_view text) {
  for (const char c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return text.find("=?") == std::string_view::npos &&
         (text.empty() || (text.front() != ' ' && text.back() != ' '));
}

// Appends the plain value folded before blanks so that each line keeps to kLineLength;
// false when a run without blanks is too long for a line.
bool AppendFoldedPlain(std::string& out, std::string_view text) {
  const std::size_t lastBreak = out.rfind('\n');
  std::size_t lineStart = lastBreak == std::string::npos ? 0 : lastBreak + 1;
  for (std::size_t at = 0; at < text.size();) {
    // The next piece: its blanks and the word after them.
    std::size_t end = at;
    while (end < text.size() && text[end] == ' ') ++end;
    while (end < text.size() && text[end] != ' ') ++end;
    const std::string_view piece = text.substr(at, end - at);
    if (at > 0 && out.size() - lineStart + piece.size() > kLineLength) {
      out += kLineEnd;  // the piece's blanks begin the continuation line
      lineStart = out.size();
    }
    out += piece;
    if (out.size() - lineStart > kLineLength) return false;
    at = end;
  }
  return true;
}

// Appends the value as encoded words of whole characters, one to a line.
void AppendEncodedWords(std::string& out, std::string_view text, std::size_t firstLineUsed) {
  std::size_t used = firstLineUsed;
  for (std::size_t at = 0; at < text.size();) {
    // Base64 carries 3 bytes in 4 characters; the word fits the line and the word limit.
    const std::size_t room =
        std::min(kLineLength - std::min(used, kLineLength), kEncodedWordLength);
    const std::size_t digits =
        room > kWordStart.size() + kWordEnd.size() ? room - kWordStart.size() - kWordEnd.size() : 0;
    const std::size_t bytes = std::max<std::size_t>(digits / 4 * 3, 6);
    std::size_t end = at;
    while (end < text.size()) {
      const std::size_t length = DecodeUtf8At(text, end).Length;
      if (end > at && end + length - at > bytes) break;
      end += length;
    }
    out += kWordStart;
    AppendBase64(out, text.substr(at, end - at));
    out += kWordEnd;
    at = end;
    if (at < text.size()) {
      out += kLineEnd;
      out += ' ';
      used = 1;
    }
  }
}

bool IsOwnPrivateFolder(const struct stat& st) {
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// Makes `path` a folder of the user's own that nobody else may enter: made when missing,
// closed to others when it was open. A link, another user's folder or a file is refused.
int MakeOwnFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  if (st.st_uid != ::geteuid()) return EACCES;
  if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return errno;
  return 0;
}

// An absolute path from the environment, or "".
std::string AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? std::string(value) : std::string();
}

// Removes the messages (and pieces of messages never finished) older than kEmailFileDays.
void RemoveOldMessages(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const std::time_t before = std::time(nullptr) - std::time_t{kEmailFileDays} * 24 * 60 * 60;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.ends_with(".eml") && !name.ends_with(".part")) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && st.st_mtime < before)
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Gives the finished file `from` the name `to` unless something stands there (EEXIST).
int NameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // A file system that cannot rename so: a second link, which is refused just the same.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

std::string EmailHeaderLine(std::string_view name, std::string_view value) {
  const std::string text = OneLine(value);
  std::string line(name);
  line += ": ";
  if (IsPlainValue(text)) {
    std::string folded = line;
    if (AppendFoldedPlain(folded, text)) return folded;
  }
  AppendEncodedWords(line, text, line.size());
  return line;
}

std::string EmailFileText(std::string_view subject, std::string_view producer,
                          std::string_view htmlBody) {
  std::string body;
  body.reserve(htmlBody.size());
  for (const char c : htmlBody)
    if (c != '\0') body += c;
  if (!IsValidUtf8(body)) body = SanitizeUtf8(body);

  std::string text;
  text.reserve(body.size() / 3 * 4 + body.size() / 38 + 512);
  auto line = [&text](std::string_view content) {
    text.append(content);
    text.append(kLineEnd);
  };
  line(EmailHeaderLine("Subject", subject));
  line("X-Mailer: ");
  line("MIME-Version: 1.0");
  line("X-Unsent: 1");
  line(EmailHeaderLine("X-MimeOLE", "Produced By " + std::string(producer)));
  line("Content-Type: text/html; charset=utf-8");
  line("Content-Transfer-Encoding: base64");
  line("");
  for (std::size_t at = 0; at < body.size(); at += kBodyBytesPerLine) {
    AppendBase64(text, std::string_view(body).substr(at, kBodyBytesPerLine));
    text.append(kLineEnd);
  }
  return text;
}

EmailFileWrite EmailFolder() {
  std::string folder;
  int error = ENOENT;
  const std::string runtime = AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
  struct stat st {};
  if (!runtime.empty() && ::lstat(runtime.c_str(), &st) == 0 && IsOwnPrivateFolder(st)) {
    folder = runtime + "/quorvel";
    error = MakeOwnFolder(folder);
  }
  if (folder.empty() || error != 0) {
    std::string cache = AbsoluteFromEnvironment("XDG_CACHE_HOME");
    if (cache.empty()) {
      const std::string home = AbsoluteFromEnvironment("HOME");
      if (home.empty()) return {ENOENT, {}};
      cache = home + "/.cache";
    }
    if (::mkdir(cache.c_str(), 0700) != 0 && errno != EEXIST) return {errno, cache};
    folder = cache + "/quorvel";
    error = MakeOwnFolder(folder);
    if (error == 0) {
      folder += "/messages";
      error = MakeOwnFolder(folder);
    }
  }
  if (error != 0) return {error, folder};
  RemoveOldMessages(folder);
  return {0, folder};
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
    error = NameWithoutReplacing(file.Path(), path);
    if (error == 0) {
      file.Keep();
      return {0, path};
    }
    if (error != EEXIST) break;
  }
  return {error, {}};
}

}  // namespace qv
