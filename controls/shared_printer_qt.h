#pragma once
// The program's printer: one QPrinter for the whole run, on which the print set-up leaves
// its choices and every print command prints, and the printer port of the print set-up over
// a QPrinter. The installed printers come from Qt's printer information (CUPS where it is
// installed); the "PDF file..." entry is the same printer writing PDF to a file.
//
// Paper codes are the standard paper numbers of printer settings, mapped to Qt's page sizes;
// a printer accepts a code when it lists that size (the PDF entry accepts all). Print quality
// is kept as a resolution: draft, low, medium and best take the lowest to the highest of the
// printer's resolutions (150, 300, 600 and 1200 dots per inch for PDF).

#include <QPageSize>
#include <QPrinter>
#include <optional>
#include <string>
#include <vector>

#include "controls/print_setup_model.h"

namespace qv {

// The printer of the run, made on first use (the application must exist): the system's
// default printer, or PDF output when there is none.
QPrinter& SharedPrinter();

// True when the printer writes a PDF file rather than to a printer.
bool PrintsToFile(const QPrinter& printer);

// The page size of a paper code (1 to 41); nothing for another code.
std::optional<QPageSize> PageSizeOfPaperCode(int code);

class QtPrinterPort final : public PrinterPort {
 public:
  explicit QtPrinterPort(QPrinter& printer);

  std::vector<std::string> InstalledPrinters() override;
  std::string CurrentPrinter() override;
  bool SelectPrinter(const std::string& name) override;
  bool SetPaperSize(int code) override;
  int PaperSize() override;
  bool SetOrientation(int orientation) override;
  int Orientation() override;
  bool SetPrintQuality(int quality) override;
  int PrintQuality() override;
  bool SetColorMode(int mode) override;
  int ColorMode() override;
  bool SetDuplex(bool twoSided) override;

  // The resolution a quality (-1 to -4) takes on the current printer.
  int ResolutionOfQuality(int quality) const;

 private:
  std::vector<int> Resolutions() const;

  QPrinter& printer_;
  int quality_ = 0;  // the last quality set, while the printer keeps its resolution
};

// The print set-up of the run, over the shared printer.
PrintSetupModel& SharedPrintSetup();

}  // namespace qv
