#pragma once
// The working values of the running program that are not part of the book: the search
// state, the file dialog's results, print settings, the wait screen's progress and a few
// values shared between windows. One object, owned by the application; windows receive a
// reference. The shown entry's bounds belong to the entry screen, not to this object.

#include <array>
#include <cstdint>
#include <string>

#include "books/amount.h"
#include "platform/file_stamp.h"

namespace qv {

enum SearchModeCode : int16_t { kSearchNotes = 0, kSearchEntryNumber = 1, kSearchUnbalanced = 2 };

struct Session {
  // The password the prompt last accepted; callers clear it, show the prompt, compare.
  std::string LoginPassword;

  int16_t SearchMode = kSearchNotes;
  std::string SearchText;
  uint8_t SearchPending = 0;

  // The file dialog's results: the chosen path ("" = cancelled) and type ("acc", "txt",
  // "csv", "xls", "htm", "rtf").
  std::string ChosenFileName;
  std::string ChosenFileType;
  // The book file last opened or saved; a plain Save writes to it.
  std::string LastFilePath;
  // The name the first save of a book that no file holds proposes: the old period's book
  // file after a roll-over, which is replaced only through the question any other file gets.
  std::string ProposedFilePath;
  // That file as this program last read or wrote it, so that a save can tell whether
  // something else wrote it since.
  FileStamp BookFileStamp;
  // The digest (BookDigest) of the books as they were last opened, saved as a book file or
  // started afresh: Exit asks before it drops changes made since.
  uint64_t SavedBookDigest = 0;

  int16_t PrintCopies = 0;
  float PrintScale = 1.0f;

  // Screen twips per pixel / 15.
  double ScreenScale = 1.0;
  // Gradient colours (0xBBGGRR) of the window backgrounds; element 0 stays 0.
  std::array<uint32_t, 31> FadeColors{};

  // 1 = a date picker has just committed a date; the host rebuilds and resets it.
  int16_t DatePicked = 0;
  // The net result of the income statement last computed (negative = a loss).
  Amount NetProfit;
  int32_t MouseDownFlag = 0;
};

}  // namespace qv
