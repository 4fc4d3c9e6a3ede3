#include "ledgers/ledger_drawing.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/utf8.h"

namespace qv {
namespace {

// Space above and below a row's text.
constexpr double kRowPaddingTwips = 30;
// The narrowest a stretch column becomes, in characters of "M".
constexpr std::string_view kNarrowestStretch = "MMMMMMMM";
constexpr std::string_view kEllipsis = "...";

// Sets the surface's bold for the scope.
class BoldScope {
 public:
  BoldScope(DrawingSurface& surface, bool bold) : surface_(surface), was_(surface.Font().Bold) {
    surface_.SetFontBold(bold);
  }
  ~BoldScope() { surface_.SetFontBold(was_); }
  BoldScope(const BoldScope&) = delete;
  BoldScope& operator=(const BoldScope&) = delete;

 private:
  DrawingSurface& surface_;
  bool was_;
};

bool GivesWay(const LedgerSheet& sheet, std::size_t column) {
  return std::find(sheet.GiveWayColumns.begin(), sheet.GiveWayColumns.end(),
                   static_cast<int>(column)) != sheet.GiveWayColumns.end();
}

// The start of `text` that fits `width` with "..." after it ("..." alone, or less, when
// nothing more fits).
std::string CutText(const DrawingSurface& surface, std::string_view text, double width) {
  if (surface.TextWidth(text) <= width) return std::string(text);
  const double room = width - surface.TextWidth(kEllipsis);
  if (room <= 0) return FitText(surface, kEllipsis, width);
  return FitText(surface, text, room) + std::string(kEllipsis);
}

// The last blank of `text` after its first character, or npos.
std::size_t LastBreak(std::string_view text) {
  const std::size_t blank = text.find_last_of(' ');
  return blank == std::string_view::npos || text.find_first_not_of(' ') >= blank
             ? std::string_view::npos
             : blank;
}

// `text` broken into lines no wider than `width` on the surface: after a word where one
// fits, inside a word wider than a line, each line holding at least one character.
std::vector<std::string> BreakIntoLines(const DrawingSurface& surface, std::string_view text,
                                        double width) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    if (surface.TextWidth(text) <= width) {
      lines.emplace_back(text);
      break;
    }
    std::size_t take = FitText(surface, text, width).size();
    if (take == 0) {
      take = Utf8Offset(text, 1);
    } else if (text[take] != ' ') {
      if (const std::size_t blank = LastBreak(text.substr(0, take)); blank != text.npos)
        take = blank;
    }
    std::string_view line = text.substr(0, take);
    line = line.substr(0, line.find_last_not_of(' ') + 1);
    lines.emplace_back(line);
    text.remove_prefix(take);
    text.remove_prefix(std::min(text.size(), text.find_first_not_of(' ')));
  }
  return lines;
}

// Where the text of cell `c` of `row` starts: its column's left, after the indent.
double CellLeft(const SheetLayout& layout, const TableRow& row, std::size_t c) {
  return layout.Left[c] + (static_cast<int>(c) == row.IndentedCell ? layout.IndentWidth : 0.0);
}

// Where the texts of a row's cells stand: the lines of each cell.
using RowTexts = std::vector<std::vector<std::string>>;

// The lines each cell of `row` shows: its text whole; in a column that gives way, a text
// too wide for its room cut with "..." (a window), or broken into lines (a print-out).
// Dates and amounts are always whole, their columns being as wide as the widest of them. A
// text with nothing on its right (the journal's notes) has the room to the sheet's edge.
RowTexts CellLines(const DrawingSurface& surface, const LedgerSheet& sheet,
                   const SheetLayout& layout, const TableRow& row) {
  const std::size_t columns = std::min(layout.Left.size(), row.Cells.size());
  RowTexts lines(columns);
  for (std::size_t c = 0; c < columns; ++c) {
    const std::string& text = row.Cells[c];
    if (text.empty()) continue;
    const double left = CellLeft(layout, row, c);
    const double room = std::max(0.0, layout.Right[c] - left);
    const bool more = std::any_of(row.Cells.begin() + static_cast<std::ptrdiff_t>(c) + 1,
                                  row.Cells.end(), [](const std::string& s) { return !s.empty(); });
    const double reach = more ? room : std::max(room, layout.RunOnRight - left);
    if (!GivesWay(sheet, c) || surface.TextWidth(text) <= reach)
      lines[c] = {text};
    else if (layout.Wrap)
      lines[c] = BreakIntoLines(surface, text, reach);
    else
      lines[c] = {CutText(surface, text, reach)};
  }
  return lines;
}

