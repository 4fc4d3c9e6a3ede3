#pragma once
// Measuring text in a font, without tying the caller to a window system. Windows measure
// with the screen's or the printer's font metrics; tests use FixedTextMetrics.

#include <string>
#include <string_view>

namespace qv {

// The font settings that a drawing surface carries. Sizes are in points.
struct FontSpec {
  std::string Name = "Arial";
  double Size = 8.25;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  // A Windows character-set number kept with the book; text is Unicode, so it does not
  // change what is drawn.
  int Charset = 0;

  bool operator==(const FontSpec&) const = default;
};

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // Width and height of the text in twips, drawn in the font.
  virtual double TextWidth(const FontSpec& font, std::string_view text) const = 0;
  virtual double TextHeight(const FontSpec& font, std::string_view text) const = 0;
};

// Every character (UTF-8 code point) is CharWidth twips wide, scaled by the font size
// relative to 10 points; a line is LineHeight twips high, scaled the same way. Bold adds
// one twip per character so that tests can tell it apart.
class FixedTextMetrics final : public TextMetrics {
 public:
  explicit FixedTextMetrics(double charWidth = 100, double lineHeight = 200)
      : charWidth_(charWidth), lineHeight_(lineHeight) {}
  double TextWidth(const FontSpec& font, std::string_view text) const override;
  double TextHeight(const FontSpec& font, std::string_view text) const override;

 private:
  double charWidth_;
  double lineHeight_;
};

}  // namespace qv
