#include "ledgers/ledger_sheet_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "controls/focus_marks_qt.h"
#include "platform/colors_qt.h"

namespace qv {
namespace {

// The rows the wheel moves per notch.
constexpr int64_t kWheelRows = 3;

}  // namespace

LedgerSheetWidget::LedgerSheetWidget(QWidget* parent)
    : QWidget(parent), metrics_(this), surface_(metrics_, SurfaceUnits::Twips) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  surface_.SetFont(SheetFont());
}

QSize LedgerSheetWidget::sizeHint() const { return {640, 360}; }

double LedgerSheetWidget::WidthTwips() const { return width() * metrics_.TwipsPerPixel(); }
double LedgerSheetWidget::HeightTwips() const { return height() * metrics_.TwipsPerPixel(); }

void LedgerSheetWidget::SetSheet(LedgerSheet sheet) {
  sheet_ = std::move(sheet);
  layout_.reset();
  firstRow_ = std::clamp<int64_t>(firstRow_, 0, LastFirstRow());
  offsetX_ = std::clamp(offsetX_, 0, HiddenWidth());
  Redraw();
  emit LayoutChanged();
}

void LedgerSheetWidget::SetBackColor(ColorValue color) {
  backColor_ = color;
  Redraw();
}

void LedgerSheetWidget::SetFirstRow(int64_t row) {
  row = std::clamp<int64_t>(row, 0, LastFirstRow());
  if (row == firstRow_) return;
  firstRow_ = row;
  Redraw();
}

void LedgerSheetWidget::EnsureLayout() {
  if (layout_) return;
  layout_ = LayoutSheet(surface_, sheet_, WidthTwips());
  // On the screen no column gives way: the sheet runs past the area and scrolls across.
  if (layout_->FullWidth > WidthTwips())
    layout_ = LayoutSheet(surface_, sheet_, layout_->FullWidth);
  DrawingSurface scratch(metrics_);
  scratch.SetFont(surface_.Font());
  const double headingBottom = DrawSheetHeading(scratch, sheet_, 0);
  rowsTop_ = sheet_.HasRows() ? DrawSheetHeadings(scratch, sheet_, *layout_, headingBottom)
                              : headingBottom;
}

const SheetLayout& LedgerSheetWidget::Layout() {
  EnsureLayout();
  return *layout_;
}

int LedgerSheetWidget::FullWidthPixels() {
  EnsureLayout();
  return static_cast<int>(std::ceil(layout_->Width / metrics_.TwipsPerPixel()));
}

int LedgerSheetWidget::HiddenWidth() { return std::max(0, FullWidthPixels() - width()); }

void LedgerSheetWidget::SetOffsetX(int pixels) {
  pixels = std::clamp(pixels, 0, HiddenWidth());
  if (pixels == offsetX_) return;
  offsetX_ = pixels;
  update();
}

int64_t LedgerSheetWidget::VisibleRows() {
  EnsureLayout();
  if (layout_->RowHeight <= 0) return 1;
  return std::max<int64_t>(1,
                           static_cast<int64_t>((HeightTwips() - rowsTop_) / layout_->RowHeight));
}

int64_t LedgerSheetWidget::LastFirstRow() {
  return std::max<int64_t>(0, sheet_.Table.RowCount - VisibleRows());
}

void LedgerSheetWidget::Redraw() {
  stale_ = true;
  update();
}

const std::vector<DrawOp>& LedgerSheetWidget::Recording() {
  if (!stale_) return recording_;
  EnsureLayout();
  surface_.SetBackColor(backColor_);
  surface_.Cls();
  const double headingBottom = DrawSheetHeading(surface_, sheet_, 0);
  if (!sheet_.HasRows()) {
    DrawSheetMessage(surface_, sheet_, headingBottom);
  } else {
    const double top = DrawSheetHeadings(surface_, sheet_, *layout_, headingBottom);
    const auto rows = static_cast<int64_t>((HeightTwips() - top) / layout_->RowHeight) + 1;
    DrawSheetRows(surface_, sheet_, *layout_, firstRow_, rows, top);
  }
  recording_ = surface_.TakeOperations();
  stale_ = false;
  return recording_;
}

void LedgerSheetWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(backColor_));
  painter.translate(-offsetX_, 0);
  ReplayOnPainter(painter, Recording(), ReplayOptions{metrics_.TwipsPerPixel(), {}});
  // The keys scroll the sheet while it has the focus: the outline says so.
  if (!hasFocus()) return;
  painter.resetTransform();
  DrawFocusMark(painter, rect(), palette().color(QPalette::WindowText));
}

void LedgerSheetWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layout_.reset();
  firstRow_ = std::clamp<int64_t>(firstRow_, 0, LastFirstRow());
  offsetX_ = std::clamp(offsetX_, 0, HiddenWidth());
  Redraw();
  emit LayoutChanged();
}

void LedgerSheetWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !sheet_.HasRows()) return;
  EnsureLayout();
  const double x = (event->position().x() + offsetX_) * metrics_.TwipsPerPixel();
  const double y = event->position().y() * metrics_.TwipsPerPixel();
  if (y < rowsTop_) return;
  const int64_t row = firstRow_ + static_cast<int64_t>((y - rowsTop_) / layout_->RowHeight);
  const int column = ColumnAt(*layout_, x);
  if (row >= sheet_.Table.RowCount || column < 0 || !sheet_.LineAt) return;
  const int32_t line = sheet_.LineAt(row, column);
  if (line >= 0) emit LineClicked(line);
}

void LedgerSheetWidget::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) emit ScrollRequested(firstRow_ - notches * kWheelRows);
  event->accept();
}

void LedgerSheetWidget::keyPressEvent(QKeyEvent* event) {
  const int64_t page = std::max<int64_t>(1, VisibleRows() - 1);
  switch (event->key()) {
    case Qt::Key_Up: emit ScrollRequested(firstRow_ - 1); break;
    case Qt::Key_Down: emit ScrollRequested(firstRow_ + 1); break;
    case Qt::Key_PageUp: emit ScrollRequested(firstRow_ - page); break;
    case Qt::Key_PageDown: emit ScrollRequested(firstRow_ + page); break;
    case Qt::Key_Home: emit ScrollRequested(0); break;
    case Qt::Key_End: emit ScrollRequested(LastFirstRow()); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace qv
