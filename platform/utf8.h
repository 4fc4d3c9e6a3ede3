#pragma once
// Small helpers for UTF-8 texts, which the model keeps in std::string. Texts that count
// characters (entry numbers, group names) count code points, not bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// One character of a UTF-8 text: its code point, or -1 for a malformed byte, and its
// length in bytes (at least 1).
struct Utf8Char {
  int32_t CodePoint = -1;
  std::size_t Length = 1;
};

// The character that starts at byte `pos` (which must lie within the text). Overlong
// forms, surrogates and values above U+10FFFF are malformed.
Utf8Char DecodeUtf8At(std::string_view text, std::size_t pos);

// Appends the UTF-8 form of a code point (0 to U+10FFFF).
void AppendUtf8(std::string& out, int32_t codePoint);

// Number of code points; a malformed byte counts as one character.
std::size_t Utf8Length(std::string_view text);

// The byte offset of code point `count` (or text.size() when the text is shorter).
std::size_t Utf8Offset(std::string_view text, std::size_t count);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// The text with malformed sequences replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// The first `count` code points of the text, padded on the right with spaces to exactly
// `count` code points.
std::string FitToLength(std::string_view text, std::size_t count);

// The text without the leading and trailing characters that `chars` holds (ASCII
// characters, such as " \t").
std::string_view TrimAny(std::string_view text, std::string_view chars);

// Lower-cases the letters that have a one-to-one small letter among ASCII, Latin-1, Latin
// Extended-A, basic Greek and basic Cyrillic; other characters are kept. The character
// count never changes.
std::string ToLowerText(std::string_view text);

}  // namespace qv
