// The comparative statement's window as a user meets it: the columns and rows it shows, the
// choices of the band, the folio box's keys, the read-out and the click into the ledgers,
// scrolling, and the statement on paper.

#include "statements/cash_flow_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QTest>
#include <algorithm>
#include <sstream>
#include <tuple>

#include "bench/book_generator.h"
#include "controls/email_file_qt.h"
#include "controls/horizontal_scroll_control.h"
#include "controls/print_document_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/units.h"
#include "statements/statement_frame.h"
#include "tests/support/book_builder.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

constexpr const char* kNoAccount = "This account does not exists...";

Books ShopBook() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Petty Cash", 110.1, kCurrentAsset},
                               {"Sales", 410, kRevenue},
                               {"Rent", 610, kExpense},
                               {"Owner Drawings", 710, kCapital}});
  books.BusinessName = "Acme Ltd";
  books.BalanceSheetDecimals = 2;
  AddEntry(books, Day(2020, 1, 10), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(books, Day(2020, 2, 3), "2", {{610, 300}}, {{110, 300}});
  AddEntry(books, Day(2020, 3, 3), "3", {{110.1, 50}, {710, 20}}, {{110, 70}});
  AddEntry(books, Day(2020, 4, 15), "4", {{110, 200}}, {{410, 200}});
  return books;
}

// The texts of one drawn line, left to right.
std::vector<std::string> LineTexts(const CashFlowDrawing& d, std::size_t line) {
  std::vector<std::string> texts;
  const DrawnLine& l = d.Drawing.Lines[line];
  for (std::size_t op = l.FirstOp; op < l.EndOp; ++op)
    if (const auto* t = std::get_if<TextOp>(&d.Drawing.Ops[op])) texts.push_back(t->Text);
  return texts;
}

// The first drawn line whose first text is `label`.
std::size_t LineOf(const CashFlowDrawing& d, const std::string& label) {
  for (std::size_t i = 0; i < d.Drawing.Lines.size(); ++i) {
    const std::vector<std::string> texts = LineTexts(d, i);
    if (!texts.empty() && texts.front() == label) return i;
  }
  ADD_FAILURE() << label;
  return 0;
}

// Every text is whole inside the drawing's width, texts of one line do not overlap, and
// amounts end on their column's right edge.
void ExpectTidy(const CashFlowDrawing& d) {
  for (const DrawnLine& line : d.Drawing.Lines) {
    double right = -1;
    for (std::size_t op = line.FirstOp; op < line.EndOp; ++op) {
      const auto* t = std::get_if<TextOp>(&d.Drawing.Ops[op]);
      if (t == nullptr) continue;
      EXPECT_GE(t->X, right) << t->Text;
      EXPECT_LE(t->X + t->Width, d.DrawnWidth) << t->Text;
      EXPECT_GE(t->Y, line.Top);
      EXPECT_LE(t->Y + t->Height, line.Bottom + 1);
      right = t->X + t->Width;
    }
  }
}

