#include "platform/colors_qt.h"

#include <QApplication>

namespace qv {

namespace {

QColor PlainQColor(ColorValue value) {
  const Rgb rgb = RgbOf(value);
  return QColor(rgb.r, rgb.g, rgb.b);
}

// The palette role of a system colour index; grey text is ToQColor's own case.
QPalette::ColorRole PaletteRoleOf(uint32_t systemIndex) {
  switch (systemIndex) {
    case kWindowTextColor:
    case kMenuTextColor:
    case kTitleBarTextColor:
    case kInactiveTitleTextColor: return QPalette::WindowText;
    case kWindowBackgroundColor: return QPalette::Base;
    case kButtonTextColor: return QPalette::ButtonText;
    case kHighlightColor: return QPalette::Highlight;
    case kHighlightTextColor: return QPalette::HighlightedText;
    case kButtonShadowColor: return QPalette::Mid;
    case kButtonDarkShadowColor: return QPalette::Shadow;
    case kButtonHighlightColor: return QPalette::Light;
    case kButtonLightColor: return QPalette::Midlight;
    case kInfoTextColor: return QPalette::ToolTipText;
    case kInfoBackgroundColor: return QPalette::ToolTipBase;
    case kActiveTitleColor:
    case kInactiveTitleColor: return QPalette::Highlight;
    case kWindowFrameColor:
    case kActiveBorderColor:
    case kInactiveBorderColor: return QPalette::Dark;
    default: return QPalette::Button;  // button face, scroll bar, menu bar, workspace
  }
}

}  // namespace

QColor ToQColor(ColorValue value, const QPalette& palette) {
  if (!IsSystemColor(value)) return PlainQColor(value);
  const uint32_t index = value & 0xFF;
  // Grey text is the disabled text colour.
  if (index == kGrayTextColor) return palette.color(QPalette::Disabled, QPalette::WindowText);
  return palette.color(QPalette::Active, PaletteRoleOf(index));
}

QColor ToQColor(ColorValue value) {
  // Only a system colour needs the application's palette.
  return IsSystemColor(value) ? ToQColor(value, QApplication::palette()) : PlainQColor(value);
}

ColorValue FromQColor(const QColor& color) {
  return RgbValue(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                  static_cast<uint8_t>(color.blue()));
}

}  // namespace qv
