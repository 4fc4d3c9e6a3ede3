#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <thread>
#include <vector>

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

// What a temporary name adds to the name it is made from: ".", ".tmp-", a process id of up
// to 10 digits, "-" and six random characters.
constexpr std::size_t kTemporaryNameExtra = 1 + 5 + 10 + 1 + 6;

// The start of the names of the temporary files that replace the file `name` in a folder
// whose names hold at most `nameMax` bytes. A long name is cut (at a character's start), so
// that the temporary name stays within the limit whatever the target's name.
std::string TemporaryPrefix(const std::string& name, long nameMax) {
  const std::size_t room = nameMax > static_cast<long>(kTemporaryNameExtra) + 1
                               ? static_cast<std::size_t>(nameMax) - kTemporaryNameExtra
                               : 1;
  std::size_t keep = std::min(name.size(), room);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
    --keep;
  return "." + name.substr(0, keep) + ".tmp-";
}

// The longest name the folder takes.
long NameMaxOf(int folder) {
  const long max = ::fpathconf(folder, _PC_NAME_MAX);
  return max > 0 ? max : NAME_MAX;
}

// Removes the temporary files of `name` in the open `folder` whose writing process has gone.
void RemoveStaleTemporaries(int folder, const std::string& name) {
  const int listed = ::dup(folder);
  if (listed < 0) return;
  DIR* dir = ::fdopendir(listed);
  if (dir == nullptr) {
    ::close(listed);
    return;
  }
  ::rewinddir(dir);
  const std::string prefix = TemporaryPrefix(name, NameMaxOf(folder));
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
    struct stat st {};
    if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      ::unlinkat(folder, entry->d_name, 0);
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

FileKind KindOfMode(mode_t mode) {
  return S_ISREG(mode)                    ? FileKind::kRegular
         : S_ISDIR(mode)                  ? FileKind::kFolder
         : S_ISFIFO(mode)                 ? FileKind::kPipe
         : S_ISCHR(mode) || S_ISBLK(mode) ? FileKind::kDevice
         : S_ISSOCK(mode)                 ? FileKind::kSocket
                                          : FileKind::kOther;
}

// The error for a file to read or replace that is no ordinary file: EISDIR for a folder,
// ENODEV for a pipe, device or socket; 0 for an ordinary file.
int NotAnOrdinaryFile(FileKind kind) {
  return kind == FileKind::kRegular ? 0 : kind == FileKind::kFolder ? EISDIR : ENODEV;
}

// A folder of the user's own for lock files, made when missing, that nobody else can write
// in: in the runtime folder, else in /tmp. "" when there is none.
std::string LockFolder() {
  std::vector<std::string> places;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
    places.push_back(std::string(runtime) + "/quorvel");
  places.push_back("/tmp/quorvel-" + std::to_string(::getuid()));
  for (const std::string& place : places) {
    if (::mkdir(place.c_str(), 0700) != 0 && errno != EEXIST) continue;
    struct stat st {};
    if (::lstat(place.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
        (st.st_mode & 022) == 0)
      return place;
  }
  return {};
}

// How long a writer waits for another copy's lock on the same file; a copy holds it only
// through a comparison and a rename.
constexpr auto kLockWait = std::chrono::seconds(5);

}  // namespace

ReplaceLock::ReplaceLock(int folder, const std::string& name) {
  struct stat st {};
  if (::fstat(folder, &st) != 0) return;
  const std::string place = LockFolder();
  if (place.empty()) return;
  FileDigest digest;
  digest.Add(name);
  char key[80];
  std::snprintf(
      key, sizeof key, "/%llx-%llx-%016llx.lock", static_cast<unsigned long long>(st.st_dev),
      static_cast<unsigned long long>(st.st_ino), static_cast<unsigned long long>(digest.Value()));
  path_ = place + key;
  const auto deadline = std::chrono::steady_clock::now() + kLockWait;
  for (;;) {
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    int locked = 0;
    while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 &&
           (errno == EWOULDBLOCK || errno == EINTR) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    // The holder before removes the file it locked before it lets go: the lock is held only
    // on the file that stands at the path.
    struct stat held {};
    struct stat there {};
    if (locked == 0 && ::fstat(fd, &held) == 0 && ::stat(path_.c_str(), &there) == 0 &&
        held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
      fd_ = fd;
      return;
    }
    ::close(fd);
    if (locked != 0 || std::chrono::steady_clock::now() >= deadline) return;
  }
}

ReplaceLock::~ReplaceLock() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

int AtomicFileWriter::Open() {
  if (fd_ >= 0) return 0;
  if ((error_ = FollowLinks(target_, replaced_)) != 0) return error_;
  // Everything below works in the target's folder through its descriptor, with names of
  // their own: a target whose path is near the system's limit still has room for its
  // temporary file's longer name.
  CloseFolder();
  folder_ = FolderOf(replaced_);
  name_ = NameOf(replaced_);
  folderFd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd_ < 0) return error_ = errno;
  struct stat st {};
  const bool exists = ::fstatat(folderFd_, name_.c_str(), &st, 0) == 0;
  if (exists) {
    if (const int refused = NotAnOrdinaryFile(KindOfMode(st.st_mode))) return Fail(refused);
    // A file the user made read-only stays as it is, whoever runs the program.
    if ((st.st_mode & 0222) == 0 ||
        (::faccessat(folderFd_, name_.c_str(), W_OK, 0) != 0 && errno == EACCES))
      return Fail(EACCES);
  }
  RemoveStaleTemporaries(folderFd_, name_);
  // A hidden name in the same folder, so that the rename stays on one file system. A new
  // file is created as the umask allows; a replaced one takes the old file's permissions.
  const std::string stem =
      TemporaryPrefix(name_, NameMaxOf(folderFd_)) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = stem + RandomPart();
    fd_ = ::openat(folderFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                   exists ? 0600 : 0666);
    if (fd_ >= 0) {
      temp_ = std::move(name);
      break;
    }
    if (errno != EEXIST) return Fail(errno);
  }
  if (fd_ < 0) return Fail(EEXIST);
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

