// The ledger print-outs as the printer makes them: PDF files read back with pdftotext and
// pdfinfo.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <QPrinter>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bench/book_generator.h"
#include "bookfiles/book_files.h"
#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "controls/print_document_qt.h"
#include "ledgers/ledger_drawing.h"
#include "ledgers/ledger_options.h"
#include "ledgers/ledger_sheets.h"
#include "platform/locale_qt.h"
#include "tests/ledgers/ledger_fixture.h"
#include "tests/support/pdf_printer_qt.h"
#include "tests/support/pdf_text.h"

namespace qv {
namespace {

using testing::Day;

Books ExampleBook(const char* name) {
  const std::string path =
      QCoreApplication::applicationDirPath().toStdString() + "/../Examples/" + name + ".acc";
  BookReadResult read = ReadBook(path, "acc", Day(2026, 1, 1));
  EXPECT_TRUE(read.Book.has_value()) << path << ": " << read.Message;
  return read.Book ? std::move(*read.Book) : Books{};
}

LedgerSheet WholeJournal(const Books& books, const LocaleInfo& locale) {
  const LedgerDates dates = DefaultLedgerDates(books);
  JournalOptions options;
  options.Ledger.From = dates.First;
  options.Ledger.To = dates.Last;
  options.Ledger.AllAccounts = true;
  return JournalSheet(std::make_shared<const JournalView>(ComputeJournal(books, options)), books,
                      locale);
}

// Prints the sheet to the PDF file `name` in the tests' output folder; the pages' texts.
std::vector<std::string> PrintedPages(const LedgerSheet& sheet, const std::string& name,
                                      QPageSize::PageSizeId size, bool landscape, double scale) {
  Session session;
  auto printer = testing::PdfPrinter(name);
  printer->setPageSize(QPageSize(size));
  printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  auto printout = std::make_shared<SheetPrintout>(sheet);
  EXPECT_EQ(
      PrintOnPrinter(*printer, session, PageDrawing([printout](DrawingSurface& surface, int page) {
        return printout->DrawPage(surface, page);
      }),
                     1, scale),
      PrintOutcome::Printed);
  return testing::PdfPageTexts(testing::TestOutputPath(name));
}

// Each line of the text with its blanks run together, the empty lines at its end dropped.
std::string Squeezed(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string squeezed;
    for (std::string word; words >> word;) squeezed += (squeezed.empty() ? "" : " ") + word;
    out += squeezed + "\n";
  }
  while (out.ends_with("\n\n")) out.pop_back();
  return out;
}

// On A4 at 100 %, the defaults, a journal whose columns all fit the page prints in one band,
// page for page as it printed before print-outs could be cut into bands, the same texts on
// its first page: the Payroll Example's and a generated book's, under the C locale.
TEST(LedgerPrintouts, JournalsThatFitTheA4PagePrintInOneBandAsBefore) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  const LocaleInfo locale = CaptureLocale(QLocale::c());
  const struct {
    const char* name;
    Books books;
    int pages;
  } journals[] = {{"payroll_journal", ExampleBook("Payroll Example"), 1},
                  {"generated_journal", GenerateBook({.lines = 2000, .accounts = 40}), 47}};
  for (const auto& [name, books, pages] : journals) {
    SCOPED_TRACE(name);
    const std::string file = std::string(name) + "_a4.pdf";
    const std::vector<std::string> texts =
        PrintedPages(WholeJournal(books, locale), file, QPageSize::A4, false, 1.0);
    EXPECT_EQ(testing::PdfPageCount(testing::TestOutputPath(file)), pages);
    ASSERT_FALSE(texts.empty());
    std::ifstream expected(std::string(QV_TESTS_SOURCE_DIR) + "/ledgers/printouts/" + name +
                           "_page1.txt");
    std::ostringstream first;
    first << expected.rdbuf();
    EXPECT_EQ(Squeezed(texts.front()), first.str());
  }
}

