#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace qv {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Closes a file descriptor when the function that opened it returns.
class ClosedOnReturn {
 public:
  explicit ClosedOnReturn(int fd) : fd_(fd) {}
  ~ClosedOnReturn() { ::close(fd_); }
  ClosedOnReturn(const ClosedOnReturn&) = delete;
  ClosedOnReturn& operator=(const ClosedOnReturn&) = delete;

 private:
  int fd_;
};

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

int WriteAllBytes(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

void AtomicFileWriter::FlushBuffer() {
  if (error_ == 0) error_ = WriteAllBytes(fd_, buffer_);
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
    // A piece as large as the buffer goes straight to the file, without a copy.
    if (bytes.size() >= kBufferSize) {
      if (error_ == 0) error_ = WriteAllBytes(fd_, bytes);
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
  const ClosedOnReturn closer(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (static_cast<std::size_t>(st.st_size) > maxBytes) return EFBIG;
  std::string data;
  try {
    data.resize(static_cast<std::size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;  // the file shrank while being read
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  // A file that grew while being read (or a special file that reports size 0) is read on.
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    if (data.size() + static_cast<std::size_t>(n) > maxBytes) return EFBIG;
    data.append(chunk, static_cast<std::size_t>(n));
  }
  out = std::move(data);
  return 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qv
