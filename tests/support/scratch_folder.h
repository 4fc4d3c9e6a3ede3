#pragma once
// A fresh folder for a test, removed (with everything in it) at the end of the test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_io.h"

namespace qv::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (path_.empty()) return;
    // A test may have taken the write permission away.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, "" when it could not be made.
  const std::string& Path() const { return path_; }
  // The path of a name inside the folder (nothing is created).
  std::string Path(const std::string& relative) const {
    return (std::filesystem::path(path_) / relative).string();
  }

  // Writes a small file at the relative path, making its folders; returns its path.
  std::string File(const std::string& relative, const std::string& contents = "x") const {
    const std::filesystem::path path = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << contents;
    return path.string();
  }

  // Makes the folder at the relative path; returns its path.
  std::string Folder(const std::string& relative) const {
    const std::filesystem::path path = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(path);
    return path.string();
  }

  // The number of entries directly in the folder (to see that no temporary file is left).
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

  // The whole contents of a file ("" and a failed expectation when it cannot be read).
  static std::string Read(const std::string& path) {
    std::string out;
    if (ReadWholeFile(path, out) != 0) out.clear();
    return out;
  }

 private:
  std::string path_;
};

}  // namespace qv::testing
