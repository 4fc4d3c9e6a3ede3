#pragma once
// Safe file writing and whole-file reading. A write goes to a temporary file in the
// target's folder, is flushed to the disk and renamed over the target, so a failure at any
// point leaves the old file as it was. Errors are system error numbers (errno values);
// callers turn them into the messages of failed file operations.

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

class AtomicFileWriter {
 public:
  // Nothing is created until Open.
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();  // discards an uncommitted temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file beside the target. Returns 0 or an errno value.
  int Open();
  // Appends bytes (buffered). After the first failure further writes do nothing and the
  // error is kept; Commit then reports it.
  void Write(std::string_view bytes);
  void Write(const void* data, std::size_t size) {
    Write(std::string_view(static_cast<const char*>(data), size));
  }
  // Flushes, syncs and renames the temporary file over the target. Returns 0 or an errno
  // value; on failure the temporary file is removed and the target is untouched.
  int Commit();
  // Removes the temporary file without touching the target.
  void Discard();

  int Error() const { return error_; }

 private:
  void FlushBuffer();

  std::string target_;
  std::string temp_;
  std::string buffer_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
};

// Writes all the bytes to an open file descriptor, going on after short writes and
// interruptions. Returns 0 or an errno value.
int WriteAllBytes(int fd, std::string_view bytes);

// Writes the whole text to the file through AtomicFileWriter. Returns 0 or an errno value.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads the whole file into `out`. Returns 0 or an errno value (ENOENT for a missing file,
// EISDIR for a folder, EFBIG for a file above `maxBytes`).
int ReadWholeFile(const std::string& path, std::string& out,
                  std::size_t maxBytes = std::size_t(4) << 30);

// True when the path names an existing ordinary file.
bool FileExists(const std::string& path);

}  // namespace qv
