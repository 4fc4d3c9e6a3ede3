#include "platform/file_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace qv {
namespace {

int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + static_cast<int64_t>(t.tv_nsec);
}

FileStamp StampOfStat(const struct stat& st) {
  FileStamp stamp;
  stamp.Known = true;
  stamp.Device = static_cast<uint64_t>(st.st_dev);
  stamp.Inode = static_cast<uint64_t>(st.st_ino);
  stamp.Size = static_cast<uint64_t>(st.st_size);
  stamp.ModifiedNs = Nanoseconds(st.st_mtim);
  stamp.ChangedNs = Nanoseconds(st.st_ctim);
  return stamp;
}

bool SameFile(const FileStamp& a, const FileStamp& b) {
  return a.Known && b.Known && a.Device == b.Device && a.Inode == b.Inode && a.Size == b.Size &&
         a.ModifiedNs == b.ModifiedNs && a.ChangedNs == b.ChangedNs;
}

FileStamp IdentityAt(int folder, const char* name) {
  struct stat st {};
  if (::fstatat(folder, name, &st, 0) != 0) return {};
  return StampOfStat(st);
}

FileStamp StampOfFileAt(int folder, const char* name) {
  // Without O_NONBLOCK a named pipe would wait for a writer; only ordinary files are read.
  const int fd = ::openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {};
  FileStamp stamp;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    stamp = StampOfStat(st);
    FileDigest digest;
    std::vector<char> buffer(std::size_t(1) << 16);
    bool read = true;
    for (;;) {
      const ssize_t n = ::read(fd, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) read = false;
      if (n <= 0) break;
      digest.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    }
    // A file that changed while it was read has no digest of one state of it.
    struct stat after {};
    if (read && ::fstat(fd, &after) == 0 && SameFile(stamp, StampOfStat(after))) {
      stamp.DigestKnown = true;
      stamp.Digest = digest.Value();
    }
  }
  ::close(fd);
  return stamp;
}

}  // namespace

void FileDigest::Add(std::string_view bytes) {
  // FNV-1a over the bytes.
  uint64_t digest = value_;
  for (const char c : bytes) {
    digest ^= static_cast<unsigned char>(c);
    digest *= 1099511628211ull;
  }
  value_ = digest;
}

FileStamp IdentityOfOpenFile(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return StampOfStat(st);
}

FileStamp FileIdentity(const std::string& path) { return IdentityAt(AT_FDCWD, path.c_str()); }

FileStamp StampOfFile(const std::string& path) { return StampOfFileAt(AT_FDCWD, path.c_str()); }

FileStamp StampAfterReading(const FileStamp& before, const std::string& path) {
  const FileStamp stamp = StampOfFile(path);
  if (SameFile(before, stamp)) return stamp;
  // What was read may be neither state: the file as it was before, without its bytes, so
  // that it counts as changed from now on.
  FileStamp changed = before;
  changed.DigestKnown = false;
  return changed;
}

bool FileChangedSince(const FileStamp& stamp, const std::string& path) {
  return FileChangedSince(stamp, AT_FDCWD, path);
}

bool FileChangedSince(const FileStamp& stamp, int folder, const std::string& name) {
  if (!stamp.Known) return false;
  const FileStamp now = IdentityAt(folder, name.c_str());
  if (!now.Known) return false;
  if (SameFile(stamp, now)) return false;
  if (!stamp.DigestKnown || now.Size != stamp.Size) return true;
  const FileStamp read = StampOfFileAt(folder, name.c_str());
  return !read.DigestKnown || read.Digest != stamp.Digest;
}

}  // namespace qv
