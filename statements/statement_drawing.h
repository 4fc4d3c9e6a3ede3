#pragma once
// A statement laid out for one surface: the drawing operations of the whole statement from
// its top (y = 0), grouped into the lines they stand on, where each account row was drawn
// and the height the drawing reached. The layout is made once per computation, width and
// scale; a window then replays only the lines in view at its scroll offset, and printing
// sets the lines on pages. The marks of the account rows serve the window's hover read-out
// and click-through.

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "books/amount.h"
#include "books/books.h"
#include "platform/drawing_surface.h"
#include "platform/locale_info.h"

namespace qv {

// What a statement's drawing takes besides its rows: the book's heading and font, the
// statement's decimals, the locale's symbols and month names, and measures of the screen.
struct StatementLook {
  std::string BusinessName;
  std::string FontName = "Arial";
  int FontCharset = 0;
  int Decimals = 0;
  bool FolioDashes = false;  // the trial balance's folio column
  LocaleInfo Locale;
  // The chart's widest account name; it sizes the name column of the income statement and
  // the balance sheet.
  std::string WidestName;
  // Twips in one screen pixel: a few of the trial balance's measures are screen pixels.
  double ScreenTwipsPerPixel = 15.0;
};

// The look of a statement of `books` with `decimals` decimals.
StatementLook StatementLookOf(const Books& books, const LocaleInfo& locale, int decimals);

// Where an account row was drawn: the Y just below it, from the statement's top, and the
// folio of its account.
struct StatementRowMark {
  double Bottom = 0;
  Folio RowFolio;
  bool operator==(const StatementRowMark&) const = default;
};

// The operations drawn on one line of text (with its shading or boxes), and the band of
// height it takes.
struct DrawnLine {
  double Top = 0;
  double Bottom = 0;
  std::size_t FirstOp = 0;
  std::size_t EndOp = 0;
  // The column headings, repeated at the top of every printed page.
  bool ColumnHeading = false;
};

struct StatementDrawing {
  std::vector<DrawOp> Ops;
  // In drawing order, top to bottom, not overlapping.
  std::vector<DrawnLine> Lines;
  // The account rows in drawing order; a row not drawn has no mark.
  std::vector<StatementRowMark> Rows;
  // The end of the drawing plus the statement's bottom margin.
  double DrawnHeight = 0;
  // The grey side bands a window paints beside a centred statement: from its left edge to
  // LeftBandEnd and from RightBandStart to its right edge, over the window's whole height.
  bool HasMarginBands = false;
  double LeftBandEnd = 0;
  double RightBandStart = 0;

  // The lines [first, end) that reach into the band from `top` to `bottom`.
  std::pair<std::size_t, std::size_t> LinesWithin(double top, double bottom) const;
};

// Draws a statement on a surface line by line, from the surface's top: each line's
// operations and band are noted as it ends. The operations stay on the surface; the marks
// (lines, rows, height) are handed over as a StatementDrawing without operations.
class StatementPen {
 public:
  explicit StatementPen(DrawingSurface& surface);

  DrawingSurface& Surface() { return surface_; }
  // Starts a line at the current position, or with its band from `top` when something on
  // it reaches above the position.
  void BeginLine();
  void BeginLine(double top);
  // Ends the line begun last: its band runs from where it began to the current Y.
  void EndLine(bool columnHeading = false);
  // A line of one text at `x`, or of a text at `x` and an amount ending at `amountRight`.
  void TextLine(const std::string& text, double x);
  void TextAndAmount(const std::string& text, double x, const std::string& amount,
                     double amountRight);
  // Text centred on the surface's width (from its left edge when wider), ending the line.
  void Centred(const std::string& text);
  // An account row drawn by the last line: its bottom is the current Y.
  void MarkRow(Folio folio);
  // Hands the marks over; DrawnHeight is the current Y plus `bottomMargin`.
  StatementDrawing Finish(double bottomMargin);

 private:
  DrawingSurface& surface_;
  StatementDrawing drawing_;
  double lineTop_ = 0;
  std::size_t lineFirstOp_ = 0;
};

// A statement's drawing procedure: draws on the surface and returns its marks.
using StatementDrawer = std::function<StatementDrawing(DrawingSurface& surface)>;

// The statement drawn by `draw` on a recording surface `width` twips wide, measured with
// `metrics`, at `printScale` (1 on screen), with the operations it drew.
StatementDrawing RecordStatement(const TextMetrics& metrics, double width, double printScale,
                                 const StatementDrawer& draw);

}  // namespace qv
