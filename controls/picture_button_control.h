#pragma once
// ButtonUd: a small picture push button of the program's own control set. It shows the
// downward triangle face until the host calls DownRefresh, and then the upward (pressed)
// face for good; only the triangle is shown, the black around it is cut away. It passes
// its clicks, keys and mouse actions to the host as events and does nothing else on them.
// A disabled button takes no input and so raises no event. With the keyboard focus its face
// is tinted.

#include <QPixmap>
#include <QWidget>
#include <cstdint>

namespace qv {

class ButtonUd : public QWidget {
  Q_OBJECT

 public:
  explicit ButtonUd(QWidget* parent = nullptr);

  // Shows the upward face. Nothing shows the downward face again.
  void DownRefresh();
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool enabled) { setEnabled(enabled); }
  // Repaints the face; the face itself does not change.
  void Refresh() { update(); }

  bool ShowsUpwardFace() const { return up_; }
  QSize sizeHint() const override;

 signals:
  // Arguments as the program's handlers take them (platform/key_codes_qt.h); X and Y in
  // twips from the button's top left corner. Connect directly to change them.
  void Click();
  void KeyDown(int16_t& KeyCode, int16_t& Shift);
  void KeyPress(int16_t& KeyAscii);
  void KeyUp(int16_t& KeyCode, int16_t& Shift);
  void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
  void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
  void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  using MouseSignal = void (ButtonUd::*)(int16_t&, int16_t&, float&, float&);
  // Raises a mouse event with the button (or buttons), the shift mask and the position.
  void RaiseMouse(MouseSignal signal, int16_t button, const QMouseEvent& event);
  // Shows the upward (`up`) or downward face and cuts the button's mask from it.
  void ShowFace(bool up);

  bool up_ = false;
  bool pressed_ = false;
  QPixmap face_;
};

}  // namespace qv
