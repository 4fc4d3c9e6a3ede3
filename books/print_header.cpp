#include "books/print_header.h"

#include <algorithm>

#include "platform/utf8.h"

namespace qv {

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (;;) {
    const std::size_t end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 2);
  }
}

namespace {

// Appends `word` to `lines` in pieces no wider than `width`, each at least one character.
void AppendBrokenWord(const DrawingSurface& printer, std::string_view word, double width,
                      std::vector<std::string>& lines) {
  while (!word.empty()) {
    const std::size_t end = std::max(FitText(printer, word, width).size(), Utf8Offset(word, 1));
    lines.emplace_back(word.substr(0, end));
    word.remove_prefix(end);
  }
}

}  // namespace

std::vector<std::string> WrappedLines(const DrawingSurface& printer, std::string_view text,
                                      double width, bool breakWords) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(at, end - at);
    const std::string longer = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (printer.TextWidth(longer) <= width || (line.empty() && !breakWords)) {
      line = longer;
    } else if (breakWords && !word.empty() && printer.TextWidth(word) > width) {
      // The word's pieces follow what the line holds; its last piece starts the next line.
      if (!line.empty()) lines.push_back(line);
      AppendBrokenWord(printer, word, width, lines);
      line = lines.back();
      lines.pop_back();
    } else {
      if (!line.empty()) lines.push_back(line);
      line = std::string(word);
    }
    at = end + 1;
  }
  lines.push_back(line);
  return lines;
}

void PrintHeader(DrawingSurface& printer, const Books& books) {
  printer.Print("");
  printer.SetFontName(books.FontName);
  printer.SetFontCharset(books.FontCharset);
  printer.SetFontBold(true);
  const double right = printer.ScaleWidth() - kHeaderRightInset;
  printer.SetFontSize(printer.FontSize() + 1);
  // Right-aligned, or from the left edge when wider than the page.
  printer.SetCurrentX(std::max(0.0, right - printer.TextWidth(books.BusinessName)));
  printer.Print(books.BusinessName);
  printer.SetFontSize(printer.FontSize() - 1);
  printer.SetFontBold(false);
  for (const std::string& line : TextLines(books.BusinessAddress)) {
    printer.SetCurrentX(std::max(0.0, right - printer.TextWidth(line)));
    printer.Print(line);
  }
  printer.Print("");
}

}  // namespace qv
