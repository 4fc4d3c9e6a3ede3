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

// FNV-1a over the bytes.
uint64_t Fnv1a(uint64_t digest, const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    digest ^= static_cast<unsigned char>(data[i]);
    digest *= 1099511628211ull;
  }
  return digest;
}

}  // namespace

FileStamp FileIdentity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return StampOfStat(st);
}

FileStamp StampOfFile(const std::string& path) {
  // Without O_NONBLOCK a named pipe would wait for a writer; only ordinary files are read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return {};
  FileStamp stamp;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    stamp = StampOfStat(st);
    uint64_t digest = 14695981039346656037ull;
    std::vector<char> buffer(std::size_t(1) << 16);
    bool read = true;
    for (;;) {
      const ssize_t n = ::read(fd, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) read = false;
      if (n <= 0) break;
      digest = Fnv1a(digest, buffer.data(), static_cast<std::size_t>(n));
    }
    // A file that changed while it was read has no digest of one state of it.
    struct stat after {};
    if (read && ::fstat(fd, &after) == 0 && SameFile(stamp, StampOfStat(after))) {
      stamp.DigestKnown = true;
      stamp.Digest = digest;
    }
  }
  ::close(fd);
  return stamp;
}

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
  if (!stamp.Known) return false;
  const FileStamp now = FileIdentity(path);
  if (!now.Known) return false;
  if (SameFile(stamp, now)) return false;
  if (!stamp.DigestKnown || now.Size != stamp.Size) return true;
  const FileStamp read = StampOfFile(path);
  return !read.DigestKnown || read.Digest != stamp.Digest;
}

}  // namespace qv
