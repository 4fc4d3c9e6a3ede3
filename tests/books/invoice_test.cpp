#include "books/invoice.h"

#include <gtest/gtest.h>

#include "books/date_styles.h"
#include "books/print_header.h"
#include "platform/page_layout.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;

// The example of the invoice: Customer (1100) owes Sales 100.00 and Tax 15.00.
Books ExampleBook() {
  Books books = BookWithChart({{"Customer", 1100, kCurrentAsset},
                               {"Sales", 4000, kRevenue},
                               {"Tax", 2200, kCurrentLiability},
                               {"Stock", 1300, kCurrentAsset},
                               {"Supplier", 2100, kCurrentLiability}});
  books.BusinessName = "Acme";
  books.BusinessAddress = "1 Main St\r\nTown";
  books.AccountDetails[1] = "Cust Pty\r\nRoad 2";
  books.AccountDetails[0] = "Opening balances";  // never anyone's address by mistake
  AddEntry(books, Day(2026, 3, 5), "INV1", {{1100, 115}}, {{4000, 100}, {2200, 15}}, "Thanks");
  return books;
}

Invoice InvoiceOf(const Books& books, int32_t first, int32_t last) {
  return MakeInvoice(books, UsEnglishLocale(), EntryRange{first, last});
}

TEST(Invoice, ThePageOfTheExampleIsExact) {
  const Books books = ExampleBook();
  const Invoice invoice = InvoiceOf(books, 0, 2);
  const std::string date = FormatDateStyle(Day(2026, 3, 5), 0, UsEnglishLocale());
  EXPECT_EQ(InvoiceHtml(books, invoice),
            "<html><body><br><br><font size=\"2\" face=\"Arial\"><p align=\"right\"><b>Acme</b>"
            "<br>1 Main St<br>Town<br></p><br><br><p>Cust Pty<br>Road 2<br><br><br>Date of "
            "Issue : " +
                date +
                "<br><br><b>Reference No : INV1<br><br><center>Customer   (1100)<br>"
                "______________________________________________________________________________"
                "________________</center></b><table style=\"border:none; Width:780px;\"><tr>"
                "<td width=\"10%\" style=\"border:none\" align=\"left\"></td><td "
                "style=\"border:none\" align=\"left\"></td><td align=\"right\" width=\"20%\" "
                "style=\"border:none\"></td></tr><tr><td>4000</td><td>Sales</td><td "
                "align=\"right\">100.00</td></tr><tr><td>2200</td><td>Tax</td><td "
                "align=\"right\">15.00</td></tr><tr><td></td><td></td><td align=\"right\"><br>"
                "<b>Total -  115.00</b></td></tr></table></p></font></html></body>");
  EXPECT_EQ(InvoiceSubject(books.BusinessName, "Customer", "INV1"), "Acme, Customer (INV1)");
  EXPECT_EQ(invoice.EntryNumber, "INV1          ");  // kept as stored
}

TEST(Invoice, CustomerItemsAndTotalFollowTheEntry) {
  auto check = [](std::initializer_list<testing::LineSpec> debits,
                  std::initializer_list<testing::LineSpec> credits, int16_t decimals,
                  const char* title, std::vector<std::string> amounts, const char* total) {
    Books books = ExampleBook();
    books.JournalDecimals = decimals;
    const int32_t first = books.LastLineIndex() + 1;
    AddEntry(books, Day(2026, 3, 6), "9", debits, credits);
    const Invoice invoice = InvoiceOf(books, first, books.LastLineIndex());
    std::vector<std::string> shown;
    for (const InvoiceItem& item : invoice.Items) shown.push_back(item.AmountText);
    EXPECT_EQ(invoice.Title, title);
    EXPECT_EQ(shown, amounts);
    EXPECT_EQ(invoice.TotalText, total);
  };
  // With several debits the last line is the customer.
  check({{1300, 80}, {2200, 20}}, {{2100, 100}}, 2, "Supplier   (2100)", {"80.00", "20.00"},
        "100.00");
  // Halves go to the even digit before adding; no zero before the point; an unknown account.
  check({{1100, 22}}, {{4000, 10.5}, {2200, 11.5}}, 0, "Customer   (1100)", {"10", "12"}, "22");
  check({{1100, 0.25}}, {{4000, 0.25}}, 2, "Customer   (1100)", {".25"}, ".25");
  check({{999, 5}}, {{4000, 5}}, 2, "   (999)", {"5.00"}, "5.00");
  // A customer folio that no account has gives no detail lines, not account 0's.
  Books books = ExampleBook();
  books.PostingLines[0].LineFolio = testing::Money(999);
  EXPECT_TRUE(InvoiceOf(books, 0, 2).Details.empty());
}

