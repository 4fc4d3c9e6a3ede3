#include "platform/page_layout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <tuple>

namespace qv {

namespace {

struct Span {
  double Top = 0, Bottom = 0;
};

// The rows an operation covers; nothing for operations without a position, and for
// positions that are not finite numbers (those stay on the first page as they are).
std::optional<Span> SpanOf(const DrawOp& op) {
  double top = 0, bottom = 0;
  if (const auto* text = std::get_if<TextOp>(&op)) {
    top = text->Y;
    bottom = text->Y + std::max(0.0, text->Height);
  } else if (const auto* line = std::get_if<LineOp>(&op)) {
    std::tie(top, bottom) = std::minmax(line->Y1, line->Y2);
  } else if (const auto* box = std::get_if<BoxOp>(&op)) {
    std::tie(top, bottom) = std::minmax(box->Y1, box->Y2);
  } else if (const auto* filled = std::get_if<FilledBoxOp>(&op)) {
    std::tie(top, bottom) = std::minmax(filled->Y1, filled->Y2);
  } else if (const auto* pixel = std::get_if<PixelOp>(&op)) {
    top = bottom = pixel->Y;
  } else if (const auto* picture = std::get_if<PictureOp>(&op)) {
    top = bottom = picture->Y;
  } else {
    return std::nullopt;
  }
  if (!std::isfinite(top) || !std::isfinite(bottom)) return std::nullopt;
  return Span{top, bottom};
}

// The operation moved right by `dx` and down by `dy`.
DrawOp Offset(DrawOp op, double dx, double dy) {
  if (auto* text = std::get_if<TextOp>(&op)) {
    text->X += dx;
    text->Y += dy;
  } else if (auto* line = std::get_if<LineOp>(&op)) {
    line->X1 += dx;
    line->X2 += dx;
    line->Y1 += dy;
    line->Y2 += dy;
  } else if (auto* box = std::get_if<BoxOp>(&op)) {
    box->X1 += dx;
    box->X2 += dx;
    box->Y1 += dy;
    box->Y2 += dy;
  } else if (auto* filled = std::get_if<FilledBoxOp>(&op)) {
    filled->X1 += dx;
    filled->X2 += dx;
    filled->Y1 += dy;
    filled->Y2 += dy;
  } else if (auto* pixel = std::get_if<PixelOp>(&op)) {
    pixel->X += dx;
    pixel->Y += dy;
  } else if (auto* picture = std::get_if<PictureOp>(&op)) {
    picture->X += dx;
    picture->Y += dy;
  }
  return op;
}

// The operation moved down by `dy` onto page `page`.
DrawOp Moved(const DrawOp& op, double dy, int page) {
  DrawOp moved = Offset(op, 0, dy);
  if (auto* text = std::get_if<TextOp>(&moved)) {
    text->Page = page;
    text->Document = 0;
  }
  return moved;
}

bool IsBreak(const DrawOp& op) {
  return std::holds_alternative<NewPageOp>(op) || std::holds_alternative<EndDocOp>(op);
}

// The part of a line or box from x = lo to x = hi, both included; nothing when none of it
// is there, or only an edge of a box that is wider than that.
template <class Box>
std::optional<DrawOp> BoxWithin(Box box, double lo, double hi) {
  const auto [left, right] = std::minmax(box.X1, box.X2);
  const double from = std::max(left, lo), to = std::min(right, hi);
  if (from > to || (from == to && left < right)) return std::nullopt;
  box.X1 = from;
  box.X2 = to;
  return box;
}

std::optional<DrawOp> Within(const DrawOp& op, double lo, double hi) {
  if (const auto* line = std::get_if<LineOp>(&op)) {
    if (line->X1 == line->X2) {
      if (line->X1 < lo || line->X1 > hi) return std::nullopt;
      return op;
    }
    // The line's stretch between the two x positions, its ends moved along it.
    LineOp cut = *line;
    const auto at = [&](double x) {
      return line->Y1 + (line->Y2 - line->Y1) * (x - line->X1) / (line->X2 - line->X1);
    };
    const bool rightwards = line->X1 < line->X2;
    double& start = rightwards ? cut.X1 : cut.X2;
    double& startY = rightwards ? cut.Y1 : cut.Y2;
    double& end = rightwards ? cut.X2 : cut.X1;
    double& endY = rightwards ? cut.Y2 : cut.Y1;
    if (start < lo) {
      startY = at(lo);
      start = lo;
    }
    if (end > hi) {
      endY = at(hi);
      end = hi;
    }
    if (start >= end) return std::nullopt;
    return cut;
  }
  if (const auto* box = std::get_if<BoxOp>(&op)) return BoxWithin(*box, lo, hi);
  if (const auto* filled = std::get_if<FilledBoxOp>(&op)) return BoxWithin(*filled, lo, hi);
  return op;
}

bool IsStretch(const DrawOp& op) {
  return std::holds_alternative<LineOp>(op) || std::holds_alternative<BoxOp>(op) ||
         std::holds_alternative<FilledBoxOp>(op);
}

// Where an operation that stands at one point across (a text, a pixel, a picture) is: x
// and, for a text, its width; nothing for the others.
std::optional<std::pair<double, double>> PlaceAcross(const DrawOp& op) {
  if (const auto* text = std::get_if<TextOp>(&op))
    return std::pair(text->X, std::max(0.0, text->Width));
  if (const auto* pixel = std::get_if<PixelOp>(&op)) return std::pair(pixel->X, 0.0);
  if (const auto* picture = std::get_if<PictureOp>(&op)) return std::pair(picture->X, 0.0);
  return std::nullopt;
}

// Whether an operation starts above `top` (one without a finite place does not).
bool StartsAbove(const DrawOp& op, double top) {
  const std::optional<Span> span = SpanOf(op);
  return span && span->Top < top;
}

// How a part of a drawing is cut across into bands of whole columns (see the header).
class Bands {
 public:
  // `pixel` is what a text may stand past the page's edge: a device pixel, no more.
  Bands(const std::vector<DrawOp>& drawing, std::size_t begin, std::size_t end, double width,
        double pixel)
      : begin_(begin), slack_(pixel) {
    if (!(width > 0) || !std::isfinite(width)) return;
    const PageColumnsOp* mark = nullptr;
    bool inside = true;
    for (std::size_t i = begin; i < end; ++i) {
      if (const auto* columns = std::get_if<PageColumnsOp>(&drawing[i])) mark = columns;
      if (const auto place = PlaceAcross(drawing[i]); place && std::isfinite(place->first))
        inside = inside && place->first >= -slack_ &&
                 FitsWithinPixel(place->first + place->second, width, slack_);
    }
    if (inside) return;
    std::vector<double> edges;
    if (mark)
      for (double edge : mark->Edges)
        if (std::isfinite(edge)) edges.push_back(edge);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() < 2) {
      fits_ = false;  // one column, wider than the page
      return;
    }
    edges_ = std::move(edges);
    top_ = mark->Y;
    const int columns = static_cast<int>(edges_.size()) - 1;
    // Each column reaches from its left edge to its right one, or past them as its texts do.
    std::vector<double> left(edges_.begin(), edges_.end() - 1),
        right(edges_.begin() + 1, edges_.end());
    double aboveLeft = 0, aboveRight = 0;
    where_.assign(end - begin, kUnplaced);
    for (std::size_t i = begin; i < end; ++i) {
      if (IsStretch(drawing[i])) {
        where_[i - begin] = StartsAbove(drawing[i], top_) ? kStretchAbove : kStretch;
        continue;
      }
      const auto place = PlaceAcross(drawing[i]);
      if (!place || !std::isfinite(place->first)) continue;
      const auto [x, w] = *place;
      if (StartsAbove(drawing[i], top_)) {
        aboveLeft = std::min(aboveLeft, x);
        aboveRight = std::max(aboveRight, x + w);
        where_[i - begin] = kEvery;  // the title, on every band
        continue;
      }
      const int c = ColumnAt(x);
      where_[i - begin] = c;
      left[static_cast<std::size_t>(c)] = std::min(left[static_cast<std::size_t>(c)], x);
      right[static_cast<std::size_t>(c)] = std::max(right[static_cast<std::size_t>(c)], x + w);
    }
    // What stands above the columns is on every band as it was drawn, so it must fit.
    if (aboveLeft < -slack_ || !FitsWithinPixel(aboveRight, width, slack_)) {
      fits_ = false;
      return;
    }
    const int repeated = std::clamp(mark->Repeated, 0, columns - 1);
    fits_ = Plan(left, right, width, repeated) || (repeated > 0 && Plan(left, right, width, 0));
    if (!fits_) return;
    // Which band each text stands on, or every band (the repeated columns).
    for (int& at : where_)
      if (at >= 0) at = at < repeated_ ? kEvery : BandOfColumn(at);
  }