class CashFlowWindowTest : public ::testing::Test {
 protected:
  StatementContext Context() {
    StatementContext context;
    context.TheBooks = &books;
    context.TheSession = &session;
    context.Locale = locale;
    context.OpenLedger = [this](LedgerLink link, const std::string& name, const std::string& end) {
      opened.emplace_back(link, name, end);
    };
    return context;
  }
  std::unique_ptr<CashFlow> Open() {
    auto window = std::make_unique<CashFlow>(Context());
    window->setWindowTitle("Comparative Statement...");
    window->resize(Px(12000), Px(6000));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
  static void Mouse(CashFlow& w, QEvent::Type type, QPointF at, Qt::MouseButton button) {
    QWidget* canvas = w.Canvas();
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
  }
  // A point in pixels just above the bottom of account row `row` as the canvas shows it.
  static QPointF RowPoint(const CashFlow& w, int row, double x = 60) {
    return QPointF(
        x, Px(w.Drawing().Drawing.Rows[static_cast<std::size_t>(row)].Bottom - 100 - w.OffsetY()));
  }
  static void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  static void TypeFolio(CashFlow& w, const QString& text) {
    w.FolioChoiceTx->setFocus();
    w.FolioChoiceTx->clear();
    QTest::keyClicks(w.FolioChoiceTx, text);
    QTest::keyClick(w.FolioChoiceTx, Qt::Key_Return);
  }

  Books books = ShopBook();
  Session session;
  LocaleInfo locale = UsEnglishLocale();
  std::vector<std::tuple<LedgerLink, std::string, std::string>> opened;
};

TEST_F(CashFlowWindowTest, OpensOnTheMonthsOfTheBookForAllAccounts) {
  auto w = Open();
  EXPECT_EQ(w->tReportAcc->currentText(), "Revenue / Expense");
  EXPECT_EQ(w->DateTerm->currentText(), "Monthly");
  EXPECT_EQ(w->OpFile->title(), "Accounts");
  std::vector<std::string> periods;
  for (int i = 0; i < w->SmSelect->count(); ++i)
    periods.push_back(w->SmSelect->itemText(i).toStdString());
  EXPECT_EQ(periods, (std::vector<std::string>{"Jan 2020", "Feb 2020", "Mar 2020", "Apr 2020"}));

  const CashFlowDrawing& d = w->Drawing();
  ExpectTidy(d);
  const auto heading = std::find_if(d.Drawing.Lines.begin(), d.Drawing.Lines.end(),
                                    [](const DrawnLine& l) { return l.ColumnHeading; }) -
                       d.Drawing.Lines.begin();
  EXPECT_EQ(LineTexts(d, static_cast<std::size_t>(heading)),
            (std::vector<std::string>{"Jan 2020", "Feb 2020", "Mar 2020", "Apr 2020", "Total"}));
  EXPECT_EQ(
      LineTexts(d, LineOf(d, "Sales    ")),
      (std::vector<std::string>{"Sales    ", "1,000.00", "0.00", "0.00", "200.00", "1,200.00"}));
  EXPECT_EQ(
      LineTexts(d, LineOf(d, " Ending Balance:")),
      (std::vector<std::string>{" Ending Balance:", "1,000.00", "700.00", "680.00", "880.00"}));
  // Drawings are an outflow; Petty Cash is no revenue or expense and has no row.
  EXPECT_EQ(d.Drawing.Rows.size(), 3u);
  const QImage shot = w->grab().toImage();
  shot.save(QString::fromStdString(TestOutputPath("cash_flow_window.png")));
}

TEST_F(CashFlowWindowTest, ALaterFirstPeriodKeepsTheEarlierPeriodsInTheBeginningBalance) {
  auto w = Open();
  Choose(w->SmSelect, 2);
  EXPECT_EQ(w->FirstPeriodShown(), 3);
  const CashFlowDrawing& d = w->Drawing();
  EXPECT_EQ(LineTexts(d, LineOf(d, " Beginning Balance:")),
            (std::vector<std::string>{" Beginning Balance:", "700.00", "680.00"}));
  EXPECT_EQ(LineTexts(d, LineOf(d, " Total Inflows:")),
            (std::vector<std::string>{" Total Inflows:", "0.00", "200.00", "1,200.00"}));

  // Another period kind starts again from the first period.
  Choose(w->DateTerm, 2);
  EXPECT_EQ(w->FirstPeriodShown(), 1);
  EXPECT_EQ(LineTexts(w->Drawing(), 0),
            (std::vector<std::string>{"Mar 2020", "Jun 2020", "Jun 2020", "Total"}));
}

TEST_F(CashFlowWindowTest, CopyAndSendHandOnTheStatementFromTheFirstPeriodShown) {
  books.BusinessName = "Acme & <Sons>";
  auto w = Open();
  Choose(w->SmSelect, 2);
  w->SaveB->trigger();
  const std::string text = ClipboardText();
  EXPECT_EQ(text.substr(0, text.find("Beginning")),
            "Acme & <Sons> Comparative Statement...\r\n\r\n\tMar 2020\tApr 2020\tTotal\r\n");

  std::string written;
  ScopedEmailOpener opener([&](const std::string& path) {
    written = path;
    return true;
  });
  w->EmalSt->trigger();
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(std::filesystem::path(written).filename().string().rfind("IncomeStatement", 0), 0u);
  if (PythonAvailable()) {
    const auto message = ParseEmlWithPython(written);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.at("Subject"), "Acme & <Sons> Comparative Statement...");
    const std::string body = message.at("body");
    EXPECT_NE(body.find("Acme &amp; &lt;Sons&gt;"), std::string::npos);
    EXPECT_NE(body.find("Mar 2020"), std::string::npos);
    EXPECT_EQ(body.find("Feb 2020"), std::string::npos);
  }
  std::filesystem::remove(written);
}

