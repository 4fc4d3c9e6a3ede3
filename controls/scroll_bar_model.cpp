#include "controls/scroll_bar_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace qv {
namespace {

// The buttons take rows (columns) 0 to 17 and E - 18 to E - 1; the thumb never starts
// above 17 nor ends below E - 18.
constexpr int kButton = 17;

// Thumb lengths beyond the track (and below the smallest thumb whose bevels still nest) are
// brought back inside. A vertical thumb has six nested rectangles, a horizontal one four.
constexpr int kSmallestVerticalThumb = 6;
constexpr int kSmallestHorizontalThumb = 2;

constexpr int kIntervalAtRest = 100;
constexpr int kHorizontalIntervalAtCreation = 50;
// A press steps once at once; held longer than this, it repeats. A quick click is one step.
constexpr int kPressRepeatDelay = 300;
constexpr int kLineInterval = 10;
constexpr int kVerticalPageKeyInterval = 10;
constexpr int kHorizontalPageKeyInterval = 100;

// The nearest whole number (halves to even), or nothing when the number is not finite or
// too large for any field: the computation is then skipped and the field keeps its value.
std::optional<long long> Rounded(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return std::nullopt;
  return static_cast<long long>(std::nearbyint(value));
}

// Pixel positions and lengths are 16-bit; larger results are held at the limit.
int Pixel16(long long value) {
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int16_t>::min(),
                                                std::numeric_limits<int16_t>::max()));
}

