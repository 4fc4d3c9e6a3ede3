#include "platform/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qv {
namespace {

int32_t LowerOf(int32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A alternates capital/small, with a shifted run from U+0139 to U+0148
    // and from U+0179 to U+017E.
    const bool shifted = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (shifted) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

template <typename Map>
std::string MapText(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Char c = DecodeUtf8At(text, pos);
    if (c.CodePoint < 0)
      out.append(text.substr(pos, c.Length));
    else
      AppendUtf8(out, map(c.CodePoint));
    pos += c.Length;
  }
  return out;
}

// The end of the run of plain ASCII bytes from `pos`, taken eight bytes a step: most texts
// of a book are nothing else.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
  while (pos + 8 <= text.size()) {
    uint64_t bytes;
    std::memcpy(&bytes, text.data() + pos, 8);
    if (bytes & 0x8080808080808080ull) break;
    pos += 8;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

// Moves `pos` on by up to `count` characters; returns how many it passed.
std::size_t Advance(std::string_view text, std::size_t& pos, std::size_t count) {
  std::size_t n = 0;
  while (n < count && pos < text.size()) {
    const std::size_t ascii = std::min(AsciiRunEnd(text, pos), pos + (count - n));
    n += ascii - pos;
    pos = ascii;
    if (n == count || pos == text.size()) break;
    pos += DecodeUtf8At(text, pos).Length;
    ++n;
  }
  return n;
}

}  // namespace

Utf8Char DecodeUtf8At(std::string_view s, std::size_t pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) return {b0, 1};
  std::size_t len;
  int32_t value;
  int32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, value = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, value = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, value = b0 & 0x07, min = 0x10000;
  } else {
    return {};
  }
  if (pos + len > s.size()) return {};
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) return {};
    value = (value << 6) | (b & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
  return {value, len};
}

void AppendUtf8(std::string& out, int32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t pos = 0;
  return Advance(text, pos, text.size());
}

std::size_t Utf8Offset(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  Advance(text, pos, count);
  return pos;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = AsciiRunEnd(text, 0); pos < text.size(); pos = AsciiRunEnd(text, pos)) {
    const Utf8Char c = DecodeUtf8At(text, pos);
    if (c.CodePoint < 0) return false;
    pos += c.Length;
  }
  return true;
}

std::string SanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Char c = DecodeUtf8At(text, pos);
    if (c.CodePoint < 0)
      out += "\xEF\xBF\xBD";
    else
      out.append(text.substr(pos, c.Length));
    pos += c.Length;
  }
  return out;
}

std::string FitToLength(std::string_view text, std::size_t count) {
  std::size_t cut = 0;
  const std::size_t have = Advance(text, cut, count);
  std::string out;
  out.reserve(cut + (count - have));
  out.append(text.substr(0, cut));
  out.append(count - have, ' ');
  return out;
}

std::string_view TrimAny(std::string_view text, std::string_view chars) {
  const std::size_t first = text.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(chars) - first + 1);
}

std::string ToLowerText(std::string_view text) { return MapText(text, LowerOf); }

}  // namespace qv