// The number of lines of the row's tallest cell, at least one.
std::size_t LineCount(const RowTexts& texts) {
  std::size_t count = 1;
  for (const auto& lines : texts) count = std::max(count, lines.size());
  return count;
}

// The height of a row of `lines` lines.
double RowHeightOf(const SheetLayout& layout, std::size_t lines) {
  return layout.RowHeight +
         static_cast<double>(lines - 1) * (layout.RowHeight - 2 * kRowPaddingTwips);
}

void DrawCells(DrawingSurface& surface, const LedgerSheet& sheet, const SheetLayout& layout,
               const TableRow& row, const RowTexts& texts, double y) {
  const double pitch = layout.RowHeight - 2 * kRowPaddingTwips;
  for (std::size_t c = 0; c < texts.size(); ++c) {
    if (texts[c].empty()) continue;
    const double left = CellLeft(layout, row, c);
    const double room = std::max(0.0, layout.Right[c] - left);
    if (row.Bold && sheet.Table.Columns[c].Align == CellAlign::kRight)
      surface.Line(layout.Left[c], y, layout.Right[c], y);  // a total stands under a rule
    double lineY = y + kRowPaddingTwips;
    for (const std::string& shown : texts[c]) {
      const double width = surface.TextWidth(shown);
      double x = left;
      switch (sheet.Table.Columns[c].Align) {
        case CellAlign::kRight: x = layout.Right[c] - width; break;
        case CellAlign::kCentre: x = left + (room - width) / 2; break;
        case CellAlign::kLeft: break;
      }
      surface.SetCurrentX(x);
      surface.SetCurrentY(lineY);
      surface.PrintStay(shown);
      lineY += pitch;
    }
  }
}

// Draws rows from `first` on, at most `count`, from `y` down while they end above `foot`
// (to within a device pixel), and at least one; the rows drawn and the y below them.
std::pair<int64_t, double> DrawRowsDown(DrawingSurface& surface, const LedgerSheet& sheet,
                                        const SheetLayout& layout, int64_t first, int64_t count,
                                        double y, double foot) {
  const int64_t begin = std::max<int64_t>(first, 0);
  const int64_t end = std::min(sheet.Table.RowCount, first + std::max<int64_t>(count, 0));
  TableRow row;
  int64_t r = begin;
  for (; r < end; ++r) {
    sheet.Table.Row(r, row);
    const BoldScope bold(surface, row.Bold);
    const RowTexts texts = CellLines(surface, sheet, layout, row);
    const double height = RowHeightOf(layout, LineCount(texts));
    if (r > begin && !FitsWithinPixel(y + height, foot, surface.DevicePixel())) break;
    DrawCells(surface, sheet, layout, row, texts, y);
    // The middle rule is drawn row by row, so that a page break never cuts it.
    if (layout.RuleX > 0) surface.Line(layout.RuleX, y, layout.RuleX, y + height);
    y += height;
  }
  return {r - begin, y};
}

}  // namespace

FontSpec SheetFont() {
  FontSpec font;
  font.Name = "Arial";
  font.Size = 9;
  return font;
}

