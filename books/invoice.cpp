#include "books/invoice.h"

#include <algorithm>
#include <cstdlib>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "books/print_header.h"
#include "platform/html_text.h"
#include "platform/string_table.h"
#include "platform/units.h"

namespace qv {

namespace {

// The printed layout, in twips.
constexpr double kDetailsTop = 2835;
constexpr double kDetailsLeft = 2268;
constexpr double kLabelRightInset = 1565;  // the date and reference values start here
constexpr double kRuleGap = 100;
constexpr int kLinesBeforeTitle = 5;
// The folio column ends this wide (in the current font) inside the paper's left edge.
constexpr std::string_view kFolioColumn = "000000000";
constexpr std::string_view kFolioGap = "      ";

constexpr int kTotalText = 168;
constexpr int kDateOfIssueText = 280;
constexpr int kReferenceText = 281;

// The value rounded to `decimals` places, halves to the even digit; nothing when that
// leaves the amount range.
std::optional<Amount> RoundedHalfEven(Amount value, int decimals) {
  int64_t unit = 1;
  for (int k = decimals; k < Amount::kDecimals; ++k) unit *= 10;
  const int64_t whole = value.Raw() / unit;  // towards zero
  const int64_t rest = value.Raw() % unit;
  const int64_t twice = 2 * std::llabs(rest);
  const bool away = twice > unit || (twice == unit && whole % 2 != 0);
  const Amount down = Amount::FromRaw(whole * unit);
  if (!away) return down;
  return CheckedAdd(down, Amount::FromRaw(rest < 0 ? -unit : unit));
}

// Centred on the printable width, or from its left edge when wider.
void PrintCentred(DrawingSurface& printer, std::string_view text) {
  printer.SetCurrentX(std::max(0.0, (printer.ScaleWidth() - printer.TextWidth(text)) / 2));
  printer.Print(text);
}

// A label right-aligned at `at` and its value from `at`, on one line.
void PrintLabelled(DrawingSurface& printer, double at, int labelId, std::string_view value) {
  const std::string label = Str(labelId) + " ";
  printer.SetCurrentX(at - printer.TextWidth(label));
  printer.PrintStay(label);
  printer.SetCurrentX(at);
  printer.Print(value);
}

}  // namespace

Invoice MakeInvoice(const Books& books, const LocaleInfo& locale, EntryRange entry) {
  Invoice invoice;
  const int32_t last = books.LastLineIndex();
  entry.First = std::clamp(entry.First, 0, last);
  entry.Last = std::clamp(entry.Last, entry.First, last);
  const std::vector<PostingLine>& lines = books.PostingLines;
  const auto begin = lines.begin() + entry.First, end = lines.begin() + entry.Last + 1;
  const bool severalDebits =
      std::count_if(begin, end, [](const PostingLine& l) { return l.Side == kDebit; }) > 1;
  invoice.CustomerLine = severalDebits ? entry.Last : entry.First;
  const uint8_t itemSide = severalDebits ? kDebit : kCredit;

  const Folio customer = lines[static_cast<std::size_t>(invoice.CustomerLine)].LineFolio;
  if (const std::optional<int> index = AccountIndexOfFolio(books, customer);
      index && *index < static_cast<int>(books.AccountDetails.size()))
    invoice.Details = TextLines(books.AccountDetails[static_cast<std::size_t>(*index)]);
  invoice.Title = AccountNameOfFolio(books, customer) + "   (" +
                  PlainAmountText(customer, locale.DecimalSymbol) + ")";
  invoice.DateText =
      FormatDateStyle(lines[static_cast<std::size_t>(entry.First)].LineDate, 0, locale);
  invoice.EntryNumber = books.EntryNumbers[static_cast<std::size_t>(entry.First)].Text();

  const int decimals = std::clamp<int>(books.JournalDecimals, 0, Amount::kDecimals);
  const AmountStyle style = LocaleAmountStyle(decimals, locale, /*zeroBeforePoint=*/false);
  AmountSum total;
  bool totalLost = false;
  for (auto line = begin; line != end; ++line) {
    if (line->Side != itemSide) continue;
    const std::optional<Amount> rounded = RoundedHalfEven(line->Amount, decimals);
    if (rounded)
      total.Add(*rounded);
    else
      totalLost = true;
    invoice.Items.push_back({PlainAmountText(line->LineFolio, locale.DecimalSymbol),
                             AccountNameOfFolio(books, line->LineFolio),
                             FormatAmount(rounded.value_or(line->Amount), style)});
  }
  if (const std::optional<Amount> sum = total.Value(); sum && !totalLost)
    invoice.TotalText = FormatAmount(*sum, style);
  return invoice;
}

void DrawInvoice(DrawingSurface& printer, const Books& books, const Invoice& invoice,
                 std::string_view notes) {
  printer.SetFontBold(false);
  printer.SetCurrentY(kDetailsTop);
  for (const std::string& line : invoice.Details) {
    printer.SetCurrentX(kDetailsLeft);
    printer.Print(line);
  }
  const double detailsBottom = printer.CurrentY();
  printer.SetCurrentY(0);
  PrintHeader(printer, books);
  // The date starts level with the details, on the right, or under a taller heading.
  if (printer.CurrentY() < kDetailsTop) printer.SetCurrentY(kDetailsTop);
  // The values end inside the printable width, however long.
  const std::string entryNumber(TrimText(invoice.EntryNumber));
  printer.SetFontBold(true);
  const double widestValue =
      std::max(printer.TextWidth(entryNumber), printer.TextWidth(invoice.DateText));
  printer.SetFontBold(false);
  const double valuesLeft =
      RoundHalfEven(printer.ScaleWidth() - std::max(kLabelRightInset, widestValue));
  PrintLabelled(printer, valuesLeft, kDateOfIssueText, invoice.DateText);
  printer.Print("");
  printer.SetFontBold(true);
  PrintLabelled(printer, valuesLeft, kReferenceText, entryNumber);
  for (int k = 0; k < kLinesBeforeTitle; ++k) printer.Print("");
  // Long details push the title down instead of running into it.
  if (printer.CurrentY() < detailsBottom) printer.SetCurrentY(detailsBottom);
  PrintCentred(printer, invoice.Title);

  // The amounts end at the heading's inset, or further right where a name would run into
  // them; on paper too narrow for both they are printed on a band of their own.
  printer.SetFontBold(false);
  const double folioRight =
      printer.TextWidth(kFolioColumn) + (printer.Width() - printer.ScaleWidth()) / 2;
  double namesRight = 0, amounts = 0;
  for (const InvoiceItem& item : invoice.Items) {
    namesRight =
        std::max(namesRight, folioRight + printer.TextWidth(std::string(kFolioGap) + item.Name));
    amounts = std::max(amounts, printer.TextWidth(item.AmountText));
  }
  printer.SetFontBold(true);
  const std::string total = Str(kTotalText) + " - " + invoice.TotalText.value_or("");
  amounts = std::max(amounts, printer.TextWidth(total));
  printer.SetFontBold(false);
  const double gap = printer.TextWidth(kFolioGap);
  const double amountsRight =
      RoundHalfEven(std::max(printer.ScaleWidth() - kHeaderRightInset, namesRight + gap + amounts));
  printer.SetCurrentY(printer.CurrentY() + kRuleGap);
  printer.SetPageColumns({0, amountsRight - amounts - gap / 2, amountsRight}, 1);
  printer.Line(0, printer.CurrentY(), printer.ScaleWidth(), printer.CurrentY(), kBlack);
  printer.SetCurrentY(printer.CurrentY() + kRuleGap);
  for (const InvoiceItem& item : invoice.Items) {
    printer.SetCurrentX(folioRight - printer.TextWidth(item.FolioText));
    printer.PrintStay(item.FolioText + std::string(kFolioGap));
    printer.PrintStay(item.Name);
    printer.SetCurrentX(amountsRight - printer.TextWidth(item.AmountText));
    printer.Print(item.AmountText);
  }
  printer.Print("");
  printer.SetFontBold(true);
  printer.SetCurrentX(amountsRight - printer.TextWidth(total));
  printer.Print(total);
  printer.Print("");
  for (const std::string& line : WrappedLines(printer, notes, printer.ScaleWidth()))
    PrintCentred(printer, line);
}

std::string InvoiceHtml(const Books& books, const Invoice& invoice) {
  std::string page = "<html><body><br><br><font size=\"2\" face=\"" + EscapeHtml(books.FontName) +
                     "\"><p align=\"right\">";
  page += "<b>" + EscapeHtml(books.BusinessName) + "</b><br>";
  for (const std::string& line : TextLines(books.BusinessAddress))
    page += EscapeHtml(line) + "<br>";
  page += "</p><br><br><p>";
  for (const std::string& line : invoice.Details) page += EscapeHtml(line) + "<br>";
  page += "<br><br>";
  page += Str(kDateOfIssueText) + " " + EscapeHtml(invoice.DateText) + "<br><br>";
  page +=
      "<b>" + Str(kReferenceText) + " " + EscapeHtml(TrimText(invoice.EntryNumber)) + "<br><br>";
  page += "<center>" + EscapeHtml(invoice.Title) + "<br>" + std::string(94, '_') + "</center></b>";
  page += "<table style=\"border:none; Width:780px;\">";
  page +=
      "<tr><td width=\"10%\" style=\"border:none\" align=\"left\"></td>"
      "<td style=\"border:none\" align=\"left\"></td>"
      "<td align=\"right\" width=\"20%\" style=\"border:none\"></td></tr>";
  for (const InvoiceItem& item : invoice.Items) {
    page += "<tr><td>" + EscapeHtml(item.FolioText) + "</td><td>" + EscapeHtml(item.Name) +
            "</td><td align=\"right\">" + EscapeHtml(item.AmountText) + "</td></tr>";
  }
  page += "<tr><td></td><td></td><td align=\"right\"><br><b>" + Str(kTotalText) + " -  " +
          EscapeHtml(invoice.TotalText.value_or("")) + "</b></td>";
  page += "</tr></table></p></font></html></body>";
  return page;
}

std::string InvoiceSubject(std::string_view businessName, std::string_view firstDebitAccount,
                           std::string_view entryNumberText) {
  std::string subject(businessName);
  subject += ", ";
  subject += firstDebitAccount;
  subject += " (";
  subject += entryNumberText;
  subject += ")";
  return subject;
}

}  // namespace qv
