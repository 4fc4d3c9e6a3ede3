#pragma once
// Lays a drawing out on printed pages. A print command draws its whole document once, from
// the top down, on a surface as wide as the printable page and as tall as the document
// needs; LayOutPages then cuts that drawing into pages of the printable height. A page ends
// above the first text, line or box that would run past its foot, so nothing is cut there,
// and each further page starts with the drawing's page heading (what was drawn between
// DrawingSurface::BeginPageHeading and EndPageHeading), when one was marked above the cut.
//
// A NewPage or EndDoc in the drawing starts a new page of its own; the part after it is laid
// out from its top again, with no heading until it marks one. Only a single item taller than
// a page is cut at the page foot: there is no better place for it.

#include <vector>

#include "platform/drawing_surface.h"

namespace qv {

// The drawing as pages of `pageHeight` (the surface's units): its operations moved up to
// their page, pages separated by NewPage, TextOp::Page counting the pages from 0, heading
// marks dropped and no EndDoc. A page height that is not a positive number leaves the
// drawing on one page.
std::vector<DrawOp> LayOutPages(const std::vector<DrawOp>& drawing, double pageHeight);

// The number of pages of a laid-out drawing (NewPage count + 1; 0 for an empty one).
int PageCountOf(const std::vector<DrawOp>& pages);

// What the printer is sent for `copies` copies of laid-out pages. For a printer each copy is
// a print job of its own (ended by EndDoc); for a file (`oneJob`) the copies follow one
// another in one job, each starting on a new page. Fewer than one copy gives nothing.
std::vector<DrawOp> CopiesOf(const std::vector<DrawOp>& pages, int copies, bool oneJob);

}  // namespace qv
