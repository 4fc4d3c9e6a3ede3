#pragma once
// A folder on which files fill up: a tmpfs of the given size mounted on a fresh folder when
// the process may mount one (the superuser), so that a write fails with "No space left on
// device" as on a real full disk; otherwise an ordinary scratch folder with a file-size limit
// (FileSizeLimit) while the object lives, so that a write fails with "File too large".

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace qv::testing {

class FullDisk {
 public:
  explicit FullDisk(std::size_t bytes) {
    if (::geteuid() == 0) {
      const std::string options = "size=" + std::to_string(bytes);
      mounted_ = !folder_.Path().empty() && ::mount("tmpfs", folder_.Path().c_str(), "tmpfs",
                                                    MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    }
    if (!mounted_) limit_.emplace(bytes);
  }
  ~FullDisk() {
    // The folder's contents go with the file system; ScratchFolder removes the folder.
    limit_.reset();
    if (mounted_) ::umount2(folder_.Path().c_str(), MNT_DETACH);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  // A file's path in the folder.
  std::string Path(const std::string& name) const { return folder_.Path(name); }
  std::size_t EntryCount() const { return folder_.EntryCount(); }
  // The system's reason a write stops with here, as the program's messages give it.
  std::string Reason() const { return mounted_ ? "No space left on device" : "File too large"; }
  bool IsTmpfs() const { return mounted_; }

 private:
  ScratchFolder folder_;
  bool mounted_ = false;
  std::optional<FileSizeLimit> limit_;
};

}  // namespace qv::testing
