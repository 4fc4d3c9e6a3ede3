#include "platform/text_metrics.h"

#include "platform/utf8.h"

namespace qv {

double FixedTextMetrics::TextWidth(const FontSpec& font, std::string_view text) const {
  const double scale = font.Size / 10.0;
  const double perChar = charWidth_ * scale + (font.Bold ? 1.0 : 0.0);
  return perChar * static_cast<double>(Utf8Length(text));
}

double FixedTextMetrics::TextHeight(const FontSpec& font, std::string_view text) const {
  // Each line break adds a line, as a window measures a multi-line text.
  int lines = 1;
  for (char c : text)
    if (c == '\n') ++lines;
  return lineHeight_ * (font.Size / 10.0) * lines;
}

}  // namespace qv
