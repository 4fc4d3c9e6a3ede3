#include "controls/scroll_bar_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cstdlib>

#include "controls/pending_edit_qt.h"
#include "controls/repeat_timer_qt.h"
#include "platform/colors_qt.h"
#include "platform/key_codes_qt.h"
#include "platform/surface_replay_qt.h"
#include "platform/units.h"

namespace qv {
namespace {

// The bars draw in pixels.
const ReplayOptions kPixels{1.0, {}};

void DrawDither(QImage& image, const ScrollBarDither& dither) {
  const QRgb color = ToQColor(dither.color).rgb();
  auto set = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, color);
  };
  for (int y = dither.y1; y <= dither.y2; y += 2) {
    for (int x = dither.x1; x <= dither.x2; x += 2) {
      set(x, y);
      set(x + 1, y + 1);
    }
  }
}

}  // namespace

ScrollBarControl::ScrollBarControl(ScrollBarKind kind, const ScrollBarSettings& settings,
                                   QWidget* parent, std::unique_ptr<RepeatTimer> timer)
    : QWidget(parent),
      timer_(timer ? std::move(timer) : std::make_unique<QtRepeatTimer>()),
      model_(kind, *timer_, settings) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  QWidget::setEnabled(settings.Enabled);
  model_.onChange = [this] { emit Change(); };
  model_.onRepaint = [this](bool face) {
    if (face) faceStale_ = true;
    update();
  };
}

ScrollBarControl::~ScrollBarControl() {
  model_.onChange = nullptr;
  model_.onRepaint = nullptr;
}

void ScrollBarControl::SetEnabled(bool enabled) { QWidget::setEnabled(enabled); }

void ScrollBarControl::changeEvent(QEvent* event) {
  // The bar's own enabled state, however it was set; a disabled parent does not count.
  if (event->type() == QEvent::EnabledChange) {
    model_.SetEnabled(!testAttribute(Qt::WA_Disabled));
  }
  QWidget::changeEvent(event);
}

void ScrollBarControl::Refresh() { model_.Refresh(); }

QSize ScrollBarControl::sizeHint() const {
  // As thick as the main window's entry-row bar, long enough for both buttons and a thumb.
  const int thickness = TwipsToPixels(285);
  const int length = TwipsToPixels(1800);
  return model_.Kind() == ScrollBarKind::Vertical ? QSize(thickness, length)
                                                  : QSize(length, thickness);
}

void ScrollBarControl::HostKeyDown(int16_t&, int16_t&) {}

void ScrollBarControl::RenderFace() {
  face_ = QImage(size(), QImage::Format_RGB32);
  faceStale_ = false;
  if (face_.isNull()) return;
  face_.fill(ToQColor(model_.BackColor()));
  DrawDither(face_, model_.TrackDither());
  QPainter painter(&face_);
  ReplayOnPainter(painter, model_.FaceDrawing(), kPixels);
}

void ScrollBarControl::paintEvent(QPaintEvent*) {
  if (faceStale_ || face_.size() != size()) RenderFace();
  if (face_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, face_);
  ReplayOnPainter(painter, model_.ThumbDrawing(), kPixels);
  if (hasFocus()) ReplayOnPainter(painter, {model_.FocusDrawing()}, kPixels);
}

void ScrollBarControl::resizeEvent(QResizeEvent*) { model_.Resize(width(), height()); }

void ScrollBarControl::keyPressEvent(QKeyEvent* event) {
  const int16_t pressed = VirtualKeyOf(*event);
  int16_t keyCode = pressed;
  int16_t shift = ShiftMaskOf(event->modifiers());
  HostKeyDown(keyCode, shift);
  if (keyCode != 0) model_.KeyDown(keyCode);
  // Keys the bar acts on, and keys its host dropped, go no further; the others reach the
  // window as usual.
  event->setAccepted(model_.ActsOnKey(keyCode) || (keyCode == 0 && pressed != 0));
}

void ScrollBarControl::StepLines(int lines) {
  const bool vertical = model_.Kind() == ScrollBarKind::Vertical;
  const int key = lines < 0 ? (vertical ? kKeyUp : kKeyLeft) : (vertical ? kKeyDown : kKeyRight);
  for (int i = 0; i < std::abs(lines); ++i) {
    model_.KeyDown(key);
    model_.KeyUp();
  }
}

void ScrollBarControl::wheelEvent(QWheelEvent* event) {
  wheelPending_ += event->angleDelta().y();
  const int notches = wheelPending_ / 120;
  wheelPending_ -= notches * 120;
  // The bar moves without the focus: what a click on its arrow would store by taking the
  // focus is stored first.
  if (notches != 0) StorePendingEditOf(this);
  StepLines(-notches);
  event->accept();
}

void ScrollBarControl::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats as release and press pairs; only the real release ends the repeat.
  if (!event->isAutoRepeat()) model_.KeyUp();
  event->accept();
}

void ScrollBarControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    model_.MousePress(event->position().x(), event->position().y());
  }
  event->accept();
}

void ScrollBarControl::mouseMoveEvent(QMouseEvent* event) {
  model_.MouseMove(event->position().x(), event->position().y());
  event->accept();
}

void ScrollBarControl::mouseReleaseEvent(QMouseEvent* event) {
  model_.MouseRelease();
  event->accept();
}

void ScrollBarControl::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  emit GotFocus();
}

void ScrollBarControl::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace qv
