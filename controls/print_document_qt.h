#pragma once
// Printing a document: the one call of every print command. The command hands over its
// drawing procedure; the service asks what it must (the print set-up, the PDF file), runs the
// procedure once on the printer's surface (measured with the printer's fonts, ScaleWidth the
// printable width, ScaleHeight the printable height, PrintScale the chosen text size), lays
// the drawing out on pages (platform/page_layout.h) and sends it, each copy as one print job.
//
// The procedure draws the whole document from the top, as tall as it needs, and never ends a
// page for lack of room: the layout does that, repeating the part marked with
// BeginPageHeading / EndPageHeading at the top of every further page. It may start a page
// itself with NewPage.
//
//   PrintDocument(this, session, [&](DrawingSurface& printer) { DrawLedger(printer, rows); });
//
// A drawing wider than the page is printed in bands of whole columns (platform/page_layout.h).
// When a column cannot fit across the page at all, or a line is taller than the page, the
// print says which way the document does not fit and prints nothing.
//
// With "PDF file..." chosen in the print set-up, the program's file dialog asks for the PDF
// file first (cancelling it prints nothing) and the copies follow one another in that file.
// A printer that fails shows "Printer Error, Please Check the Printer..." once and nothing
// more is sent; the screen pointer is busy while the job is drawn and sent. A long document
// (LongDocument) is printed under the wait screen, whose bar follows its position, so that
// the program's windows stay drawn.

#include <QPrinter>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "books/session.h"
#include "platform/drawing_surface.h"

namespace qv {

// A print command's drawing procedure.
using DocumentDrawing = std::function<void(DrawingSurface& printer)>;
// A long document's drawing procedure, a page at a time: draws page `page` (from 0, in
// order; 0 again for each further copy) from the top of the surface and returns true when
// a further page follows. Each page is laid out and sent before the next is drawn, so the
// memory a print takes does not grow with the document. What a call draws past the page
// foot is laid out on further pages as a whole document is.
using PageDrawing = std::function<bool(DrawingSurface& printer, int page)>;

// How far a long document's drawing has got: units (rows, say) done of all.
struct DocumentPosition {
  int64_t Done = 0;
  int64_t Total = 0;
};

// A long document: its pages, and where its drawing stands after each page.
struct LongDocument {
  PageDrawing Draw;
  std::function<DocumentPosition()> Position;
};

// DoesNotFit: a column of the document is wider than the page, or a line of it taller;
// nothing was printed.
enum class PrintOutcome { Printed, Cancelled, Failed, DoesNotFit };

// The print command of a view: the print set-up dialog over `owner`, then PrintCopies copies
// at the chosen text size. Nothing is printed when the dialog was cancelled or gave 0
// copies.
PrintOutcome PrintDocument(QWidget* owner, Session& session, const DocumentDrawing& draw);
PrintOutcome PrintDocument(QWidget* owner, Session& session, const PageDrawing& draw);
PrintOutcome PrintDocument(QWidget* owner, Session& session, const LongDocument& document);

// Printing straight to the printer as it is set, without the print set-up: one copy at
// scale 1 (the invoice, the chart listing). `documentName` names the PDF file proposed.
PrintOutcome PrintDocumentDirect(QWidget* owner, Session& session, const DocumentDrawing& draw,
                                 const std::string& documentName = {});

// The job itself on a given printer, with no dialog: `copies` copies at `scale`, the PDF
// file (when the printer writes one) already set on the printer. Shows the printer error
// message on failure.
//
// A PDF file is written to a temporary file in its folder, renamed over it only when the
// whole document was written: a print that fails (a full disk) leaves an earlier file of
// the name as it was and no temporary file, and the message names the file and the reason.
// The first page is drawn and laid out before the job starts, so that a document too wide
// for the page sends nothing to a printer.
PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const DocumentDrawing& draw,
                            int copies, double scale);
PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const PageDrawing& draw,
                            int copies, double scale);
// The same under the wait screen over `owner`.
PrintOutcome PrintOnPrinter(QPrinter& printer, Session& session, const LongDocument& document,
                            int copies, double scale, QWidget* owner = nullptr);

// What the print says when a column of the document is wider than the page.
inline constexpr const char* kDoesNotFitText =
    "A column or a heading of this document is wider than the page, so nothing was printed. A "
    "smaller text size, a larger paper or landscape in the print set-up makes it fit.";
// What it says when a line of the document is taller than the page, followed by the advice
// for a page turned sideways or for an upright one.
inline constexpr const char* kTallerThanPageText =
    "A line of this document is taller than the page, so nothing was printed.";
inline constexpr const char* kTallerAdviceLandscape =
    " A smaller text size, a larger paper or portrait in the print set-up makes it fit.";
inline constexpr const char* kTallerAdvicePortrait =
    " A smaller text size or a larger paper in the print set-up makes it fit.";

// The PDF file a print goes to: the program's file dialog for type "pdf" over `owner`, or ""
// when the user cancelled or would not replace the file that stands there. The dialog
// proposes the document's name with ".pdf": the name given, else the title of `owner`'s
// window.
std::string ChoosePdfFile(QWidget* owner, Session& session, const std::string& documentName = {});

// Tests: the PDF file's dialog is answered by `answer` while this object lives ("" =
// cancelled); a file that stands there is still asked about.
class ScopedPdfFileAnswer {
 public:
  explicit ScopedPdfFileAnswer(std::function<std::string()> answer);
  ~ScopedPdfFileAnswer();
  ScopedPdfFileAnswer(const ScopedPdfFileAnswer&) = delete;
  ScopedPdfFileAnswer& operator=(const ScopedPdfFileAnswer&) = delete;

 private:
  std::function<std::string()> previous_;
};

}  // namespace qv
