// The main window's invoice commands: printed to PDF, mailed as a message file; the print
// set-up over the main window.

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <numeric>

#include "books/date_styles.h"
#include "books/invoice.h"
#include "controls/email_file_qt.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "tests/app/main_window_program_qt.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/scoped_env.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

Books InvoiceBook() {
  Books books = BookWithChart({{"Customer", 1100, kCurrentAsset},
                               {"Sales", 4000, kRevenue},
                               {"Tax", 2200, kCurrentLiability}});
  books.BusinessName = "Acme";
  books.BusinessAddress = "1 Main St\r\nTown";
  books.AccountDetails[1] = "Cust Pty\r\nRoad 2";
  AddEntry(books, Day(2026, 3, 5), "INV1", {{1100, 115}}, {{4000, 100}, {2200, 15}}, "Thanks");
  return books;
}

// The positions of the texts in `page`, which must all be there and in this order.
void ExpectInOrder(const std::string& page, const std::vector<std::string>& texts) {
  std::size_t from = 0;
  for (const std::string& text : texts) {
    const std::size_t at = page.find(text, from);
    ASSERT_NE(at, std::string::npos) << "\"" << text << "\" missing or out of order in:\n" << page;
    from = at + text.size();
  }
}

class InvoiceWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!PrintsToFile(SharedPrinter()))
      GTEST_SKIP() << "a printer is installed; these print to PDF";
  }
  // Prints the shown entry's invoice to `name` in the tests' output folder.
  std::string PrintInvoice(const std::string& name) {
    const std::string file = TestOutputPath(name);
    fs::remove(file);
    ScopedPdfFileAnswer answer([file] { return file; });
    w->MenuItem("Invoice")->trigger();
    return file;
  }
};

TEST_F(InvoiceWindowTest, TheExampleInvoicePrintsOnOnePageInTheLayoutsOrder) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  StartOn(InvoiceBook(), false);
  const std::string file = PrintInvoice("invoice_example.pdf");
  const std::vector<std::string> pages = PdfPageTexts(file);
  ASSERT_EQ(pages.size(), 1u);
  const std::string date = FormatDateStyle(Day(2026, 3, 5), 0, UsEnglishLocale());
  ExpectInOrder(pages[0], {"Acme", "1 Main St", "Town", "Cust Pty", "Date of Issue : " + date,
                           "Road 2", "Reference No : INV1", "Customer", "(1100)", "4000", "Sales",
                           "100.00", "2200", "Tax", "15.00", "Total - 115.00", "Thanks"});
  EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
}

TEST_F(InvoiceWindowTest, ALongInvoiceRunsOnToMorePagesLosingNothing) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  Books book = InvoiceBook();
  book.ResizeChart(40);
  std::vector<std::string> address, lines = {"Customer"};  // as printed, in order
  for (int k = 1; k <= 31; ++k) {
    const std::size_t slot = static_cast<std::size_t>(3 + k);
    book.AccountNames[slot] = "Part " + std::to_string(k);
    book.AccountFolios[slot] = Money(5000 + k);
    lines.push_back("Part " + std::to_string(k) + " ");
  }
  lines.insert(lines.end(), {"Total - 496.00", "Long one"});
  book.BusinessAddress.clear();
  for (int k = 1; k <= 60; ++k) {
    address.push_back("Address line " + std::to_string(k) + "\n");
    book.BusinessAddress += "Address line " + std::to_string(k) + "\r\n";
  }
  book.BusinessAddress += "Last address line";
  address.push_back("Last address line");
  // 31 debit lines, then the customer's credit line.
  const int32_t first = book.LastLineIndex() + 1;
  for (int k = 1; k <= 31; ++k)
    book.AppendLine({Day(2026, 3, 6), kDebit, 0, Money(5000 + k), Money(k), ""},
                    EntryNumber("BIG"));
  book.AppendLine({Day(2026, 3, 6), kCredit, 0, Money(1100), Money(496), "Long one"},
                  EntryNumber("BIG"));
  StartOn(book, false);
  w->ScrollAcc->SetValue(first);
  ASSERT_EQ(w->Screen().EntryFirstLine(), first);
  const std::vector<std::string> pages = PdfPageTexts(PrintInvoice("invoice_long.pdf"));
  ASSERT_GE(pages.size(), 2u);
  const std::string all = std::accumulate(pages.begin(), pages.end(), std::string());
  ExpectInOrder(all, address);
  ExpectInOrder(all, lines);
}

