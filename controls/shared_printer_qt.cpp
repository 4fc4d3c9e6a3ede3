#include "controls/shared_printer_qt.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinterInfo>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/paper_sizes.h"

namespace qv {

namespace {

QPrinter* sharedPrinter = nullptr;

void DeleteSharedPrinter() {
  delete sharedPrinter;
  sharedPrinter = nullptr;
}

// PDF output has no resolutions of its own to choose from.
const std::vector<int> kPdfResolutions = {150, 300, 600, 1200};

}  // namespace

QPrinter& SharedPrinter() {
  if (sharedPrinter == nullptr) {
    sharedPrinter = new QPrinter(QPrinter::HighResolution);
    // With no printer installed Qt starts on PDF output; a printer then prints to a file.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
      sharedPrinter->setOutputFormat(QPrinter::PdfFormat);
    // The printer goes before the application does, while its print system is still there.
    qAddPostRoutine(DeleteSharedPrinter);
  }
  return *sharedPrinter;
}

bool PrintsToFile(const QPrinter& printer) { return printer.outputFormat() == QPrinter::PdfFormat; }

std::optional<QPageSize> PageSizeOfPaperCode(int code) {
  if (code < kFirstPaperCode || code > kLastPaperCode) return std::nullopt;
  // Folio has no page size of Qt's own.
  if (code == 14) return QPageSize(QSizeF(8.5, 13), QPageSize::Inch, QStringLiteral("Folio"));
  const QPageSize size(QPageSize::id(code));
  if (!size.isValid()) return std::nullopt;
  return size;
}

QtPrinterPort::QtPrinterPort(QPrinter& printer) : printer_(printer) {}

std::vector<std::string> QtPrinterPort::InstalledPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames())
    names.push_back(name.toStdString());
  return names;
}

std::string QtPrinterPort::CurrentPrinter() {
  if (PrintsToFile(printer_)) return kPdfFileEntry;
  return printer_.printerName().toStdString();
}

bool QtPrinterPort::SelectPrinter(const std::string& name) {
  if (name == kPdfFileEntry) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    return PrintsToFile(printer_);
  }
  const QString wanted = QString::fromStdString(name);
  if (!QPrinterInfo::availablePrinterNames().contains(wanted)) return false;
  printer_.setOutputFileName(QString());  // back to the printer itself
  printer_.setOutputFormat(QPrinter::NativeFormat);
  printer_.setPrinterName(wanted);
  return !PrintsToFile(printer_) && printer_.printerName() == wanted;
}

bool QtPrinterPort::SetPaperSize(int code) {
  const std::optional<QPageSize> size = PageSizeOfPaperCode(code);
  if (!size) return false;
  if (PrintsToFile(printer_)) return printer_.setPageSize(*size);
  // A printer takes only the sizes it lists, in its own definition of them.
  for (const QPageSize& offered : QPrinterInfo(printer_).supportedPageSizes()) {
    if (offered.id() == size->id() || offered.isEquivalentTo(*size))
      return printer_.setPageSize(offered);
  }
  return false;
}

int QtPrinterPort::PaperSize() { return printer_.pageLayout().pageSize().windowsId(); }

bool QtPrinterPort::SetOrientation(int orientation) {
  if (orientation != kPortrait && orientation != kLandscape) return false;
  return printer_.setPageOrientation(orientation == kPortrait ? QPageLayout::Portrait
                                                              : QPageLayout::Landscape);
}

int QtPrinterPort::Orientation() {
  return printer_.pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
}

std::vector<int> QtPrinterPort::Resolutions() const {
  if (PrintsToFile(printer_)) return kPdfResolutions;
  std::vector<int> resolutions;
  for (int dpi : QPrinterInfo(printer_).supportedResolutions())
    if (dpi > 0) resolutions.push_back(dpi);
  std::sort(resolutions.begin(), resolutions.end());
  resolutions.erase(std::unique(resolutions.begin(), resolutions.end()), resolutions.end());
  if (resolutions.empty()) resolutions.push_back(printer_.resolution());
  return resolutions;
}

int QtPrinterPort::ResolutionOfQuality(int quality) const {
  const std::vector<int> resolutions = Resolutions();
  const int step = std::clamp(-quality, 1, 4) - 1;  // 0 draft .. 3 best
  const double at = step * double(resolutions.size() - 1) / 3.0;
  return resolutions[static_cast<std::size_t>(std::lround(at))];
}

bool QtPrinterPort::SetPrintQuality(int quality) {
  if (quality > kDraftQuality || quality < kHighQuality) return false;
  const int dpi = ResolutionOfQuality(quality);
  printer_.setResolution(dpi);
  if (printer_.resolution() != dpi) return false;
  quality_ = quality;
  return true;
}

int QtPrinterPort::PrintQuality() {
  const int dpi = printer_.resolution();
  if (quality_ != 0 && ResolutionOfQuality(quality_) == dpi) return quality_;
  // The quality whose resolution is nearest the printer's, the better one on a tie.
  int best = kHighQuality;
  for (int quality = kHighQuality; quality <= kDraftQuality; ++quality) {
    if (std::abs(ResolutionOfQuality(quality) - dpi) < std::abs(ResolutionOfQuality(best) - dpi))
      best = quality;
  }
  return best;
}

bool QtPrinterPort::SetColorMode(int mode) {
  if (mode != kMonochrome && mode != kColor) return false;
  printer_.setColorMode(mode == kColor ? QPrinter::Color : QPrinter::GrayScale);
  return ColorMode() == mode;
}

int QtPrinterPort::ColorMode() {
  return printer_.colorMode() == QPrinter::Color ? kColor : kMonochrome;
}

bool QtPrinterPort::SetDuplex(bool twoSided) {
  const QPrinter::DuplexMode mode = twoSided ? QPrinter::DuplexLongSide : QPrinter::DuplexNone;
  printer_.setDuplex(mode);
  return printer_.duplex() == mode;
}

PrintSetupModel& SharedPrintSetup() {
  static QtPrinterPort port(SharedPrinter());
  static PrintSetupModel model(port);
  return model;
}

}  // namespace qv
