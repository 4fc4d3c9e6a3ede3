#pragma once
// What a file was when the program last read or wrote it, so that it can tell before writing
// over the file whether something else wrote it in between: another copy of the program,
// another program. A file is the same when the same file of the disk stands at the path with
// the same size, times and bytes. A file put in its place by a rename is another file of the
// disk; it counts as changed unless it holds the very same bytes, since writing over it then
// loses nothing.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct FileStamp {
  // False for no stamp (none taken, or the file could not be read then).
  bool Known = false;
  // Which file of the disk stood at the path, its size and the times of its last change of
  // contents and of any change (the latter cannot be set back by anyone).
  uint64_t Device = 0;
  uint64_t Inode = 0;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;
  int64_t ChangedNs = 0;
  // A 64-bit digest of the file's bytes; valid only when DigestKnown.
  bool DigestKnown = false;
  uint64_t Digest = 0;

  bool operator==(const FileStamp&) const = default;
};

// The digest of a file's bytes that a stamp keeps, taken piece by piece as they are read or
// written.
class FileDigest {
 public:
  void Add(std::string_view bytes);
  uint64_t Value() const { return value_; }

 private:
  uint64_t value_ = 14695981039346656037ull;
};

// The file open on `fd` as it is now, without its bytes (DigestKnown false); Known is false
// when it cannot be looked at.
FileStamp IdentityOfOpenFile(int fd);

// The file at `path` as it is now, without its bytes (DigestKnown false); Known is false when
// nothing can be found at the path.
FileStamp FileIdentity(const std::string& path);

// The file at `path` as it is now, with the digest of its bytes. The file is read once; when
// it changes while it is read, the stamp's digest is left unknown. Known is false when the
// file cannot be read.
FileStamp StampOfFile(const std::string& path);

// The stamp of a file just read, given its identity from before the reading: when the file
// changed in between, the earlier identity without a digest, so that the file counts as
// changed since it was read.
FileStamp StampAfterReading(const FileStamp& before, const std::string& path);

// True when the file at `path` is not what `stamp` describes: another file, or other bytes.
// Nothing at the path, or no stamp, counts as unchanged: writing there loses nothing that
// the stamp knew of. A file that cannot be read to compare its bytes counts as changed.
bool FileChangedSince(const FileStamp& stamp, const std::string& path);
// The same for the file `name` of the open folder `folder`.
bool FileChangedSince(const FileStamp& stamp, int folder, const std::string& name);

}  // namespace qv
