// The statements on paper: printed to PDF through the program's print service and read back
// with pdftotext. Every row is printed once, whole, with its amount; long statements run over
// several pages with their column headings on each, the comparative one also across.

#include <gtest/gtest.h>

#include <QPrinter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "bench/book_generator.h"
#include "controls/print_document_qt.h"
#include "statements/balance_sheet_layout.h"
#include "statements/cash_flow_layout.h"
#include "statements/income_statement_layout.h"
#include "statements/statement_texts.h"
#include "statements/trial_balance_layout.h"
#include "tests/support/book_builder.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

using Texts = std::vector<std::string>;
const LocaleInfo kUs = UsEnglishLocale();

// A business with `count` debtors, suppliers and expenses besides bank, capital, sales and
// stock, all dated in 2026.
Books PaperBook(int count) {
  Books books = BookWithChart({{"Bank", 100, kCurrentAsset},
                               {"Capital", 300, kCapital},
                               {"Sales", 400, kRevenue},
                               {"Stock Purchases", 500, kCostOfGoodsSold}});
  books.BusinessName = "Paper Trading Ltd";
  const DaySerial day = Day(2026, 5, 1);
  AddEntry(books, day, "c", {{100, 100000}}, {{300, 100000}});
  AddEntry(books, day, "s", {{100, 90000}}, {{400, 90000}});
  AddEntry(books, day, "p", {{500, 30000}}, {{100, 30000}});
  books.ResizeChart(4 + 3 * count);
  for (int k = 0; k < count; ++k) {
    const std::pair<std::string, AccountType> kinds[] = {
        {"Debtor ", kCurrentAsset}, {"Supplier ", kCurrentLiability}, {"Expense ", kExpense}};
    for (int j = 0; j < 3; ++j) {
      books.AccountNames[5 + 3 * k + j] = kinds[j].first + std::to_string(k);
      books.AccountFolios[5 + 3 * k + j] = Money(1100 + 2500 * j + k);
      books.AccountTypes[5 + 3 * k + j] = kinds[j].second;
    }
    AddEntry(books, day, "d", {{1100.0 + k, 100.0 + k}}, {{400, 100.0 + k}});
    AddEntry(books, day, "x", {{6100.0 + k, 10.0 + k}}, {{3600.0 + k, 10.0 + k}});
  }
  return books;
}

StatementLook LookOf(const Books& books, const std::string& widest = "Stock Purchases") {
  StatementLook look = StatementLookOf(books, kUs, 2);
  look.WidestName = widest;
  return look;
}

// Prints on a PDF file in the tests' output folder and returns the text of its pages.
Texts PrintToPdf(const std::string& name, const DocumentDrawing& draw, double scale = 1.0,
                 QPageSize::PageSizeId paper = QPageSize::A4,
                 PrintOutcome outcome = PrintOutcome::Printed) {
  const std::string path = TestOutputPath(name);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(paper));
  Session session;
  EXPECT_EQ(PrintOnPrinter(printer, session, draw, 1, scale), outcome) << name;
  return PdfPageTexts(path);
}

// Upright paper narrower than the statements at 150 %: A5 and the DL envelope.
const std::pair<const char*, QPageSize::PageSizeId> kNarrowPapers[] = {
    {"a5", QPageSize::A5}, {"dl", QPageSize::EnvelopeDL}};

// The texts that are not found whole on any page.
Texts Missing(const Texts& pages, const Texts& wanted) {
  std::string all;
  for (const std::string& page : pages) all += page;
  Texts missing;
  for (const std::string& text : wanted)
    if (all.find(text) == std::string::npos) missing.push_back(text);
  return missing;
}

// The lines of a page with text, the ligatures the PDF fonts use spelt out ("Profit").
Texts LinesOf(std::string page) {
  for (const auto& [ligature, letters] : {std::pair{"\xEF\xAC\x81", "fi"}, {"\xEF\xAC\x82", "fl"}})
    for (std::size_t at = page.find(ligature); at != std::string::npos; at = page.find(ligature))
      page.replace(at, 3, letters);
  Texts lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);)
    if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
  return lines;
}

// The page (from 0) of the first line holding `text`, and that line; -1 when none.
std::pair<int, std::string> Where(const Texts& pages, const std::string& text) {
  for (std::size_t p = 0; p < pages.size(); ++p)
    for (const std::string& line : LinesOf(pages[p]))
      if (line.find(text) != std::string::npos) return {static_cast<int>(p), line};
  return {-1, ""};
}