// True when `text` stands whole in `page` (pdftotext -layout): its words in order from a
// place on a line, running on under that place on the lines below when it was broken.
bool HasWholeText(const std::string& page, const std::string& text) {
  std::vector<std::string> lines, words;
  std::istringstream pageIn(page), textIn(text);
  for (std::string line; std::getline(pageIn, line);) lines.push_back(line);
  for (std::string word; textIn >> word;) words.push_back(word);
  if (words.empty()) return true;
  // How many of the words from `w` on stand on `line` from `at`, each ending at a blank.
  const auto follow = [&](const std::string& line, std::size_t at, std::size_t w) {
    std::size_t n = 0;
    if (at > 0 && line[at - 1] != ' ') return n;
    for (; w + n < words.size() && line.compare(at, words[w + n].size(), words[w + n]) == 0; ++n) {
      at += words[w + n].size();
      if (at < line.size() && line[at] != ' ') break;
      while (at < line.size() && line[at] == ' ') ++at;
    }
    return n;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (std::size_t at = lines[i].find(words[0]); at != std::string::npos;
         at = lines[i].find(words[0], at + 1)) {
      std::size_t w = follow(lines[i], at, 0);
      for (std::size_t next = i + 1; w > 0 && w < words.size() && next < lines.size(); ++next) {
        std::size_t more = 0;
        for (std::size_t from = at > 2 ? at - 2 : 0; from <= at + 2 && more == 0; ++from)
          if (from < lines[next].size()) more = follow(lines[next], from, w);
        if (more == 0) break;
        w += more;
      }
      if (w == words.size()) return true;
    }
  }
  return false;
}

// The Trading Business journal and the ledgers of Cash at Bank, on paper narrower than the
// sheets (A4 and A5 landscape at 150 %, A5 portrait at 150 %): no name or note is cut, each
// stands whole on some page, in a band of its own or broken into lines; the first page
// showing a column's heading carries the title too, the T-account's credit side its
// account's heading.
TEST(LedgerPrintouts, NoNameOrNoteIsCutOnNarrowPaper) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  Books books = ExampleBook("Trading Business");
  books.DateStyleIndex = kDdMmYyyyDash;
  const LocaleInfo locale = UsEnglishLocale();
  const LedgerDates dates = DefaultLedgerDates(books);
  LedgerOptions options;
  options.From = dates.First;
  options.To = dates.Last;
  options.Account = FolioOfAccount(books, "Cash at Bank");
  const std::pair<const char*, LedgerSheet> sheets[] = {
      {"journal", WholeJournal(books, locale)},
      {"t-account",
       TAccountSheet(std::make_shared<const TAccountView>(ComputeTAccount(books, options)), books,
                     locale)},
      {"running-balance", RunningBalanceSheet(std::make_shared<const RunningBalanceView>(
                                                  ComputeRunningBalance(books, options)),
                                              books, locale)}};
  const std::tuple<const char*, QPageSize::PageSizeId, bool> papers[] = {
      {"a4", QPageSize::A4, false},
      {"a5-landscape", QPageSize::A5, true},
      {"a5", QPageSize::A5, false}};
  for (const auto& [paper, size, landscape] : papers) {
    for (const auto& [name, sheet] : sheets) {
      const std::string file = std::string(name) + "-" + paper + "-150.pdf";
      SCOPED_TRACE(file);
      ASSERT_GT(sheet.Table.RowCount, 10);
      std::vector<std::string> pages = PrintedPages(sheet, file, size, landscape, 1.5);
      ASSERT_FALSE(pages.empty());
      for (std::string& page : pages) {
        page = testing::WithoutLigatures(page);
        EXPECT_EQ(page.find("..."), std::string::npos) << page;
      }
      TableRow row;
      int checked = 0;
      for (int64_t r = 0; r < sheet.Table.RowCount; ++r) {
        sheet.Table.Row(r, row);
        for (const int c : sheet.GiveWayColumns) {
          const std::string& cell = row.Cells[static_cast<std::size_t>(c)];
          if (cell.empty()) continue;
          ++checked;
          EXPECT_TRUE(std::ranges::any_of(
              pages, [&](const std::string& page) { return HasWholeText(page, cell); }))
              << "row " << r << ": " << cell;
        }
      }
      EXPECT_GT(checked, 10);
      for (const TableColumn& column : sheet.Table.Columns) {
        const auto first = std::ranges::find_if(
            pages, [&](const std::string& page) { return HasWholeText(page, column.Heading); });
        ASSERT_NE(first, pages.end()) << column.Heading;
        EXPECT_NE(first->find(sheet.Table.Title.front()), std::string::npos)
            << column.Heading << " without the title:\n"
            << *first;
      }
    }
  }
}

}  // namespace
}  // namespace qv
