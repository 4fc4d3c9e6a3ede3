#include "books/print_header.h"

#include <algorithm>

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