// Every account is printed once, on one line with its amount.
void ExpectEveryRowWhole(const Texts& pages, const std::vector<StatementAccountRow>& rows) {
  std::string all;
  for (const std::string& page : pages) all += page;
  for (const StatementAccountRow& row : rows) {
    const auto [page, line] = Where(pages, row.Name + " ");
    ASSERT_GE(page, 0) << row.Name;
    EXPECT_NE(line.find(StatementAmountText(row.Value, 2, kUs)), std::string::npos) << line;
    EXPECT_EQ(all.find(row.Name + " ", all.find(row.Name + " ") + 1), std::string::npos);
  }
}

TEST(StatementPrinting, ABalanceSheetAndAnIncomeStatementRunOverPagesWithNothingCut) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const Books books = PaperBook(60);
  const BalanceSheet sheet = ComputeBalanceSheet(books, {Day(2026, 5, 31), false});
  const Texts sheetPages = PrintToPdf("balance_sheet.pdf", [&](DrawingSurface& printer) {
    DrawBalanceSheet(printer, sheet, BalanceSheetLayout::kStandard, LookOf(books));
  });
  ASSERT_GE(sheetPages.size(), 2u);
  const int last = static_cast<int>(sheetPages.size()) - 1;
  EXPECT_EQ(Where(sheetPages, "Financial Position Ending 31 May 2026").first, 0);
  EXPECT_EQ(Where(sheetPages, "CURRENT ASSETS").first, 0);
  for (const char* heading : {"CURRENT LIABILITIES", "WORKING CAPITAL", "CAPITAL / EQUITY"})
    EXPECT_GE(Where(sheetPages, heading).first, 0) << heading;
  // The profit and the capital's closing balance close the sheet on its last page.
  const auto [profitPage, profitLine] = Where(sheetPages, "PROFIT / LOSS");
  EXPECT_EQ(profitPage, last);
  EXPECT_NE(profitLine.find(StatementAmountText(sheet.SheetProfit, 2, kUs)), std::string::npos);
  EXPECT_EQ(Where(sheetPages, StatementAmountText(sheet.CapitalBalance, 2, kUs)).first, last);
  ExpectEveryRowWhole(sheetPages, sheet.CurrentAssetRows);
  ExpectEveryRowWhole(sheetPages, sheet.CurrentLiabilityRows);

  const IncomeStatement income = ComputeIncomeStatement(
      books, {IncomePeriod::Between(Day(2026, 1, 1), Day(2026, 12, 31)), false});
  const Texts incomePages = PrintToPdf("income_statement.pdf", [&](DrawingSurface& printer) {
    DrawIncomeStatement(printer, income, LookOf(books));
  });
  ASSERT_GE(incomePages.size(), 2u);
  EXPECT_EQ(Where(incomePages, "1 January 2026 to 31 December 2026").first, 0);
  EXPECT_EQ(Where(incomePages, "Gross Profit").first, 0);
  const auto [netPage, netLine] = Where(incomePages, "Net Profit");
  EXPECT_EQ(netPage, static_cast<int>(incomePages.size()) - 1);
  EXPECT_NE(netLine.find(StatementAmountText(income.NetProfit, 2, kUs)), std::string::npos);
  ExpectEveryRowWhole(incomePages, income.ExpenseRows);
}

TEST(StatementPrinting, ATrialBalanceOf200RowsRepeatsItsHeadingsOnEveryPage) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  const Books books = PaperBook(67);  // 3 x 67 + 4 accounts with a balance
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 5, 31), false});
  std::vector<StatementAccountRow> rows;
  for (const TrialBalanceRow& row : tb.Rows)
    if (row.Shown()) rows.push_back({row.Name, row.RowFolio, 0, *CheckedAbs(row.Balance)});
  ASSERT_GE(rows.size(), 200u);
  for (const double scale : {1.0, 0.5}) {
    const Texts pages = PrintToPdf(
        scale == 1.0 ? "trial_balance_200.pdf" : "trial_balance_200_half.pdf",
        [&](DrawingSurface& printer) { DrawTrialBalance(printer, tb, LookOf(books)); }, scale);
    ASSERT_GE(pages.size(), 2u) << scale;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      // Below the title on the first page, at the top of every other page.
      const Texts lines = LinesOf(pages[p]);
      const auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Accounts") != std::string::npos && l.find("Debit") != std::string::npos &&
               l.find("Credit") != std::string::npos;
      });
      ASSERT_NE(heading, lines.end()) << "page " << p;
      EXPECT_TRUE(p == 0 || heading == lines.begin()) << "page " << p;
    }
    ExpectEveryRowWhole(pages, rows);
    const auto [totalsPage, totals] = Where(pages, "TOTALS");
    EXPECT_EQ(totalsPage, static_cast<int>(pages.size()) - 1);
    EXPECT_NE(totals.find(TrialAmountText(tb.DebitTotal, 2, kUs) + " "), std::string::npos);
  }
}

