#pragma once
// The text form of a book (.txt): every field of the book file except the two passwords, in
// plain UTF-8 lines that a person can read and edit: a title line, [Settings] as name=value
// lines, [Chart] with one line per slot, [Group 1] to [Group 10], [Journal] with one line per
// posting line, and [End]. Fields are separated by TABs; a backslash escapes TAB, line
// breaks, the backslash and other control characters. docs/file-formats.md describes it.
//
// Writing a text file, reading it and writing it again gives the same bytes; reading a
// written book gives the book back without its passwords.

#include <string_view>

#include "bookfiles/book_format.h"
#include "bookfiles/byte_source.h"

namespace qv {

// The title line, with the layout version.
inline constexpr std::string_view kTextTitle = "Quorvel book text, layout 6";

void WriteTextBook(const Books& books, const BookOutput::Consumer& consumer,
                   const ProgressFn& progress = {});

// Reads a text file from its first byte. Settings that the file leaves out keep the values
// of a new book; the passwords are empty. A failure names the first bad line. Progress
// counts bytes.
BookReadResult ReadTextBook(ByteSource& source, DaySerial today, const ProgressFn& progress = {});
BookReadResult ParseTextBook(std::string_view text, DaySerial today,
                             const ProgressFn& progress = {});

}  // namespace qv
