#include "controls/file_dialog_model.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "books/module_procedures.h"
#include "platform/prompts.h"
#include "platform/utf8.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names ordered without regard to case, then by their bytes so that the order is total.
bool NameBefore(const std::string& a, const std::string& b) {
  const std::string la = ToLowerText(a);
  const std::string lb = ToLowerText(b);
  if (la != lb) return la < lb;
  return a < b;
}

}  // namespace

std::string FileTypeOfPattern(std::string_view pattern) {
  const std::size_t length = Utf8Length(pattern);
  if (length <= 3) return std::string(pattern);
  return std::string(pattern.substr(Utf8Offset(pattern, length - 3)));
}

int CaptionIdForType(std::string_view type) {
  if (type == "acc") return 195;
  if (type == "csv") return 196;
  if (type == "xls") return 197;
  if (type == "txt") return 198;
  return 0;
}

bool IsForbiddenNameCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20 || u == 0x7F) return true;
  switch (c) {
    case '|':
    case '*':
    case '"':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\': return true;
    default: return false;
  }
}

std::string WithoutForbiddenCharacters(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text)
    if (!IsForbiddenNameCharacter(c)) kept.push_back(c);
  return kept;
}

std::string NameForType(std::string_view name, std::string_view type) {
  std::string stem = NameWithoutExtension(name);
  // A name whose extension is the type's in another case ("OLD.ACC") keeps its own, so
  // that the file chosen is the file used.
  if (stem.size() < name.size() && ToLowerText(name.substr(stem.size() + 1)) == ToLowerText(type))
    return std::string(name);
  return stem + "." + std::string(type);
}

std::string DocumentFileName(std::string_view title, std::string_view type) {
  std::string name = WithoutForbiddenCharacters(title);
  std::erase(name, '/');
  std::string stem(TrimAny(name, " -:."));
  if (stem.empty()) stem = "Document";
  return stem + "." + std::string(type);
}

bool IsAcceptableName(std::string_view name) { return !NameWithoutExtension(name).empty(); }

std::string ReplaceFileQuestion(std::string_view path) {
  return "\"" + std::string(path) + "\" already exists. Replace it ?";
}

bool MayReplaceFile(const std::string& path, const std::string& ownFile) {
  std::error_code error;
  if (!fs::exists(path, error)) return true;
  if (!ownFile.empty() && fs::equivalent(path, ownFile, error)) return true;
  return AskYesNoDefaultNo(ReplaceFileQuestion(path), PromptIcon::Exclamation) == PromptAnswer::Yes;
}

std::string FileNameWithType(std::string_view chosenPath, std::string_view type) {
  if (chosenPath.empty()) return {};
  return NameForType(chosenPath, type);
}

