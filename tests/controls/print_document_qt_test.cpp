#include "controls/print_document_qt.h"
#include <gtest/gtest.h>

#include <QFile>
#include <climits>
#include <filesystem>
#include <stdexcept>
#include "controls/shared_printer_qt.h"
#include "controls/wait_screen_dialog.h"
#include "platform/screen_pointer.h"
#include "tests/support/full_disk.h"
#include "tests/support/pdf_printer_qt.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using namespace testing;

// A ledger of `rows` rows under a title and a marked column heading.
DocumentDrawing Ledger(int rows, double* scaleSeen = nullptr, Session* session = nullptr) {
  return [=](DrawingSurface& printer) {
    if (scaleSeen) *scaleSeen = session->PrintScale;
    printer.SetFontSizeScaled(10);
    printer.Print("Cash ledger");
    printer.BeginPageHeading();
    printer.Print("Date Notes Balance");
    printer.EndPageHeading();
    for (int k = 1; k <= rows; ++k) printer.Print("Posting " + std::to_string(k));
  };
}

TEST(PrintDocument, PaginatesWithTheHeadingAndPrintsEveryCopy) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  auto printer = PdfPrinter("print_document_ledger.pdf");
  Session session;
  double scale = 0;
  ASSERT_EQ(PrintOnPrinter(*printer, session, Ledger(200, &scale, &session), 2, 0.5),
            PrintOutcome::Printed);
  EXPECT_DOUBLE_EQ(scale, 0.5);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  const std::string path = TestOutputPath("print_document_ledger.pdf");
  const std::vector<std::string> pages = PdfPageTexts(path);
  const int perCopy = static_cast<int>(pages.size()) / 2;
  ASSERT_GE(perCopy, 2);  // 200 rows at 5 points take more than a page
  EXPECT_EQ(PdfPageCount(path), 2 * perCopy);
  // Each row once per copy, in order; every page after the first starts with the heading.
  int next = 1;
  for (int p = 0; p < perCopy; ++p) {
    const std::string& page = pages[static_cast<std::size_t>(p)];
    EXPECT_EQ(page.find(p == 0 ? "Cash ledger" : "Date Notes Balance"),
              page.find_first_not_of(" \n"))
        << "page " << p + 1;
    for (std::size_t at = page.find("Posting "); at != std::string::npos;
         at = page.find("Posting ", at + 1))
      EXPECT_EQ(std::stoi(page.substr(at + 8)), next++);
    EXPECT_EQ(pages[static_cast<std::size_t>(p + perCopy)], page);
  }
  EXPECT_EQ(next, 201);
}

TEST(PrintDocument, AFailingPrinterIsToldOnceAndTheScaleComesBack) {
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  const auto unusable = PdfPrinter("no-such-folder/x.pdf");
  Session session;
  EXPECT_EQ(PrintOnPrinter(*unusable, session, Ledger(200), 3, 0.8), PrintOutcome::Failed);
  // A PDF file that cannot be written is named, with the reason.
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>{"Printing to \"" + TestOutputPath("no-such-folder/x.pdf") +
                                     "\" failed: No such file or directory. No file was written."});
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  // A drawing procedure that throws leaves the scale and the pointer as they were too.
  auto printer = PdfPrinter("print_document_throws.pdf");
  const DocumentDrawing throws = [](DrawingSurface&) { throw std::runtime_error("no rows"); };
  EXPECT_THROW(PrintOnPrinter(*printer, session, throws, 1, 0.5), std::runtime_error);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
}

