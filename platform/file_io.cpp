#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>

namespace qv {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// More links in a row than this is a loop.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where the symbolic links at `path` lead: the path itself when it is no link. A link that
// leads nowhere yet gives the path it names, so that a write creates that file.
int FollowLinks(const std::string& path, std::string& out) {
  out = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st {};
    if (::lstat(out.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(out.c_str(), target.data(), target.size());
    if (n < 0) return errno;
    target.resize(static_cast<std::size_t>(n));
    if (target.empty()) return ENOENT;
    out = target.front() == '/' ? target : FolderOf(out) + "/" + target;
  }
  return ELOOP;
}

// The start of the names of the temporary files that replace the file `name`.
std::string TemporaryPrefix(const std::string& name) { return "." + name + ".tmp-"; }

// Removes the temporary files of `name` in `folder` whose writing process has gone.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = TemporaryPrefix(name);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view file = entry->d_name;
    if (file.substr(0, prefix.size()) != prefix) continue;
    // ".<name>.tmp-<process id>-<random>"
    const std::string_view rest = file.substr(prefix.size());
    long pid = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (ec != std::errc() || pid <= 0 || end == rest.data() + rest.size() || *end != '-') continue;
    if (pid == static_cast<long>(::getpid())) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    const std::string path = folder + "/" + std::string(file);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

// Six characters that nobody can foresee, for a temporary file's name.
std::string RandomPart() {
  static std::atomic<uint64_t> counter{std::random_device{}()};
  uint64_t v = counter.fetch_add(0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
  v ^= v >> 31;
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string s(6, 'x');
  for (char& c : s) {
    c = kLetters[v % 62];
    v /= 62;
  }
  return s;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

int AtomicFileWriter::Open() {
  if (fd_ >= 0) return 0;
  if ((error_ = FollowLinks(target_, replaced_)) != 0) return error_;
  struct stat st {};
  const bool exists = ::stat(replaced_.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return error_ = EISDIR;
    // A file the user made read-only stays as it is, whoever runs the program.
    if ((st.st_mode & 0222) == 0 || (::access(replaced_.c_str(), W_OK) != 0 && errno == EACCES))
      return error_ = EACCES;
  }
  const std::string folder = FolderOf(replaced_);
  const std::string name = NameOf(replaced_);
  RemoveStaleTemporaries(folder, name);
  // A hidden name in the same folder, so that the rename stays on one file system. A new
  // file is created as the umask allows; a replaced one takes the old file's permissions.
  const std::string stem = folder + "/" + TemporaryPrefix(name) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = stem + RandomPart();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd_ >= 0) {
      temp_ = std::move(path);
      break;
    }
    if (errno != EEXIST) return error_ = errno;
  }
  if (fd_ < 0) return error_ = EEXIST;
  if (exists) {
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
      // Another owner cannot be given; the file becomes the user's, as any new file.
    }
    ::fchmod(fd_, st.st_mode & 07777);
  }
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
  if (error_ == 0 && std::rename(temp_.c_str(), replaced_.c_str()) != 0) error_ = errno;
  if (error_ != 0) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return error_;
  }
  committed_ = true;
  // Make the rename itself durable.
  const int dir = ::open(FolderOf(replaced_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

int FileReader::Open(const std::string& path, uint64_t maxBytes) {
  if (fd_ >= 0) return error_ = EBUSY;  // one file per object
  // Without O_NONBLOCK, opening a named pipe would wait for a writer for good.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return error_ = errno;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    error_ = errno;
    ::close(fd);
    return error_;
  }
  kind_ = S_ISREG(st.st_mode)                          ? FileKind::kRegular
          : S_ISDIR(st.st_mode)                        ? FileKind::kFolder
          : S_ISFIFO(st.st_mode)                       ? FileKind::kPipe
          : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? FileKind::kDevice
          : S_ISSOCK(st.st_mode)                       ? FileKind::kSocket
                                                       : FileKind::kOther;
  if (kind_ != FileKind::kRegular) {
    ::close(fd);
    return error_ = kind_ == FileKind::kFolder ? EISDIR : ENODEV;
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return error_ = EFBIG;
  }
  // An ordinary file never blocks; reading goes on in the usual way.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  error_ = 0;
  return 0;
}

int64_t FileReader::Read(char* data, std::size_t size) {
  if (fd_ < 0) {
    error_ = EBADF;
    return -1;
  }
  for (;;) {
    const ssize_t n = ::read(fd_, data, size);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    error_ = errno;
    return -1;
  }
}

int FileReader::Rewind() {
  if (fd_ < 0) return error_ = EBADF;
  if (::lseek(fd_, 0, SEEK_SET) != 0) return error_ = errno;
  return 0;
}

int ReadWholeFile(const std::string& path, std::string& out, uint64_t maxBytes) {
  FileReader file;
  if (const int err = file.Open(path, maxBytes)) return err;
  try {
    std::string data;
    data.reserve(static_cast<std::size_t>(file.Size()));
    char chunk[65536];
    for (;;) {
      const int64_t n = file.Read(chunk, sizeof chunk);
      if (n < 0) return file.Error();
      if (n == 0) break;
      if (data.size() + static_cast<uint64_t>(n) > maxBytes) return EFBIG;
      data.append(chunk, static_cast<std::size_t>(n));
    }
    out = std::move(data);
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
  return 0;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qv
