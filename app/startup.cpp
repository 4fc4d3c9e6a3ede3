#include "app/startup.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/number_text.h"
#include "platform/units.h"
#include "platform/utf8.h"

namespace qv {
namespace {

uint8_t FadedPart(uint8_t part, int step) {
  const long value = RoundHalfEven(part - step / 2.0);
  return static_cast<uint8_t>(std::clamp<long>(value, 0, 255));
}

bool HasBookExtension(const std::filesystem::path& path) {
  return ToLowerText(path.extension().string()) == ".acc";
}

}  // namespace

std::array<ColorValue, 31> ComputeFadeColors(ColorValue background) {
  std::array<ColorValue, 31> fade{};
  const Rgb base = RgbOf(background);
  for (int i = 1; i <= 30; ++i)
    fade[static_cast<std::size_t>(i)] =
        RgbValue(FadedPart(base.r, i), FadedPart(base.g, i), FadedPart(base.b, i));
  return fade;
}

std::vector<ExampleBook> ListExampleBooks(const std::vector<std::string>& folders) {
  namespace fs = std::filesystem;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::vector<ExampleBook> books;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      std::error_code typeError;
      if (!it->is_regular_file(typeError) || !HasBookExtension(it->path())) continue;
      books.push_back({it->path().string(), it->path().filename().string()});
    }
    if (books.empty()) continue;
    std::sort(books.begin(), books.end(),
              [](const ExampleBook& a, const ExampleBook& b) { return a.FileName < b.FileName; });
    return books;
  }
  return {};
}

std::string MenuCaptionOf(std::string_view fileName) {
  std::string caption;
  for (char c : fileName) {
    caption += c;
    if (c == '&') caption += '&';
  }
  return caption;
}

std::string CommandLineBookPath(const std::vector<std::string>& arguments) {
  std::string path;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (i > 1) path += ' ';
    path += arguments[i];
  }
  // Quotes that wrap the whole path are no part of it; any other quote is.
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
    path = path.substr(1, path.size() - 2);
  return path;
}

std::optional<double> ParseSavedMeasure(std::string_view text) {
  text = TrimAny(text, " ");
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value) || value <= 0 || value > 1e6) return std::nullopt;
  return value;
}

std::string SavedMeasureText(double twips) {
  return NumberText(static_cast<double>(static_cast<float>(twips)), std::chars_format::general, 7);
}

int32_t FittedInnerHeight(int32_t frameTop, int32_t frameHeight) {
  return frameTop + frameHeight + 80;
}

std::string TitleText(std::string_view bookPath) {
  std::string title(kTitlePrefix);
  if (!bookPath.empty()) {
    title += bookPath;
    title += "    ";
  }
  return title;
}

}  // namespace qv
