#pragma once
// The print set-up, without the window: the printer list with its "PDF file..." entry, the
// paper sizes the chosen printer accepts, orientation, quality, colour, two-sided printing,
// copies and text size. Every choice but the copies and the text size goes straight to the
// printer (a PrinterPort), which keeps it for this job and later ones; the copies come back
// from Accept (0 = cancelled) and the text size as a print scale (PrintScaleOfText).
//
// One model serves the whole run (controls/print_setup_dialog.h): the first opening probes
// the printer and turns it to portrait; later openings show the earlier choices as they
// were. Messages go through the prompt service, with no caption.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The entry after the installed printers that prints to a PDF file.
inline constexpr const char* kPdfFileEntry = "PDF file...";

// Printer setting values.
enum PrinterOrientation : int { kPortrait = 1, kLandscape = 2 };
enum PrinterColorMode : int { kMonochrome = 1, kColor = 2 };
// Print quality: -1 draft, -2 low, -3 medium, -4 high.
inline constexpr int kDraftQuality = -1;
inline constexpr int kHighQuality = -4;

// The printer operations the print set-up uses. A setter returns false when the printer
// refuses the value; a getter returns 0 when the printer cannot tell.
class PrinterPort {
 public:
  virtual ~PrinterPort() = default;
  // The installed printers' names, in the system's order (without the PDF entry).
  virtual std::vector<std::string> InstalledPrinters() = 0;
  // The current printer's name, kPdfFileEntry while printing to a file.
  virtual std::string CurrentPrinter() = 0;
  // Makes the named printer (or the PDF entry) the current one.
  virtual bool SelectPrinter(const std::string& name) = 0;
  virtual bool SetPaperSize(int code) = 0;
  virtual int PaperSize() = 0;
  virtual bool SetOrientation(int orientation) = 0;
  virtual int Orientation() = 0;
  virtual bool SetPrintQuality(int quality) = 0;
  virtual int PrintQuality() = 0;
  virtual bool SetColorMode(int mode) = 0;
  virtual int ColorMode() = 0;
  // Two-sided printing (on the long edge) or one-sided.
  virtual bool SetDuplex(bool twoSided) = 0;
};

// The text size's print scale: the number the text starts with / 100 ("85%" gives 0.85),
// held between 0.2 and 10.
double PrintScaleOfText(std::string_view textSize);
// The number of copies a copies text asks for: its leading number rounded, 0 (cancel) for
// an empty, non-numeric, zero or negative text, at most 999.
int16_t CopiesOfText(std::string_view copies);

inline constexpr int16_t kMaxCopies = 999;
inline constexpr int kMinTextSize = 20;

class PrintSetupModel {
 public:
  explicit PrintSetupModel(PrinterPort& port);

  // Each opening of the dialog. The first one turns the printer to portrait, probes its
  // paper sizes, lists the printers and reads the printer's settings; a failure there
  // shows "Printer Trouble" once and the step is skipped. With no printer installed the PDF
  // file is chosen without a message (NoPrinterFound), unless the printer refuses it too.
  void Open();
  // True when the first opening found no installed printer: the dialog says that the
  // document goes to a PDF file.
  bool NoPrinterFound() const { return noPrinter_; }

  // The lists and choices the dialog shows.
  const std::vector<std::string>& Printers() const { return printers_; }
  const std::string& PrinterText() const { return printerText_; }
  const std::vector<int>& PaperCodes() const { return paperCodes_; }
  std::vector<std::string> PaperNames() const;
  int PaperRow() const { return paperRow_; }  // -1: none
  // The markers: the orientation (1, 2), colour (1, 2) and quality (1 to 4) shown as
  // chosen; 0 when none is.
  int OrientationMarker() const { return orientationMarker_; }
  int ColorMarker() const { return colorMarker_; }
  int QualityMarker() const { return qualityMarker_; }
  bool Duplex() const { return duplex_; }
  const std::string& TextSize() const { return textSize_; }
  const std::string& CopiesText() const { return copiesText_; }

  // The user's actions.
  void ChoosePrinter(const std::string& name);
  void ChoosePaper(int row);
  void SetDuplex(bool twoSided);
  void ChooseColor(int k);        // 1 black and white, 2 colour
  void ChooseQuality(int k);      // 1 draft .. 4 best
  void ChooseOrientation(int k);  // 1 portrait, 2 landscape
  void SetTextSize(std::string text) { textSize_ = std::move(text); }
  // Leaving the text size: below 20 it becomes "20%".
  void TextSizeLeft();
  void SetCopiesText(std::string text) { copiesText_ = std::move(text); }

  // Print: writes the paper, orientation and quality to the printer and returns the copies
  // (0 = print nothing). Cancel and the close box return 0 copies.
  int16_t Accept();
  void Cancel() { copies_ = 0; }
  // The result of the last opening.
  int16_t Copies() const { return copies_; }
  // The print scale of the text size (the floor applies here too).
  double PrintScale() const { return PrintScaleOfText(textSize_); }

  // The paper probe (AllPages): lists the sizes the current printer accepts and selects the
  // size the printer had when the dialog was first opened, else the first.
  void AllPages();

 private:
  void Trouble();
  void ReadMarkers();

  PrinterPort& port_;
  bool loaded_ = false;
  bool troubleShown_ = false;
  bool noPrinter_ = false;
  std::vector<std::string> printers_;
  std::string printerText_;
  std::vector<int> paperCodes_;
  int savedPaperSize_ = 0;
  int paperRow_ = -1;
  int orientationMarker_ = 0;
  int colorMarker_ = 0;
  int qualityMarker_ = 0;
  bool duplex_ = false;
  std::string textSize_ = "100%";
  std::string copiesText_ = "1";
  int16_t copies_ = 0;
};

}  // namespace qv
