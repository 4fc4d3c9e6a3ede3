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

// The operation moved down by `dy` onto page `page`.
DrawOp Moved(DrawOp op, double dy, int page) {
  if (auto* text = std::get_if<TextOp>(&op)) {
    text->Y += dy;
    text->Page = page;
    text->Document = 0;
  } else if (auto* line = std::get_if<LineOp>(&op)) {
    line->Y1 += dy;
    line->Y2 += dy;
  } else if (auto* box = std::get_if<BoxOp>(&op)) {
    box->Y1 += dy;
    box->Y2 += dy;
  } else if (auto* filled = std::get_if<FilledBoxOp>(&op)) {
    filled->Y1 += dy;
    filled->Y2 += dy;
  } else if (auto* pixel = std::get_if<PixelOp>(&op)) {
    pixel->Y += dy;
  } else if (auto* picture = std::get_if<PictureOp>(&op)) {
    picture->Y += dy;
  }
  return op;
}

bool IsBreak(const DrawOp& op) {
  return std::holds_alternative<NewPageOp>(op) || std::holds_alternative<EndDocOp>(op);
}

struct Heading {
  double Top = 0, Bottom = 0;
  std::vector<std::size_t> Ops;  // indexes into the drawing
  bool Empty() const { return !(Bottom > Top); }
};

// One part of the drawing between page breaks, laid out from its own top.
class Segment {
 public:
  Segment(const std::vector<DrawOp>& drawing, std::size_t begin, std::size_t end, double pageHeight)
      : drawing_(drawing), begin_(begin), end_(end), pageHeight_(pageHeight) {
    Gather();
  }

  bool Empty() const { return empty_; }

  // Appends the segment's pages to `out`, numbering them from `firstPage`; returns the
  // number of pages.
  int AppendPages(std::vector<DrawOp>& out, int firstPage) {
    PlanPages();
    std::vector<std::vector<std::size_t>> onPage(pages_.size());
    for (std::size_t i = begin_; i < end_; ++i) {
      if (std::holds_alternative<PageHeadingOp>(drawing_[i])) continue;
      const std::optional<Span> span = spans_[i - begin_];
      onPage[span ? PageOf(span->Top) : 0].push_back(i);
    }
    for (std::size_t p = 0; p < pages_.size(); ++p) {
      const int page = firstPage + static_cast<int>(p);
      if (page > 0) out.emplace_back(NewPageOp{});
      if (pages_[p].HeadingIndex >= 0) {
        const Heading& heading = headings_[static_cast<std::size_t>(pages_[p].HeadingIndex)];
        for (std::size_t i : heading.Ops) out.push_back(Moved(drawing_[i], -heading.Top, page));
      }
      for (std::size_t i : onPage[p]) {
        const bool positioned = spans_[i - begin_].has_value();
        out.push_back(Moved(drawing_[i], positioned ? pages_[p].Shift : 0.0, page));
      }
    }
    return static_cast<int>(pages_.size());
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
      if (rest >= items_.size() || reachFrom_[rest] <= limit) return;
      double end = PageEnd(start, limit);
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

std::vector<DrawOp> LayOutPages(const std::vector<DrawOp>& drawing, double pageHeight) {
  std::vector<DrawOp> out;
  out.reserve(drawing.size() + drawing.size() / 8);
  int pages = 0;
  std::size_t begin = 0;
  while (begin <= drawing.size()) {
    std::size_t end = begin;
    while (end < drawing.size() && !IsBreak(drawing[end])) ++end;
    Segment segment(drawing, begin, end, pageHeight);
    if (!segment.Empty()) pages += segment.AppendPages(out, pages);
    begin = end + 1;
  }
  return out;
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
