#pragma once
// Reads the text forms of a table back for tests: CSV records into fields (RFC 4180), and
// the text of an RTF document with its table cells and paragraphs.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/utf8.h"

namespace qv::testing {

// The records of a CSV text, each a list of fields, after the byte-order mark when there is
// one. Fails the test on a stray quote or a record that does not end with CR LF.
inline std::vector<std::vector<std::string>> ParseCsv(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) {
          ADD_FAILURE() << "a quoted field runs to the end";
          return records;
        }
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field.push_back('"');
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field.push_back(text[i]);
        }
      }
    }
    while (i < text.size() && text[i] != ',' && text[i] != '\r') {
      if (text[i] == '"' || text[i] == '\n') ADD_FAILURE() << "a stray quote or LF at " << i;
      field.push_back(text[i++]);
    }
    record.push_back(std::move(field));
    field.clear();
    if (i < text.size() && text[i] == ',') {
      ++i;
      continue;
    }
    EXPECT_EQ(text.substr(i, 2), "\r\n") << "a record ends with CR LF";
    i += 2;
    records.push_back(std::move(record));
    record.clear();
  }
  return records;
}

// The text of an RTF document: the text of every group except the font table, with \par
// and \row as LF, \cell as TAB, \line as LF and \uN? as the character (UTF-16 pairs joined).
// Fails the test when braces do not balance.
inline std::string RtfPlainText(std::string_view rtf) {
  std::string out;
  int depth = 0;
  int skipDepth = -1;  // inside the font table
  int32_t highSurrogate = 0;
  for (std::size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{') {
      ++depth;
      ++i;
      if (rtf.substr(i, 8) == "\\fonttbl" && skipDepth < 0) skipDepth = depth;
      continue;
    }
    if (c == '}') {
      if (depth == skipDepth) skipDepth = -1;
      --depth;
      EXPECT_GE(depth, 0) << "a closing brace without its opening one at " << i;
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    const bool skipping = skipDepth >= 0;
    if (c != '\\') {
      if (!skipping) out.push_back(c);
      ++i;
      continue;
    }
    // A control symbol or word.
    ++i;
    if (i >= rtf.size()) break;
    if (rtf[i] == '\\' || rtf[i] == '{' || rtf[i] == '}') {
      if (!skipping) out.push_back(rtf[i]);
      ++i;
      continue;
    }
    std::size_t start = i;
    while (i < rtf.size() && ((rtf[i] >= 'a' && rtf[i] <= 'z'))) ++i;
    const std::string word(rtf.substr(start, i - start));
    std::size_t numberStart = i;
    if (i < rtf.size() && rtf[i] == '-') ++i;
    while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9') ++i;
    const std::string number(rtf.substr(numberStart, i - numberStart));
    if (i < rtf.size() && rtf[i] == ' ') ++i;  // the delimiter belongs to the word
    if (skipping) continue;
    if (word == "par" || word == "row" || word == "line") {
      out.push_back('\n');
    } else if (word == "cell") {
      out.push_back('\t');
    } else if (word == "tab") {
      out.push_back('\t');
    } else if (word == "u") {
      int32_t unit = std::stoi(number);
      if (unit < 0) unit += 0x10000;
      if (i < rtf.size() && rtf[i] == '?') ++i;  // the fallback character (\uc1)
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate = unit;
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
      } else {
        AppendUtf8(out, unit);
      }
    }
  }
  EXPECT_EQ(depth, 0) << "braces balance";
  return out;
}

}  // namespace qv::testing
