#include "books/locale_symbols.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/utf8.h"

namespace qv {
namespace {

// One character of a UTF-8 text and its code point (-1 when malformed).
struct Character {
  std::string_view Text;
  int32_t CodePoint = -1;
};

std::vector<Character> CharactersOf(std::string_view text) {
  std::vector<Character> out;
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Char c = DecodeUtf8At(text, pos);
    out.push_back(Character{text.substr(pos, c.Length), c.CodePoint});
    pos += c.Length;
  }
  return out;
}

// A decimal digit of any of the scripts that locales write numbers in.
bool IsDigit(const Character& c) {
  static constexpr std::array<int32_t, 25> kZeros = {
      0x30,   0x660,  0x6F0,  0x7C0,  0x966,  0x9E6,  0xA66, 0xAE6, 0xB66,
      0xBE6,  0xC66,  0xCE6,  0xD66,  0xDE6,  0xE50,  0xED0, 0xF20, 0x1040,
      0x1090, 0x17E0, 0x1810, 0x19D0, 0x1B50, 0xA8D0, 0xFF10};
  for (const int32_t zero : kZeros)
    if (c.CodePoint >= zero && c.CodePoint <= zero + 9) return true;
  return false;
}

// Blanks and invisible direction marks, which some locales put around the sign.
bool IsBlankOrMark(const Character& c) {
  const int32_t cp = c.CodePoint;
  return cp == ' ' || cp == '\t' || cp == 0xA0 || cp == 0x61C || cp == 0x202F ||
         (cp >= 0x2000 && cp <= 0x200F);
}

std::string FirstSignCharacter(std::string_view text) {
  for (const Character& c : CharactersOf(text))
    if (!IsBlankOrMark(c)) return IsDigit(c) ? std::string() : std::string(c.Text);
  return {};
}

}  // namespace

std::string CurrencySignOf(const LocaleInfo& locale) {
  const std::vector<Character> chars = CharactersOf(locale.CurrencyZeroText);
  std::size_t first = 0;
  while (first < chars.size() && IsBlankOrMark(chars[first])) ++first;
  if (first < chars.size()) {
    if (!IsDigit(chars[first])) return std::string(chars[first].Text);
    // The sign follows the number: its last character, past a closing full stop.
    std::size_t last = chars.size();
    while (last > first && (IsBlankOrMark(chars[last - 1]) || chars[last - 1].Text == ".")) --last;
    if (last > first && !IsDigit(chars[last - 1])) return std::string(chars[last - 1].Text);
  }
  // Zero written as currency shows no sign (a locale without a currency writes just the
  // number): take the symbol itself, if the locale has one.
  return FirstSignCharacter(locale.CurrencySymbol);
}

std::string CurrencyLabelText(const LocaleInfo& locale) {
  const std::string sign = CurrencySignOf(locale);
  return sign.empty() ? std::string() : sign + " :";
}

LocaleSymbols LocaleSymbolsOf(const LocaleInfo& locale) {
  return LocaleSymbols{CurrencyLabelText(locale)};
}

}  // namespace qv
