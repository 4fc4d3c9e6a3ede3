// The main window's invoice of the shown entry: printed straight to the printer as it is set
// (File > Print Invoice...) or mailed as an HTML page (the e-mail button of the toolbar). The
// invoice itself is books/invoice.h.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "app/application_window.h"
#include "app/main_window.h"
#include "books/invoice.h"
#include "controls/email_file_qt.h"
#include "controls/print_document_qt.h"
#include "platform/prompts.h"
#include "platform/string_table.h"

namespace qv {

namespace {

constexpr int kPrintInvoiceCaption = 114;

}  // namespace

void TAcount::ConnectInvoiceCommands() {
  connect(MenuItem("Invoice"), &QAction::triggered, this, &TAcount::Invoice_Click);
  connect(MenuItem("EmailInvoice"), &QAction::triggered, this, &TAcount::EmailInvoice_Click);
}

Invoice TAcount::ShownInvoice() const {
  return MakeInvoice(app_.TheBooks(), app_.Locale(),
                     EntryRange{screen_.EntryFirstLine(), screen_.EntryLastLine()});
}

void TAcount::Invoice_Click() {
  if (ShowHelpCard(HelpCard{Str(kPrintInvoiceCaption), kInvoiceHelpText})) return;
  const Invoice invoice = ShownInvoice();
  if (!invoice.TotalText) {
    ShowMessage("The total of the invoice is too large to be shown, so it was not printed.");
    return;
  }
  const Books& books = app_.TheBooks();
  const std::string notes = AccNote->text().toStdString();
  PrintDocumentDirect(
      this, app_.TheSession(),
      [&](DrawingSurface& printer) { DrawInvoice(printer, books, invoice, notes); }, "Invoice");
}

void TAcount::EmailInvoice_Click() {
  // Help mode is not asked: the message is written in help mode too.
  const Invoice invoice = ShownInvoice();
  if (!invoice.TotalText) {
    ShowMessage("The total of the invoice is too large to be shown, so no message was written.");
    return;
  }
  const QComboBox* firstDebit = DebitAccName(0);
  const std::string subject =
      InvoiceSubject(app_.TheBooks().BusinessName,
                     firstDebit ? firstDebit->currentText().toStdString() : std::string(),
                     JournalID->text().toStdString());
  WriteEmailFile("Invoice", InvoiceHtml(app_.TheBooks(), invoice), subject);
}

}  // namespace qv