namespace {

// Each column as wide as the widest of its heading and its width samples, measured in the
// surface's font, the stretch column with room for an indent; the row height and the indent
// noted in `layout`.
std::vector<double> MeasureColumns(DrawingSurface& surface, const LedgerSheet& sheet,
                                   SheetLayout& layout) {
  const std::size_t n = sheet.Table.Columns.size();
  std::vector<double> widths(n, 0.0);
  {
    const BoldScope bold(surface, true);  // totals and headings are bold, so measure so
    for (std::size_t c = 0; c < n; ++c) {
      widths[c] = surface.TextWidth(sheet.Table.Columns[c].Heading);
      if (c < sheet.WidthSamples.size())
        for (const std::string& sample : sheet.WidthSamples[c])
          widths[c] = std::max(widths[c], surface.TextWidth(sample));
    }
  }
  layout.IndentWidth = surface.TextWidth("    ");
  layout.RowHeight = surface.TextHeight("Ag") + 2 * kRowPaddingTwips;
  const auto stretch = static_cast<std::size_t>(sheet.StretchColumn);
  if (sheet.StretchColumn >= 0 && stretch < n) widths[stretch] += layout.IndentWidth;
  double total = 2 * kSheetMarginTwips + kColumnGapTwips * static_cast<double>(n - 1);
  for (double w : widths) total += w;
  layout.FullWidth = total;
  return widths;
}

// The columns of `widths` side by side from the left margin.
void Arrange(const LedgerSheet& sheet, const std::vector<double>& widths, SheetLayout& layout) {
  const std::size_t n = widths.size();
  double x = kSheetMarginTwips;
  for (std::size_t c = 0; c < n; ++c) {
    layout.Left.push_back(x);
    x += widths[c];
    layout.Right.push_back(x);
    if (c + 1 < n) x += kColumnGapTwips;
  }
  layout.Width = x + kSheetMarginTwips;
  layout.RunOnRight = x;
  const auto rule = static_cast<std::size_t>(sheet.RuleAfterColumn);
  if (sheet.RuleAfterColumn >= 0 && rule + 1 < n)
    layout.RuleX = (layout.Right[rule] + layout.Left[rule + 1]) / 2;
}

std::vector<std::size_t> GivingColumns(const LedgerSheet& sheet) {
  std::vector<std::size_t> giving;
  for (const int c : sheet.GiveWayColumns)
    if (c >= 0 && static_cast<std::size_t>(c) < sheet.Table.Columns.size() &&
        std::find(giving.begin(), giving.end(), static_cast<std::size_t>(c)) == giving.end())
      giving.push_back(static_cast<std::size_t>(c));
  return giving;
}

// The sheet laid out for printing in bands on a page `pageWidth` wide: every column as wide
// as its texts, but a column that gives way no wider than a band beside the repeated
// columns holds; the stretch column reaching to the page's edge when it starts on the first
// page. A text with nothing on its right ends with its column.
SheetLayout BandedLayout(DrawingSurface& surface, const LedgerSheet& sheet, double pageWidth) {
  SheetLayout layout;
  std::vector<double> widths = MeasureColumns(surface, sheet, layout);
  const auto repeated = static_cast<std::size_t>(std::max(0, sheet.RepeatedColumns));
  double bandStart = kSheetMarginTwips;
  for (std::size_t c = 0; c < repeated && c < widths.size(); ++c)
    bandStart += widths[c] + kColumnGapTwips;
  const double narrowest = surface.TextWidth(kNarrowestStretch);
  double widest = pageWidth - bandStart - kSheetMarginTwips;
  if (widest < narrowest)
    widest = pageWidth - 2 * kSheetMarginTwips;  // the repeated columns will not be repeated
  // A T-account's names no wider than leaves each side whole on a band, where they can be.
  const std::size_t rule = static_cast<std::size_t>(std::max(-1, sheet.RuleAfterColumn) + 1);
  auto sideRoom = [&](std::size_t name) {
    const bool debit = name < rule;
    double room = pageWidth - 2 * kSheetMarginTwips;
    for (std::size_t c = debit ? 0 : rule; c < (debit ? rule : widths.size()); ++c)
      if (c != name) room -= widths[c] + kColumnGapTwips;
    return room;
  };
  const std::vector<std::size_t> giving = GivingColumns(sheet);
  const bool bySide = rule > 0 && std::all_of(giving.begin(), giving.end(), [&](std::size_t c) {
                        return sideRoom(c) >= narrowest;
                      });
  for (const std::size_t c : giving) widths[c] = std::min(widths[c], bySide ? sideRoom(c) : widest);
  const auto stretch = static_cast<std::size_t>(sheet.StretchColumn);
  if (sheet.StretchColumn >= 0 && stretch < widths.size()) {
    double left = kSheetMarginTwips;
    for (std::size_t c = 0; c < stretch; ++c) left += widths[c] + kColumnGapTwips;
    if (left < pageWidth)
      widths[stretch] = std::max(widths[stretch], pageWidth - kSheetMarginTwips - left);
  }
  Arrange(sheet, widths, layout);
  layout.RunOnRight = 0;
  return layout;
}

}  // namespace

