#pragma once
// A drawing surface that records what is drawn on it. Windows and the printer draw their
// views through it: text at a current position, lines, outlined and filled boxes, single
// pixels, with a font, colours and fill settings, much like a window's or a printer's own
// drawing surface. Nothing is rendered here: a widget replays the recording in its paint
// event, the printer replays it page by page (platform/surface_replay_qt.h), and tests
// inspect the recorded operations.
//
// Coordinates are twips (or pixels for a surface made in pixel units), (0, 0) being the
// top-left corner of the drawing area. Text is measured through a TextMetrics, so the same
// drawing code measures with the screen's fonts, the printer's or fixed test metrics.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/colors.h"
#include "platform/text_metrics.h"

namespace qv {

enum class SurfaceUnits { Twips, Pixels };

// Fill settings of outlined boxes.
enum FillStyleCode : int { kFillSolid = 0, kFillTransparent = 1 };

// The size of the surface. Width and Height are the whole surface (a window with its frame,
// a sheet of paper); ScaleWidth and ScaleHeight the area that can be drawn on (the inner
// area of a window, the printable area of a page). All in the surface's units.
struct SurfaceExtent {
  double Width = 0;
  double Height = 0;
  double ScaleWidth = 0;
  double ScaleHeight = 0;
  bool operator==(const SurfaceExtent&) const = default;
};

// The recorded operations. Document and Page count from 0: a new page starts after
// NewPage, a new document (a new print job) after EndDoc.
struct TextOp {
  double X = 0, Y = 0;  // top-left corner of the text
  std::string Text;
  FontSpec Font;
  ColorValue Color = kBlack;
  bool Transparent = true;  // false: the text's box is painted in BackColor first
  ColorValue BackColor = kWhite;
  double Width = 0, Height = 0;  // as measured when printed
  int Document = 0, Page = 0;
};
struct LineOp {
  // The end point is not drawn, so that lines drawn end to end do not overlap.
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  ColorValue Color = kBlack;
};
struct BoxOp {
  // An outlined box with both corners on the outline; filled with FillColor first when
  // Filled.
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  ColorValue Color = kBlack;
  bool Filled = false;
  ColorValue FillColor = kBlack;
};
struct FilledBoxOp {
  // A box filled in one colour, both corners included, with no separate outline.
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  ColorValue Color = kBlack;
};
struct PixelOp {
  double X = 0, Y = 0;
  ColorValue Color = kBlack;
};
struct PictureOp {
  // A named picture drawn at its own size with its top-left corner at (X, Y); the replay
  // looks the name up.
  std::string Name;
  double X = 0, Y = 0;
};
struct ClearOp {
  ColorValue BackColor = kWhite;
};
struct NewPageOp {};
struct EndDocOp {};
// Printing only: the start (Begin) or end of a page heading, at the current Y. What is drawn
// between the two marks is the heading that the page layout repeats at the top of every
// page the drawing continues on (platform/page_layout.h); windows ignore the marks.
struct PageHeadingOp {
  bool Begin = true;
  double Y = 0;
};

// Printing only: the columns of a drawing that may be wider than the page, from the current Y
// down (what stands above is the drawing's title). Edges are the x positions between which
// the columns stand, left to right; the first `Repeated` columns (the names) are repeated
// on every band of columns the page layout makes (platform/page_layout.h). Windows ignore it.
struct PageColumnsOp {
  std::vector<double> Edges;
  int Repeated = 0;
  double Y = 0;
};

using DrawOp = std::variant<TextOp, LineOp, BoxOp, FilledBoxOp, PixelOp, PictureOp, ClearOp,
                            NewPageOp, EndDocOp, PageHeadingOp, PageColumnsOp>;

// Whether a drawing `length` long fits in `room` when one device pixel is `pixel` long: what
// comes out less than a pixel longer fits, as a layout built to fill the room exactly comes
// out a rounding longer now and then, and no device can show the difference.
inline bool FitsWithinPixel(double length, double room, double pixel) {
  return length <= room + pixel;
}

class DrawingSurface {
 public:
  // `metrics` measures text and must outlive the surface. `twipsPerPixel` is the size of
  // one device pixel in twips: it converts measured text to a pixel surface's units.
  explicit DrawingSurface(const TextMetrics& metrics, SurfaceUnits units = SurfaceUnits::Twips,
                          double twipsPerPixel = 15.0);

  double TwipsPerPixel() const { return twipsPerPixel_; }

  // Size.
  void SetExtent(const SurfaceExtent& extent) { extent_ = extent; }
  const SurfaceExtent& Extent() const { return extent_; }
  double Width() const { return extent_.Width; }
  double Height() const { return extent_.Height; }
  double ScaleWidth() const { return extent_.ScaleWidth; }
  double ScaleHeight() const { return extent_.ScaleHeight; }
  // One device pixel in the surface's units.
  double DevicePixel() const { return units_ == SurfaceUnits::Twips ? twipsPerPixel_ : 1.0; }
  // Whether a drawing that wide fits across the drawing area, to within a device pixel
  // (FitsWithinPixel).
  bool FitsAcross(double width) const {
    return FitsWithinPixel(width, ScaleWidth(), DevicePixel());
  }

