#include "controls/focus_marks_qt.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include "controls/application_filter_qt.h"

namespace qv {
namespace {

class FocusMarks final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the cheap test of its type comes first.
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    // The mark the styles draw after the first Tab is drawn from the start.
    if (window->isWindow()) window->setAttribute(Qt::WA_KeyboardFocusChange);
    return false;
  }
};

}  // namespace

void InstallFocusMarks(QApplication& app) {
  InstallApplicationFilter<FocusMarks>(app, "FocusMarks");
}

void DrawFocusMark(QPainter& painter, const QRect& area, const QColor& color) {
  painter.save();
  QPen pen(color);
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace qv