  bool Fits() const { return fits_; }
  int Count() const { return bands_.empty() ? 1 : static_cast<int>(bands_.size()); }

  // Appends operation `index` of the drawing, already moved down to its page, as band
  // `band` shows it.
  void Append(std::vector<DrawOp>& out, std::size_t index, DrawOp op, int band) const {
    if (std::holds_alternative<PageColumnsOp>(op)) return;
    if (bands_.empty()) {
      out.push_back(std::move(op));
      return;
    }
    const Band& b = bands_[static_cast<std::size_t>(band)];
    const double repeatedEdge = edges_[static_cast<std::size_t>(repeated_)];
    const int at = where_[index - begin_];
    if (at == kStretch || at == kStretchAbove) {
      // The band's own stretch (all of it above the columns, on the first band), then, on a
      // further band, the stretch of the repeated columns.
      if (band == 0 && at == kStretchAbove) {
        out.push_back(std::move(op));
        return;
      }
      if (at == kStretch)
        if (auto part = Within(op, b.Lo, b.Hi)) out.push_back(Offset(*part, b.Shift, 0));
      if (band > 0 && repeated_ > 0)
        if (auto part = Within(op, -kInfinity, repeatedEdge)) out.push_back(std::move(*part));
      return;
    }
    if (at == kUnplaced || at == kEvery) {
      out.push_back(std::move(op));
    } else if (at == band) {
      out.push_back(Offset(op, b.Shift, 0));
    }
  }