// The glob match runs over code points: "?" stands for one character, not one byte.
bool MatchesFilePattern(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  auto charLength = [](std::string_view s, std::size_t at) {
    return std::max<std::size_t>(1, Utf8Offset(s.substr(at), 1));
  };
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      n += charLength(name, n);
      p += 1;
    } else if (p < pattern.size() && LowerAscii(pattern[p]) == LowerAscii(name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      starN += charLength(name, starN);
      n = starN;
      p = starP;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

std::vector<std::string> FolderChain(std::string_view folder) {
  std::vector<std::string> chain;
  if (folder.empty() || folder.front() != '/') return chain;
  chain.emplace_back("/");
  std::size_t at = 1;
  while (at < folder.size()) {
    std::size_t next = folder.find('/', at);
    if (next == std::string_view::npos) next = folder.size();
    if (next > at) chain.emplace_back(folder.substr(0, next));
    at = next + 1;
  }
  return chain;
}

std::string LastPathComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return {};
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

FolderListing ListFolder(const std::string& folder, std::string_view pattern) {
  FolderListing listing;
  std::error_code error;
  fs::directory_iterator it(fs::path(folder), fs::directory_options::none, error);
  if (error) return listing;
  listing.readable = true;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    std::error_code kindError;
    // Links count as what they point to; a dangling link is left out.
    const fs::file_status status = fs::status(it->path(), kindError);
    if (kindError) continue;
    if (fs::is_directory(status)) {
      listing.folders.push_back(name);
    } else if (MatchesFilePattern(name, pattern)) {
      listing.files.push_back(name);
    }
  }
  std::sort(listing.folders.begin(), listing.folders.end(), NameBefore);
  std::sort(listing.files.begin(), listing.files.end(), NameBefore);
  return listing;
}

std::string AbsoluteFolder(std::string_view folder) {
  if (folder.empty()) return {};
  std::error_code error;
  fs::path path = fs::absolute(fs::path(folder), error);
  if (error) return std::string(folder);
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return AbsoluteFolder(home);
  return "/";
}

FileDialogModel::FileDialogModel(std::string startFolder) {
  if (startFolder.empty()) {
    std::error_code error;
    startFolder = fs::current_path(error).string();
    if (error) startFolder = HomeFolder();
  }
  folder_ = AbsoluteFolder(startFolder);
}

void FileDialogModel::Prepare(Session& session, const FileDialogRequest& request) {
  session_ = &session;
  patterns_ = request.patterns;
  // The type list, the file list and the file written all show the preset type, wherever
  // its pattern stands in the list.
  const auto preset = std::find_if(patterns_.begin(), patterns_.end(), [&](const std::string& p) {
    return FileTypeOfPattern(p) == request.defaultType;
  });
  patternIndex_ =
      preset == patterns_.end() ? 0 : static_cast<std::size_t>(preset - patterns_.begin());
  captionId_ = request.captionId;
  acceptCaptionId_ = request.acceptCaptionId;
  session.ChosenFileType =
      patterns_.empty() ? request.defaultType : FileTypeOfPattern(patterns_[patternIndex_]);
  // A preset path moves the dialog to its folder when that folder can be read.
  bool moved = false;
  if (request.nameGiven || !request.presetName.empty()) {
    const std::size_t slash = request.presetName.rfind('/');
    if (slash != std::string::npos) {
      moved = TryFolder(AbsoluteFolder(slash == 0 ? "/" : request.presetName.substr(0, slash)));
    }
    nameText_ = WithoutForbiddenCharacters(LastPathComponent(request.presetName));
  }
  // The name kept from the last use, or given, shows the extension of the type shown, as
  // choosing that type would make it: the name box names the file written.
  if (!nameText_.empty() && !patterns_.empty())
    nameText_ = WithoutForbiddenCharacters(NameForType(nameText_, session.ChosenFileType));
  if (!moved) Refresh();
  FollowName();
}

void FileDialogModel::Refresh() {
  if (TryFolder(folder_)) return;
  // The folder went away or became unreadable: the nearest readable folder above it.
  std::vector<std::string> chain = FolderChain(folder_);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if (TryFolder(*it)) return;
  if (!TryFolder(HomeFolder())) TryFolder("/");
}

void FileDialogModel::ChooseType(std::size_t index) {
  if (index >= patterns_.size()) return;
  patternIndex_ = index;
  const std::string type = FileTypeOfPattern(patterns_[index]);
  if (session_ != nullptr) {
    session_->ChosenFileType = type;
    // A password typed for another file does not carry over.
    session_->LoginPassword.clear();
  }
  if (const int caption = CaptionIdForType(type); caption != 0) captionId_ = caption;
  nameText_ = WithoutForbiddenCharacters(NameForType(nameText_, type));
  Refresh();  // the folder listed again for the new pattern
  FollowName();
}

const std::string& FileDialogModel::SetNameText(std::string_view text) {
  nameText_ = WithoutForbiddenCharacters(text);
  FollowName();
  return nameText_;
}

bool FileDialogModel::OpenFolder(std::string_view folder) {
  const std::string wanted = AbsoluteFolder(folder);
  const std::string previous = folder_;
  bool opened = !wanted.empty() && TryFolder(wanted);
  // One retry in the folder the dialog was in, then the home folder: never a loop.
  if (!opened && !TryFolder(previous) && !TryFolder(HomeFolder())) TryFolder("/");
  FollowName();
  return opened;
}

void FileDialogModel::ClickFile(std::string_view fileName) { SetNameText(fileName); }

bool FileDialogModel::DoubleClickFile(std::string_view fileName) {
  SetNameText(fileName);
  return Accept();
}

bool FileDialogModel::Accept() {
  // A typed path first takes the dialog to its folder (hidden folders included); with no
  // name after the last "/" the dialog stays open there.
  if (const std::size_t slash = nameText_.rfind('/'); slash != std::string::npos) {
    const std::string folder = nameText_.substr(0, slash);
    const std::string wanted =
        AbsoluteFolder(nameText_.front() == '/' ? (slash == 0 ? std::string("/") : folder)
                                                : JoinPath(folder_, folder));
    if (!TryFolder(wanted)) return false;
    nameText_.erase(0, slash + 1);
    FollowName();
  }
  if (!IsAcceptableName(nameText_)) {
    // An empty box or a lone point is plain to see; a point with an extension after it
    // looks like a name.
    if (nameText_.size() > 1)
      ShowMessage("\"" + nameText_ +
                      "\" is only an extension and names no file: type a name before the point, "
                      "as in \"name" +
                      nameText_ + "\".",
                  PromptIcon::Exclamation);
    return false;
  }
  FollowName();
  return true;
}

void FileDialogModel::Cancel() {
  if (session_ != nullptr) session_->ChosenFileName.clear();
}

void FileDialogModel::Close() {
  Cancel();
  nameText_.clear();
}

const std::string& FileDialogModel::Pattern() const {
  static const std::string kAll = "*";
  return patternIndex_ < patterns_.size() ? patterns_[patternIndex_] : kAll;
}

std::string FileDialogModel::PathOfName() const {
  if (nameText_.empty()) return {};
  if (nameText_.front() == '/') return nameText_;
  return JoinPath(folder_, nameText_);
}

bool FileDialogModel::TryFolder(const std::string& folder) {
  FolderListing listing = ListFolder(folder, Pattern());
  if (!listing.readable) return false;
  folder_ = folder;
  listing_ = std::move(listing);
  return true;
}

void FileDialogModel::FollowName() {
  if (session_ != nullptr) session_->ChosenFileName = PathOfName();
}

}  // namespace qv
