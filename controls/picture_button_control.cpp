#include "controls/picture_button_control.h"

#include <QBitmap>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/picture_button_face.h"
#include "platform/key_codes_qt.h"
#include "platform/units.h"

namespace qv {

namespace {

QImage FaceImage(bool up) {
  const FacePicture face = TriangleFace(up);
  QImage image(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
  for (int y = 0; y < kFaceHeight; ++y) {
    for (int x = 0; x < kFaceWidth; ++x) {
      const int g = face[static_cast<size_t>(y)][static_cast<size_t>(x)];
      image.setPixel(x, y, qRgb(g, g, g));
    }
  }
  return image;
}

}  // namespace

ButtonUd::ButtonUd(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  ShowFace(false);
  resize(sizeHint());
}

QSize ButtonUd::sizeHint() const { return QSize(kFaceWidth, kFaceHeight); }

void ButtonUd::ShowFace(bool up) {
  up_ = up;
  const QImage image = FaceImage(up);
  face_ = QPixmap::fromImage(image);
  setMask(QBitmap::fromImage(image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor)));
  update();
}

void ButtonUd::DownRefresh() { ShowFace(true); }

void ButtonUd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, face_);
  if (!hasFocus()) return;
  // With the focus the face is tinted in the highlight colour: the mask leaves no room for an
  // outline around the triangle.
  QColor tint = palette().color(QPalette::Highlight);
  tint.setAlpha(110);
  p.fillRect(rect(), tint);
}

void ButtonUd::keyPressEvent(QKeyEvent* event) {
  int16_t code = VirtualKeyOf(*event);
  int16_t shift = ShiftMaskOf(event->modifiers());
  if (code != 0) emit KeyDown(code, shift);
  int16_t ascii = KeyAsciiOf(*event);
  if (ascii != 0) emit KeyPress(ascii);
}

void ButtonUd::keyReleaseEvent(QKeyEvent* event) {
  int16_t code = VirtualKeyOf(*event);
  int16_t shift = ShiftMaskOf(event->modifiers());
  if (code != 0 && !event->isAutoRepeat()) emit KeyUp(code, shift);
}

void ButtonUd::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  RaiseMouse(&ButtonUd::MouseDown, MouseButtonOf(event->button()), *event);
}

void ButtonUd::mouseMoveEvent(QMouseEvent* event) {
  RaiseMouse(&ButtonUd::MouseMove, MouseButtonsOf(event->buttons()), *event);
}

void ButtonUd::mouseReleaseEvent(QMouseEvent* event) {
  RaiseMouse(&ButtonUd::MouseUp, MouseButtonOf(event->button()), *event);
  const bool click =
      event->button() == Qt::LeftButton && pressed_ && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  if (click) emit Click();
}

void ButtonUd::RaiseMouse(MouseSignal signal, int16_t button, const QMouseEvent& event) {
  int16_t shift = ShiftMaskOf(event.modifiers());
  float x = static_cast<float>(PixelsToTwips(event.position().x()));
  float y = static_cast<float>(PixelsToTwips(event.position().y()));
  emit(this->*signal)(button, shift, x, y);
}

}  // namespace qv