TEST_F(InvoiceWindowTest, AFailingPrinterIsToldOnceAndInHelpModeOnlyTheMailIsWritten) {
  StartOn(InvoiceBook(), false);
  {
    PromptAnswerer prompts;
    prompts.Then(PromptAnswer::Ok);
    const std::string nowhere = TestOutputPath("no-such-folder/invoice.pdf");
    ScopedPdfFileAnswer answer([nowhere] { return nowhere; });
    w->MenuItem("Invoice")->trigger();
    // A PDF file that cannot be written is named, with the reason.
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Printing to \"" + nowhere +
                                                        "\" failed: No such file or directory. "
                                                        "No file was written."});
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(TheScreenPointer().Shape(), PointerShape::Normal);
  }
  // In help mode the command explains itself and prints nothing; the e-mail is still written,
  // a message that mail programs read.
  HelpMode(true);
  int asked = 0;
  ScopedPdfFileAnswer counted([&asked] { return ++asked, std::string(); });
  w->MenuItem("Invoice")->trigger();
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(HelpTitle(), "Print Invoice...");
  EXPECT_EQ(TheHelpDesk().Window()->Text().toStdString(), kInvoiceHelpText);
  const std::string folder = TestOutputPath("invoice-mail");
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms::owner_all);  // a runtime folder is the user's alone
  const std::string eml = folder + "/quorvel/Invoice0.eml";
  std::vector<std::string> opened;
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", folder);  // where the message is written
    ScopedEmailOpener opener(
        [&opened](const std::string& file) { return opened.push_back(file), true; });
    w->CalcButton_Click(13);
  }
  ASSERT_EQ(opened, std::vector<std::string>{eml});
  const std::string page =
      InvoiceHtml(books(), MakeInvoice(books(), UsEnglishLocale(), EntryRange{0, 2}));
  EXPECT_EQ(DecodedEmlBody(ScratchFolder::Read(eml)), page);
  if (!PythonAvailable()) GTEST_SKIP() << kNoPython;
  const auto fields = ParseEmlWithPython(eml);
  EXPECT_EQ(std::tie(fields.at("Subject"), fields.at("Content-Type"), fields.at("body")),
            std::tuple("Acme, Customer (INV1)", "text/html", page));
}

// The print set-up as every view shows it, over the main window: Print prints, Cancel and the
// close box print nothing, and the PDF entry chosen once is there at the next opening.
TEST_F(InvoiceWindowTest, ThePrintSetUpOverTheMainWindowPrintsOrCancels) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  StartOn(InvoiceBook(), false);
  Session& session = p.app->TheSession();
  const DocumentDrawing invoice = [this](DrawingSurface& printer) {
    DrawInvoice(printer, books(), MakeInvoice(books(), UsEnglishLocale(), {0, 2}), "Thanks");
  };
  const auto choose = [](QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
    emit box->activated(box->currentIndex());
  };
  auto answer = [](std::function<void(Printformer&)> act) {
    QTimer::singleShot(0, [act] {
      if (auto* dialog = qobject_cast<Printformer*>(QApplication::activeModalWidget()))
        act(*dialog);
    });
    QTimer::singleShot(5000, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
  };
  const std::string file = TestOutputPath("invoice_setup.pdf");
  fs::remove(file);
  ScopedPdfFileAnswer pdf([file] { return file; });
  answer([this, choose](Printformer& dialog) {
    EXPECT_EQ(dialog.parentWidget(), w);
    choose(dialog.Combo1(), "PDF file...");
    dialog.Copying()->setText("2");
    emit dialog.Copying()->textEdited("2");
    dialog.Command1()->click();
  });
  EXPECT_EQ(PrintDocument(w, session, invoice), PrintOutcome::Printed);
  EXPECT_EQ(PdfPageCount(file), 2);          // two copies, one after the other in the file
  for (const bool cancel : {true, false}) {  // Cancel, then the close box
    fs::remove(file);
    answer([cancel](Printformer& d) {
      EXPECT_EQ(d.Combo1()->currentText(), "PDF file...");
      cancel ? d.Command2()->click() : static_cast<void>(d.close());
    });
    EXPECT_EQ(PrintDocument(w, session, invoice), PrintOutcome::Cancelled);
    EXPECT_EQ(session.PrintCopies, 0);
    EXPECT_FALSE(fs::exists(file));
  }
  // The paper chosen here is the paper of a later invoice, which has no set-up of its own.
  answer([choose](Printformer& dialog) {
    choose(dialog.Combo2(), "Legal, 8½ x 14 in.");
    dialog.Command1()->click();
  });
  EXPECT_EQ(PrintDocument(w, session, invoice), PrintOutcome::Printed);
  w->MenuItem("Invoice")->trigger();
  EXPECT_EQ(PdfPageSize(file), "612 x 1008");
}

}  // namespace
}  // namespace qv::testing
