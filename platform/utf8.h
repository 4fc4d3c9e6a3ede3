#pragma once
// Small helpers for UTF-8 texts, which the model keeps in std::string. Texts that count
// characters (entry numbers, group names) count code points, not bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

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

// Upper-cases ASCII letters and the Latin-1 and Latin Extended-A letters that have a
// one-to-one capital; other characters are kept. The character count never changes.
std::string ToUpperText(std::string_view text);

// Lower-cases the same set of letters.
std::string ToLowerText(std::string_view text);

}  // namespace qv
