#pragma once
// What the program's start-up works out without a window: the gradient colours of the
// toolbar and the dialogs' backgrounds, the example books of the Help menu and their menu
// captions, the book named on the command line, the saved window measures, the window's
// fitted height and the title.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colors.h"

namespace qv {

// The program's name and version as the title shows them.
inline constexpr std::string_view kTitlePrefix = "Quorvel V6.2 : ";

// The gradient colours (0xBBGGRR): element i (1 to 30) has each of red, green and blue of
// `background` less i / 2, rounded to the nearest whole number (halves to even) and held
// at 0; element 0 stays 0. A background of 0xF0F0F0 gives 240, 239, 238, 238, 238 for
// elements 1 to 5 and 225 for element 30.
std::array<ColorValue, 31> ComputeFadeColors(ColorValue background);

// The example books: the "*.acc" files (ordinary files, the extension in any case) of the
// first of `folders` that holds any, sorted by name. Each knows its path and its file name.
struct ExampleBook {
  std::string Path;
  std::string FileName;
  bool operator==(const ExampleBook&) const = default;
};
std::vector<ExampleBook> ListExampleBooks(const std::vector<std::string>& folders);

// A file name as a menu caption: "&" would mark the next letter as the access key, so
// each is doubled.
std::string MenuCaptionOf(std::string_view fileName);

// The book named on the command line: the arguments after the program's name joined with
// single blanks (a single argument is the path exactly as given), without the double quotes
// that wrap the whole path, if any; "" when there are none.
std::string CommandLineBookPath(const std::vector<std::string>& arguments);

// A saved window measure (twips, the text of a number). Nothing when the text is not a
// number, or not a plausible size (above 0 and at most 10^6 twips).
std::optional<double> ParseSavedMeasure(std::string_view text);
// The text a measure is saved as: the number as a single-precision value writes it, with
// "." as its point under every locale.
std::string SavedMeasureText(double twips);

// The inner height that fits the window to its entry frame: the frame's top and height
// and 80 twips below it.
int32_t FittedInnerHeight(int32_t frameTop, int32_t frameHeight);

// The window title: "Quorvel V6.2 : " followed by the open book's path and four blanks, or
// by nothing while no book file is open.
std::string TitleText(std::string_view bookPath);

}  // namespace qv