TEST_F(CashFlowWindowTest, KeysInTheFolioBoxChooseTheAccountOrSayThereIsNone) {
  for (const std::string symbol : {".", ","}) {
    locale.DecimalSymbol = symbol;
    locale.GroupSymbol = symbol == "." ? "," : ".";
    auto w = Open();
    TypeFolio(*w, "110-1");
    EXPECT_EQ(w->tReportAcc->currentText(), "Petty Cash") << symbol;
    EXPECT_EQ(w->ChosenFolio(), Money(110.1));
    EXPECT_EQ(w->FolioChoiceTx->text().toStdString(), "110" + symbol + "1");
    // Petty Cash paid 50 in March: an outflow of Cash, an inflow of Petty Cash.
    EXPECT_EQ(w->Statement().InflowCount(), 1) << symbol;
    EXPECT_EQ(w->Statement().Inflows[0].Name, "Cash");

    // Letters are dropped; an unknown or a 20-digit folio is no account.
    TypeFolio(*w, "1x1y0");
    EXPECT_EQ(w->FolioChoiceTx->text(), "110");
    EXPECT_EQ(w->tReportAcc->currentText(), "Cash");
    for (const QString& wrong : {QString("999"), QString("12345678901234567890")}) {
      PromptAnswerer prompts;
      prompts.Then(PromptAnswer::Ok);
      TypeFolio(*w, wrong);
      EXPECT_EQ(prompts.Texts(), std::vector<std::string>{kNoAccount}) << wrong.toStdString();
      EXPECT_EQ(w->tReportAcc->currentText(), "Cash");
    }
  }
}

TEST_F(CashFlowWindowTest, HoverShowsTheRowAndAClickOpensItsLedgerWithItsOwnDates) {
  auto w = Open();
  Choose(w->DateTerm, 0);
  w->tReportAcc->setEditText("Cash");
  w->tReportAcc_Click();
  // Cash: Sales in (row 0), Petty Cash out, Rent out, Owner Drawings out.
  ASSERT_EQ(w->Drawing().Drawing.Rows.size(), 4u);
  Mouse(*w, QEvent::MouseMove, RowPoint(*w, 0), Qt::NoButton);
  EXPECT_EQ(w->mA->text(), "410 / Sales");
  Mouse(*w, QEvent::MouseButtonPress, RowPoint(*w, 0), Qt::LeftButton);
  // A small move between press and release does not cancel the click.
  Mouse(*w, QEvent::MouseMove, RowPoint(*w, 0) + QPointF(0, 1), Qt::LeftButton);
  Mouse(*w, QEvent::MouseButtonRelease, RowPoint(*w, 0) + QPointF(0, 1), Qt::LeftButton);
  Mouse(*w, QEvent::MouseMove, RowPoint(*w, 2), Qt::NoButton);
  EXPECT_EQ(w->mA->text(), "610 / Rent");
  // A move that only changes X is not looked at again.
  Mouse(*w, QEvent::MouseMove, RowPoint(*w, 2, 200), Qt::NoButton);
  Mouse(*w, QEvent::MouseButtonRelease, RowPoint(*w, 2), Qt::RightButton);
  using Opened = std::tuple<LedgerLink, std::string, std::string>;
  EXPECT_EQ(opened, (std::vector<Opened>{{LedgerLink::RunningBalance, "Sales", ""},
                                         {LedgerLink::TAccount, "Rent", ""}}));
  // Away from the rows: no read-out, and a click opens nothing.
  Mouse(*w, QEvent::MouseMove, QPointF(60, 2), Qt::NoButton);
  EXPECT_EQ(w->mA->text(), "");
  Mouse(*w, QEvent::MouseButtonRelease, QPointF(60, 2), Qt::LeftButton);
  EXPECT_EQ(opened.size(), 2u);
}

TEST_F(CashFlowWindowTest, ScrollsBothWaysOverTenYearsAndKeepsTheRangeToTheStatement) {
  GeneratorOptions options;
  options.lines = 20000;
  options.accounts = 300;
  options.entriesPerDay = 2;  // ten years
  books = GenerateBook(options);
  auto w = Open();
  ASSERT_GE(w->Statement().PeriodCount(), 120);
  const CashFlowDrawing& d = w->Drawing();
  ExpectTidy(d);
  EXPECT_EQ(w->HScroll1->ValueMax(),
            ScrollMaxFor(d.DrawnWidth, PixelsToTwips(w->Canvas()->width())));
  EXPECT_GT(w->VScroll1->ValueMax(), 0);
  w->HScroll1->SetValue(w->HScroll1->ValueMax());
  w->VScroll1->SetValue(w->VScroll1->ValueMax());
  // The last row and the total column are in view at the far ends.
  const double viewRight = w->OffsetX() + PixelsToTwips(w->Canvas()->width());
  EXPECT_LE(d.Columns.RightEdge(w->Statement().TotalColumn, 1), viewRight);
  EXPECT_LE(d.Drawing.Lines.back().Bottom, w->OffsetY() + PixelsToTwips(w->Canvas()->height()));

  // Yearly: a narrower statement; the bars' ranges and values follow it.
  const int wideMax = w->HScroll1->ValueMax();
  Choose(w->DateTerm, 3);
  EXPECT_EQ(w->HScroll1->ValueMax(),
            ScrollMaxFor(w->Drawing().DrawnWidth, PixelsToTwips(w->Canvas()->width())));
  EXPECT_LT(w->HScroll1->ValueMax(), wideMax);
  EXPECT_EQ(w->OffsetX(), w->HScroll1->ValueMax());
  w->grab().toImage().save(QString::fromStdString(TestOutputPath("cash_flow_yearly.png")));
}

