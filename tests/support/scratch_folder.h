#pragma once
// A fresh folder for a test, removed (with everything in it) at the end of the test.

#include <algorithm>
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

  // A path of exactly `length` bytes in the folder that ends in "/<name>", its folders made:
  // as many as it takes, each named with at most 200 bytes (a name holds at most 255). ""
  // when no such path exists (`length` is one byte more than the folder and name take).
  std::string DeepPath(const std::string& name, std::size_t length) const {
    std::filesystem::path folder = path_;
    std::size_t used = path_.size() + 1 + name.size();
    if (used > length || used + 1 == length) return {};
    while (used < length) {
      // Each folder adds "/" and its name; a single byte left over could take neither.
      const std::size_t left = length - used;
      std::size_t part = std::min<std::size_t>(200, left - 1);
      if (left - part - 1 == 1) --part;
      folder /= std::string(part, 'd');
      used += part + 1;
    }
    std::filesystem::create_directories(folder);
    return (folder / name).string();
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
