#pragma once
// Printed output in tests: the tests' output folder (QV_TEST_OUTPUT), where PDF and message
// files are kept for a reader to open after the run, and the text and page count of a PDF
// file as poppler's tools read them (pdftotext -layout, pdfinfo; ./test installs them).
//
//   if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
//   const std::vector<std::string> pages = PdfPageTexts(path);

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace qv::testing {

inline constexpr const char* kNoPdfTools =
    "pdftotext and pdfinfo (poppler-utils) are not installed; ./test installs them";

// A path in the tests' output folder (the system's temporary folder when it is not set).
inline std::string TestOutputPath(const std::string& name) {
  const char* folder = std::getenv("QV_TEST_OUTPUT");
  const std::filesystem::path base =
      folder && *folder ? std::filesystem::path(folder) : std::filesystem::temp_directory_path();
  return (base / name).string();
}

// The standard output of a shell command line ("" when it cannot run).
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

// The path quoted for the shell.
inline std::string ShellQuoted(const std::string& path) {
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline bool PdfToolsAvailable() {
  return std::system(
             "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

// The text of each page (pdftotext -layout), in page order.
inline std::vector<std::string> PdfPageTexts(const std::string& path) {
  const std::string text =
      CommandOutput("pdftotext -layout " + ShellQuoted(path) + " - 2>/dev/null");
  std::vector<std::string> pages;
  std::string page;
  for (char c : text) {
    if (c == '\f') {
      pages.push_back(page);
      page.clear();
    } else {
      page += c;
    }
  }
  if (!page.empty()) pages.push_back(page);
  return pages;
}

// The text with the typographic ligatures that the PDF reader gives ("ﬃ") spelt out.
inline std::string WithoutLigatures(std::string text) {
  for (auto [ligature, letters] : {std::pair{"\uFB00", "ff"},
                                   {"\uFB01", "fi"},
                                   {"\uFB02", "fl"},
                                   {"\uFB03", "ffi"},
                                   {"\uFB04", "ffl"}})
    for (std::size_t at; (at = text.find(ligature)) != std::string::npos;)
      text.replace(at, std::strlen(ligature), letters);
  return text;
}

// The page count that pdfinfo reports; -1 when it cannot read the file.
inline int PdfPageCount(const std::string& path) {
  std::istringstream info(CommandOutput("pdfinfo " + ShellQuoted(path) + " 2>/dev/null"));
  for (std::string line; std::getline(info, line);)
    if (line.rfind("Pages:", 0) == 0) return std::atoi(line.c_str() + 6);
  return -1;
}

// The page size in points that pdfinfo reports ("612 x 792"); "" when unknown.
inline std::string PdfPageSize(const std::string& path) {
  std::istringstream info(CommandOutput("pdfinfo " + ShellQuoted(path) + " 2>/dev/null"));
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("Page size:", 0) != 0) continue;
    const std::size_t from = line.find_first_not_of(' ', 10);
    const std::size_t to = line.find(" pts");
    if (from != std::string::npos && to != std::string::npos) return line.substr(from, to - from);
  }
  return {};
}

}  // namespace qv::testing
