#pragma once
// A fresh folder for the file dialog's tests, with helpers to fill it; removed at the end
// of the test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qv::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qv-filedlg-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

  // Writes a small file at the relative path, making its folders; returns its path.
  std::string File(const std::string& relative) const {
    const std::filesystem::path path = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    return path.string();
  }

  // Makes the folder at the relative path; returns its path.
  std::string Folder(const std::string& relative) const {
    const std::filesystem::path path = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(path);
    return path.string();
  }

 private:
  std::string path_;
};

}  // namespace qv::testing