void AtomicFileWriter::ReplaceOnlyUnchanged(const FileStamp& expected) {
  guarded_ = true;
  expected_ = expected;
}

int AtomicFileWriter::Fail(int error) {
  CloseFolder();
  return error_ = error;
}

void AtomicFileWriter::CloseFolder() {
  if (folderFd_ >= 0) ::close(folderFd_);
  folderFd_ = -1;
}

std::string AtomicFileWriter::TemporaryPath() const {
  return temp_.empty() ? std::string() : folder_ + "/" + temp_;
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
  if (guarded_) digest_.Add(bytes);
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
  // The file written is stamped once it stands in place (a rename changes its time of
  // change), through a descriptor of its own; should there be none, as it is now.
  const FileStamp beforeRename = guarded_ ? IdentityOfOpenFile(fd_) : FileStamp{};
  const int written = guarded_ && error_ == 0 ? ::dup(fd_) : -1;
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  if (error_ == 0) {
    // What stands at the target is looked at again and replaced in one step against any
    // other copy of the program that replaces the same file.
    const ReplaceLock lock(folderFd_, name_);
    struct stat st {};
    if (::fstatat(folderFd_, name_.c_str(), &st, 0) == 0)
      error_ = NotAnOrdinaryFile(KindOfMode(st.st_mode));
    if (error_ == 0 && guarded_ && FileChangedSince(expected_, folderFd_, name_))
      error_ = kTargetChanged;
    if (error_ == 0 && ::renameat(folderFd_, temp_.c_str(), folderFd_, name_.c_str()) != 0)
      error_ = errno;
    if (error_ == 0 && guarded_) {
      written_ = written >= 0 ? IdentityOfOpenFile(written) : beforeRename;
      written_.DigestKnown = written_.Known;
      written_.Digest = digest_.Value();
    }
  }
  if (written >= 0) ::close(written);
  if (error_ != 0) {
    ::unlinkat(folderFd_, temp_.c_str(), 0);
    temp_.clear();
    CloseFolder();
    return error_;
  }
  committed_ = true;
  temp_.clear();
  // Make the rename itself durable.
  ::fsync(folderFd_);
  CloseFolder();
  return 0;
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlinkat(folderFd_, temp_.c_str(), 0);
    temp_.clear();
  }
  CloseFolder();
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
  kind_ = KindOfMode(st.st_mode);
  if (const int refused = NotAnOrdinaryFile(kind_)) {
    ::close(fd);
    return error_ = refused;
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

std::string NotOrdinaryFileText(const std::string& path, int err) {
  struct stat st {};
  if (err != ENODEV || ::stat(path.c_str(), &st) != 0) return {};
  const char* what = nullptr;
  switch (KindOfMode(st.st_mode)) {
    case FileKind::kNone:
    case FileKind::kRegular:
    case FileKind::kFolder: return {};
    case FileKind::kPipe: what = "a named pipe, not an ordinary file"; break;
    case FileKind::kDevice: what = "a device, not an ordinary file"; break;
    case FileKind::kSocket: what = "a socket, not an ordinary file"; break;
    case FileKind::kOther: what = "not an ordinary file"; break;
  }
  return "\"" + path + "\" is " + what + "; nothing was written.";
}

}  // namespace qv
