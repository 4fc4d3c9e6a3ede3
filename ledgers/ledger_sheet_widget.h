#pragma once
// The area of a journal or ledger window that shows its sheet: the heading and the column
// headings stay at the top, the rows scroll below them. Only the rows in sight are drawn
// (ledgers/ledger_drawing.h on a recording surface, replayed on the widget), so a sheet of
// a million rows scrolls as a short one does.
//
// The first row shown is set from outside (the window's scroll bar); the wheel and the
// keys Up, Down, Page Up, Page Down, Home and End ask for another through ScrollRequested.
// A click on a row that shows a posting line raises LineClicked.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ledgers/ledger_drawing.h"
#include "platform/colors.h"
#include "platform/surface_replay_qt.h"

namespace qv {

class LedgerSheetWidget : public QWidget {
  Q_OBJECT

 public:
  explicit LedgerSheetWidget(QWidget* parent = nullptr);

  void SetSheet(LedgerSheet sheet);
  const LedgerSheet& Sheet() const { return sheet_; }
  void SetBackColor(ColorValue color);
  ColorValue BackColor() const { return backColor_; }

  // How far the sheet is scrolled to the left, in pixels (kept within HiddenWidth).
  void SetOffsetX(int pixels);
  int OffsetX() const { return offsetX_; }
  // The width of the whole sheet in pixels, and how much of it lies past the area's right
  // edge. The sheet is never laid out narrower than it needs to show every text whole.
  int FullWidthPixels();
  int HiddenWidth();

  // The first row shown (kept within the rows).
  void SetFirstRow(int64_t row);
  int64_t FirstRow() const { return firstRow_; }
  // How many whole rows the area shows at its present height.
  int64_t VisibleRows();
  // The highest first row: the last row then stands at the foot.
  int64_t LastFirstRow();

  // The drawing as it is painted, in twips (for tests and the benchmarks).
  const std::vector<DrawOp>& Recording();
  const SheetLayout& Layout();

  QSize sizeHint() const override;

 signals:
  void LineClicked(int32_t line);
  // The wheel or a key asks for this first row.
  void ScrollRequested(int64_t firstRow);
  // The rows that fit changed (a new sheet, a new size).
  void LayoutChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double WidthTwips() const;
  double HeightTwips() const;
  // Lays the sheet out and measures where the rows start, when that is stale.
  void EnsureLayout();
  void Redraw();

  LedgerSheet sheet_;
  ColorValue backColor_ = kWhite;
  int64_t firstRow_ = 0;
  int offsetX_ = 0;
  QtTextMetrics metrics_;
  DrawingSurface surface_;
  std::optional<SheetLayout> layout_;
  double rowsTop_ = 0;  // twips
  std::vector<DrawOp> recording_;
  bool stale_ = true;
};

}  // namespace qv