 private:
  // Where an operation stands, when not on one band: on every band as it is (no position, in
  // the repeated columns, or a text above the columns), or a line or box (below or above
  // them).
  static constexpr int kUnplaced = -1, kEvery = -2, kStretch = -3, kStretchAbove = -4;
  static constexpr double kInfinity = std::numeric_limits<double>::infinity();

  struct Band {
    int First = 0, End = 0;  // columns
    double Shift = 0;        // added to x
    double Lo = 0, Hi = 0;   // the stretch of the drawing it shows
  };

  int ColumnAt(double x) const {
    const auto after = std::upper_bound(edges_.begin(), edges_.end(), x + slack_);
    const int c = static_cast<int>(after - edges_.begin()) - 1;
    return std::clamp(c, 0, static_cast<int>(edges_.size()) - 2);
  }
  int BandOfColumn(int column) const {
    for (std::size_t b = 0; b < bands_.size(); ++b)
      if (column < bands_[b].End) return static_cast<int>(b);
    return static_cast<int>(bands_.size()) - 1;
  }

  // Bands of whole columns, each as many as the width holds, with the first `repeated`
  // columns again on every further band; false when a column does not fit.
  bool Plan(const std::vector<double>& left, const std::vector<double>& right, double width,
            int repeated) {
    bands_.clear();
    repeated_ = repeated;
    const int columns = static_cast<int>(left.size());
    for (int first = 0; first < columns;) {
      const double shift = first == 0 ? 0.0
                                      : edges_[static_cast<std::size_t>(repeated)] -
                                            edges_[static_cast<std::size_t>(first)];
      if (left[static_cast<std::size_t>(first)] + shift < -slack_) return false;
      int end = first;
      double reach = -kInfinity;
      while (end < columns) {
        reach = std::max(reach, right[static_cast<std::size_t>(end)]);
        if (!FitsWithinPixel(reach + shift, width, slack_)) break;
        ++end;
      }
      if (end == first || (first == 0 && end < repeated)) return false;
      bands_.push_back(Band{first, end, shift, edges_[static_cast<std::size_t>(first)],
                            edges_[static_cast<std::size_t>(end)]});
      first = end;
    }
    bands_.front().Lo = -kInfinity;
    bands_.back().Hi = kInfinity;
    return true;
  }

