#include "controls/print_document_qt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <stdexcept>

#include "controls/shared_printer_qt.h"
#include "platform/screen_pointer.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

using testing::PdfPageCount;
using testing::PdfPageTexts;
using testing::TestOutputPath;

std::unique_ptr<QPrinter> PdfPrinter(const std::string& name) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  QFile::remove(QString::fromStdString(TestOutputPath(name)));
  printer->setOutputFileName(QString::fromStdString(TestOutputPath(name)));
  printer->setPageSize(QPageSize(QPageSize::A4));
  return printer;
}

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
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
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
  // Each row once per copy, in order, and every page after the first starts with the
  // heading.
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
  QPrinter unusable(QPrinter::HighResolution);
  unusable.setOutputFormat(QPrinter::PdfFormat);
  unusable.setOutputFileName(QString::fromStdString(TestOutputPath("no-such-folder/x.pdf")));
  Session session;
  EXPECT_EQ(PrintOnPrinter(unusable, session, Ledger(200), 3, 0.8), PrintOutcome::Failed);
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>{"Printer Error, Please Check the Printer..."});
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);

  // A drawing procedure that throws leaves the scale and the pointer as they were too.
  auto printer = PdfPrinter("print_document_throws.pdf");
  EXPECT_THROW(
      PrintOnPrinter(
          *printer, session, [](DrawingSurface&) { throw std::runtime_error("no rows"); }, 1, 0.5),
      std::runtime_error);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
}

TEST(PrintDocument, StraightToTheSharedPrinterAsksForThePdfFile) {
  QPrinter& printer = SharedPrinter();
  if (!PrintsToFile(printer)) GTEST_SKIP() << "a printer is installed; this test prints to PDF";
  Session session;
  {
    ScopedPdfFileAnswer cancel([] { return std::string(); });
    EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(3)), PrintOutcome::Cancelled);
  }
  const std::string path = TestOutputPath("print_document_direct.pdf");
  ScopedPdfFileAnswer answer([path] { return path; });
  QFile::remove(QString::fromStdString(path));
  EXPECT_EQ(PrintDocumentDirect(nullptr, session, Ledger(3)), PrintOutcome::Printed);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
}

TEST(QtPrinterPort, PdfOutputTakesEveryPaperAndKeepsTheChoices) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  QtPrinterPort port(printer);
  EXPECT_EQ(port.CurrentPrinter(), "PDF file...");
  for (int code = 1; code <= 41; ++code) EXPECT_TRUE(port.SetPaperSize(code)) << code;
  EXPECT_FALSE(port.SetPaperSize(42));
  ASSERT_TRUE(port.SetPaperSize(5));
  EXPECT_EQ(port.PaperSize(), 5);
  ASSERT_TRUE(port.SetOrientation(kLandscape));
  EXPECT_EQ(port.Orientation(), kLandscape);
  // Quality as resolution: draft is the lowest, best the highest.
  ASSERT_TRUE(port.SetPrintQuality(-1));
  EXPECT_EQ(printer.resolution(), 150);
  EXPECT_EQ(port.PrintQuality(), -1);
  ASSERT_TRUE(port.SetPrintQuality(-4));
  EXPECT_EQ(printer.resolution(), 1200);
  ASSERT_TRUE(port.SetColorMode(kMonochrome));
  EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);
  EXPECT_FALSE(port.SelectPrinter("No such printer"));

  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  // The PDF comes out on landscape Legal paper.
  const std::string path = TestOutputPath("print_document_legal.pdf");
  printer.setOutputFileName(QString::fromStdString(path));
  Session session;
  ASSERT_EQ(PrintOnPrinter(printer, session, Ledger(2), 1, 1.0), PrintOutcome::Printed);
  EXPECT_EQ(testing::PdfPageSize(path), "1008 x 612");
}

}  // namespace
}  // namespace qv
