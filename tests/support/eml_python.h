#pragma once
// A message file as Python's standard e-mail parser reads it (email.message_from_bytes with
// the default policy, or the strict one), and a CSV file as Python's csv module reads it.
// Tests skip when python3 is not installed. DecodedEmlBody reads a message's body without
// Python.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/pdf_text.h"

namespace qv::testing {

inline constexpr const char* kNoPython = "python3 is not installed; the message file is not parsed";

inline bool PythonAvailable() { return std::system("command -v python3 >/dev/null 2>&1") == 0; }

// The lines a script printed, each "name<TAB>hex of UTF-8 value", as name -> value; the
// value of a repeated name is each value joined by "\n". Empty when a line is not of that
// form (a traceback).
inline std::map<std::string, std::string> HexFieldsOf(const std::string& out) {
  std::map<std::string, std::string> fields;
  std::map<std::string, int> seen;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end == std::string::npos ? end : end - at);
    at = end == std::string::npos ? out.size() : end + 1;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return {};
    std::string value;
    for (std::size_t k = tab + 1; k + 1 < line.size(); k += 2)
      value += static_cast<char>(std::stoi(line.substr(k, 2), nullptr, 16));
    const std::string name = line.substr(0, tab);
    std::string& field = fields[name];
    field += seen[name]++ == 0 ? value : "\n" + value;
  }
  return fields;
}

// The message under email.policy.strict, which refuses a message with any defect (the map is
// empty then): "Subject" decoded, "html" the decoded text of the HTML part, "encoding" its
// Content-Transfer-Encoding, "fields" the header names in order joined by ",", "longest" the
// longest line in bytes and "defects" the defects of the header values.
inline std::map<std::string, std::string> ParseEmlStrictlyWithPython(const std::string& path) {
  static const char* kScript =
      "import sys, email, email.policy\n"
      "raw = open(sys.argv[1], 'rb').read()\n"
      "m = email.message_from_bytes(raw, policy=email.policy.strict)\n"
      "part = m.get_body(('html',))\n"
      "f = {'Subject': str(m['Subject']), 'html': part.get_content(),\n"
      "     'encoding': str(part['Content-Transfer-Encoding']), 'fields': ','.join(m.keys()),\n"
      "     'longest': str(max(len(l) for l in raw.split(b'\\r\\n'))),\n"
      "     'defects': str(len(m.defects) + sum(len(m[k].defects) for k in m.keys()))}\n"
      "for k, v in f.items(): print(k + '\\t' + v.encode('utf-8').hex())\n";
  return HexFieldsOf(
      CommandOutput("python3 -c " + ShellQuoted(kScript) + " " + ShellQuoted(path) + " 2>&1"));
}

// A CSV file as a spreadsheet-minded reader sees it: "bom" "1" when it begins with the UTF-8
// byte-order mark; "row" the records, one a line, each cell as hex of its UTF-8 after a TAB
// (see CsvRowsOf); "live" the cells a spreadsheet would take for a formula, one a line: each
// that starts with =, +, -, @, TAB or CR and is not a signed figure.
inline std::map<std::string, std::string> ParseCsvWithPython(const std::string& path) {
  static const char* kScript =
      "import sys, csv, io, re\n"
      "data = open(sys.argv[1], 'rb').read()\n"
      "print('bom\\t' + (b'1' if data.startswith(b'\\xef\\xbb\\xbf') else b'0').hex())\n"
      "rows = list(csv.reader(io.StringIO(data.decode('utf-8-sig'), newline='')))\n"
      "for row in rows: print('row\\t' + ' '.join(c.encode('utf-8').hex() for c in "
      "row).encode().hex())\n"
      "for row in rows:\n"
      "  for c in row:\n"
      "    if c[:1] in ('=', '+', '-', '@', '\\t', '\\r') and not "
      "re.fullmatch(r'[+-][0-9][0-9.,]*', c):\n"
      "      print('live\\t' + c.encode('utf-8').hex())\n";
  return HexFieldsOf(
      CommandOutput("python3 -c " + ShellQuoted(kScript) + " " + ShellQuoted(path) + " 2>&1"));
}

// The records of ParseCsvWithPython's "row" value.
inline std::vector<std::vector<std::string>> CsvRowsOf(const std::string& rows) {
  std::vector<std::vector<std::string>> out;
  std::size_t at = 0;
  while (at <= rows.size() && !rows.empty()) {
    const std::size_t end = std::min(rows.find('\n', at), rows.size());
    std::vector<std::string> record(1);
    for (std::size_t k = at; k < end; ++k) {
      if (rows[k] == ' ') {
        record.emplace_back();
      } else if (k + 1 < end) {
        record.back() += static_cast<char>(std::stoi(rows.substr(k, 2), nullptr, 16));
        ++k;
      }
    }
    out.push_back(std::move(record));
    at = end + 1;
  }
  return out;
}

// The body of a message file, decoded when it is in base64 (CR LF line ends, as written).
inline std::string DecodedEmlBody(const std::string& message) {
  const std::size_t start = message.find("\r\n\r\n");
  if (start == std::string::npos) return {};
  const std::string body = message.substr(start + 4);
  if (message.substr(0, start).find("Content-Transfer-Encoding: base64") == std::string::npos)
    return body;
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : body) {
    const std::size_t v = kDigits.find(c);
    if (v == std::string::npos) continue;  // line ends and padding
    bits = bits << 6 | static_cast<uint32_t>(v);
    if ((count += 6) >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

// Field name -> value; "Content-Type" and "charset" as the parser understood them, "body"
// the decoded body, "defects" the count. Empty when the parser failed.
inline std::map<std::string, std::string> ParseEmlWithPython(const std::string& path) {
  static const char* kScript =
      "import sys, email, email.policy\n"
      "m = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=email.policy.default)\n"
      "f = {k: str(m[k]) for k in ['Reply-To', 'To', 'From', 'Subject', 'Date', 'X-Mailer',\n"
      "     'MIME-Version', 'X-Unsent', 'X-MimeOLE']}\n"
      "f['Content-Type'] = m.get_content_type()\n"
      "f['charset'] = str(m.get_content_charset())\n"
      "f['body'] = m.get_content()\n"
      "f['defects'] = str(len(m.defects) + sum(len(m[k].defects) for k in m.keys()\n"
      "                  if k not in ('Date', 'From', 'To', 'Reply-To')))\n"
      "for k, v in f.items(): print(k + '\\t' + v.encode('utf-8').hex())\n";
  return HexFieldsOf(
      CommandOutput("python3 -c " + ShellQuoted(kScript) + " " + ShellQuoted(path) + " 2>&1"));
}

}  // namespace qv::testing
