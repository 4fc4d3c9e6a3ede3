#pragma once
// Safe file writing and careful file reading. A write goes to a temporary file in the
// folder of the file it replaces, is flushed to the disk and renamed over that file, so a
// failure at any point leaves the old file as it was. A read opens only an ordinary file and
// never waits on a pipe or a device. Errors are system error numbers (errno values);
// callers turn them into the messages of failed file operations.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_stamp.h"

namespace qv {

// Commit's answer when the target is no longer the file the writer was told to replace
// (AtomicFileWriter::ReplaceOnlyUnchanged): nothing was replaced. No errno value.
inline constexpr int kTargetChanged = -1;

// Writes a file through a temporary file that replaces it on Commit.
//
// A symbolic link at the target is followed: the file it points to is replaced and the link
// stays. Only an ordinary file is replaced: a folder is refused (EISDIR), and a named pipe,
// device or socket (ENODEV) is left as it is. A file that is replaced keeps its permissions;
// a new file gets 0666 less the user's umask. A file without any write permission is refused
// (EACCES) and left alone. The temporary file's name holds the writing process's id; opening
// first removes the temporaries of the same file whose process has gone (a save that was
// killed). The temporary name stays within the folder's name limit (a long target name is cut
// in it), and the writer works through the folder's descriptor, so a target at a path near
// the system's path limit is written too.
class AtomicFileWriter {
 public:
  // Nothing is created until Open.
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();  // discards an uncommitted temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file beside the file to replace. Returns 0 or an errno value.
  int Open();
  // Makes Commit replace the target only while it is the file `expected` describes
  // (FileChangedSince: nothing there or no stamp counts as unchanged), compared once more
  // just before the rename, under a ReplaceLock held through the rename; and makes Written
  // describe the file written. Call before the first Write.
  void ReplaceOnlyUnchanged(const FileStamp& expected);
  // Appends bytes (buffered). After the first failure further writes do nothing and the
  // error is kept; Commit then reports it.
  void Write(std::string_view bytes);
  void Write(const void* data, std::size_t size) {
    Write(std::string_view(static_cast<const char*>(data), size));
  }
  // Flushes, syncs and renames the temporary file over the target. Returns 0, an errno
  // value or kTargetChanged; on failure the temporary file is removed and the target is
  // untouched.
  int Commit();
  // Removes the temporary file without touching the target.
  void Discard();

  int Error() const { return error_; }
  // After a Commit that returned 0 following ReplaceOnlyUnchanged: the file this writer put
  // in place, taken from that file itself, whatever stands at the path since.
  const FileStamp& Written() const { return written_; }
  // The temporary file being written ("" before Open and after a failure, Commit or
  // Discard).
  std::string TemporaryPath() const;

 private:
  void FlushBuffer();
  int Fail(int error);  // closes the folder and keeps the error
  void CloseFolder();

  std::string target_;
  std::string replaced_;
  std::string folder_;  // of the file replaced
  std::string name_;    // of the file replaced, in folder_
  int folderFd_ = -1;
  std::string temp_;  // the temporary file's name in folder_
  std::string buffer_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
  bool guarded_ = false;  // ReplaceOnlyUnchanged was called
  FileStamp expected_;
  FileDigest digest_;
  FileStamp written_;
};

// An advisory lock between copies of the program over the replacing of one file: a writer
// holds it from its last comparison with the disk through its rename, so that no other copy
// replaces the file in between. It is a lock on a file of the user's runtime folder
// ($XDG_RUNTIME_DIR, else a folder of the user's own in /tmp) named after the target's folder
// (its device and inode) and name, so that two paths to one file share it and the user's
// folder, read-only or not, gets nothing; the holder removes the lock file before it lets
// go. Waits up to a few seconds for another holder; without a runtime folder, or when the
// wait runs out, nothing is locked (Held false).
class ReplaceLock {
 public:
  ReplaceLock(int folder, const std::string& name);
  ~ReplaceLock();
  ReplaceLock(const ReplaceLock&) = delete;
  ReplaceLock& operator=(const ReplaceLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
};

// Writes all the bytes to an open file descriptor, going on after short writes and
// interruptions. Returns 0 or an errno value.
int WriteAllBytes(int fd, std::string_view bytes);

// Writes the whole text to the file through AtomicFileWriter. Returns 0 or an errno value.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// What stands at a path that was opened for reading.
enum class FileKind { kNone, kRegular, kFolder, kPipe, kDevice, kSocket, kOther };

// The largest file a reader takes unless told otherwise.
inline constexpr uint64_t kMaxReadBytes = uint64_t(4) << 30;

// A file read from the start in pieces of the caller's size.
class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens the file without waiting on it. Returns 0 for an ordinary file; EISDIR for a
  // folder and ENODEV for a pipe, device or socket (Kind says which); EFBIG for a file
  // above `maxBytes`, before anything is read; else an errno value.
  int Open(const std::string& path, uint64_t maxBytes = kMaxReadBytes);
  // Reads up to `size` bytes into `data`, going on after interruptions. Returns the number
  // read (0 at the end of the file), or -1 with the errno value in Error().
  int64_t Read(char* data, std::size_t size);
  // Goes back to the file's first byte. Returns 0 or an errno value.
  int Rewind();

  // The size the file had when it was opened.
  uint64_t Size() const { return size_; }
  FileKind Kind() const { return kind_; }
  int Error() const { return error_; }

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  FileKind kind_ = FileKind::kNone;
  int error_ = 0;
};

// Reads the whole file into `out` (FileReader's rules). Returns 0 or an errno value;
// `out` is untouched on failure.
int ReadWholeFile(const std::string& path, std::string& out, uint64_t maxBytes = kMaxReadBytes);

// True when the path names an existing ordinary file.
bool FileExists(const std::string& path);

// For a write to `path` that failed with `err`, when the writer refused it because what stands
// there (links followed) is no ordinary file or folder (ENODEV), the sentence that says so:
// "\"/a/book.acc\" is a named pipe, not an ordinary file; nothing was written." ("a device",
// "a socket"); "" for any other error, or when nothing or an ordinary file or a folder stands
// there.
std::string NotOrdinaryFileText(const std::string& path, int err);

}  // namespace qv
