// The statements on paper: drawn for a PDF printer through the program's print service, and
// read back with pdftotext. Every row is printed once, whole, with its amount; long
// statements run over several pages, the trial balance with its column headings on each.

#include <gtest/gtest.h>

#include <QPrinter>
#include <algorithm>
#include <sstream>

#include "controls/print_document_qt.h"
#include "statements/balance_sheet_layout.h"
#include "statements/income_statement_layout.h"
#include "statements/statement_texts.h"
#include "statements/trial_balance_layout.h"
#include "tests/support/book_builder.h"
#include "tests/support/pdf_text.h"

namespace qv::testing {
namespace {

// A business with `count` accounts of each kind: debtors (current assets), suppliers
// (current liabilities), expenses, and sales, bank and capital; all dated in 2026.
Books PaperBook(int count) {
  Books books = BookWithChart({{"Bank", 100, kCurrentAsset},
                               {"Capital", 300, kCapital},
                               {"Sales", 400, kRevenue},
                               {"Stock Purchases", 500, kCostOfGoodsSold}});
  books.BusinessName = "Paper Trading Ltd";
  books.BalanceSheetDecimals = books.IncomeDecimals = books.TrialDecimals = 2;
  const DaySerial day = Day(2026, 5, 1);
  AddEntry(books, day, "c", {{100, 100000}}, {{300, 100000}});
  AddEntry(books, day, "s", {{100, 90000}}, {{400, 90000}});
  AddEntry(books, day, "p", {{500, 30000}}, {{100, 30000}});
  int index = 5;
  const auto add = [&](const std::string& name, double folio, AccountType type) {
    if (index > books.LastAccountIndex) books.ResizeChart(index);
    const auto slot = static_cast<std::size_t>(index++);
    books.AccountNames[slot] = name;
    books.AccountFolios[slot] = Money(folio);
    books.AccountTypes[slot] = type;
  };
  for (int k = 0; k < count; ++k) {
    add("Debtor " + std::to_string(k), 1100 + k, kCurrentAsset);
    add("Supplier " + std::to_string(k), 2100 + k, kCurrentLiability);
    add("Expense " + std::to_string(k), 6100 + k, kExpense);
    AddEntry(books, day, "d", {{1100.0 + k, 100.0 + k}}, {{400, 100.0 + k}});
    AddEntry(books, day, "x", {{6100.0 + k, 10.0 + k}}, {{2100.0 + k, 10.0 + k}});
  }
  return books;
}

StatementLook LookOf(const Books& books, int decimals) {
  StatementLook look = StatementLookOf(books, UsEnglishLocale(), decimals);
  look.WidestName = "Stock Purchases";
  return look;
}

// Prints on a PDF file in the tests' output folder and returns the text of its pages.
std::vector<std::string> PrintToPdf(const std::string& name, const DocumentDrawing& draw,
                                    double scale = 1.0) {
  const std::string path = TestOutputPath(name);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  Session session;
  EXPECT_EQ(PrintOnPrinter(printer, session, draw, 1, scale), PrintOutcome::Printed);
  return PdfPageTexts(path);
}

// The lines of a page with text, the ligatures the PDF fonts use spelt out ("Profit").
std::vector<std::string> LinesOf(std::string page) {
  for (const auto& [ligature, letters] : {std::pair{"\xEF\xAC\x81", "fi"}, {"\xEF\xAC\x82", "fl"}})
    for (std::size_t at = page.find(ligature); at != std::string::npos; at = page.find(ligature))
      page.replace(at, 3, letters);
  std::vector<std::string> lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);)
    if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
  return lines;
}

// The page (from 0) of the first line holding `text`, and that line; -1 when none.
std::pair<int, std::string> Where(const std::vector<std::string>& pages, const std::string& text) {
  for (std::size_t p = 0; p < pages.size(); ++p)
    for (const std::string& line : LinesOf(pages[p]))
      if (line.find(text) != std::string::npos) return {static_cast<int>(p), line};
  return {-1, ""};
}

// Every account is printed once, on one line with its amount.
void ExpectEveryRowWhole(const std::vector<std::string>& pages,
                         const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string all;
  for (const std::string& page : pages) all += page;
  for (const auto& [name, amount] : rows) {
    const auto [page, line] = Where(pages, name + " ");
    ASSERT_GE(page, 0) << name;
    EXPECT_NE(line.find(amount), std::string::npos) << name << ": " << line;
    EXPECT_EQ(all.find(name + " ", all.find(name + " ") + 1), std::string::npos) << name;
  }
}

