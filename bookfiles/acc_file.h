#pragma once
// The book file (.acc), layout version 6: the whole book in a little-endian binary form
// with a magic, the layout version, counts before lists, UTF-8 texts with byte lengths and
// a CRC-32 over the whole file at its end. docs/file-formats.md describes it byte by byte.
// Layout 5 and any other version are refused with a message that names the version.

#include <cstdint>
#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "bookfiles/byte_source.h"

namespace qv {

inline constexpr uint32_t kAccLayoutVersion = 6;
// The first eight bytes of every book file.
inline constexpr std::string_view kAccMagic{"\x89QVBK\r\n\x1a", 8};

// The file password as stored: every byte XORed with (167 + 59 * i) mod 256, i being the
// byte's position. Applying it twice gives the password back. It only hides the password
// from a casual look at the file; it is no encryption.
std::string ScramblePassword(std::string_view text);

// Writes the book in layout 6.
void WriteAccBook(const Books& books, const BookOutput::Consumer& consumer,
                  const ProgressFn& progress = {});

// Reads a book file from its first byte. Progress counts posting lines.
BookReadResult ReadAccBook(ByteSource& source, DaySerial today, const ProgressFn& progress = {});
BookReadResult ParseAccBook(std::string_view bytes, DaySerial today,
                            const ProgressFn& progress = {});

}  // namespace qv