int32_t Int32(long long value) {
  return static_cast<int32_t>(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

DrawOp Pixel(int x, int y, ColorValue c) { return PixelOp{double(x), double(y), c}; }
// A line whose end point is not drawn.
DrawOp Line(int x1, int y1, int x2, int y2, ColorValue c) {
  return LineOp{double(x1), double(y1), double(x2), double(y2), c};
}
// An outline with both corners on it.
DrawOp Box(int x1, int y1, int x2, int y2, ColorValue c) {
  return BoxOp{double(x1), double(y1), double(x2), double(y2), c};
}
DrawOp Filled(int x1, int y1, int x2, int y2, ColorValue c) {
  return FilledBoxOp{double(x1), double(y1), double(x2), double(y2), c};
}

const char* const kKeys[] = {"BackColor", "ValueMax",         "Value",           "Enabled",
                             "ValueMin",  "ValueLargeChange", "ValueSmallChange"};

}  // namespace

std::vector<ScrollBarSetting> WriteScrollBarSettings(const ScrollBarSettings& s) {
  const ScrollBarSettings d;
  std::vector<ScrollBarSetting> out;
  auto put = [&out](const char* key, long long value, long long fallback) {
    if (value != fallback) out.push_back({key, value});
  };
  put(kKeys[0], s.BackColor, d.BackColor);
  put(kKeys[1], s.ValueMax, d.ValueMax);
  put(kKeys[2], s.Value, d.Value);
  put(kKeys[3], s.Enabled ? -1 : 0, d.Enabled ? -1 : 0);
  put(kKeys[4], s.ValueMin, d.ValueMin);
  put(kKeys[5], s.ValueLargeChange, d.ValueLargeChange);
  put(kKeys[6], s.ValueSmallChange, d.ValueSmallChange);
  return out;
}

ScrollBarSettings ReadScrollBarSettings(const std::vector<ScrollBarSetting>& stored) {
  ScrollBarSettings s;
  for (const ScrollBarSetting& item : stored) {
    const long long v = item.value;
    if (item.key == kKeys[0]) {
      s.BackColor = static_cast<ColorValue>(
          std::clamp<long long>(v, 0, std::numeric_limits<ColorValue>::max()));
    } else if (item.key == kKeys[1]) {
      s.ValueMax = Int32(v);
    } else if (item.key == kKeys[2]) {
      s.Value = Int32(v);
    } else if (item.key == kKeys[3]) {
      s.Enabled = v != 0;
    } else if (item.key == kKeys[4]) {
      s.ValueMin = Int32(v);
    } else if (item.key == kKeys[5]) {
      s.ValueLargeChange = Int32(v);
    } else if (item.key == kKeys[6]) {
      s.ValueSmallChange = Int32(v);
    }
  }
  return s;
}

ScrollBarShades ShadesOf(ColorValue color) {
  double red, green, blue;
  if (IsSystemColor(color)) {
    red = color & 0xFF;
    green = 0;
    blue = 0;
  } else {
    const Rgb rgb = RgbOf(color);
    red = rgb.r;
    green = rgb.g;
    blue = rgb.b;
  }
  auto part = [](int i, double c) {
    return static_cast<uint8_t>(std::min(255.0, std::nearbyint(i * (c / 200))));
  };
  ScrollBarShades shades;
  for (int i = 10; i <= 250; i += 10) {
    shades.entry[static_cast<size_t>(i / 10)] =
        RgbValue(part(i, red), part(i, green), part(i, blue));
  }
  return shades;
}

ScrollBarModel::ScrollBarModel(ScrollBarKind kind, RepeatTimer& timer,
                               const ScrollBarSettings& settings)
    : kind_(kind),
      timer_(timer),
      backColor_(settings.BackColor),
      valueMax_(settings.ValueMax),
      value_(settings.Value),
      enabled_(settings.Enabled),
      valueMin_(settings.ValueMin),
      valueLargeChange_(settings.ValueLargeChange),
      valueSmallChange_(settings.ValueSmallChange),
      shade_(ShadesOf(settings.BackColor)) {
  timer_.SetEnabled(false);
  timer_.SetInterval(Vertical() ? kIntervalAtRest : kHorizontalIntervalAtCreation);
  timer_.SetTick([this] { Tick(); });
}

ScrollBarModel::~ScrollBarModel() {
  timer_.SetEnabled(false);
  timer_.SetTick(nullptr);
}

ScrollBarSettings ScrollBarModel::Settings() const {
  return ScrollBarSettings{backColor_, valueMax_,         value_,           enabled_,
                           valueMin_,  valueLargeChange_, valueSmallChange_};
}

void ScrollBarModel::SetBackColor(ColorValue color) {
  backColor_ = color;
  Refresh();
}

void ScrollBarModel::SetValueMax(int32_t valueMax) {
  valueMax_ = valueMax;
  if (Vertical()) Repaint(false);
}

void ScrollBarModel::SetEnabled(bool enabled) { enabled_ = enabled; }

void ScrollBarModel::SetValue(int32_t value) {
  if (Vertical()) {
    long long v = value;
    if (v > valueMax_) v = valueMax_;
    if (v < valueMin_) v = valueMin_;
    value_ = Int32(v);
    if (valueMax_ > 0) PlaceThumb(23, 0);
    EndClamp();
    Repaint(false);
    RaiseChange();
  } else {
    // No lower bound, and 0 stays 0 even above a negative ValueMax; the thumb follows the
    // value without the end clamp.
    if (value > valueMax_ && value != 0) value = valueMax_;
    value_ = value;
    PlaceThumb(23, kButton);
    RaiseChange();
    Repaint(false);
  }
}

void ScrollBarModel::Refresh() {
  shade_ = ShadesOf(backColor_);
  MeasureThumb();
  PlaceThumb(23, 0);
  EndClamp();
  Repaint(true);
}

void ScrollBarModel::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  Refresh();
}

void ScrollBarModel::MeasureThumb() {
  const long long extent = Extent();
  const long long range = static_cast<long long>(valueMax_) - valueMin_;
  long long length = thumbLength_;
  if (range != 0 && valueLargeChange_ != 0) {
    const double pages = static_cast<double>(range) / valueLargeChange_;
    if (const auto l = Rounded(static_cast<double>(extent - 40) / pages / 2)) length = *l;
  }
  if (Vertical()) {
    if (length < 20) {
      length = 20;
    } else if (extent - 40 < length) {
      length = extent - 100;
    }
  } else {
    if (length < 5) length = 5;
    if (extent - 40 < length) length = extent - 100;
    // A disabled bar's thumb fills the whole track.
    if (!enabled_) length = extent - 39;
  }
  // The thumb covers L + 5 pixels of a track of E - 34.
  length = std::min(length, extent - 39);
  length = std::max<long long>(length, SmallestThumb());
  thumbLength_ = Pixel16(length);
}

void ScrollBarModel::PlaceThumb(int lengthPad, int offset) {
  const long long range = static_cast<long long>(valueMax_) - valueMin_;
  if (range == 0) return;
  const double span = static_cast<double>(Extent() - (thumbLength_ + lengthPad));
  const double share = static_cast<double>(static_cast<long long>(value_) - valueMin_) / range;
  if (const auto pos = Rounded(share * span + offset)) thumbPos_ = Pixel16(*pos);
}

