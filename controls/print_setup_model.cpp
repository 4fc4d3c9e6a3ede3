#include "controls/print_setup_model.h"

#include <algorithm>
#include <cmath>

#include "books/module_procedures.h"
#include "controls/paper_sizes.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/units.h"

namespace qv {

namespace {

// The largest text size a caller prints at: ten times the design size is already more than
// a page holds, and larger ones only waste paper.
constexpr double kMaxTextSize = 1000;

void ShowUntitled(const std::string& text, PromptIcon icon = PromptIcon::None) {
  ShowMessage(text, icon, std::string());
}

}  // namespace

double PrintScaleOfText(std::string_view textSize) {
  const double size = LeadingNumber(textSize);
  return std::clamp(size, double(kMinTextSize), kMaxTextSize) / 100.0;
}

int16_t CopiesOfText(std::string_view copies) {
  const double value = LeadingNumber(copies);
  if (!(value > 0)) return 0;
  if (value >= kMaxCopies) return kMaxCopies;
  return static_cast<int16_t>(RoundHalfEven(value));
}

PrintSetupModel::PrintSetupModel(PrinterPort& port) : port_(port) {}

void PrintSetupModel::Trouble() {
  if (troubleShown_) return;  // once per opening; the failing step is skipped
  troubleShown_ = true;
  ShowUntitled("Printer Trouble");
}

void PrintSetupModel::Open() {
  troubleShown_ = false;
  copies_ = 0;
  if (loaded_) return;
  loaded_ = true;
  port_.SetOrientation(kPortrait);
  savedPaperSize_ = port_.PaperSize();
  AllPages();
  printers_ = port_.InstalledPrinters();
  // No printer installed: a PDF file is what remains, and the dialog says so; only when
  // even that is refused is there trouble.
  noPrinter_ = printers_.empty();
  if (noPrinter_ && port_.CurrentPrinter() != kPdfFileEntry) {
    if (port_.SelectPrinter(kPdfFileEntry))
      AllPages();
    else
      Trouble();
  }
  printers_.push_back(kPdfFileEntry);
  ReadMarkers();
  printerText_ = port_.CurrentPrinter();
  if (std::find(printers_.begin(), printers_.end(), printerText_) == printers_.end()) {
    Trouble();
    printerText_ = kPdfFileEntry;
    if (port_.SelectPrinter(printerText_)) AllPages();
  }
}

void PrintSetupModel::ReadMarkers() {
  const int orientation = port_.Orientation();
  const int color = port_.ColorMode();
  const int quality = port_.PrintQuality();
  if (orientation == 0 || color == 0 || quality == 0) Trouble();
  orientationMarker_ = orientation == kPortrait || orientation == kLandscape ? orientation : 0;
  colorMarker_ = color == kMonochrome || color == kColor ? color : 0;
  qualityMarker_ = quality <= kDraftQuality && quality >= kHighQuality ? -quality : 0;
}

void PrintSetupModel::AllPages() {
  BusyPointer busy;
  // The list starts empty on every probe, so another printer's sizes never stay in it.
  paperCodes_.clear();
  for (int code = kFirstPaperCode; code <= kLastPaperCode; ++code)
    if (port_.SetPaperSize(code)) paperCodes_.push_back(code);
  const auto saved = std::find(paperCodes_.begin(), paperCodes_.end(), savedPaperSize_);
  paperRow_ = -1;
  if (paperCodes_.empty()) return;
  // A size the printer does not accept selects the first row, never one past the list.
  ChoosePaper(saved == paperCodes_.end() ? 0 : static_cast<int>(saved - paperCodes_.begin()));
}

std::vector<std::string> PrintSetupModel::PaperNames() const {
  std::vector<std::string> names;
  names.reserve(paperCodes_.size());
  for (int code : paperCodes_) names.emplace_back(PaperName(code));
  return names;
}

void PrintSetupModel::ChoosePrinter(const std::string& name) {
  if (!port_.SelectPrinter(name)) {
    ShowUntitled("Can not set " + name, PromptIcon::Exclamation);
    return;
  }
  printerText_ = name;
  AllPages();
}

void PrintSetupModel::ChoosePaper(int row) {
  if (row < 0 || row >= static_cast<int>(paperCodes_.size())) return;
  paperRow_ = row;
  if (!port_.SetPaperSize(paperCodes_[static_cast<std::size_t>(row)]))
    ShowUntitled("Printer does not support this paper size");
}

void PrintSetupModel::SetDuplex(bool twoSided) {
  duplex_ = twoSided;
  port_.SetDuplex(twoSided);  // a printer without two-sided printing prints one-sided
}

void PrintSetupModel::ChooseColor(int k) {
  port_.SetColorMode(k);
  const int mode = port_.ColorMode();
  if (mode == kMonochrome || mode == kColor) colorMarker_ = mode;
}

void PrintSetupModel::ChooseQuality(int k) {
  qualityMarker_ = 0;
  port_.SetPrintQuality(-k);
  const int quality = port_.PrintQuality();
  if (quality <= kDraftQuality && quality >= kHighQuality) qualityMarker_ = -quality;
}

void PrintSetupModel::ChooseOrientation(int k) {
  orientationMarker_ = k;
  port_.SetOrientation(k);
  const int orientation = port_.Orientation();
  if (orientation == kPortrait || orientation == kLandscape) orientationMarker_ = orientation;
}

void PrintSetupModel::TextSizeLeft() {
  if (LeadingNumber(textSize_) < kMinTextSize) textSize_ = std::to_string(kMinTextSize) + "%";
}

int16_t PrintSetupModel::Accept() {
  copies_ = CopiesOfText(copiesText_);
  TextSizeLeft();  // the floor holds however the dialog was left
  bool problem = false;
  if (paperRow_ >= 0 && paperRow_ < static_cast<int>(paperCodes_.size()))
    problem |= !port_.SetPaperSize(paperCodes_[static_cast<std::size_t>(paperRow_)]);
  if (orientationMarker_ != 0) problem |= !port_.SetOrientation(orientationMarker_);
  if (qualityMarker_ != 0) problem |= !port_.SetPrintQuality(-qualityMarker_);
  if (problem) ShowUntitled("Printer Problem, check printer, paper and cables");
  return copies_;
}

}  // namespace qv
