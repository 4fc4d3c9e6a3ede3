#pragma once
// The messages of the book-file commands: the one report of a failed file operation
// (ShowFileError, ShowReadError, ShowWriteError) and the message for a book file that is not
// there.

#include <string>
#include <string_view>

namespace qv {

// Shows the failed-file message of `code` (FileErrorText) in one message box with an OK
// button and the program's title, followed by `detail` when given (what went wrong, in a
// sentence). The screen pointer goes back to normal first.
void ShowFileError(int code, std::string_view detail = {});

// The same for a failed read: the table's messages that speak of writing or of a full drive
// give way to one that says the file could not be read.
void ShowReadError(int code, std::string_view detail = {});

// The same for a failed write: a cause that the table has a message for (a full drive, a
// protected file, ...) keeps it; any other is told by `detail` alone, which names it, never
// under the title of a file that could not be opened.
void ShowWriteError(int code, std::string_view detail);

// The text for a book file that does not exist: it names the path and says that the open
// book stays.
std::string MissingBookText(std::string_view path);

}  // namespace qv