int ScrollBarModel::SmallestThumb() const {
  return Vertical() ? kSmallestVerticalThumb : kSmallestHorizontalThumb;
}

int ScrollBarModel::LastThumbPos() const { return Extent() - (thumbLength_ + 22); }

void ScrollBarModel::EndClamp() {
  const int last = LastThumbPos();
  if (last < thumbPos_) {
    thumbPos_ = Pixel16(last);
  } else if (thumbPos_ < kButton) {
    thumbPos_ = kButton;
  }
}

long long ScrollBarModel::ClampToRange(long long value) const {
  if (value > valueMax_) return valueMax_;
  if (value < valueMin_) return valueMin_;
  return value;
}

bool ScrollBarModel::ThumbShown() const {
  if (Extent() - 39 < SmallestThumb()) return false;
  return !Vertical() || valueMax_ > 0;
}

int ScrollBarModel::DrawnThumbPos() const {
  const int last = LastThumbPos();
  if (last < kButton) return thumbPos_;
  return std::clamp(thumbPos_, kButton, last);
}

void ScrollBarModel::KeyDown(int keyCode) {
  // An empty or inverted range has nothing to step through.
  if (RangeEmpty()) return;
  switch (keyCode) {
    case kKeyPageUp:
    case kKeyPageDown:
      timer_.SetInterval(Vertical() ? kVerticalPageKeyInterval : kHorizontalPageKeyInterval);
      repeatMode_ = keyCode == kKeyPageUp ? 1 : 2;
      break;
    case kKeyLeft:
    case kKeyUp:
    case kKeyRight:
    case kKeyDown:
      if (!ActsOnKey(keyCode)) break;
      repeatMode_ = keyCode == kKeyLeft || keyCode == kKeyUp ? 3 : 4;
      Step();
      // A vertical bar steps once per press; a horizontal one repeats while the key is held.
      if (Vertical()) repeatMode_ = 0;
      break;
    default: break;
  }
  if (repeatMode_ > 0) timer_.SetEnabled(true);
}

bool ScrollBarModel::ActsOnKey(int keyCode) const {
  switch (keyCode) {
    case kKeyPageUp:
    case kKeyPageDown:
    case kKeyUp:
    case kKeyDown: return true;
    case kKeyLeft:
    case kKeyRight: return !Vertical();
    default: return false;
  }
}

void ScrollBarModel::KeyUp() {
  repeatMode_ = 0;
  pressDelay_ = false;
  timer_.SetEnabled(false);
  timer_.SetInterval(kIntervalAtRest);
}

void ScrollBarModel::MousePress(double x, double y) {
  if (RangeEmpty()) return;
  const double along = Vertical() ? y : x;
  if (OnThumb(along)) {
    dragging_ = true;
    if (Vertical()) Repaint(false);  // the pressed shades
    return;
  }
  if (const auto pos = Rounded(along)) pressPos_ = Pixel16(*pos);
  if (!Step()) return;
  pressDelay_ = true;
  timer_.SetInterval(kPressRepeatDelay);
  timer_.SetEnabled(true);
}

bool ScrollBarModel::OnThumb(double along) const {
  // The thumb is drawn on the pixels T to T + L + 4.
  const int t = DrawnThumbPos();
  return t <= along && along < t + thumbLength_ + 5;
}

void ScrollBarModel::Tick() {
  if (pressDelay_) {
    // The delay after a press is over: the steps now come at the usual pace.
    pressDelay_ = false;
    timer_.SetInterval(kIntervalAtRest);
  }
  Step();
}

void ScrollBarModel::MouseMove(double x, double y) {
  if (!dragging_) return;
  // The range emptied during the drag, or a track with no room for the thumb to travel:
  // the value and the thumb stay where they are.
  const long long travel = static_cast<long long>(Extent()) - (thumbLength_ + 12);
  if (RangeEmpty() || travel == 0) return;
  const double along = Vertical() ? y : x;
  const auto wanted = Rounded(along - thumbLength_ / 2.0 - 3);
  if (!wanted) return;
  long long thumb = *wanted;
  long long pos;
  const long long last = LastThumbPos();
  if (thumb < kButton) {
    thumb = kButton;
    pos = 0;
  } else if (last < thumb) {
    thumb = last;
    pos = Extent() - kButton;
  } else {
    pos = Rounded(along - kButton).value_or(0);
  }
  const double range = static_cast<double>(static_cast<long long>(valueMax_) - valueMin_);
  const auto value =
      Rounded(static_cast<double>(pos) / static_cast<double>(travel) * range + valueMin_);
  if (!value) return;
  thumbPos_ = Pixel16(thumb);
  value_ = Int32(ClampToRange(*value));
  Repaint(false);
  RaiseChange();
}

