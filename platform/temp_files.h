#pragma once
// Files in the user's temporary folder. Each is created new under a name that nobody can
// foresee (the base name, six random characters, the suffix), readable only by the user, so
// nothing planted in a shared folder is ever followed or overwritten. A file is removed when
// its object goes unless the caller keeps it (a message file handed to another program).
// Errors are system error numbers (errno values).

#include <string>
#include <string_view>

namespace qv {

// The user's temporary folder: the first of the environment variables tmp, TMP, temp, TEMP
// and TMPDIR that names an existing folder, else /tmp.
std::string TemporaryFolder();

class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();  // closes; removes the file unless kept
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates "<folder>/<baseName>XXXXXX<suffix>" (suffix such as ".eml"). Returns 0 or an
  // errno value. The base name and suffix may not hold a path separator (EINVAL).
  int Create(std::string_view baseName, std::string_view suffix,
             const std::string& folder = TemporaryFolder());
  // Appends bytes. Returns 0 or an errno value; after a failure further writes do nothing.
  int Write(std::string_view bytes);
  // Closes the file. Returns 0 or the first error of the writes or of closing.
  int Close();
  // The file stays after this object goes.
  void Keep() { keep_ = true; }

  const std::string& Path() const { return path_; }
  bool IsOpen() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool keep_ = false;
};

}  // namespace qv