// A print to a PDF file on a full file system (a small tmpfs of its own when the tests run as
// root, else a file-size limit) fails with the reason, keeps the older file of the name as
// it was and leaves nothing else behind; the program goes on.
TEST(PrintDocument, AFullDiskKeepsTheOlderPdfAndLeavesNothing) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  namespace fs = std::filesystem;
  FullDisk disk(256 * 1024);
  const std::string path = disk.Path("ledger.pdf");
  auto printer = PdfPrinter(path);
  Session session;
  ASSERT_EQ(PrintOnPrinter(*printer, session, Ledger(3), 1, 1.0), PrintOutcome::Printed);
  std::string older;
  {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    older = file.readAll().toStdString();
  }
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_EQ(PrintOnPrinter(*printer, session, Ledger(30000), 1, 1.0), PrintOutcome::Failed);
  const std::string reason = disk.IsTmpfs() ? "No space left on device" : "File too large";
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>{"Printing to \"" + path + "\" failed: " + reason +
                                     ". The file there was not changed."});
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), older);
  EXPECT_EQ(PdfPageCount(path), 1);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path()))
    left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"ledger.pdf"});
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
}

// A PDF named with 250 bytes, at a path as long as the system takes, is written in place.
TEST(PrintDocument, APdfAtThePathLimitIsWrittenInPlace) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  ScratchFolder folder;
  std::string name;
  for (int i = 0; i < 82; ++i) name += "\u5e33";  // 帳, three bytes each
  const std::string path = folder.DeepPath(name + ".pdf", PATH_MAX - 1);
  ASSERT_EQ(path.size(), static_cast<std::size_t>(PATH_MAX - 1));
  auto printer = PdfPrinter(path);
  Session session;
  for (const int rows : {3, 200})
    ASSERT_EQ(PrintOnPrinter(*printer, session, Ledger(rows), 1, 1.0), PrintOutcome::Printed);
  EXPECT_GT(PdfPageCount(path), 1) << "the second print-out replaced the first";
  const auto folderOfPdf = std::filesystem::path(path).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folderOfPdf), {}), 1);
}

// A long document whose third page holds a text wider than the page: the pages before it
// are not kept either, the file is not written, the pointer and the scale come back.
TEST(PrintDocument, APageWiderThanThePaperFurtherOnLeavesNoFile) {
  auto printer = PdfPrinter("print_document_too_wide.pdf");
  const std::string path = TestOutputPath("print_document_too_wide.pdf");
  Session session;
  int drawn = 0;
  const LongDocument document{[&drawn](DrawingSurface& surface, int page) {
                                ++drawn;
                                surface.Print(page == 2 ? std::string(400, 'W') : "Page");
                                return page < 3;
                              },
                              [&drawn] {
                                return DocumentPosition{drawn, 4};
                              }};
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  EXPECT_EQ(PrintOnPrinter(*printer, session, document, 1, 1.0), PrintOutcome::DoesNotFit);
  EXPECT_EQ(drawn, 3) << "nothing is drawn after the page that does not fit";
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>{std::string(kDoesNotFitText) + " No file was written."});
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  EXPECT_EQ(CurrentWaitScreen(), nullptr);
}

// On the DL envelope turned sideways (220 mm wide, 110 mm high) a refusal names the side
// that is too short, with advice for it: a row of figures wider than the page, or a figure
// in a type taller than the page, which prints whole on the envelope upright; upright, a
// full stop taller than its 220 mm is refused with advice that leaves out the turn.
TEST(PrintDocument, ARefusalSaysWhetherTheWidthOrTheHeightIsShortWithAdviceForIt) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const auto drawing = [](std::string text, double points) -> DocumentDrawing {
    return [=](DrawingSurface& surface) {
      surface.SetFontSizeScaled(10);
      surface.Print("Folio");
      surface.SetFontSizeScaled(points);
      surface.Print(text);
    };
  };
  const DocumentDrawing wide = drawing(std::string(300, '8'), 10);
  const DocumentDrawing tall = drawing("1", 200);    // 300 points at 150 %
  const DocumentDrawing taller = drawing(".", 480);  // 720 points
  Session session;
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok).Then(PromptAnswer::Ok).Then(PromptAnswer::Ok);
  const std::string path = TestOutputPath("print_document_dl.pdf");
  auto print = [&](const DocumentDrawing& draw, QPageLayout::Orientation orientation) {
    auto printer = PdfPrinter("print_document_dl.pdf");
    printer->setPageSize(QPageSize(QPageSize::EnvelopeDL));
    printer->setPageOrientation(orientation);
    return PrintOnPrinter(*printer, session, draw, 1, 1.5);
  };
  EXPECT_EQ(print(wide, QPageLayout::Landscape), PrintOutcome::DoesNotFit);
  EXPECT_EQ(print(tall, QPageLayout::Landscape), PrintOutcome::DoesNotFit);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_EQ(print(tall, QPageLayout::Portrait), PrintOutcome::Printed);
  const std::vector<std::string> pages = PdfPageTexts(path);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(pages[0].find("\n1\n"), std::string::npos) << pages[0];
  EXPECT_EQ(print(taller, QPageLayout::Portrait), PrintOutcome::DoesNotFit);
  EXPECT_EQ(
      prompts.Texts(),
      (std::vector<std::string>{
          std::string(kDoesNotFitText) + " No file was written.",
          "A line of this document is taller than the page, so nothing was printed. A smaller "
          "text size, a larger paper or portrait in the print set-up makes it fit. No file was "
          "written.",
          "A line of this document is taller than the page, so nothing was printed. A smaller "
          "text size or a larger paper in the print set-up makes it fit. No file was "
          "written."}));
}