  std::size_t begin_;
  double slack_;
  bool fits_ = true;
  std::vector<double> edges_;
  double top_ = 0;
  int repeated_ = 0;
  std::vector<Band> bands_;  // none: the part stands in one band as it was drawn
  std::vector<int> where_;   // per operation: a band, or one of the places above
};

struct Heading {
  double Top = 0, Bottom = 0;
  std::vector<std::size_t> Ops;  // indexes into the drawing
  bool Empty() const { return !(Bottom > Top); }
};

// One part of the drawing between page breaks, laid out from its own top.
class Segment {
 public:
  Segment(const std::vector<DrawOp>& drawing, std::size_t begin, std::size_t end, double pageHeight,
          double pixel)
      : drawing_(drawing), begin_(begin), end_(end), pageHeight_(pageHeight), pixel_(pixel) {
    Gather();
  }

  bool Empty() const { return empty_; }

  // True when a text of the segment is taller than the page by more than a device pixel.
  bool HasTextTallerThanPage() const {
    if (!(pageHeight_ > 0) || !std::isfinite(pageHeight_)) return false;
    return std::any_of(drawing_.begin() + static_cast<std::ptrdiff_t>(begin_),
                       drawing_.begin() + static_cast<std::ptrdiff_t>(end_), [&](const DrawOp& op) {
                         const auto* text = std::get_if<TextOp>(&op);
                         return text && !FitsWithinPixel(text->Height, pageHeight_, pixel_);
                       });
  }

  // Appends the segment's pages to `out`, numbering them from `firstPage`, band after band
  // when `bands` cut it across; returns the number of pages.
  int AppendPages(std::vector<DrawOp>& out, int firstPage, const Bands& bands) {
    PlanPages();
    std::vector<std::vector<std::size_t>> onPage(pages_.size());
    for (std::size_t i = begin_; i < end_; ++i) {
      if (std::holds_alternative<PageHeadingOp>(drawing_[i])) continue;
      const std::optional<Span> span = spans_[i - begin_];
      onPage[span ? PageOf(span->Top) : 0].push_back(i);
    }
    const int down = static_cast<int>(pages_.size());
    for (int band = 0; band < bands.Count(); ++band) {
      for (int p = 0; p < down; ++p) {
        const int page = firstPage + band * down + p;
        const Page& laid = pages_[static_cast<std::size_t>(p)];
        if (page > 0) out.emplace_back(NewPageOp{});
        if (laid.HeadingIndex >= 0) {
          const Heading& heading = headings_[static_cast<std::size_t>(laid.HeadingIndex)];
          for (std::size_t i : heading.Ops)
            bands.Append(out, i, Moved(drawing_[i], -heading.Top, page), band);
        }
        for (std::size_t i : onPage[static_cast<std::size_t>(p)]) {
          const bool positioned = spans_[i - begin_].has_value();
          bands.Append(out, i, Moved(drawing_[i], positioned ? laid.Shift : 0.0, page), band);
        }
      }
    }
    return down * bands.Count();
  }

 private:
  struct Page {
    double Start = 0;  // where the page starts in the drawing
    double Shift = 0;  // added to the drawing's Y on the page
    int HeadingIndex = -1;
  };

