#include "controls/print_document_qt.h"

#include <utility>
#include <vector>

#include "controls/file_dialog.h"
#include "controls/print_scale_scope.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "platform/page_layout.h"
#include "platform/prompts.h"
#include "platform/screen_pointer.h"
#include "platform/string_table.h"
#include "platform/surface_replay_qt.h"

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

PrintOutcome PrintOnSharedPrinter(QWidget* owner, Session& session, const DocumentDrawing& draw,
                                  int copies, double scale) {
  QPrinter& printer = SharedPrinter();
  if (PrintsToFile(printer)) {
    const std::string path = ChoosePdfFile(owner, session);
    if (path.empty()) return PrintOutcome::Cancelled;
    printer.setOutputFileName(QString::fromStdString(path));
  }
  return PrintOnPrinter(printer, session, draw, copies, scale);
}

}  // namespace

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const DocumentDrawing& draw,
                            int copies, double scale) {
  bool sent = false;
  {
    BusyPointer busy;
    PrinterSurface page(printer);
    DrawingSurface& surface = page.Surface();
    PrintScaleScope scaled(session, scale, &surface);
    draw(surface);
    const std::vector<DrawOp> pages = LayOutPages(surface.TakeOperations(), surface.ScaleHeight());
    sent = PrintRecording(printer, CopiesOf(pages, copies, PrintsToFile(printer)));
  }
  if (sent) return PrintOutcome::Printed;
  ShowMessage(Str(kPrinterErrorText));
  return PrintOutcome::Failed;
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const DocumentDrawing& draw) {
  const PrintSetupResult setup = ShowPrintSetup(owner, session);
  if (setup.Copies <= 0) return PrintOutcome::Cancelled;
  return PrintOnSharedPrinter(owner, session, draw, setup.Copies, setup.Scale);
}

PrintOutcome PrintDocumentDirect(QWidget* owner, Session& session, const DocumentDrawing& draw) {
  return PrintOnSharedPrinter(owner, session, draw, 1, 1.0);
}

std::string ChoosePdfFile(QWidget* owner, Session& session) {
  if (PdfFileAnswer()) return PdfFileAnswer()();
  FileDialogRequest request;
  request.defaultType = "pdf";
  request.patterns = {"*.pdf"};
  request.captionId = kPdfCaption;
  request.acceptCaptionId = kPdfAcceptCaption;
  return ChooseFile(owner, session, request);
}

ScopedPdfFileAnswer::ScopedPdfFileAnswer(std::function<std::string()> answer)
    : previous_(std::exchange(PdfFileAnswer(), std::move(answer))) {}

ScopedPdfFileAnswer::~ScopedPdfFileAnswer() { PdfFileAnswer() = std::move(previous_); }

}  // namespace qv