// The PDF file is asked for; one that stands there already is replaced only on Yes, and No
// prints nothing.
TEST(PrintDocument, StraightToTheSharedPrinterAsksForThePdfFileAndBeforeReplacingIt) {
  QPrinter& printer = SharedPrinter();
  if (!PrintsToFile(printer)) GTEST_SKIP() << "a printer is installed; this test prints to PDF";
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  Session session;
  {
    ScopedPdfFileAnswer cancel([] { return std::string(); });
    EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(3)), PrintOutcome::Cancelled);
  }
  const std::string path = TestOutputPath("print_document_direct.pdf");
  ScopedPdfFileAnswer answer([path] { return path; });
  QFile::remove(QString::fromStdString(path));
  EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(3)), PrintOutcome::Printed);
  ASSERT_TRUE(QFile::exists(QString::fromStdString(path)));
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(30)), PrintOutcome::Cancelled);
  EXPECT_EQ(PdfPageTexts(path).front().find("Posting 30"), std::string::npos);
  EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(30)), PrintOutcome::Printed);
  EXPECT_NE(PdfPageTexts(path).front().find("Posting 30"), std::string::npos);
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>(2, "\"" + path + "\" already exists. Replace it ?"));
}

TEST(QtPrinterPort, PdfOutputTakesEveryPaperAndKeepsTheChoices) {
  const auto printer = PdfPrinter("print_document_legal.pdf");
  QtPrinterPort port(*printer);
  EXPECT_EQ(port.CurrentPrinter(), "PDF file...");
  for (int code = 1; code <= 41; ++code) EXPECT_TRUE(port.SetPaperSize(code)) << code;
  EXPECT_FALSE(port.SetPaperSize(42));
  ASSERT_TRUE(port.SetPaperSize(5) && port.SetOrientation(kLandscape));
  EXPECT_EQ(std::tuple(port.PaperSize(), port.Orientation()), std::tuple(5, kLandscape));
  // Quality as resolution: draft is the lowest, best the highest.
  for (auto [quality, dpi] : {std::pair{-1, 150}, {-4, 1200}}) {
    ASSERT_TRUE(port.SetPrintQuality(quality));
    EXPECT_EQ(std::pair(printer->resolution(), port.PrintQuality()), std::pair(dpi, quality));
  }
  ASSERT_TRUE(port.SetColorMode(kMonochrome));
  EXPECT_EQ(printer->colorMode(), QPrinter::GrayScale);
  EXPECT_FALSE(port.SelectPrinter("No such printer"));
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  // The PDF comes out on landscape Legal paper.
  Session session;
  ASSERT_EQ(PrintOnPrinter(*printer, session, Ledger(2), 1, 1.0), PrintOutcome::Printed);
  EXPECT_EQ(PdfPageSize(TestOutputPath("print_document_legal.pdf")), "1008 x 612");
}

}  // namespace
}  // namespace qv
