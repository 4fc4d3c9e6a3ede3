#include "controls/print_document_qt.h"

#include <QIODevice>
#include <QPdfWriter>
#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include "controls/file_dialog.h"
#include "controls/print_scale_scope.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "platform/file_io.h"
#include "platform/page_layout.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/surface_replay_qt.h"
#include "platform/system_error_text.h"

namespace qv {

namespace {

// The message of a printer that failed.
constexpr int kPrinterErrorText = 292;
// The file dialog's captions for the PDF file: "Print..." and "Save".
constexpr int kPdfCaption = 157;
constexpr int kPdfAcceptCaption = 165;

std::function<std::string()>& PdfFileAnswer() {
  static std::function<std::string()> answer;
  return answer;
}

// A device that writes what it is given through AtomicFileWriter: the PDF goes to a
// temporary file beside its target, which replaces the target on Commit.
class AtomicFileDevice final : public QIODevice {
 public:
  explicit AtomicFileDevice(const std::string& path) : writer_(path) {}
  AtomicFileWriter& Writer() { return writer_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    writer_.Write(data, static_cast<std::size_t>(size));
    return size;  // a failure is kept by the writer and reported on Commit
  }

 private:
  AtomicFileWriter writer_;
};

// Every page of `copies` copies on `job`, each page laid out and sent as it is drawn; a copy
// after the first starts on a new page. False when the device failed.
bool SendCopies(PageStream& job, DrawingSurface& surface, const PageDrawing& draw, int copies) {
  for (int copy = 0; copy < copies; ++copy) {
    bool more = true;
    for (int page = 0; more; ++page) {
      surface.SetCurrentX(0);
      surface.SetCurrentY(0);
      more = draw(surface, page);
      if (!job.Send(LayOutPages(surface.TakeOperations(), surface.ScaleHeight()))) return false;
    }
  }
  return true;
}

// Prints to the PDF file `path` through a temporary file; returns 0 or the errno value of
// the failure (EIO when the PDF writer itself failed).
int PrintToPdfFile(QPrinter& printer, const std::string& path, DrawingSurface& surface,
                   const PageDrawing& draw, int copies) {
  AtomicFileDevice file(path);
  if (const int err = file.Writer().Open()) return err;
  file.open(QIODevice::WriteOnly);
  bool sent = false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    PageStream job(writer, TwipsPerDevicePixel(printer));
    sent = job.Begin() && SendCopies(job, surface, draw, copies) && job.End();
  }
  if (!sent) {
    const int err = file.Writer().Error();
    file.Writer().Discard();
    return err != 0 ? err : EIO;
  }
  return file.Writer().Commit();
}

PrintOutcome PrintOnSharedPrinter(QWidget* owner, Session& session, const PageDrawing& draw,
                                  int copies, double scale, const std::string& documentName = {}) {
  QPrinter& printer = SharedPrinter();
  if (PrintsToFile(printer)) {
    const std::string path = ChoosePdfFile(owner, session, documentName);
    if (path.empty()) return PrintOutcome::Cancelled;
    printer.setOutputFileName(QString::fromStdString(path));
  }
  return PrintOnPrinter(printer, session, draw, copies, scale);
}

// A whole-document drawing as one page drawing: the layout cuts it into pages.
PageDrawing AsPages(const DocumentDrawing& draw) {
  return [&draw](DrawingSurface& printer, int) {
    draw(printer);
    return false;
  };
}

}  // namespace

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const PageDrawing& draw,
                            int copies, double scale) {
  const bool toFile = PrintsToFile(printer);
  const std::string path = printer.outputFileName().toStdString();
  int fileError = 0;
  bool sent = true;
  if (copies >= 1) {
    BusyPointer busy;
    PrinterSurface page(printer);
    DrawingSurface& surface = page.Surface();
    PrintScaleScope scaled(session, scale, &surface);
    if (toFile) {
      fileError = PrintToPdfFile(printer, path, surface, draw, copies);
      sent = fileError == 0;
    } else {
      // Each copy is a print job of its own.
      for (int copy = 0; copy < copies && sent; ++copy) {
        PageStream job(printer, TwipsPerDevicePixel(printer));
        sent = job.Begin() && SendCopies(job, surface, draw, 1) && job.End() &&
               printer.printerState() != QPrinter::Error;
      }
    }
  }
  if (sent) return PrintOutcome::Printed;
  if (toFile) {
    const bool existed = std::filesystem::exists(path);
    ShowMessage("Printing to \"" + path + "\" failed: " + SystemErrorText(fileError) + "." +
                (existed ? " The file there was not changed." : " No file was written."));
  } else {
    ShowMessage(Str(kPrinterErrorText));
  }
  return PrintOutcome::Failed;
}

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const DocumentDrawing& draw,
                            int copies, double scale) {
  return PrintOnPrinter(printer, session, AsPages(draw), copies, scale);
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const PageDrawing& draw) {
  const PrintSetupResult setup = ShowPrintSetup(owner, session);
  if (setup.Copies <= 0) return PrintOutcome::Cancelled;
  return PrintOnSharedPrinter(owner, session, draw, setup.Copies, setup.Scale);
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const DocumentDrawing& draw) {
  return PrintDocument(owner, session, AsPages(draw));
}

PrintOutcome PrintDocumentDirect(QWidget* owner, Session& session, const DocumentDrawing& draw,
                                 const std::string& documentName) {
  return PrintOnSharedPrinter(owner, session, AsPages(draw), 1, 1.0, documentName);
}

std::string ChoosePdfFile(QWidget* owner, Session& session, const std::string& documentName) {
  FileDialogRequest request;
  const QString title = owner ? owner->window()->windowTitle() : QString();
  request.presetName =
      DocumentFileName(documentName.empty() ? title.toStdString() : documentName, "pdf");
  request.defaultType = "pdf";
  request.patterns = {"*.pdf"};
  request.captionId = kPdfCaption;
  request.acceptCaptionId = kPdfAcceptCaption;
  request.writes = true;
  FileDialogAnswer answer;
  if (PdfFileAnswer()) answer = [](const FileDialogRequest&) { return PdfFileAnswer()(); };
  return ChooseFile(owner, session, request, answer);
}

ScopedPdfFileAnswer::ScopedPdfFileAnswer(std::function<std::string()> answer)
    : previous_(std::exchange(PdfFileAnswer(), std::move(answer))) {}

ScopedPdfFileAnswer::~ScopedPdfFileAnswer() { PdfFileAnswer() = std::move(previous_); }

}  // namespace qv
