#pragma once
// Whether another copy of the program runs. Every running copy holds a shared lock on one
// file in a folder the copies share (the user's runtime folder). A copy that starts first
// asks for that lock exclusively, which fails while any other copy holds its share, and
// then keeps a share itself; so every copy that runs counts, whichever started first. The
// locks belong to the open file, not to a name or a process id: a copy that ended, however
// it ended, holds none, and nothing is left to clear away.

#include <string>

namespace qv {

class RunningCopyLock {
 public:
  // Takes this copy's share of the lock on `path`, making the file when it is missing.
  explicit RunningCopyLock(const std::string& path);
  ~RunningCopyLock();  // gives the share back
  RunningCopyLock(const RunningCopyLock&) = delete;
  RunningCopyLock& operator=(const RunningCopyLock&) = delete;

  // Whether another copy held its share when this one was taken. False when the lock could
  // not be made at all (the folder unusable): no other copy can be seen then.
  bool OtherCopyRuns() const { return otherCopyRuns_; }
  // Whether this copy holds its share.
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  bool otherCopyRuns_ = false;
};

}  // namespace qv
