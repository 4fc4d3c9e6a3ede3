#pragma once
// PrintHeader: the business heading at the top of a printed page, which the printed invoice
// and the running-balance ledger's print-out start with. From the printer's current
// position: an empty line, the business name in bold one point larger than the current
// size, then the address lines plain, then an empty line, every line right-aligned 730
// twips inside the printable width, in the book's font (which stays set afterwards).

#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "platform/drawing_surface.h"

namespace qv {

// How far inside the printable width the heading's lines end, in twips.
inline constexpr double kHeaderRightInset = 730;

void PrintHeader(DrawingSurface& printer, const Books& books);

// The lines of a text whose lines are separated by CR LF: none for an empty text, and an
// empty last line after a final CR LF.
std::vector<std::string> TextLines(std::string_view text);

// The text in lines no wider than `width` in the printer's current font, broken at blanks.
// A word wider than that stands on a line of its own, or, with `breakWords`, is broken
// between its characters (each line holding at least one).
std::vector<std::string> WrappedLines(const DrawingSurface& printer, std::string_view text,
                                      double width, bool breakWords = false);

}  // namespace qv
