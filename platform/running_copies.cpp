#include "platform/running_copies.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <cerrno>

namespace qv {
namespace {

// Asks for the whole file's lock without waiting. The lock belongs to the open file, so two
// locks of one process conflict as those of two processes do, and changing an exclusive lock
// into a shared one is a single step that no other copy can come between.
bool LockFile(int fd, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

RunningCopyLock::RunningCopyLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  if (LockFile(fd, F_WRLCK)) {
    // No other copy holds a share: this one is the only one running.
    if (LockFile(fd, F_RDLCK)) fd_ = fd;
  } else if (errno == EAGAIN || errno == EACCES) {
    otherCopyRuns_ = true;
    // Another copy may hold the lock exclusively for the moment it takes to look; the share
    // is there once it has looked.
    for (int attempt = 0; attempt < 1000 && fd_ < 0; ++attempt) {
      if (LockFile(fd, F_RDLCK))
        fd_ = fd;
      else
        ::sched_yield();
    }
  }
  if (fd_ < 0) ::close(fd);
}

RunningCopyLock::~RunningCopyLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace qv
