#include "controls/print_document_qt.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "controls/file_dialog.h"
#include "controls/print_scale_scope.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "controls/wait_screen_dialog.h"
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

// Why a job ended.
enum class Sent { All, DeviceFailed, DoesNotFit };

// What the print says when the document does not fit the page the way `overrun` says, on
// a page of `orientation`; `begun` when pages before it were sent to a printer.
std::string DoesNotFitMessage(PageOverrun overrun, QPageLayout::Orientation orientation,
                              bool begun) {
  if (overrun == PageOverrun::Down) {
    if (begun)
      return "A line of this document is taller than the page, so printing stopped there; the "
             "pages before it were sent.";
    return std::string(kTallerThanPageText) +
           (orientation == QPageLayout::Landscape ? kTallerAdviceLandscape : kTallerAdvicePortrait);
  }
  if (begun)
    return "A column or a heading of this document is wider than the page, so printing stopped "
           "there; the pages before it were sent.";
  return kDoesNotFitText;
}

// A document's pages, drawn and laid out one drawn page at a time; after the last page of a
// copy the next starts again from page 0. Each page drawn moves the wait screen's bar, when
// there is one.
class PageSource {
 public:
  PageSource(DrawingSurface& surface, const LongDocument& document, int copies, WaitScreen* wait)
      : surface_(surface), document_(document), copies_(copies), wait_(wait) {}

  // Draws and lays out the next page.
  void Next() {
    if (!more_) {
      page_ = 0;
      ++copy_;
    }
    surface_.SetCurrentX(0);
    surface_.SetCurrentY(0);
    more_ = document_.Draw(surface_, page_++);
    laid_ = LayOutPages(
        surface_.TakeOperations(),
        PageArea{surface_.ScaleWidth(), surface_.ScaleHeight(), surface_.DevicePixel()});
    if (wait_ && document_.Position) {
      const DocumentPosition at = document_.Position();
      const int64_t total = std::max<int64_t>(at.Total, 1);
      wait_->PositionProgress()(copy_ * total + std::clamp<int64_t>(at.Done, 0, total),
                                total * copies_);
    }
  }
  const LaidOutPages& Laid() const { return laid_; }
  // True when a further page of this copy follows.
  bool More() const { return more_; }

 private:
  DrawingSurface& surface_;
  const LongDocument& document_;
  int64_t copies_;
  WaitScreen* wait_;
  int64_t copy_ = -1;
  int page_ = 0;
  bool more_ = false;
  LaidOutPages laid_;
};

// Sends `copies` copies on `job`, each starting on a new page: the page the source holds
// first, then every page after it, drawn and laid out as it goes. Pages already drawn stay
// sent when a later one fails or does not fit.
Sent SendCopies(PageStream& job, PageSource& source, int copies) {
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0) source.Next();
    for (;;) {
      if (!source.Laid().Fits) return Sent::DoesNotFit;
      if (!job.Send(source.Laid().Ops)) return Sent::DeviceFailed;
      if (!source.More()) break;
      source.Next();
    }
  }
  return Sent::All;
}

// Prints to the PDF file `path` through a temporary file; returns 0 or the errno value of
// the failure (EIO when the PDF writer itself failed), or the job's end when a page did not
// fit (then nothing is written).
int PrintToPdfFile(QPrinter& printer, const std::string& path, PageSource& source, int copies,
                   Sent& sent) {
  AtomicFileDevice file(path);
  if (const int err = file.Writer().Open()) return err;
  file.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&file);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    PageStream job(writer, TwipsPerDevicePixel(printer));
    sent = job.Begin() ? SendCopies(job, source, copies) : Sent::DeviceFailed;
    if (sent == Sent::All && !job.End()) sent = Sent::DeviceFailed;
  }
  if (sent != Sent::All) {
    const int err = file.Writer().Error();
    file.Writer().Discard();
    return sent == Sent::DoesNotFit ? 0 : (err != 0 ? err : EIO);
  }
  return file.Writer().Commit();
}