TEST(StatementPrinting, ABalanceSheetAndAnIncomeStatementRunOverPagesWithNothingCut) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const Books books = PaperBook(60);
  const BalanceSheet sheet = ComputeBalanceSheet(books, {Day(2026, 5, 31), false});
  const std::vector<std::string> sheetPages =
      PrintToPdf("balance_sheet.pdf", [&](DrawingSurface& printer) {
        DrawBalanceSheet(printer, sheet, BalanceSheetLayout::kStandard, LookOf(books, 2));
      });
  ASSERT_GE(sheetPages.size(), 2u);
  EXPECT_EQ(Where(sheetPages, "Financial Position Ending 31 May 2026").first, 0);
  EXPECT_EQ(Where(sheetPages, "CURRENT ASSETS").first, 0);
  const int last = static_cast<int>(sheetPages.size()) - 1;
  // The profit and the capital's closing balance close the sheet on its last page.
  const auto [profitPage, profitLine] = Where(sheetPages, "PROFIT / LOSS");
  EXPECT_EQ(profitPage, last);
  EXPECT_NE(profitLine.find(StatementAmountText(sheet.SheetProfit, 2, UsEnglishLocale())),
            std::string::npos);
  const std::string closing = StatementAmountText(sheet.CapitalBalance, 2, UsEnglishLocale());
  EXPECT_EQ(Where(sheetPages, closing).first, last);
  for (const char* heading : {"CURRENT LIABILITIES", "WORKING CAPITAL", "CAPITAL / EQUITY"})
    EXPECT_GE(Where(sheetPages, heading).first, 0) << heading;
  std::vector<std::pair<std::string, std::string>> rows;
  for (const auto* section : {&sheet.CurrentAssetRows, &sheet.CurrentLiabilityRows})
    for (const StatementAccountRow& row : *section)
      rows.emplace_back(row.Name, StatementAmountText(row.Value, 2, UsEnglishLocale()));
  ExpectEveryRowWhole(sheetPages, rows);

  const IncomeStatement income = ComputeIncomeStatement(
      books, {IncomePeriod::Between(Day(2026, 1, 1), Day(2026, 12, 31)), false});
  const std::vector<std::string> incomePages = PrintToPdf(
      "income_statement.pdf",
      [&](DrawingSurface& printer) { DrawIncomeStatement(printer, income, LookOf(books, 2)); });
  ASSERT_GE(incomePages.size(), 2u);
  EXPECT_EQ(Where(incomePages, "1 January 2026 to 31 December 2026").first, 0);
  EXPECT_EQ(Where(incomePages, "Gross Profit").first, 0);
  const auto [netPage, netLine] = Where(incomePages, "Net Profit");
  EXPECT_EQ(netPage, static_cast<int>(incomePages.size()) - 1);
  EXPECT_NE(netLine.find(StatementAmountText(income.NetProfit, 2, UsEnglishLocale())),
            std::string::npos);
  rows.clear();
  for (const StatementAccountRow& row : income.ExpenseRows)
    rows.emplace_back(row.Name, StatementAmountText(row.Value, 2, UsEnglishLocale()));
  ExpectEveryRowWhole(incomePages, rows);
}

TEST(StatementPrinting, ATrialBalanceOf200RowsRepeatsItsHeadingsOnEveryPage) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const Books books = PaperBook(67);  // 3 x 67 + 4 accounts with a balance
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 5, 31), false});
  for (const double scale : {1.0, 0.5}) {
    const std::vector<std::string> pages = PrintToPdf(
        scale == 1.0 ? "trial_balance_200.pdf" : "trial_balance_200_half.pdf",
        [&](DrawingSurface& printer) { DrawTrialBalance(printer, tb, LookOf(books, 2)); }, scale);
    ASSERT_GE(pages.size(), 2u) << scale;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const std::vector<std::string> lines = LinesOf(pages[p]);
      ASSERT_FALSE(lines.empty());
      // Below the title on the first page, at the top of every other page.
      const auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Accounts") != std::string::npos && l.find("Debit") != std::string::npos &&
               l.find("Credit") != std::string::npos;
      });
      ASSERT_NE(heading, lines.end()) << "page " << p;
      EXPECT_TRUE(p == 0 || heading == lines.begin()) << "page " << p;
    }
    std::vector<std::pair<std::string, std::string>> rows;
    for (const TrialBalanceRow& row : tb.Rows) {
      if (row.Shown())
        rows.emplace_back(row.Name, TrialAmountText(row.Balance, 2, UsEnglishLocale()));
    }
    EXPECT_GE(rows.size(), 200u);
    ExpectEveryRowWhole(pages, rows);
    const auto [totalsPage, totals] = Where(pages, "TOTALS");
    EXPECT_EQ(totalsPage, static_cast<int>(pages.size()) - 1);
    const std::string total = TrialAmountText(tb.DebitTotal, 2, UsEnglishLocale());
    EXPECT_NE(totals.find(total + " "), std::string::npos) << totals;
  }
}

}  // namespace
}  // namespace qv::testing
