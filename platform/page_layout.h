#pragma once
// Lays a drawing out on printed pages. A print command draws its whole document once, from
// the top down, on a surface as wide as the printable page and as tall as the document
// needs; LayOutPages then cuts that drawing into pages of the printable height. A page ends
// above the first text, line or box that would run past its foot, so nothing is cut there,
// and each further page starts with the drawing's page heading (what was drawn between
// DrawingSurface::BeginPageHeading and EndPageHeading), when one was marked above the cut.
//
// A NewPage or EndDoc in the drawing starts a new page of its own; the part after it is laid
// out from its top again, with no heading until it marks one. Only a single line or box
// taller than a page is cut at the page foot: there is no better place for it. A text taller
// than the page does not fit down it, and nothing is laid out.
//
// A part wider than the page is cut across too, between the columns it marked with
// DrawingSurface::SetPageColumns: as many whole columns as the page's width holds make a
// band, and each band is printed on pages of its own, band after band, every band's pages
// holding the same rows as the first band's. The marked first columns (the names) are
// repeated at the left of every further band when they leave room for another column. The
// texts drawn above the mark (the title) stand on every band as they were drawn, lines and
// boxes above it on the first band. Lines and boxes are cut at a band's edges; a text never
// is.
// A part without the mark is one column. When a column, or a text above the columns, is
// wider than the page, the drawing does not fit across and nothing is laid out.

#include <vector>

#include "platform/drawing_surface.h"

namespace qv {

// The printable area of a page, in the surface's units, and the size of one device pixel:
// a drawing that stands less than a pixel past the area still fits (FitsWithinPixel).
struct PageArea {
  double Width = 0;
  double Height = 0;
  double Pixel = 1;
};

// Which way a drawing does not fit its page.
enum class PageOverrun {
  None,
  Across,  // a column, or a text above the columns, is wider than the page
  Down,    // a text is taller than the page
};

struct LaidOutPages {
  // The drawing's operations moved to their page, pages separated by NewPage, TextOp::Page
  // counting the pages from 0, heading and column marks dropped and no EndDoc.
  std::vector<DrawOp> Ops;
  // False when the drawing does not fit the page (see above); Ops is then empty and
  // Overrun says which way (across when it fits neither way).
  bool Fits = true;
  PageOverrun Overrun = PageOverrun::None;
};

// The drawing as pages of `page`. A height that is not a positive number leaves the drawing
// on one page down, a width that is not one leaves it in one band across.
LaidOutPages LayOutPages(const std::vector<DrawOp>& drawing, const PageArea& page);

// The drawing as pages of `pageHeight`, however wide it is.
std::vector<DrawOp> LayOutPages(const std::vector<DrawOp>& drawing, double pageHeight);

// The number of pages of a laid-out drawing (NewPage count + 1; 0 for an empty one).
int PageCountOf(const std::vector<DrawOp>& pages);

// What the printer is sent for `copies` copies of laid-out pages. For a printer each copy is
// a print job of its own (ended by EndDoc); for a file (`oneJob`) the copies follow one
// another in one job, each starting on a new page. Fewer than one copy gives nothing.
std::vector<DrawOp> CopiesOf(const std::vector<DrawOp>& pages, int copies, bool oneJob);

}  // namespace qv