void ScrollBarModel::MouseRelease() {
  dragging_ = false;
  pressDelay_ = false;
  if (Vertical()) Repaint(false);
  timer_.SetEnabled(false);
}

bool ScrollBarModel::Step() {
  // The host emptied the range while a press or a key held the timer on.
  if (RangeEmpty()) {
    timer_.SetEnabled(false);
    return false;
  }
  const long long p = pressPos_;
  const long long t = DrawnThumbPos();
  const long long l = thumbLength_;
  const long long extent = Extent();
  // The pointer rests on the thumb (or just beside it): wait for it to move.
  if (repeatMode_ == 0 && t - 3 <= p && p <= t + l + 6) return true;

  long long v = value_;
  const long long page = valueLargeChange_;
  const long long line = valueSmallChange_;
  int offset = Vertical() ? 0 : kButton;
  bool pagedForward = false;
  auto lineStep = [this](long long& value, long long delta) {
    value += delta;
    timer_.SetInterval(kLineInterval);
  };
  // Jump part of the way to a pointer that is near the thumb's leading edge.
  auto approach = [&](long long& value) {
    if (p < t - (l + 6)) {
      value -= page;
    } else if (extent != 0) {
      const double range = static_cast<double>(static_cast<long long>(valueMax_) - valueMin_);
      const double moved = static_cast<double>(t - p) / static_cast<double>(extent) * range;
      if (const auto r = Rounded(static_cast<double>(value) - moved)) value = *r;
    }
  };

  if (repeatMode_ == 2) {
    v += page;
    offset = kButton;
  } else if (repeatMode_ == 1) {
    v -= page;
    offset = 0;
  } else if (repeatMode_ == 3 && v >= valueMin_) {
    lineStep(v, -line);
    offset = 0;
  } else if (repeatMode_ == 4 && v <= valueMax_) {
    lineStep(v, line);
    offset = kButton;
  } else if (Vertical()) {
    if ((p < kButton || repeatMode_ == 3) && v > valueMin_) {
      lineStep(v, -line);
    } else if ((repeatMode_ == 4 || p > extent - kButton) && v < valueMax_) {
      lineStep(v, line);
      offset = kButton;
    } else if (t < p && p < extent - kButton) {
      v += page;
      pagedForward = true;
      offset = kButton;
    } else if (kButton < p && p < t) {
      approach(v);
    }
  } else {
    if (p < kButton && v > valueMin_) {
      lineStep(v, -line);
      offset = 0;
    } else if (p > extent - kButton && v < valueMax_) {
      lineStep(v, line);
      offset = kButton;
    } else if (kButton < p && p < t) {
      approach(v);
      offset = 0;
    } else if (t + l + 6 < p && p < extent - kButton) {
      v += page;
      offset = kButton;
      pagedForward = true;
    }
  }
  value_ = Int32(ClampToRange(v));
  PlaceThumb(Vertical() ? 23 : 22, offset);
  EndClamp();
  Repaint(false);
  RaiseChange();
  // Paging towards the pointer stops once the thumb has passed it.
  if (pagedForward && pressPos_ < DrawnThumbPos() && repeatMode_ == 0) {
    timer_.SetEnabled(false);
    return false;
  }
  return true;
}

void ScrollBarModel::RaiseChange() {
  if (onChange) onChange();
}

void ScrollBarModel::Repaint(bool face) {
  if (onRepaint) onRepaint(face);
}

ScrollBarDither ScrollBarModel::TrackDither() const {
  const ColorValue c = shade_.Percent(55);
  if (Vertical()) return ScrollBarDither{0, 16, width_, height_ - 17, c};
  return ScrollBarDither{16, 0, width_, height_, c};
}

