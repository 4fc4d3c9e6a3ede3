#pragma once
// What the program's two scroll bars share on the window side: a QWidget that turns mouse,
// key, focus and resize events into calls on a ScrollBarModel, runs the model's repeat
// timer, and paints the model's drawing (the face is drawn once into a cached image after
// each full redraw; the thumb and the focus outline are drawn over it at every paint).
//
// The properties keep the names hosts know: Value, ValueMax, ValueMin, ValueLargeChange,
// ValueSmallChange, BackColor, Enabled and Refresh. Enabled also enables the widget: a
// disabled bar takes no key or mouse input.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "controls/repeat_timer.h"
#include "controls/scroll_bar_model.h"

namespace qv {

class ScrollBarControl : public QWidget {
  Q_OBJECT

 public:
  ~ScrollBarControl() override;

  ColorValue BackColor() const { return model_.BackColor(); }
  void SetBackColor(ColorValue color) { model_.SetBackColor(color); }
  int ValueMax() const { return model_.ValueMax(); }
  void SetValueMax(int valueMax) { model_.SetValueMax(valueMax); }
  int Value() const { return model_.Value(); }
  void SetValue(int value) { model_.SetValue(value); }
  bool Enabled() const { return model_.Enabled(); }
  void SetEnabled(bool enabled);
  // Full redraw, after the host moved or resized the bar.
  void Refresh();
  int ValueMin() const { return model_.ValueMin(); }
  void SetValueMin(int valueMin) { model_.SetValueMin(valueMin); }
  int ValueLargeChange() const { return model_.ValueLargeChange(); }
  void SetValueLargeChange(int change) { model_.SetValueLargeChange(change); }
  int ValueSmallChange() const { return model_.ValueSmallChange(); }
  void SetValueSmallChange(int change) { model_.SetValueSmallChange(change); }

  // Moves the value `lines` small changes towards ValueMax (towards ValueMin when negative),
  // a step at a time as presses of the arrow keys do, each raising Change.
  void StepLines(int lines);

  // The settings to store with the placed bar.
  ScrollBarSettings Settings() const { return model_.Settings(); }

  const ScrollBarModel& Model() const { return model_; }

  QSize sizeHint() const override;

 signals:
  // After every assignment of Value, every repeat step and every drag move, whether or not
  // Value changed. Hosts read Value in their handlers.
  void Change();
  // The bar got the input focus.
  void GotFocus();

 protected:
  // `timer` drives the auto-repeat; a window timer when none is given.
  ScrollBarControl(ScrollBarKind kind, const ScrollBarSettings& settings, QWidget* parent,
                   std::unique_ptr<RepeatTimer> timer);

  // Lets the host see a key before the bar acts on it; the host may change the key code
  // (0 drops the key). The horizontal bar tells its host nothing.
  virtual void HostKeyDown(int16_t& keyCode, int16_t& shift);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  // The wheel over the bar steps it as its arrows do, once the edit pending in its window is
  // stored.
  void wheelEvent(QWheelEvent* event) override;

 private:
  void RenderFace();

  std::unique_ptr<RepeatTimer> timer_;
  ScrollBarModel model_;
  QImage face_;
  bool faceStale_ = true;
  int wheelPending_ = 0;  // eighths of a degree short of a whole notch
};

}  // namespace qv
