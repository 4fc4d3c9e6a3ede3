#pragma once
// A message file as Python's standard e-mail parser reads it (email.message_from_bytes with
// the default policy): the header fields, the content type and charset, the decoded body and
// the number of defects the parser found. Tests skip when python3 is not installed.

#include <map>
#include <string>

#include "tests/support/pdf_text.h"

namespace qv::testing {

inline constexpr const char* kNoPython = "python3 is not installed; the message file is not parsed";

inline bool PythonAvailable() { return std::system("command -v python3 >/dev/null 2>&1") == 0; }

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
  const std::string out =
      CommandOutput("python3 -c " + ShellQuoted(kScript) + " " + ShellQuoted(path) + " 2>&1");
  std::map<std::string, std::string> fields;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end == std::string::npos ? end : end - at);
    at = end == std::string::npos ? out.size() : end + 1;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return {};  // a traceback
    std::string value;
    for (std::size_t k = tab + 1; k + 1 < line.size(); k += 2)
      value += static_cast<char>(std::stoi(line.substr(k, 2), nullptr, 16));
    fields[line.substr(0, tab)] = value;
  }
  return fields;
}

}  // namespace qv::testing