// The words of a line of pdftotext's layout, split at runs of two or more blanks.
Texts Cells(const std::string& line) {
  static const std::regex gap(" {2,}");
  const std::string text = line.substr(line.find_first_not_of(' '));
  Texts cells;
  for (std::sregex_token_iterator it(text.begin(), text.end(), gap, -1), end; it != end; ++it)
    if (it->length() > 0) cells.push_back(it->str());
  return cells;
}

TEST(StatementPrinting, TheComparativeStatementBandsAcrossAndDownAtEveryTextSize) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  Books books = GenerateBook({.lines = 3000, .entriesPerDay = 2});  // twenty months
  books.BusinessName = "Acme Ltd";
  const CashFlowStatement statement = ComputeCashFlow(books, {});
  const CashFlowRow& row = statement.Inflows.front();
  // Every column once, from the second period shown, each amount whole and apart.
  Texts wantHeadings, wantSales, wantOpening;
  for (int p = 2; p <= statement.TotalColumn; ++p) {
    if (p < statement.TotalColumn)
      wantOpening.push_back(CashFlowAmountText(statement.BalanceBefore(p), 2, kUs));
    wantHeadings.push_back(PeriodColumnHeading(statement, p, kUs));
    wantSales.push_back(CashFlowAmountText(row.Amounts[p], 2, kUs));
  }
  for (const double scale : {0.5, 1.0, 1.5}) {
    const Texts pages = PrintToPdf(
        "cash_flow_" + std::to_string(int(scale * 100)) + ".pdf",
        [&](DrawingSurface& s) { PrintCashFlow(s, statement, LookOf(books, "Creditor 299"), 2); },
        scale);
    ASSERT_GE(pages.size(), 2u);
    int bands = 0;
    Texts headings, sales, opening;
    for (const std::string& page : pages) {
      const Texts lines = LinesOf(page);
      ASSERT_GE(lines.size(), 2u);
      std::size_t i = 0;
      // Each band starts with the title; every page with the band's column headings.
      if (Cells(lines[i]) == Texts{"Acme Ltd, Cash Flow Position"}) {
        ++bands;
        const Texts cells = Cells(lines[++i]);
        headings.insert(headings.end(), cells.begin(), cells.end());
      }
      EXPECT_TRUE(Cells(lines[i]).back() == "Total" || Cells(lines[i]).back().size() == 8) << page;
      for (++i; i < lines.size(); ++i) {
        const Texts c = Cells(lines[i]);
        if (c.front() == row.Name) sales.insert(sales.end(), c.begin() + 1, c.end());
        if (c.front() == "Beginning Balance:")
          opening.insert(opening.end(), c.begin() + 1, c.end());
      }
    }
    EXPECT_GT(bands, 1) << scale;
    EXPECT_EQ(headings, wantHeadings) << scale;
    EXPECT_EQ(sales, wantSales) << scale;
    EXPECT_EQ(opening, wantOpening) << scale;
  }
}

// A name as long as a chart may hold, which leaves a narrow page no room beside it.
constexpr const char* kLongName = "Accumulated Depreciation, Motor Vehicles";

