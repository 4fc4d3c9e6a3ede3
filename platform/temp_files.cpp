#include "platform/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

#include "platform/file_io.h"

namespace qv {

namespace {

bool IsFolder(const char* path) {
  struct stat st {};
  return path && *path && ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string TemporaryFolder() {
  for (const char* name : {"tmp", "TMP", "temp", "TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (IsFolder(value)) return value;
  }
  return "/tmp";
}

TemporaryFile::~TemporaryFile() {
  Close();
  if (!keep_ && !path_.empty()) ::unlink(path_.c_str());
}

int TemporaryFile::Create(std::string_view baseName, std::string_view suffix,
                          const std::string& folder) {
  if (fd_ >= 0 || !path_.empty()) return EBUSY;  // one file per object
  if (baseName.find('/') != std::string_view::npos || suffix.find('/') != std::string_view::npos)
    return EINVAL;
  std::string pattern = folder;
  if (pattern.empty() || pattern.back() != '/') pattern += '/';
  pattern.append(baseName);
  pattern += "XXXXXX";
  pattern.append(suffix);
  // mkstemps opens with O_CREAT | O_EXCL and mode 0600, retrying other names on a clash.
  const int fd = ::mkstemps(pattern.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return errno ? errno : EIO;
  fd_ = fd;
  path_ = std::move(pattern);
  error_ = 0;
  return 0;
}

int TemporaryFile::Write(std::string_view bytes) {
  if (fd_ < 0) return error_ ? error_ : EBADF;
  if (error_) return error_;
  error_ = WriteAllBytes(fd_, bytes);
  return error_;
}

int TemporaryFile::Close() {
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && !error_) error_ = errno;
    fd_ = -1;
  }
  return error_;
}

}  // namespace qv
