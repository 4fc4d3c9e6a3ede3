#pragma once
// The logic of the program's own scroll bars, without any window: the value and its range,
// the thumb's length and position, what a press, a drag, a key or a repeat tick does to the
// value, when the repeat timer runs, the shades of the bar colour and the drawing of the bar
// as operations of the platform's drawing surface, in pixels. The vertical bar and its horizontal
// twin share it; where they behave differently the model asks which kind it is.
//
// The window side (controls/vertical_scroll_control.h, controls/horizontal_scroll_control.h)
// turns events into calls here and replays the drawing in its paint handler.
//
// Coordinates are pixels of the bar's inner area, (0, 0) its top-left pixel. "Along" is the
// axis of the track (rows of a vertical bar, columns of a horizontal one); E is the bar's
// extent along it. The arrow buttons take 17 pixels at each end; the thumb lives between
// them. Every fractional result is rounded to the nearest whole number, halves to even.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/repeat_timer.h"
#include "platform/colors.h"
#include "platform/drawing_surface.h"
#include "platform/key_codes.h"

namespace qv {

enum class ScrollBarKind { Vertical, Horizontal };

// The settings a window keeps for each bar placed on it. A new bar takes these defaults.
struct ScrollBarSettings {
  ColorValue BackColor = kWhite;
  int32_t ValueMax = 100;
  int32_t Value = 0;
  bool Enabled = true;
  int32_t ValueMin = 0;
  int32_t ValueLargeChange = 5;
  int32_t ValueSmallChange = 1;
  bool operator==(const ScrollBarSettings&) const = default;
};

// One stored setting: a named key and its whole-number value.
struct ScrollBarSetting {
  std::string key;
  long long value = 0;
  bool operator==(const ScrollBarSetting&) const = default;
};

// The settings as stored: the keys "BackColor", "ValueMax", "Value", "Enabled", "ValueMin",
// "ValueLargeChange", "ValueSmallChange" in that order, each left out when it holds its
// default. Enabled is stored as 0 (false) or -1 (true).
std::vector<ScrollBarSetting> WriteScrollBarSettings(const ScrollBarSettings& settings);
// Reads stored settings back; a missing key gives its default, an unknown key is ignored,
// and a number beyond a field's range is brought to the nearest value it can hold.
ScrollBarSettings ReadScrollBarSettings(const std::vector<ScrollBarSetting>& stored);

// The settings stored with the bars that the program's windows place.
inline constexpr ScrollBarSettings kMainScrollAccSettings{.ValueMax = 0, .ValueLargeChange = 1};
inline constexpr ScrollBarSettings kMainEScrollSettings{
    .BackColor = 0xC0FFFF, .ValueLargeChange = 375, .ValueSmallChange = 25};
inline constexpr ScrollBarSettings kPreparedGroupsScrollAccSettings{.ValueMax = 0,
                                                                    .ValueLargeChange = 1};
inline constexpr ScrollBarSettings kTAccountVsSettings{
    .BackColor = 0xC0FFFF, .ValueMax = 0, .ValueLargeChange = 18};
inline constexpr ScrollBarSettings kGeneralJournalJJournalSettings{
    .BackColor = 0xC0FFFF, .ValueMax = 0, .ValueLargeChange = 1};
inline constexpr ScrollBarSettings kRunningBalanceVScroll1Settings{
    .BackColor = 0xC0FFFF, .ValueMax = 0, .ValueLargeChange = 12};
inline constexpr ScrollBarSettings kTrialBalanceTScrollSettings{
    .ValueMax = 0, .ValueLargeChange = 200, .ValueSmallChange = 200};
inline constexpr ScrollBarSettings kBalanceSheetVScroll1Settings{.ValueLargeChange = 100,
                                                                 .ValueSmallChange = 100};
inline constexpr ScrollBarSettings kCashFlowVScroll1Settings{.ValueLargeChange = 150,
                                                             .ValueSmallChange = 15};
inline constexpr ScrollBarSettings kCashFlowHScroll1Settings{
    .ValueMax = 150, .ValueLargeChange = 150, .ValueSmallChange = 50};

// The 25 shades of a bar colour: entry n (1 to 25) is n x 5 % of the colour, each part
// capped at 255, so entry 20 is the colour itself and the entries above it are lighter.
// A system colour is not looked up: its index becomes the red part.
struct ScrollBarShades {
  std::array<ColorValue, 26> entry{};  // entry[0] is unused
  // The shade of the given percentage (a multiple of 5 from 5 to 125).
  ColorValue Percent(int percent) const { return entry[static_cast<size_t>(percent / 5)]; }
};
ScrollBarShades ShadesOf(ColorValue color);

// The dithered track: for y = y1 to y2 step 2 and x = x1 to x2 step 2, the pixels (x, y)
// and (x + 1, y + 1) in `color`; the other pixels keep the bar colour. Set pixel by pixel,
// so it is drawn only in a full redraw.
struct ScrollBarDither {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  ColorValue color = 0;
};

class ScrollBarModel {
 public:
  // The model drives `timer` (its tick runs Step) for as long as the model lives.
  ScrollBarModel(ScrollBarKind kind, RepeatTimer& timer, const ScrollBarSettings& settings = {});
  ~ScrollBarModel();
  ScrollBarModel(const ScrollBarModel&) = delete;
  ScrollBarModel& operator=(const ScrollBarModel&) = delete;