  void Gather() {
    std::optional<Heading> open;
    spans_.resize(end_ - begin_);
    for (std::size_t i = begin_; i < end_; ++i) {
      const DrawOp& op = drawing_[i];
      if (std::holds_alternative<PageColumnsOp>(op)) continue;
      if (const auto* mark = std::get_if<PageHeadingOp>(&op)) {
        if (mark->Begin) {
          open = Heading{mark->Y, mark->Y, {}};
        } else if (open) {
          open->Bottom = std::isfinite(mark->Y) ? mark->Y : open->Top;
          if (!std::isfinite(open->Top)) open->Bottom = open->Top = 0;
          headings_.push_back(std::move(*open));
          open.reset();
        }
        continue;
      }
      empty_ = false;
      spans_[i - begin_] = SpanOf(op);
      if (const auto& span = spans_[i - begin_]) items_.push_back(*span);
      if (open) open->Ops.push_back(i);
    }
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Span& a, const Span& b) { return a.Top < b.Top; });
    tops_.reserve(items_.size());
    reachBefore_.reserve(items_.size());
    double reach = -std::numeric_limits<double>::infinity();
    for (const Span& item : items_) {
      tops_.push_back(item.Top);
      reach = std::max(reach, item.Bottom);
      reachBefore_.push_back(reach);
    }
    reachFrom_.assign(items_.size() + 1, -std::numeric_limits<double>::infinity());
    for (std::size_t k = items_.size(); k-- > 0;)
      reachFrom_[k] = std::max(reachFrom_[k + 1], items_[k].Bottom);
  }

  // The index of the first item whose top is at or below y.
  std::size_t FirstAt(double y) const {
    return static_cast<std::size_t>(std::lower_bound(tops_.begin(), tops_.end(), y) -
                                    tops_.begin());
  }
  // True when a cut at y would go through an item (one that starts above y ends below it).
  bool Cuts(double y) const {
    const std::size_t k = FirstAt(y);
    return k > 0 && reachBefore_[k - 1] > y;
  }

  // The page an item starting at `top` lands on: the last page starting at or above it.
  std::size_t PageOf(double top) const {
    const auto after = std::upper_bound(pages_.begin() + 1, pages_.end(), top,
                                        [](double y, const Page& page) { return y < page.Start; });
    return static_cast<std::size_t>(after - pages_.begin()) - 1;
  }

  // Where the page that starts at `start` and may fill down to `limit` ends.
  double PageEnd(double start, double limit) const {
    // The page keeps at least its first item.
    const std::size_t firstItem = FirstAt(start);
    const double floor = firstItem < tops_.size() ? std::max(start, tops_[firstItem]) : start;
    double end = limit;
    if (Cuts(limit)) {
      bool found = false;
      for (std::size_t k = FirstAt(limit); k-- > 0 && tops_[k] > floor;) {
        if (!Cuts(tops_[k])) {
          end = tops_[k];
          found = true;
          break;
        }
      }
      // Only an item taller than the page is left: it is cut at the foot, and the next page
      // starts with what follows it rather than with the rest of it.
      if (!found) {
        const std::size_t next = FirstAt(limit);
        if (next < tops_.size()) end = tops_[next];
        return end;
      }
    }
    // A heading is not left at a page foot without a line under it: the page ends above it.
    for (auto h = headings_.rbegin(); h != headings_.rend(); ++h) {
      if (h->Empty() || !(h->Top > floor) || !(h->Top < end)) continue;
      const bool alone = end <= h->Bottom || FirstAt(end) == FirstAt(h->Bottom);
      if (alone && !Cuts(h->Top)) end = h->Top;
      break;
    }
    return end;
  }

  // The heading repeated on a page that starts at `start`: the last one marked above it,
  // unless a heading of its own starts the page.
  int HeadingAt(double start) const {
    const std::size_t next = FirstAt(start);
    const double firstTop =
        next < tops_.size() ? tops_[next] : std::numeric_limits<double>::infinity();
    int found = -1;
    for (std::size_t h = 0; h < headings_.size(); ++h) {
      const Heading& heading = headings_[h];
      if (heading.Top >= start && heading.Top <= firstTop) return -1;
      if (heading.Bottom <= start && heading.Top < start) found = static_cast<int>(h);
    }
    if (found < 0) return -1;
    const Heading& heading = headings_[static_cast<std::size_t>(found)];
    // A heading that would fill half the page is not repeated, so every page moves on.
    if (heading.Empty() || heading.Bottom - heading.Top >= pageHeight_ / 2) return -1;
    return found;
  }

  void PlanPages() {
    pages_.clear();
    pages_.push_back(Page{-std::numeric_limits<double>::infinity(), 0, -1});
    if (!(pageHeight_ > 0) || !std::isfinite(pageHeight_)) return;
    if (items_.empty()) return;
    // The first page holds the drawing from its top (above 0 too) down to the page height.
    double start = std::min(0.0, tops_.front());
    double limit = pageHeight_;
    for (bool first = true;; first = false) {
      const std::size_t rest = first ? 0 : FirstAt(start);
      if (rest >= items_.size() || FitsWithinPixel(reachFrom_[rest], limit, pixel_)) return;
      double end = PageEnd(start, limit + pixel_);
      if (!(end > start)) end = limit;  // every page moves on
      const int heading = HeadingAt(end);
      const double headingHeight = heading >= 0
                                       ? headings_[static_cast<std::size_t>(heading)].Bottom -
                                             headings_[static_cast<std::size_t>(heading)].Top
                                       : 0.0;
      pages_.push_back(Page{end, headingHeight - end, heading});
      start = end;
      limit = start + pageHeight_ - headingHeight;
    }
  }

  const std::vector<DrawOp>& drawing_;
  std::size_t begin_, end_;
  double pageHeight_;
  double pixel_;  // what an item may reach past the page's foot
  bool empty_ = true;
  std::vector<std::optional<Span>> spans_;  // per operation of the segment
  std::vector<Span> items_;                 // the positioned operations, by top
  std::vector<double> tops_;
  std::vector<double> reachBefore_;  // the lowest bottom of items 0..k
  std::vector<double> reachFrom_;    // the lowest bottom of items k..
  std::vector<Heading> headings_;
  std::vector<Page> pages_;
};

}  // namespace