TEST_F(CashFlowWindowTest, AnEmptyJournalOrOneDayShowsWhatThereIs) {
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  auto empty = Open();
  EXPECT_EQ(empty->StatusText(),
            "The journal holds no posting lines, so there are no periods to compare.");
  EXPECT_EQ(empty->SmSelect->count(), 0);
  Choose(empty->SmSelect, 5);
  Choose(empty->DateTerm, 1);
  EXPECT_TRUE(empty->Drawing().Drawing.Lines.empty());

  books = ShopBook();
  books.PostingLines.resize(2);
  books.EntryNumbers.resize(2);
  auto oneDay = Open();
  EXPECT_EQ(oneDay->SmSelect->count(), 1);
  Choose(oneDay->SmSelect, 7);  // past the last period: the last one
  EXPECT_EQ(oneDay->FirstPeriodShown(), 1);
}

// ---- On paper.

// The words of a line of pdftotext's layout, split at runs of two or more blanks.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t at = line.find_first_not_of(' ');
  while (at != std::string::npos) {
    std::size_t end = line.find("  ", at);
    cells.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end == std::string::npos ? end : line.find_first_not_of(' ', end);
  }
  return cells;
}

TEST(CashFlowPrinting, BandsAcrossAndPagesDownRepeatNamesAndHeadingsAtEveryTextSize) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  GeneratorOptions options;
  options.lines = 3000;
  options.entriesPerDay = 2;  // twenty months
  Books books = GenerateBook(options);
  books.BusinessName = "Acme Ltd";
  const CashFlowStatement statement = ComputeCashFlow(books, {});
  StatementLook look = StatementLookOf(books, UsEnglishLocale(), 2);
  look.WidestName = "Creditor 299";
  for (const double scale : {0.5, 1.0, 1.5}) {
    const std::string path =
        TestOutputPath("cash_flow_" + std::to_string(int(scale * 100)) + ".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::A4));
    Session session;
    ASSERT_EQ(PrintOnPrinter(
                  printer, session,
                  [&](DrawingSurface& s) { PrintCashFlow(s, statement, look, 2); }, 1, scale),
              PrintOutcome::Printed);
    const std::vector<std::string> pages = PdfPageTexts(path);
    ASSERT_GE(pages.size(), 2u);
    int bands = 0;
    std::vector<std::string> headings, sales, opening;
    const CashFlowRow& row = statement.Inflows.front();
    for (const std::string& page : pages) {
      std::istringstream lines(page);
      std::vector<std::string> cells;
      for (std::string line; std::getline(lines, line);) {
        cells = Cells(line);
        if (!cells.empty()) break;
      }
      // Each band starts with the title; every page with the band's column headings.
      if (cells == std::vector<std::string>{"Acme Ltd, Cash Flow Position"}) {
        ++bands;
        std::string line;
        while (std::getline(lines, line) && (cells = Cells(line)).empty()) {
        }
        headings.insert(headings.end(), cells.begin(), cells.end());
      }
      EXPECT_TRUE(cells.back() == "Total" || cells.back().size() == 8) << scale << page;
      for (std::string line; std::getline(lines, line);)
        if (const std::vector<std::string> c = Cells(line); !c.empty()) {
          if (c.front() == row.Name) sales.insert(sales.end(), c.begin() + 1, c.end());
          if (c.front() == "Beginning Balance:")
            opening.insert(opening.end(), c.begin() + 1, c.end());
        }
    }
    // Every column once, from the second period, each amount whole and apart.
    std::vector<std::string> wantHeadings, wantSales, wantOpening;
    for (int p = 2; p <= statement.TotalColumn; ++p) {
      if (p < statement.TotalColumn)
        wantOpening.push_back(CashFlowAmountText(statement.BalanceBefore(p), 2, UsEnglishLocale()));
      wantHeadings.push_back(PeriodColumnHeading(statement, p, UsEnglishLocale()));
      wantSales.push_back(
          CashFlowAmountText(row.Amounts[static_cast<std::size_t>(p)], 2, UsEnglishLocale()));
    }
    EXPECT_GT(bands, 1) << scale;
    EXPECT_EQ(headings, wantHeadings) << scale;
    EXPECT_EQ(sales, wantSales) << scale;
    EXPECT_EQ(opening, wantOpening) << scale;
  }
}

}  // namespace
}  // namespace qv::testing
