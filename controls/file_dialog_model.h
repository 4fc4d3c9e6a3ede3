#pragma once
// The logic of the program's file dialog, without the window: the offered file types and
// the type code of a pattern, the caption that a chosen type brings, the rewriting of the
// name's extension, the characters a file name may not hold, the folder being browsed with
// its folders and matching files, and the results written to the session.
//
// The dialog returns absolute paths: the folder browsed and the name typed or clicked. The
// folder survives between uses, so the dialog reopens where the user last browsed. The
// window (controls/file_dialog.h) only shows this state and forwards the user's actions.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "books/session.h"

namespace qv {

// The type code of a file-type pattern: its last three characters ("*.csv" gives "csv").
std::string FileTypeOfPattern(std::string_view pattern);

// The string id of the window caption that choosing a type brings: "acc" 195, "csv" 196,
// "xls" 197, "txt" 198. 0 for every other type, whose choice leaves the caption as it is.
int CaptionIdForType(std::string_view type);

// True for the characters that a name typed in the dialog may not hold:
// | * " : < > ? \ and the control characters. A "/" is taken: a typed path leads to its
// folder, which may be one the folder list does not show (a hidden one).
bool IsForbiddenNameCharacter(char c);

// The text with every forbidden character removed. The forbidden characters are all ASCII,
// so removing their bytes never splits a UTF-8 sequence.
std::string WithoutForbiddenCharacters(std::string_view text);

// The name with its extension replaced by the type: NameWithoutExtension & "." & type
// ("books.acc" and "csv" give "books.csv", "my.report" gives "my.csv"). A name whose
// extension is the type's in another case keeps it ("OLD.ACC" and "acc" give "OLD.ACC").
std::string NameForType(std::string_view name, std::string_view type);

// The name a file dialog proposes for a document of that title: the title without the
// characters a name may not hold (and without "/"), without blanks, dashes, colons or dots
// at either end, then "." and the type ("Trial Balance -" and "pdf" give "Trial
// Balance.pdf"); "Document" when nothing of the title is left.
std::string DocumentFileName(std::string_view title, std::string_view type);

// True when the name box's text may be accepted: the name without its extension is not
// empty, so ".csv" alone is refused.
bool IsAcceptableName(std::string_view name);

// The question asked before a file that stands at the path is replaced.
std::string ReplaceFileQuestion(std::string_view path);

// True when a command may write the file at `path`: nothing stands there, or it is the file
// `ownFile` (the open book's own, which its saves replace without asking; "" = none), or
// the user answers Yes to the question whether to replace it (No is the default).
bool MayReplaceFile(const std::string& path, const std::string& ownFile = {});

// The file that a caller reads or writes for a chosen path and type: the path without its
// extension & "." & type. "" when the path is "" (the dialog was cancelled).
std::string FileNameWithType(std::string_view chosenPath, std::string_view type);

// True when the file name matches a pattern of "*" (any run of characters) and "?" (any one
// character), letters compared without regard to case, so "OLD.ACC" matches "*.acc".
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

// The folder joined with a name: "/home/u" and "a.acc" give "/home/u/a.acc".
std::string JoinPath(std::string_view folder, std::string_view name);

// The folders from the root down to the folder itself, each as an absolute path:
// "/home/u" gives "/", "/home", "/home/u".
std::vector<std::string> FolderChain(std::string_view folder);

// The last component of a path ("" for "/").
std::string LastPathComponent(std::string_view path);

// The contents of a folder as the dialog lists them: its folders and the files that match
// the pattern, each sorted by name without regard to case. Hidden entries (names that start
// with ".") are left out. `readable` is false when the folder cannot be listed.
struct FolderListing {
  bool readable = false;
  std::vector<std::string> folders;
  std::vector<std::string> files;
};
FolderListing ListFolder(const std::string& folder, std::string_view pattern);

// The absolute, normalised form of a folder path ("" stays ""; a relative path is taken
// from the process's current directory).
std::string AbsoluteFolder(std::string_view folder);

// The user's home folder ("/" when it is unknown).
std::string HomeFolder();

// What a command asks of the dialog.
struct FileDialogRequest {
  // The preset type code ("acc", "txt", "csv", "xls", "rtf", "htm" or "pdf"): the dialog
  // opens showing its pattern, wherever that stands in the list. When empty, or when no
  // pattern is of that type, it opens on the first pattern.
  std::string defaultType;
  // The offered patterns, in the order of the type list ("*.acc", "*.txt", ...).
  std::vector<std::string> patterns;
  // String ids of the window caption and of the accept button (111 and 285, 166 and 165,
  // 283 and 284).
  int captionId = 0;
  int acceptCaptionId = 0;
  // A name to put in the name box; a path also moves the dialog to its folder.
  std::string presetName;
  // The name box shows presetName even when it is empty; otherwise an empty presetName
  // leaves the name of the last use.
  bool nameGiven = false;
  // The command writes the file chosen: one that stands there already is replaced only
  // when the user says so (MayReplaceFile), the file at ownFile excepted.
  bool writes = false;
  std::string ownFile;
};

// What stands in for the dialog where a test answers it: the file the user chooses, with
// its type's extension ("" = cancelled).
using FileDialogAnswer = std::function<std::string(const FileDialogRequest&)>;

// The state of the dialog between and during uses. One object serves every use.
class FileDialogModel {
 public:
  // Starts browsing in `startFolder` (the process's current directory when empty).
  explicit FileDialogModel(std::string startFolder = {});