SheetLayout LayoutSheet(DrawingSurface& surface, const LedgerSheet& sheet, double width) {
  SheetLayout layout;
  std::vector<double> widths = MeasureColumns(surface, sheet, layout);
  const std::size_t n = widths.size();
  const double total = layout.FullWidth;
  const auto stretch = static_cast<std::size_t>(sheet.StretchColumn);
  if (total < width && sheet.StretchColumn >= 0 && stretch < n) {
    widths[stretch] += width - total;
  } else if (total > width) {
    // The columns that give way give up room, the widest first, none below a few
    // characters; the others keep theirs, so a sheet that is still too wide runs past the
    // space rather than cut a date or an amount.
    const double narrowest = surface.TextWidth(kNarrowestStretch);
    double excess = total - width;
    const std::vector<std::size_t> giving = GivingColumns(sheet);
    while (excess > 0) {
      // The widest of the giving columns, all of them when several are as wide.
      double top = narrowest;
      for (const std::size_t c : giving) top = std::max(top, widths[c]);
      std::vector<std::size_t> widest;
      for (const std::size_t c : giving)
        if (widths[c] > narrowest && widths[c] == top) widest.push_back(c);
      if (widest.empty()) break;
      // Together down to the next widest of the giving columns, or by what is left.
      double next = narrowest;
      for (const std::size_t c : giving)
        if (widths[c] < top) next = std::max(next, widths[c]);
      const auto count = static_cast<double>(widest.size());
      const double share = excess / count;
      if (share <= top - next) {
        for (const std::size_t c : widest) widths[c] = top - share;
        break;
      }
      for (const std::size_t c : widest) widths[c] = next;
      excess -= (top - next) * count;
    }
  }
  Arrange(sheet, widths, layout);
  return layout;
}

double DrawSheetHeading(DrawingSurface& surface, const LedgerSheet& sheet, double y) {
  if (sheet.Table.Title.empty()) return y;
  const BoldScope bold(surface, true);
  surface.SetCurrentX(kSheetMarginTwips);
  surface.SetCurrentY(y + kRowPaddingTwips);
  surface.Print(sheet.Table.Title.front());
  return surface.CurrentY() + kRowPaddingTwips;
}

double DrawSheetTitle(DrawingSurface& surface, const LedgerSheet& sheet, double y) {
  y = DrawSheetHeading(surface, sheet, y);
  for (std::size_t i = 1; i < sheet.Table.Title.size(); ++i) {
    surface.SetCurrentX(kSheetMarginTwips);
    surface.SetCurrentY(y);
    surface.Print(sheet.Table.Title[i]);
    y = surface.CurrentY();
  }
  return y + surface.TextHeight("Ag");
}

