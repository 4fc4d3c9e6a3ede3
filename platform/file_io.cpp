#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

int AtomicFileWriter::Open() {
  if (fd_ >= 0) return 0;
  std::string name = target_;
  const std::size_t slash = name.find_last_of('/');
  // A hidden name in the same folder, so the rename stays on one file system.
  name.insert(slash == std::string::npos ? 0 : slash + 1, ".");
  std::string pattern = name + ".tmp-XXXXXX";
  fd_ = mkstemp(pattern.data());
  if (fd_ < 0) {
    error_ = errno;
    return error_;
  }
  temp_ = pattern;
  // Keep the old file's permissions where there is one; a new file gets the usual 0644.
  struct stat st {};
  const mode_t mode = stat(target_.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  fchmod(fd_, mode);
  buffer_.reserve(kBufferSize);
  error_ = 0;
  committed_ = false;
  return 0;
}

void AtomicFileWriter::FlushBuffer() {
  std::size_t done = 0;
  while (error_ == 0 && done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  buffer_.clear();
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0) {
    if (error_ == 0) error_ = EBADF;
    return;
  }
  if (error_ != 0) return;
  if (buffer_.size() + bytes.size() > kBufferSize) {
    FlushBuffer();
    if (bytes.size() >= kBufferSize) {
      buffer_.assign(bytes);
      FlushBuffer();
      return;
    }
  }
  buffer_.append(bytes);
}

int AtomicFileWriter::Commit() {
  if (fd_ < 0) return error_ != 0 ? error_ : EBADF;
  FlushBuffer();
  if (error_ == 0 && ::fsync(fd_) != 0) error_ = errno;
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  if (error_ == 0 && std::rename(temp_.c_str(), target_.c_str()) != 0) error_ = errno;
  if (error_ != 0) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return error_;
  }
  committed_ = true;
  // Make the rename itself durable.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
  buffer_.clear();
}

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  if (const int err = writer.Open()) return err;
  writer.Write(bytes);
  return writer.Commit();
}

int ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return err;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    return EISDIR;
  }
  if (static_cast<std::size_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return EFBIG;
  }
  std::string data;
  try {
    data.resize(static_cast<std::size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return ENOMEM;
  }
  std::size_t done = 0;
  int err = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;  // the file shrank while being read
    done += static_cast<std::size_t>(n);
  }
  // A file that grew while being read (or a special file that reports size 0) is read on.
  char chunk[65536];
  while (err == 0) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    if (done + static_cast<std::size_t>(n) > maxBytes) {
      err = EFBIG;
      break;
    }
    data.resize(done);
    data.append(chunk, static_cast<std::size_t>(n));
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (err != 0) return err;
  data.resize(done);
  out = std::move(data);
  return 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qv