  // Prepares a use for a command: the type list, the type shown (the preset type), the
  // captions, the name box (a name in it takes the extension of the type shown). The results go to
  // `session` (ChosenFileName, ChosenFileType, LoginPassword), which must outlive the use.
  // ChosenFileType is always the type shown.
  void Prepare(Session& session, const FileDialogRequest& request);

  // Each activation: the folder is listed again; when it can no longer be read, the
  // dialog moves to the nearest folder above it that can, or else the home folder.
  void Refresh();

  // The user chose the type pattern at this index of the type list.
  void ChooseType(std::size_t index);

  // The user typed or pasted in the name box; forbidden characters are dropped. Returns
  // the text the box keeps.
  const std::string& SetNameText(std::string_view text);

  // The user opened a folder (in the folder list or through a place). When it cannot be
  // read, the dialog stays in the folder it was in; when that cannot be read either, it
  // goes to the home folder. Returns true when the folder asked for was opened.
  bool OpenFolder(std::string_view folder);

  // The user clicked a file of the file list: its name goes to the name box.
  void ClickFile(std::string_view fileName);
  // The user double-clicked a file: it is chosen and the dialog closes (returns true).
  bool DoubleClickFile(std::string_view fileName);

  // The accept button: closes with the name (returns true) only when the name is
  // acceptable. An empty name does nothing; a name with nothing before its extension
  // (".csv") is refused with a message that says why. A typed path ("../books/a.acc", "/x/.y/")
  // first moves the dialog to its folder, and keeps only the name after its last "/" in the box; a
  // folder that cannot be read leaves everything as it was.
  bool Accept();
  // The cancel button: nothing chosen; the name box keeps its text for the next use.
  void Cancel();
  // The window's close box: nothing chosen, and the name box starts empty next time.
  void Close();
  // The use is over: results no longer go to the session given to Prepare, which may go
  // before the model does.
  void EndUse() { session_ = nullptr; }

  const std::vector<std::string>& Patterns() const { return patterns_; }
  std::size_t PatternIndex() const { return patternIndex_; }
  const std::string& Pattern() const;
  const std::string& Folder() const { return folder_; }
  const FolderListing& Listing() const { return listing_; }
  const std::string& NameText() const { return nameText_; }
  int CaptionId() const { return captionId_; }
  int AcceptCaptionId() const { return acceptCaptionId_; }
  // The absolute path of the name box's text in the folder; "" while the box is empty.
  std::string PathOfName() const;

 private:
  bool TryFolder(const std::string& folder);
  void FollowName();

  Session* session_ = nullptr;
  std::vector<std::string> patterns_;
  std::size_t patternIndex_ = 0;
  std::string folder_;
  FolderListing listing_;
  std::string nameText_;
  int captionId_ = 0;
  int acceptCaptionId_ = 0;
};

}  // namespace qv