  // Raised after every assignment of Value, every repeat step that acts and every drag
  // move, whether or not Value changed.
  std::function<void()> onChange;
  // The surface must be painted again; `face` is true after a full redraw, when the arrow
  // buttons and the track changed as well as the thumb.
  std::function<void(bool face)> onRepaint;

  ScrollBarKind Kind() const { return kind_; }

  // Properties.
  ColorValue BackColor() const { return backColor_; }
  void SetBackColor(ColorValue color);  // full redraw
  int32_t ValueMax() const { return valueMax_; }
  // Vertical bars repaint the thumb where it stands; neither kind re-clamps Value or
  // re-measures the thumb.
  void SetValueMax(int32_t valueMax);
  int32_t Value() const { return value_; }
  void SetValue(int32_t value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);  // no redraw
  int32_t ValueMin() const { return valueMin_; }
  void SetValueMin(int32_t valueMin) { valueMin_ = valueMin; }
  int32_t ValueLargeChange() const { return valueLargeChange_; }
  void SetValueLargeChange(int32_t change) { valueLargeChange_ = change; }
  int32_t ValueSmallChange() const { return valueSmallChange_; }
  void SetValueSmallChange(int32_t change) { valueSmallChange_ = change; }
  ScrollBarSettings Settings() const;

  // Full redraw: new shades, thumb length and position; raises onRepaint(true).
  void Refresh();
  // The surface got a new size; runs the full redraw.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Input. `x` and `y` are the pointer's position on the surface.
  void KeyDown(int keyCode);  // the code as the host left it after its own handler
  // Whether KeyDown acts on the key: Page Up, Page Down, Up and Down, and on a horizontal
  // bar Left and Right as well.
  bool ActsOnKey(int keyCode) const;
  void KeyUp();
  void MousePress(double x, double y);  // only the left button presses
  void MouseMove(double x, double y);
  void MouseRelease();  // any button
  // One auto-repeat step: what each tick of the timer runs, an arrow key at once and a
  // press outside the thumb at once. False when the repeat ends with it.
  bool Step();

  // State.
  int ThumbPos() const { return thumbPos_; }
  int ThumbLength() const { return thumbLength_; }
  bool Dragging() const { return dragging_; }
  int PressPos() const { return pressPos_; }
  int RepeatMode() const { return repeatMode_; }
  const ScrollBarShades& Shade() const { return shade_; }

  // Whether a thumb is drawn: a vertical bar draws none while ValueMax <= 0, and neither
  // kind draws one on a track too short to hold it. Presses, keys and steps do nothing on
  // an empty or inverted range (ValueMax <= ValueMin).
  bool ThumbShown() const;
  // Where the thumb is drawn: ThumbPos, held inside the track. Presses and steps find the
  // thumb there too.
  int DrawnThumbPos() const;

  // The static face, in pixels: a surface filled with BackColor, the track's dither, then
  // the border and the arrow buttons drawn over it.
  ScrollBarDither TrackDither() const;
  std::vector<DrawOp> FaceDrawing() const;
  // The thumb, drawn over the face; empty when no thumb is shown.
  std::vector<DrawOp> ThumbDrawing() const;
  // The one-pixel black outline shown while the bar has the input focus.
  DrawOp FocusDrawing() const;

 private:
  bool Vertical() const { return kind_ == ScrollBarKind::Vertical; }
  int Extent() const { return Vertical() ? height_ : width_; }
  bool RangeEmpty() const { return valueMax_ <= valueMin_; }
  // The shortest thumb whose bevels still nest.
  int SmallestThumb() const;
  // The furthest position the thumb may start at before it reaches the far arrow button.
  int LastThumbPos() const;
  void MeasureThumb();
  // ThumbPos = round((Value - ValueMin) / (ValueMax - ValueMin) x (E - (L + lengthPad)) +
  // offset); kept as it is when the range is empty.
  void PlaceThumb(int lengthPad, int offset);
  void EndClamp();
  // Whether a press at that position along the track falls on the drawn thumb.
  bool OnThumb(double along) const;
  // A tick of the repeat timer.
  void Tick();
  long long ClampToRange(long long value) const;
  void RaiseChange();
  void Repaint(bool face);

  ScrollBarKind kind_;
  RepeatTimer& timer_;
  ColorValue backColor_;
  int32_t valueMax_;
  int32_t value_;
  bool enabled_;
  int32_t valueMin_;
  int32_t valueLargeChange_;
  int32_t valueSmallChange_;
  int thumbPos_ = 0;
  bool dragging_ = false;
  int pressPos_ = 0;
  int thumbLength_ = 0;
  int repeatMode_ = 0;
  // A press stepped once and waits out the delay before it repeats.
  bool pressDelay_ = false;
  ScrollBarShades shade_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qv