double DrawSheetHeadings(DrawingSurface& surface, const LedgerSheet& sheet,
                         const SheetLayout& layout, double y) {
  TableRow headings;
  for (const TableColumn& column : sheet.Table.Columns) headings.Cells.push_back(column.Heading);
  {
    const BoldScope bold(surface, true);
    DrawCells(surface, sheet, layout, headings, CellLines(surface, sheet, layout, headings), y);
  }
  const double below = y + layout.RowHeight;
  surface.Line(kSheetMarginTwips, below, layout.Width - kSheetMarginTwips, below);
  if (layout.RuleX > 0) surface.Line(layout.RuleX, y, layout.RuleX, below);
  return below + kRowPaddingTwips;
}

double DrawSheetRows(DrawingSurface& surface, const LedgerSheet& sheet, const SheetLayout& layout,
                     int64_t first, int64_t count, double y) {
  return DrawRowsDown(surface, sheet, layout, first, count, y,
                      std::numeric_limits<double>::infinity())
      .second;
}

double DrawSheetMessage(DrawingSurface& surface, const LedgerSheet& sheet, double y) {
  surface.SetCurrentX(kSheetMarginTwips);
  surface.SetCurrentY(y + kRowPaddingTwips);
  surface.Print(sheet.Message);
  return surface.CurrentY();
}

SheetPrintout::SheetPrintout(LedgerSheet sheet, std::function<void(DrawingSurface&)> before)
    : sheet_(std::move(sheet)), before_(std::move(before)) {}

bool SheetPrintout::DrawPage(DrawingSurface& printer, int page) {
  const FontSpec font = SheetFont();
  printer.SetFont(font);
  printer.SetFontSizeScaled(font.Size);
  double y = printer.CurrentY();
  if (page == 0) {
    next_ = 0;
    if (before_) {
      before_(printer);
      printer.SetFont(font);
      printer.SetFontSizeScaled(font.Size);
      y = printer.CurrentY();
    }
    y = DrawSheetTitle(printer, sheet_, y);
    if (!sheet_.HasRows()) {
      DrawSheetMessage(printer, sheet_, y);
      return false;
    }
    // Every column whole across the page, to within a device pixel: one band, the stretch
    // column taking what room is left. Otherwise the columns are printed in bands.
    layout_ = LayoutSheet(printer, sheet_, printer.ScaleWidth());
    if (!printer.FitsAcross(layout_.FullWidth))
      layout_ = BandedLayout(printer, sheet_, printer.ScaleWidth());
    else if (layout_.FullWidth > printer.ScaleWidth())
      layout_ = LayoutSheet(printer, sheet_, layout_.FullWidth);
    layout_.Wrap = true;
    edges_ = {0};
    if (layout_.RuleX > 0 && printer.FitsAcross(layout_.RuleX) &&
        printer.FitsAcross(layout_.Right.back() - layout_.RuleX)) {
      edges_.push_back(layout_.RuleX);  // a T-account's sides, each whole on a band
    } else {
      for (std::size_t c = 1; c < layout_.Left.size(); ++c)
        edges_.push_back((layout_.Right[c - 1] + layout_.Left[c]) / 2);
    }
    if (!layout_.Right.empty()) edges_.push_back(layout_.Right.back());
  }
  printer.SetCurrentY(y);
  printer.SetPageColumns(edges_, sheet_.RepeatedColumns);
  y = DrawSheetHeadings(printer, sheet_, layout_, y);
  // As many rows as fit below the headings, and at least one, so that every page moves on.
  const double foot =
      printer.ScaleHeight() > 0 ? printer.ScaleHeight() : std::numeric_limits<double>::infinity();
  next_ +=
      DrawRowsDown(printer, sheet_, layout_, next_, sheet_.Table.RowCount - next_, y, foot).first;
  return next_ < sheet_.Table.RowCount;
}

int ColumnAt(const SheetLayout& layout, double x) {
  if (layout.Left.empty() || x < layout.Left.front() - kSheetMarginTwips) return -1;
  for (std::size_t c = layout.Left.size(); c-- > 1;)
    if (x >= layout.Left[c] - kColumnGapTwips / 2) return static_cast<int>(c);
  return 0;
}

}  // namespace qv
