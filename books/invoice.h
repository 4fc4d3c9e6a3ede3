#pragma once
// The invoice of the shown journal entry: a statement addressed to one account, the
// customer, listing the entry's lines of the other side with their total. MakeInvoice
// computes it once from the books; the printed page (DrawInvoice) and the HTML page of the
// e-mail (InvoiceHtml) both read it.
//
// When the entry has more than one debit line the customer is its last line and the items
// are the debit lines; otherwise the customer is its first line and the items are the credit
// lines. Amounts are rounded to the journal's decimals, halves to the even digit, and the
// total is the sum of the rounded amounts, so the lines add up to it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "platform/drawing_surface.h"
#include "platform/locale_info.h"

namespace qv {

struct InvoiceItem {
  std::string FolioText;
  std::string Name;
  std::string AmountText;
};

struct Invoice {
  int32_t CustomerLine = 0;
  // The customer's details, one element a line; none when no account has the customer's
  // folio (never another account's address).
  std::vector<std::string> Details;
  // The customer's account name, three blanks and the folio in parentheses.
  std::string Title;
  // The entry's date in the system's short form, and its number as stored (14 characters).
  std::string DateText;
  std::string EntryNumber;
  std::vector<InvoiceItem> Items;
  // The total in the amount format; nothing when it leaves the amount range.
  std::optional<std::string> TotalText;
};

// The invoice of lines entry.First to entry.Last (held within the journal).
Invoice MakeInvoice(const Books& books, const LocaleInfo& locale, EntryRange entry);

// The printed invoice, drawn from the top of the printer's surface: the customer's details
// on the left, the business heading (PrintHeader) on the right, the date and reference, the
// title, a rule, the items with their folios and amounts, the total and the notes. Long
// details push the title down rather than run into it; the print service starts new pages.
void DrawInvoice(DrawingSurface& printer, const Books& books, const Invoice& invoice,
                 std::string_view notes);

// The HTML page of the e-mailed invoice (without the notes). Texts are escaped for HTML.
std::string InvoiceHtml(const Books& books, const Invoice& invoice);

// The e-mail's subject: the business name, the first debit row's account and the entry
// number box's text ("Acme, Customer (INV1)").
std::string InvoiceSubject(std::string_view businessName, std::string_view firstDebitAccount,
                           std::string_view entryNumberText);

// Texts of the invoice.
inline constexpr const char* kInvoiceHelpText =
    "Prints a statement / invoice of the current journal entry.";

}  // namespace qv