LaidOutPages LayOutPages(const std::vector<DrawOp>& drawing, const PageArea& page) {
  LaidOutPages laid;
  std::vector<DrawOp>& out = laid.Ops;
  out.reserve(drawing.size() + drawing.size() / 8);
  // What a drawing may stand past the page's edges: a device pixel, or nothing.
  const double pixel = std::isfinite(page.Pixel) ? std::max(0.0, page.Pixel) : 0.0;
  int pages = 0;
  std::size_t begin = 0;
  while (begin <= drawing.size()) {
    std::size_t end = begin;
    while (end < drawing.size() && !IsBreak(drawing[end])) ++end;
    Segment segment(drawing, begin, end, page.Height, pixel);
    if (!segment.Empty()) {
      const Bands bands(drawing, begin, end, page.Width, pixel);
      if (!bands.Fits()) return LaidOutPages{{}, false, PageOverrun::Across};
      if (segment.HasTextTallerThanPage()) return LaidOutPages{{}, false, PageOverrun::Down};
      pages += segment.AppendPages(out, pages, bands);
    }
    begin = end + 1;
  }
  return laid;
}

std::vector<DrawOp> LayOutPages(const std::vector<DrawOp>& drawing, double pageHeight) {
  return LayOutPages(drawing, PageArea{0, pageHeight}).Ops;
}

int PageCountOf(const std::vector<DrawOp>& pages) {
  if (pages.empty()) return 0;
  return 1 + static_cast<int>(std::count_if(pages.begin(), pages.end(), [](const DrawOp& op) {
           return std::holds_alternative<NewPageOp>(op);
         }));
}

std::vector<DrawOp> CopiesOf(const std::vector<DrawOp>& pages, int copies, bool oneJob) {
  std::vector<DrawOp> out;
  if (copies < 1 || pages.empty()) return out;
  out.reserve((pages.size() + 1) * static_cast<std::size_t>(copies));
  for (int copy = 0; copy < copies; ++copy) {
    if (oneJob && copy > 0) out.emplace_back(NewPageOp{});
    for (DrawOp op : pages) {
      if (auto* text = std::get_if<TextOp>(&op)) text->Document = oneJob ? 0 : copy;
      out.push_back(std::move(op));
    }
    if (!oneJob) out.emplace_back(EndDocOp{});
  }
  if (oneJob) out.emplace_back(EndDocOp{});
  return out;
}

}  // namespace qv
