#pragma once
// Opening and saving a book by file type: "acc" (the book file), "txt" (the book as text)
// or "csv" (chart and entries). This is what the open, save, save-as and insert commands
// call; the windows show the wait screen through the progress report and a failure through
// the failed-file message of its ErrorCode, followed by its Message.
//
// A read builds a new book and hands it back only when the whole file is sound; a write
// goes through a temporary file in the target's folder that replaces the target only once
// it is complete and on the disk, so a failed write (disk full, read-only or missing
// folder) leaves the old file as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "platform/file_stamp.h"

namespace qv {

enum class BookFileType { kAcc, kTxt, kCsv };

// "acc", "txt" or "csv" (the file dialog's ChosenFileType), in any case; nothing otherwise.
std::optional<BookFileType> BookFileTypeOf(std::string_view type);

// The largest book file a read takes; a larger one is refused before anything is read.
inline constexpr uint64_t kMaxBookFileBytes = uint64_t(4) << 30;

// Reads the book at `path`, from an ordinary file only (a folder, pipe, device or socket is
// refused with a sentence saying what it is, without waiting on it). The file is read in
// pieces as it is parsed. `today` dates the empty entry given to a file without entries.
// Failures are "not a sound book" (kErrDataMismatch) or the system error of the read.
BookReadResult ReadBook(const std::string& path, std::string_view type, DaySerial today,
                        const ProgressFn& progress = {});

// Writes the book to `path`, replacing the file there only on success.
BookFileResult WriteBook(const std::string& path, std::string_view type, const Books& books,
                         const ProgressFn& progress = {});

// A save of the open book's own file: `expected` is the file this program last read or wrote
// there (or the one the user agreed to replace). The file is replaced only while it is still
// that one, compared once more just before the rename and in one step with it against
// another copy of the program; else nothing is written and ChangedOnDisk is set. After a
// save, Written describes the file written, whatever stands at the path since.
struct BookSaveResult : BookFileResult {
  bool ChangedOnDisk = false;
  FileStamp Written;
};
BookSaveResult SaveBookFile(const std::string& path, std::string_view type, const Books& books,
                            const FileStamp& expected, const ProgressFn& progress = {});

// Puts a book that was read in place of the open one and raises the change stamp, so that
// open views rebuild.
void ReplaceBooks(Books& books, Books&& read);

// Reads the book at `path` and, only when that succeeds, replaces `books` with it
// (ReplaceBooks). On failure `books` is untouched.
BookFileResult OpenBookInto(Books& books, const std::string& path, std::string_view type,
                            DaySerial today, const ProgressFn& progress = {});

// A 64-bit digest of everything the book file (.acc) holds, so that the program can tell
// whether the books changed since they were opened or saved without keeping a copy of them.
// Equal books give equal digests; books that differ in anything saved differ in their digests
// but for a chance of one in 2^64.
uint64_t BookDigest(const Books& books);

// The same forms in memory, for tests and for checking readers against arbitrary bytes.
BookReadResult ParseBook(std::string_view bytes, BookFileType type, DaySerial today,
                         const ProgressFn& progress = {});
std::string FormatBook(const Books& books, BookFileType type);

}  // namespace qv