std::vector<DrawOp> ScrollBarModel::FaceDrawing() const {
  const int w = width_;
  const int h = height_;
  const ColorValue s50 = shade_.Percent(50);
  const ColorValue s55 = shade_.Percent(55);
  const ColorValue s80 = shade_.Percent(80);
  const ColorValue s90 = shade_.Percent(90);
  const ColorValue s100 = shade_.Percent(100);
  if (Vertical()) {
    const int half = static_cast<int>(std::nearbyint(w / 2.0));
    return {
        // border
        Box(0, 0, w - 1, h - 1, s55),
        Box(1, 1, w - 2, h - 2, s80),
        // top button and its arrow (rows 1, 3, 5, 7 and 9 pixels wide)
        Box(0, 0, w - 1, 17, s55),
        Box(1, 1, w - 2, 16, s80),
        Box(2, 2, w - 3, 15, s100),
        Filled(3, 3, w - 4, 14, s90),
        Pixel(half, 6, s55),
        Line(half - 1, 7, half + 2, 7, s55),
        Line(half - 2, 8, half + 3, 8, s55),
        Line(half - 3, 9, half + 4, 9, s55),
        Line(half - 4, 10, half + 5, 10, s50),
        // bottom button (its outer edges come from the border) and its arrow
        Box(1, h, w - 1, h - 18, s55),
        Box(1, h - 2, w - 2, h - 17, s80),
        Box(2, h - 3, w - 3, h - 16, s100),
        Filled(3, h - 4, w - 4, h - 15, s90),
        Pixel(half, h - 7, kBlack),
        Line(half - 1, h - 8, half + 2, h - 8, s55),
        Line(half - 2, h - 9, half + 3, h - 9, s55),
        Line(half - 3, h - 10, half + 4, h - 10, s55),
        Line(half - 4, h - 11, half + 5, h - 11, s50),
    };
  }
  const int half = static_cast<int>(std::nearbyint(h / 2.0));
  return {
      Box(0, 0, w - 1, h - 1, s55),
      Box(1, 1, w - 2, h - 2, s80),
      // left button and its arrow
      Box(0, 0, 17, h - 1, s55),
      Box(1, 1, 16, h - 2, s80),
      Box(2, 2, 15, h - 3, s100),
      Filled(3, 3, 14, h - 4, s90),
      Pixel(5, half, s55),
      Line(6, half - 1, 6, half + 2, s55),
      Line(7, half - 2, 7, half + 3, s55),
      Line(8, half - 3, 8, half + 4, s55),
      Line(9, half - 4, 9, half + 5, s50),
      // right button and its arrow
      Box(w, 1, w - 18, h - 1, s55),
      Box(w - 2, 1, w - 17, h - 2, s80),
      Box(w - 3, 2, w - 16, h - 3, s100),
      Filled(w - 4, 3, w - 15, h - 4, s90),
      Pixel(w - 7, half, kBlack),
      Line(w - 8, half - 1, w - 8, half + 2, s55),
      Line(w - 9, half - 2, w - 9, half + 3, s55),
      Line(w - 10, half - 3, w - 10, half + 4, s55),
      Line(w - 11, half - 4, w - 11, half + 5, s50),
  };
}

std::vector<DrawOp> ScrollBarModel::ThumbDrawing() const {
  if (!ThumbShown()) return {};
  const int t = DrawnThumbPos();
  const int l = thumbLength_;
  const int w = width_;
  const int h = height_;
  if (Vertical()) {
    // A dragged thumb is drawn one shade darker.
    const int d = dragging_ ? 5 : 0;
    return {
        Box(0, t, w - 1, t + l + 4, shade_.Percent(55 - d)),
        Box(1, t + 1, w - 2, t + l + 3, shade_.Percent(80 - d)),
        Box(2, t + 2, w - 3, t + l + 2, shade_.Percent(100 - d)),
        Filled(3, t + 3, w - 4, t + l + 1, shade_.Percent(70 - d)),
        Filled(4, t + 4, w - 5, t + l, shade_.Percent(90 - d)),
        Box(5, t + 5, w - 6, t + l - 1, shade_.Percent(95 - d)),
    };
  }
  return {
      Box(t, 0, t + l + 4, h - 1, shade_.Percent(55)),
      Box(t + 1, 1, t + l + 3, h - 2, shade_.Percent(80)),
      Box(t + 2, 2, t + l + 2, h - 3, shade_.Percent(100)),
      Filled(t + 3, 3, t + l + 1, h - 4, shade_.Percent(90)),
  };
}

DrawOp ScrollBarModel::FocusDrawing() const { return Box(0, 0, width_ - 1, height_ - 1, kBlack); }

}  // namespace qv