TEST(StatementPrinting, OnNarrowPaperEveryFigureAndHeadingIsPrintedWholeOnSomePage) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  Books books = GenerateBook({.lines = 3000, .entriesPerDay = 2});  // twenty months
  books.BusinessName = "Acme Ltd";
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 12, 31), false});
  const CashFlowStatement cf = ComputeCashFlow(books, {});
  const IncomeStatement income = ComputeIncomeStatement(
      books, {IncomePeriod::Between(Day(2025, 1, 1), Day(2026, 12, 31)), false});
  const BalanceSheet sheet = ComputeBalanceSheet(books, {Day(2026, 12, 31), false});
  Texts tbWanted = {"Accounts", "Debit", "Credit", "TOTALS",
                    TrialAmountText(tb.DebitTotal, 2, kUs)};
  for (const TrialBalanceRow& row : tb.Rows)
    if (row.Shown()) tbWanted.push_back(TrialAmountText(row.Balance, 2, kUs));
  Texts cfWanted;
  for (int p = 1; p <= cf.TotalColumn; ++p) {
    cfWanted.push_back(PeriodColumnHeading(cf, p, kUs));
    for (const auto* values : {&cf.Inflows.front().Amounts, &cf.TotalInflows,
                               &cf.Outflows.back().Amounts, &cf.TotalOutflows})
      cfWanted.push_back(CashFlowAmountText((*values)[static_cast<std::size_t>(p)], 2, kUs));
  }
  const auto amounts = [](const std::vector<StatementAccountRow>& rows, Amount closing) {
    Texts wanted = {StatementAmountText(closing, 2, kUs)};
    for (const StatementAccountRow& row : rows)
      wanted.push_back(StatementAmountText(row.Value, 2, kUs));
    return wanted;
  };
  const std::tuple<std::string, DocumentDrawing, Texts> documents[] = {
      {"trial_balance", [&](DrawingSurface& s) { DrawTrialBalance(s, tb, LookOf(books)); },
       tbWanted},
      {"cash_flow", [&](DrawingSurface& s) { PrintCashFlow(s, cf, LookOf(books, kLongName), 1); },
       cfWanted},
      {"income_statement",
       [&](DrawingSurface& s) { DrawIncomeStatement(s, income, LookOf(books, kLongName)); },
       amounts(income.ExpenseRows, income.NetProfit)},
      {"balance_sheet",
       [&](DrawingSurface& s) {
         DrawBalanceSheet(s, sheet, BalanceSheetLayout::kStandard, LookOf(books, kLongName));
       },
       amounts(sheet.CurrentAssetRows, sheet.CapitalBalance)}};
  for (const auto& [paper, size] : kNarrowPapers) {
    for (const auto& [document, draw, wanted] : documents) {
      // The balance sheet's title at 150 % is wider than the envelope.
      if (document == "balance_sheet" && size == QPageSize::EnvelopeDL) continue;
      const std::string name = document + "_150_" + paper + ".pdf";
      const Texts pages = PrintToPdf(name, draw, 1.5, size);
      EXPECT_EQ(Missing(pages, wanted), Texts{}) << name;
      // The trial balance's accounts stand beside the debit and again the credit column.
      if (document != "trial_balance") continue;
      EXPECT_EQ(std::ranges::count_if(pages,
                                      [](const std::string& page) {
                                        return std::ranges::any_of(LinesOf(page), [](auto& line) {
                                          return std::ranges::count(Cells(line), "Bank 1") == 1;
                                        });
                                      }),
                2)
          << name;
    }
  }
}

TEST(StatementPrinting, APageTooSmallForOneColumnIsRefusedWithAMessageAndNothingWritten) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  Books books = GenerateBook({.lines = 300, .entriesPerDay = 2});
  books.BusinessName = "Acme Ltd";
  const CashFlowStatement statement = ComputeCashFlow(books, {});
  const DocumentDrawing draw = [&](DrawingSurface& s) {
    PrintCashFlow(s, statement, LookOf(books, kLongName), 1);
  };
  const std::string path = TestOutputPath("cash_flow_300_dl.pdf");
  std::filesystem::remove(path);
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok).Then(PromptAnswer::Ok);
  // At 300 % the names alone are wider than the envelope.
  PrintToPdf("cash_flow_300_dl.pdf", draw, 3.0, QPageSize::EnvelopeDL, PrintOutcome::DoesNotFit);
  EXPECT_FALSE(std::filesystem::exists(path));
  // An earlier file of the name is kept as it was.
  std::ofstream(path) << "earlier";
  PrintToPdf("cash_flow_300_dl.pdf", draw, 3.0, QPageSize::EnvelopeDL, PrintOutcome::DoesNotFit);
  std::ifstream kept(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "earlier");
  EXPECT_EQ(prompts.Texts(),
            (Texts{std::string(kDoesNotFitText) + " No file was written.",
                   std::string(kDoesNotFitText) + " The file there was not changed."}));
}

}  // namespace
}  // namespace qv::testing