TEST(Invoice, EmptyTextsAddNothingNamesAreEscapedAndAnOverflowHasNoTotal) {
  Books books = ExampleBook();
  books.BusinessAddress.clear();
  books.AccountDetails[1].clear();
  books.BusinessName = "A&B <Co>";
  const std::string page = InvoiceHtml(books, InvoiceOf(books, 0, 2));
  EXPECT_NE(page.find("<b>A&amp;B &lt;Co&gt;</b><br></p><br><br><p><br><br>Date"),
            std::string::npos);
  EXPECT_EQ(TextLines("A\r\n"), (std::vector<std::string>{"A", ""}));
  books.PostingLines[1].Amount = Amount::Max();
  books.PostingLines[2].Amount = Amount::Max();
  EXPECT_FALSE(InvoiceOf(books, 0, 2).TotalText.has_value());
}

// The printed page, measured with fixed metrics on a Letter page with half-inch margins.
class InvoiceDrawingTest : public ::testing::Test {
 protected:
  InvoiceDrawingTest() : printer_(metrics_) {
    printer_.SetExtent({12240, 15840, 11240, 14840});
    printer_.SetFontSize(10);
  }
  const TextOp& Text(const std::string& text) {
    const TextOp* op = printer_.FindText(text);
    EXPECT_NE(op, nullptr) << text;
    static const TextOp none;
    return op ? *op : none;
  }
  double Right(const std::string& text) { return Text(text).X + Text(text).Width; }
  FixedTextMetrics metrics_{100, 200};
  DrawingSurface printer_;
};

TEST_F(InvoiceDrawingTest, EveryPartStandsWhereTheLayoutPutsIt) {
  const Books books = ExampleBook();
  DrawInvoice(printer_, books, InvoiceOf(books, 0, 2), "Thanks");
  // The heading right-aligned inside the printable width, the name bold and larger; amounts
  // and the total at the same inset; the labels of the date and the reference further in.
  const double right = 11240 - 730;
  for (const char* text : {"Acme", "Town", "100.00", "Total - 115.00"})
    EXPECT_DOUBLE_EQ(Right(text), right) << text;
  for (const char* text : {"Date of Issue : ", "Reference No : "})
    EXPECT_DOUBLE_EQ(Right(text), 11240 - 1565) << text;
  EXPECT_TRUE(Text("Acme").Font.Bold && Text("Reference No : ").Font.Bold);
  EXPECT_DOUBLE_EQ(Text("Acme").Font.Size, 11);
  // The details at (2268, 2835); the date level with them; folios end at the folio column.
  EXPECT_EQ(std::tuple(Text("Cust Pty").X, Text("Cust Pty").Y, Text("Date of Issue : ").Y),
            std::tuple(2268.0, 2835.0, 2835.0));
  EXPECT_DOUBLE_EQ(Text("4000      ").X + 400, 900 + (12240 - 11240) / 2.0);
  // The title centred above the rule, the notes centred last.
  const TextOp& title = Text("Customer   (1100)");
  EXPECT_DOUBLE_EQ(title.X, (11240 - title.Width) / 2);
  const TextOp last = printer_.Texts().back();
  EXPECT_EQ(last.Text, "Thanks");
  EXPECT_DOUBLE_EQ(last.X, (11240 - last.Width) / 2);
}

TEST_F(InvoiceDrawingTest, LongDetailsPushTheTitleDown) {
  Books books = ExampleBook();
  books.AccountDetails[1] = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11";
  DrawInvoice(printer_, books, InvoiceOf(books, 0, 2), "");
  EXPECT_GE(Text("Customer   (1100)").Y, Text("11").Y + 200);
}

// On paper narrower than the invoice's parts (fixed metrics: 100 twips a character, a page
// 5000 wide) nothing runs into the amounts or past the page: the values end inside it, the
// notes are broken into lines, and an item name too long to stand beside its amount puts
// the amounts on a band of their own.
TEST_F(InvoiceDrawingTest, OnNarrowPaperNothingRunsIntoTheAmountsOrPastThePage) {
  Books books = ExampleBook();
  books.AccountNames[3] = "Goods and Services Tax Due";  // 26 characters
  books.EntryNumbers[0] = EntryNumber("INV-2026-00042");
  printer_.SetExtent({6000, 12000, 5000, 11000});
  const std::string notes = "Thank you for your custom, payment within thirty days please";
  DrawInvoice(printer_, books, InvoiceOf(books, 0, 2), notes);
  const TextOp& tax = Text("Goods and Services Tax Due");
  EXPECT_GE(Text("15.00").X, tax.X + tax.Width) << "the amount stands clear of the name";
  EXPECT_DOUBLE_EQ(Right("15.00"), Right("100.00"));
  EXPECT_LE(Right("INV-2026-00042"), 5000);
  // The notes close the page in two lines.
  std::string joined;
  const std::vector<TextOp> texts = printer_.Texts();
  for (std::size_t k = texts.size() - 2; k < texts.size(); ++k) {
    EXPECT_LE(texts[k].X + texts[k].Width, 5000) << texts[k].Text;
    joined += (joined.empty() ? "" : " ") + texts[k].Text;
  }
  EXPECT_EQ(joined, notes);
  // Laid out on the page: the names on one band, the amounts and the total on the next.
  const LaidOutPages pages = LayOutPages(printer_.Operations(), PageArea{5000, 11000});
  ASSERT_TRUE(pages.Fits);
  EXPECT_EQ(PageCountOf(pages.Ops), 2);
}

}  // namespace
}  // namespace qv
