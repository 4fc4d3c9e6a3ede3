#include "controls/etched_frame_control.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "platform/colors_qt.h"

namespace qv {

namespace {

void DrawBox(QPainter& p, const PixelBox& box) {
  if (box.Right < box.Left || box.Bottom < box.Top) return;
  p.drawRect(QRect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top));
}

}  // namespace

MyFrame::MyFrame(QWidget* parent) : QWidget(parent) {
  QFont f(QStringLiteral("Arial"));
  f.setPointSizeF(9);
  f.setWeight(QFont::Bold);
  setFont(f);
}

void MyFrame::SetBackCol(ColorValue color) {
  backCol_ = color;
  update();
}

EtchedFrameOutlines MyFrame::Outlines() const {
  return EtchedFrameLayout(width(), height(), QFontMetrics(font()).height());
}

void MyFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), ToQColor(backCol_, pal));
  const EtchedFrameOutlines o = Outlines();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(ToQColor(SystemColorValue(kButtonHighlightColor), pal), 0));
  DrawBox(p, o.Highlight);
  p.setPen(QPen(ToQColor(SystemColorValue(kButtonShadowColor), pal), 0));
  DrawBox(p, o.Shadow);
}

void MyFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) update();
  QWidget::changeEvent(event);
}

}  // namespace qv
