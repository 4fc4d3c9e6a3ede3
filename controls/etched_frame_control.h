#pragma once
// MyFrame: a rectangle with an etched (engraved) outline in the system's button highlight
// and shadow colours. Its top edge sits half a line of its font down, so a caption placed
// over it reads as the frame's title. It starts with Arial, 9 points, bold.

#include <QWidget>

#include "controls/etched_frame_geometry.h"
#include "platform/colors.h"

namespace qv {

class MyFrame : public QWidget {
  Q_OBJECT

 public:
  explicit MyFrame(QWidget* parent = nullptr);

  // The surface colour; setting it redraws the frame.
  ColorValue BackCol() const { return backCol_; }
  void SetBackCol(ColorValue color);

  // The outlines for the current size and font.
  EtchedFrameOutlines Outlines() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  ColorValue backCol_ = SystemColorValue(kButtonFaceColor);
};

}  // namespace qv