  // Current position: where the next text starts (its top-left corner).
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }

  // Font.
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { font_ = font; }
  void SetFontName(std::string name) { font_.Name = std::move(name); }
  void SetFontCharset(int charset) { font_.Charset = charset; }
  void SetFontSize(double points) { font_.Size = points; }
  void SetFontBold(bool on) { font_.Bold = on; }
  void SetFontItalic(bool on) { font_.Italic = on; }
  void SetFontUnderline(bool on) { font_.Underline = on; }
  double FontSize() const { return font_.Size; }
  // When false, printed text is drawn on a box of BackColor.
  bool FontTransparent() const { return fontTransparent_; }
  void SetFontTransparent(bool on) { fontTransparent_ = on; }

  // Colours and fill.
  ColorValue ForeColor() const { return foreColor_; }
  void SetForeColor(ColorValue c) { foreColor_ = c; }
  ColorValue BackColor() const { return backColor_; }
  void SetBackColor(ColorValue c) { backColor_ = c; }
  int FillStyle() const { return fillStyle_; }
  void SetFillStyle(int style) { fillStyle_ = style; }
  ColorValue FillColor() const { return fillColor_; }
  void SetFillColor(ColorValue c) { fillColor_ = c; }

  // The print scale: 1 on a window; the printer's text size / 100 when printing. Drawing
  // code scales font sizes and box heights with it. A scale that is not a positive number
  // is taken as 1.
  double PrintScale() const { return printScale_; }
  void SetPrintScale(double scale);
  double Scaled(double length) const { return length * printScale_; }
  void SetFontSizeScaled(double points) { font_.Size = points * printScale_; }

  // Measuring, in the current font and the surface's units.
  double TextWidth(std::string_view text) const;
  double TextHeight(std::string_view text) const;

  // Prints the text at the current position and ends the line: CurrentX goes back to the
  // left edge (0) and CurrentY down by the text's height. An empty text only ends the line,
  // moving down by the height of one line in the current font.
  void Print(std::string_view text);
  // Prints the text at the current position and stays on the line: CurrentX moves to the
  // end of the text. An empty text changes nothing.
  void PrintStay(std::string_view text);

  // Lines and boxes between two corners, in ForeColor unless a colour is given. Each leaves
  // the current position at the second corner.
  void Line(double x1, double y1, double x2, double y2);
  void Line(double x1, double y1, double x2, double y2, ColorValue color);
  // An outline; filled with FillColor when FillStyle is solid.
  void Box(double x1, double y1, double x2, double y2);
  void Box(double x1, double y1, double x2, double y2, ColorValue color);
  void FilledBox(double x1, double y1, double x2, double y2, ColorValue color);
  void DrawPicture(std::string name, double x, double y);

  // Clears the surface to BackColor, forgets everything drawn and moves to (0, 0).
  void Cls();
  // The page heading of a printed drawing: what is drawn from BeginPageHeading to
  // EndPageHeading (column titles, say) is repeated at the top of each further page. A new
  // heading replaces the one before; an empty one stops the repeating.
  void BeginPageHeading();
  void EndPageHeading();
  // The columns of a printed drawing (PageColumnsOp), from the current Y down: a drawing
  // wider than the page is printed in bands of whole columns, the first `repeated` columns
  // on every band. The last mark of a part of the drawing holds for all of that part.
  void SetPageColumns(std::vector<double> edges, int repeated = 0);
  // Printer pages and documents: both move to (0, 0) on the new page.
  void NewPage();
  void EndDoc();

  // The recording.
  const std::vector<DrawOp>& Operations() const { return ops_; }
  // The printed texts, in drawing order.
  std::vector<TextOp> Texts() const;
  // The first printed text equal to `text`, or nullptr.
  const TextOp* FindText(std::string_view text) const;
  // The current page of the current document and the current document, from 0.
  int Page() const { return page_; }
  int Document() const { return document_; }
  // Moves the recording out (for a widget to keep and replay) and starts a new one; the
  // surface's state is kept.
  std::vector<DrawOp> TakeOperations();

 private:
  double ToUnits(double twips) const;
  void NewLine(double height);
  // Records the text at the current position with the current font and colours.
  void RecordText(std::string_view text, double width, double height);

  const TextMetrics& metrics_;
  SurfaceUnits units_;
  double twipsPerPixel_;
  SurfaceExtent extent_;
  double currentX_ = 0, currentY_ = 0;
  FontSpec font_;
  bool fontTransparent_ = true;
  ColorValue foreColor_ = kBlack;
  ColorValue backColor_ = kWhite;
  int fillStyle_ = kFillTransparent;
  ColorValue fillColor_ = kBlack;
  double printScale_ = 1.0;
  int document_ = 0, page_ = 0;
  std::vector<DrawOp> ops_;
};

// The longest start of `text` (whole characters) that is at most `width` wide on the
// surface.
std::string FitText(const DrawingSurface& surface, std::string_view text, double width);

}  // namespace qv