PrintOutcome PrintOnSharedPrinter(QWidget* owner, Session& session, const LongDocument& document,
                                  int copies, double scale, const std::string& documentName = {}) {
  QPrinter& printer = SharedPrinter();
  if (PrintsToFile(printer)) {
    const std::string path = ChoosePdfFile(owner, session, documentName);
    if (path.empty()) return PrintOutcome::Cancelled;
    printer.setOutputFileName(QString::fromStdString(path));
  }
  return PrintOnPrinter(printer, session, document, copies, scale, owner);
}

// A whole-document drawing as one page drawing: the layout cuts it into pages.
PageDrawing AsPages(const DocumentDrawing& draw) {
  return [&draw](DrawingSurface& printer, int) {
    draw(printer);
    return false;
  };
}

}  // namespace

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const LongDocument& document,
                            int copies, double scale, QWidget* owner) {
  const bool toFile = PrintsToFile(printer);
  const std::string path = printer.outputFileName().toStdString();
  int fileError = 0;
  Sent sent = Sent::All;
  bool begun = false;  // pages went to a printer
  PageOverrun overrun = PageOverrun::None;
  if (copies >= 1) {
    std::optional<WaitScreen> wait;
    if (document.Position) wait.emplace(owner, session, 0);
    BusyPointer busy;
    PrinterSurface page(printer);
    DrawingSurface& surface = page.Surface();
    PrintScaleScope scaled(session, scale, &surface);
    PageSource source(surface, document, copies, wait ? &*wait : nullptr);
    source.Next();
    if (!source.Laid().Fits) {
      sent = Sent::DoesNotFit;
    } else if (toFile) {
      fileError = PrintToPdfFile(printer, path, source, copies, sent);
      if (sent == Sent::All && fileError != 0) sent = Sent::DeviceFailed;
    } else {
      // Each copy is a print job of its own.
      for (int copy = 0; copy < copies && sent == Sent::All; ++copy) {
        if (copy > 0) source.Next();
        PageStream job(printer, TwipsPerDevicePixel(printer));
        begun = true;
        sent = job.Begin() ? SendCopies(job, source, 1) : Sent::DeviceFailed;
        if (sent == Sent::All && (!job.End() || printer.printerState() == QPrinter::Error))
          sent = Sent::DeviceFailed;
      }
    }
    overrun = source.Laid().Overrun;
  }
  if (sent == Sent::All) return PrintOutcome::Printed;
  const bool existed = toFile && std::filesystem::exists(path);
  const std::string kept = !toFile   ? std::string()
                           : existed ? " The file there was not changed."
                                     : " No file was written.";
  if (sent == Sent::DoesNotFit) {
    ShowMessage(DoesNotFitMessage(overrun, printer.pageLayout().orientation(), begun) + kept);
    return PrintOutcome::DoesNotFit;
  }
  if (toFile) {
    // A named pipe or a device there was left alone: the sentence says what stands there.
    const std::string what = NotOrdinaryFileText(path, fileError);
    ShowMessage(!what.empty() ? what
                              : "Printing to \"" + path +
                                    "\" failed: " + SystemErrorText(fileError) + "." + kept);
  } else {
    ShowMessage(Str(kPrinterErrorText));
  }
  return PrintOutcome::Failed;
}

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const PageDrawing& draw,
                            int copies, double scale) {
  return PrintOnPrinter(printer, session, LongDocument{draw, {}}, copies, scale);
}

PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const DocumentDrawing& draw,
                            int copies, double scale) {
  return PrintOnPrinter(printer, session, AsPages(draw), copies, scale);
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const LongDocument& document) {
  const PrintSetupResult setup = ShowPrintSetup(owner, session);
  if (setup.Copies <= 0) return PrintOutcome::Cancelled;
  return PrintOnSharedPrinter(owner, session, document, setup.Copies, setup.Scale);
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const PageDrawing& draw) {
  return PrintDocument(owner, session, LongDocument{draw, {}});
}

PrintOutcome PrintDocument(QWidget* owner, Session& session, const DocumentDrawing& draw) {
  return PrintDocument(owner, session, AsPages(draw));
}

PrintOutcome PrintDocumentDirect(QWidget* owner, Session& session, const DocumentDrawing& draw,
                                 const std::string& documentName) {
  return PrintOnSharedPrinter(owner, session, LongDocument{AsPages(draw), {}}, 1, 1.0,
                              documentName);
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
