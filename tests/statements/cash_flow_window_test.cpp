// The comparative statement's window as a user meets it: the columns and rows it shows, the
// choices of the band, the folio box's keys, the read-out and the click into the ledgers,
// and the files it is exported to.

#include "statements/cash_flow_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <tuple>

#include "accounts/account_combo_qt.h"
#include "bench/book_generator.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/horizontal_scroll_control.h"
#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/file_io.h"
#include "platform/units.h"
#include "statements/cash_flow_outputs.h"
#include "statements/statement_frame.h"
#include "tests/controls/input_events_qt.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/eml_python.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/html_table_qt.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"
#include "tests/support/type_ahead_qt.h"

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

using Texts = std::vector<std::string>;

// The texts of the first drawn line whose first text is `label`, or of the first line.
Texts LineTexts(const CashFlowDrawing& d, const std::string& label = "") {
  for (const DrawnLine& l : d.Drawing.Lines) {
    Texts texts;
    for (std::size_t op = l.FirstOp; op < l.EndOp; ++op)
      if (const auto* t = std::get_if<TextOp>(&d.Drawing.Ops[op])) texts.push_back(t->Text);
    if (label.empty() || (!texts.empty() && texts.front() == label)) return texts;
  }
  return {};
}

// Every text is whole inside the drawing's width, texts of one line do not overlap, and
// each text, plain or bold, stands within its line's band from top to bottom.
void ExpectTidy(const CashFlowDrawing& d) {
  for (const DrawnLine& line : d.Drawing.Lines) {
    double right = -1;
    for (std::size_t op = line.FirstOp; op < line.EndOp; ++op) {
      const auto* t = std::get_if<TextOp>(&d.Drawing.Ops[op]);
      if (t == nullptr) continue;
      EXPECT_GE(t->X, right) << t->Text;
      EXPECT_LE(t->X + t->Width, d.DrawnWidth) << t->Text;
      EXPECT_GE(t->Y, line.Top) << t->Text;
      EXPECT_LE(t->Y + t->Height, line.Bottom + 1) << t->Text;
      right = t->X + t->Width;
    }
  }
}

class CashFlowWindowTest : public ::testing::Test {
 protected:
  StatementContext Context() {
    StatementContext context{.TheBooks = &books, .TheSession = &session, .Locale = locale};
    context.OpenLedger = [this](LedgerLink link, const std::string& name, const std::string& end) {
      opened.emplace_back(link, name, end);
    };
    context.ShowFileError = [this](int code, const std::string& detail) {
      fileErrors.emplace_back(code, detail);
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
    return QPointF(x, Px(w.Drawing().Drawing.Rows[row].Bottom - 100 - w.OffsetY()));
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
  std::vector<std::pair<int, std::string>> fileErrors;
  Session session;
  LocaleInfo locale = UsEnglishLocale();
  std::vector<std::tuple<LedgerLink, std::string, std::string>> opened;
};

TEST_F(CashFlowWindowTest, OpensOnTheMonthsAndALaterFirstPeriodStartsTheWindowCopyAndMail) {
  books.BusinessName = "Acme & <Sons>";
  auto w = Open();
  QString choices = w->tReportAcc->currentText() + "|" + w->DateTerm->currentText();
  for (int i = 0; i < w->SmSelect->count(); ++i) choices += "|" + w->SmSelect->itemText(i);
  EXPECT_EQ(choices, "Revenue / Expense|Monthly|Jan 2020|Feb 2020|Mar 2020|Apr 2020");
  const CashFlowDrawing& d = w->Drawing();
  ExpectTidy(d);
  EXPECT_EQ(LineTexts(d), (Texts{"Jan 2020", "Feb 2020", "Mar 2020", "Apr 2020", "Total"}));
  EXPECT_EQ(LineTexts(d, "Sales    "),
            (Texts{"Sales    ", "1,000.00", "0.00", "0.00", "200.00", "1,200.00"}));
  EXPECT_EQ(LineTexts(d, " Ending Balance:"),
            (Texts{" Ending Balance:", "1,000.00", "700.00", "680.00", "880.00"}));
  // Drawings are an outflow; Petty Cash is no revenue or expense and has no row.
  EXPECT_EQ(d.Drawing.Rows.size(), 3u);
  w->grab().toImage().save(QString::fromStdString(TestOutputPath("cash_flow_window.png")));
  Choose(w->SmSelect, 2);  // the third period first: the beginning balance holds the first two
  EXPECT_EQ(w->FirstPeriodShown(), 3);
  EXPECT_EQ(LineTexts(w->Drawing(), " Beginning Balance:"),
            (Texts{" Beginning Balance:", "700.00", "680.00"}));
  EXPECT_EQ(LineTexts(w->Drawing(), " Total Inflows:"),
            (Texts{" Total Inflows:", "0.00", "200.00", "1,200.00"}));
  w->SaveB->trigger();
  const std::string text = ClipboardText();
  EXPECT_EQ(text.substr(0, text.find("Beginning")),
            "Acme & <Sons> Comparative Statement...\t\r\n\r\n\tMar 2020\tApr 2020\tTotal\r\n\r\n");
  std::string written;
  ScopedEmailOpener opener([&](const std::string& path) {
    written = path;
    return true;
  });
  w->EmalSt->trigger();
  ASSERT_FALSE(written.empty());
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
  Choose(w->DateTerm, 2);  // another period kind starts again from the first period
  EXPECT_EQ(w->FirstPeriodShown(), 1);
  EXPECT_EQ(LineTexts(w->Drawing()), (Texts{"Mar 2020", "Jun 2020", "Jun 2020", "Total"}));
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

TEST_F(CashFlowWindowTest, KeysInTheFolioBoxChooseTheAccountOrSayThereIsNone) {
  for (const std::string symbol : {".", ","}) {
    locale.DecimalSymbol = symbol;
    locale.GroupSymbol = symbol == "." ? "," : ".";
    auto w = Open();
    TypeFolio(*w, "110-1");
    EXPECT_EQ(std::pair(w->tReportAcc->currentText(), w->ChosenFolio()),
              std::pair(QString("Petty Cash"), std::optional(Money(110.1))))
        << symbol;
    EXPECT_EQ(w->FolioChoiceTx->text().toStdString(), "110" + symbol + "1");
    // Petty Cash paid 50 in March: an outflow of Cash, an inflow of Petty Cash.
    ASSERT_EQ(w->Statement().InflowCount(), 1) << symbol;
    EXPECT_EQ(w->Statement().Inflows[0].Name, "Cash");
    // Letters are dropped; an unknown or a 20-digit folio is no account.
    TypeFolio(*w, "1x1y0");
    EXPECT_EQ(w->FolioChoiceTx->text() + " " + w->tReportAcc->currentText(), "110 Cash");
    for (const QString& wrong : {QString("999"), QString("12345678901234567890")}) {
      PromptAnswerer prompts;
      prompts.Then(PromptAnswer::Ok);
      TypeFolio(*w, wrong);
      EXPECT_EQ(prompts.Texts(), std::vector<std::string>{kNoAccount}) << wrong.toStdString();
      EXPECT_EQ(w->tReportAcc->currentText(), "Cash");
    }
  }
}

// Typing in the account box opens the list of accounts below it on the account found; the
// box keeps the focus and every key, Escape closes the list, and a click on an account in
// it computes that account's statement.
TEST_F(CashFlowWindowTest, KeysTypeAheadOpensTheAccountListAndTheBoxKeepsTheKeys) {
  books = BookWithChart({{"Cash", 110, kCurrentAsset},
                         {"Capital", 300, kCapital},
                         {"Sales", 410, kRevenue},
                         {"Rent", 610, kExpense}});
  AddEntry(books, Day(2020, 1, 10), "1", {{110, 1000}}, {{300, 1000}});
  AddEntry(books, Day(2020, 2, 3), "2", {{610, 300}}, {{110, 300}});
  auto w = Open();
  QApplication::setActiveWindow(w.get());
  QComboBox* box = w->tReportAcc;
  box->setFocus(Qt::TabFocusReason);
  box->lineEdit()->selectAll();  // over the start text
  QTest::keyClicks(box, "cap");
  ASSERT_NE(ExpectTypeAheadListOn(box, "Capital"), nullptr);
  // The next character still goes to the box; one that begins no account is dropped.
  QTest::keyClicks(box, "iq");
  EXPECT_EQ(box->currentText(), "Capital");
  EXPECT_EQ(box->lineEdit()->selectedText(), "tal");
  EXPECT_EQ(w->ChosenFolio(), std::nullopt) << "typing alone computes nothing";
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(OpenTypeAheadList(box), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), box);
  // Typing on opens it again; a click on the account chooses it.
  QTest::keyClick(box, 't');
  ClickTypeAheadChoice(box);
  EXPECT_EQ(w->ChosenFolio(), std::optional<Folio>(Money(300)));
  EXPECT_EQ(w->FolioChoiceTx->text(), "300");
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

TEST_F(CashFlowWindowTest, AnEmptyJournalOrOneDayShowsWhatThereIs) {
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  auto empty = Open();
  EXPECT_EQ(empty->StatusText(),
            "The journal holds no posting lines, so there are no periods to compare.");
  Choose(empty->SmSelect, 5);
  Choose(empty->DateTerm, 1);
  EXPECT_TRUE(empty->SmSelect->count() == 0 && empty->Drawing().Drawing.Lines.empty());

  books = ShopBook();
  books.PostingLines.resize(2);
  books.EntryNumbers.resize(2);
  auto oneDay = Open();
  Choose(oneDay->SmSelect, 7);  // past the last period: the last one
  EXPECT_EQ(std::pair(oneDay->SmSelect->count(), oneDay->FirstPeriodShown()), std::pair(1, 1));
}

// ---- The statement handed on: the CSV and HTML files read back by a CSV reader and an
// XML reader, and the Excel 2.1 sheet read back cell by cell.

// Four months; Sales, Fees (its name holds a comma) in, Rent and Owner Drawings out.
Books FourMonths() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Sales", 410, kRevenue},
                               {"Fees, <Legal> & Co", 420, kRevenue},
                               {"Rent", 610, kExpense},
                               {"Owner Drawings", 710, kCapital}});
  AddEntry(books, Day(2020, 1, 10), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(books, Day(2020, 2, 3), "2", {{610, 2234.5}}, {{110, 2234.5}});
  AddEntry(books, Day(2020, 3, 3), "3", {{710, 20}}, {{110, 20}});
  AddEntry(books, Day(2020, 4, 15), "4", {{110, 200}}, {{420, 200}});
  return books;
}

StatementLook Look() {
  return {.BusinessName = "Acme", .Decimals = 2, .Locale = UsEnglishLocale()};
}

constexpr const char* kCaption = "Comparative Statement...";

TEST(CashFlowOutputs, CsvHtmlAndSheetReadBackCellByCellAndATooWideSheetIsRefused) {
  const Books books = FourMonths();
  const CashFlowStatement s = ComputeCashFlow(books, {});
  const CashFlowOutput output(s, Look(), 2, kCaption, 900);
  ScratchFolder folder;
  // CSV: the text's lines, one field per cell, grouped amounts and the comma in a name kept
  // whole.
  const std::string csv = folder.Path("flow.csv");
  ASSERT_TRUE(output.Export(csv, "csv").Ok());
  const auto rows = ParseCsv(ScratchFolder::Read(csv));
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows[2], (Texts{"", "Feb 2020", "Mar 2020", "Apr 2020", "Total"}));
  EXPECT_EQ(rows[4], (Texts{"Beginning Balance: ", "1,000.00", "(1,234.50)", "(1,254.50)", ""}));
  EXPECT_EQ(rows[7], (Texts{"Fees, <Legal> & Co", "0.00", "0.00", "200.00", "200.00", ""}));
  EXPECT_EQ(rows[18], Texts{""}) << "the file ends with one more CR LF";
  // HTML: every name and amount as a cell's whole text.
  const std::string htm = folder.Path("flow.htm");
  ASSERT_TRUE(output.Export(htm, "htm").Ok());
  EXPECT_EQ(output.WebTable() + "\r\n", ScratchFolder::Read(htm));
  Texts cells;
  for (const Texts& row : HtmlTableRows(ScratchFolder::Read(htm)))
    cells.insert(cells.end(), row.begin(), row.end());
  for (const char* text : {"Fees, <Legal> & Co", "(1,254.50)", "2,234.50", "Ending Balance:"})
    EXPECT_NE(std::find(cells.begin(), cells.end(), text), cells.end()) << text;
  // The sheet: locked text cells, headings centred, amounts right-aligned.
  const std::string xls = folder.Path("flow.xls");
  ASSERT_TRUE(output.Export(xls, "xls").Ok());
  const auto sheet = CellMap(xls);
  std::string picked;  // the cells at row * 100 + column
  for (int at : {201, 302, 305, 401, 403, 601, 605, 801, 804, 1001, 1301, 1305, 1501, 1504})
    picked += (sheet.contains({at / 100, at % 100}) ? sheet.at({at / 100, at % 100}) : "-") + "|";
  EXPECT_EQ(picked,
            "Acme Comparative Statement...|Feb 2020|Total|Beginning Balance:|(1,234.50)|Sales  |"
            "1,000.00|Total Inflows:|200.00|Outflows:|Total Outflows:|2,254.50|Ending Balance:|"
            "(1,054.50)|");

  // 300 months: no sheet holds them and nothing is written; a later first period fits.
  Books wide = FourMonths();
  AddEntry(wide, Day(2045, 1, 1), "5", {{110, 1}}, {{410, 1}});
  const CashFlowStatement longer = ComputeCashFlow(wide, {});
  const std::string wideXls = folder.Path("wide.xls");
  const TableFileResult refused =
      CashFlowOutput(longer, Look(), 1, kCaption).Export(wideXls, "xls");
  EXPECT_EQ(refused.Message,
            "An Excel 2.1 sheet holds 256 columns, and this statement shows 303, so no sheet "
            "was written. Choose a later first period or a longer period, or export it as CSV.");
  EXPECT_FALSE(refused.Ok() || std::filesystem::exists(wideXls));
  EXPECT_TRUE(CashFlowOutput(longer, Look(), 100, kCaption).Export(wideXls, "xls").Ok());
}

// A name a spreadsheet would take for a formula is marked in the CSV and in Copy's text; the
// amounts, negative ones too, stand as shown, and the CSV begins with a byte-order mark.
TEST(CashFlowOutputs, NamesASpreadsheetWouldRunAreMarkedInTheCsvAndCopysText) {
  Books books = FourMonths();
  books.AccountNames[2] = "=HYPERLINK(\"http://x.test\")";
  const CashFlowStatement s = ComputeCashFlow(books, {});
  const CashFlowOutput output(s, Look(), 1, kCaption, 900);
  ScratchFolder folder;
  ASSERT_TRUE(output.Export(folder.Path("flow.csv"), "csv").Ok());
  const std::string csv = ScratchFolder::Read(folder.Path("flow.csv"));
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  const auto rows = ParseCsv(csv);
  ASSERT_GT(rows.size(), 6u);
  EXPECT_EQ(rows[6], (Texts{"'=HYPERLINK(\"http://x.test\")", "1,000.00", "0.00", "0.00", "0.00",
                            "1,000.00", ""}));
  EXPECT_NE(output.Ptable().find("\r\n'=HYPERLINK(\"http://x.test\")\t1,000.00\t"),
            std::string::npos);
  EXPECT_NE(csv.find(",\"(1,234.50)\","), std::string::npos) << "a negative amount as shown";
}

// A cell of the mail page as the page writes it.
std::string Td(const std::string& text, const char* colour, const char* align) {
  return "<td bgcolor=\"" + std::string(colour) + "\" align=\"" + align + "\">" + text + "</td>";
}

TEST(CashFlowOutputs, CopyTextAndMailPageFollowTheStatementsLayoutLineByLine) {
  Books books = ShopBook();
  books.BusinessName = "Acme Ltd";
  const CashFlowStatement s = ComputeCashFlow(books, {});
  StatementLook look = Look();
  look.BusinessName = "Acme Ltd";
  const CashFlowOutput all(s, look, 1, kCaption, 900);
  Texts lines;
  std::string text = all.Ptable();
  ASSERT_TRUE(text.ends_with("\r\n"));
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  EXPECT_EQ(lines, (Texts{"Acme Ltd Comparative Statement...\t", "",
                          "\tJan 2020\tFeb 2020\tMar 2020\tApr 2020\tTotal", "",
                          "Beginning Balance: \t0.00\t1,000.00\t700.00\t680.00\t", "Inflows:\t",
                          "Sales\t1,000.00\t0.00\t0.00\t200.00\t1,200.00\t", "",
                          "Total Inflows: \t1,000.00\t0.00\t0.00\t200.00\t1,200.00\t", "",
                          "Outflows:\t", "Rent\t0.00\t300.00\t0.00\t0.00\t300.00\t",
                          "Owner Drawings\t0.00\t0.00\t20.00\t0.00\t20.00\t", "", "",
                          "Total Outflows: \t0.00\t300.00\t20.00\t0.00\t320.00\t",
                          "Ending Balance: \t1,000.00\t700.00\t680.00\t880.00\t"}));

  // The page from the third period: the rows after the captions switch between grey and
  // white, the inflows' totals always grey.
  const char *grey = "#F0F0F0", *white = "#FFFFFF";
  const Texts rows = {
      Td("<b>Acme Ltd Comparative Statement...</b>", white, "left"),
      Td("", white, "center") + Td("<b>Mar 2020</b>", white, "right") +
          Td("<b>Apr 2020</b>", white, "right") + Td("<b>Total</b>", white, "center"),
      Td("<b>Beginning Balance:</b>", grey, "left") + Td("<b>700.00</b>", grey, "right") +
          Td("<b>680.00</b>", grey, "right") + Td("", grey, "right"),
      Td("<b>Inflows:</b>", white, "left"),
      Td("&nbsp;&nbsp;Sales", grey, "left") + Td("0.00", grey, "right") +
          Td("200.00", grey, "right") + Td("1,200.00", grey, "right"),
      Td("<b>Total Inflows:</b>", white, "left") + Td("<b>0.00</b>", grey, "right") +
          Td("<b>200.00</b>", grey, "right") + Td("<b>1,200.00</b>", grey, "right"),
      Td("&nbsp;", grey, "center") + Td("", grey, "right") + Td("", grey, "right") +
          Td("", grey, "right"),
      Td("<b>Outflows:</b>", white, "left") + Td("", white, "right") + Td("", white, "right") +
          Td("", white, "right"),
      Td("&nbsp;&nbsp;Rent", grey, "left") + Td("0.00", grey, "right") + Td("0.00", grey, "right") +
          Td("300.00", grey, "right"),
      Td("&nbsp;&nbsp;Owner Drawings", white, "left") + Td("20.00", white, "right") +
          Td("0.00", white, "right") + Td("20.00", white, "right"),
      Td("<b>Total Outflows:</b>", grey, "left") + Td("20.00", grey, "right") +
          Td("0.00", grey, "right") + Td("320.00", grey, "right"),
      Td("&nbsp;", white, "left") + Td(" ", white, "right") + Td(" ", white, "right") +
          Td(" ", white, "right"),
      Td("<b>&nbsp;&nbsp;Ending Balance:</b>", grey, "left") + Td("<b>680.00</b>", grey, "right") +
          Td("<b>880.00</b>", grey, "right")};
  std::string page =
      "<html><body><br><br><table cellspacing=\"0\" cellpadding=\"0\" Style=\"font-size:11pt; "
      "border:none; width:900\">";
  for (const std::string& row : rows) page += "<tr>" + row + "</tr>";
  page += "</table></body>";
  EXPECT_EQ(CashFlowOutput(s, look, 3, kCaption, 900).WebTable(), page);
  EXPECT_EQ(TableAddRow("x", 7, 3), "<td bgcolor=\"#FFFFFF\" align=\"\">x</td>");

  // A statement that could not be computed still has its title, captions and labels.
  const CashFlowStatement none = ComputeCashFlow(Books(), {});
  const std::string empty = CashFlowOutput(none, look, 1, kCaption).Ptable();
  EXPECT_TRUE(empty.starts_with("Acme Ltd Comparative Statement...\t\r\n\r\n\t\r\n"));
  EXPECT_TRUE(empty.ends_with("\r\n\r\nTotal Outflows: \t\r\nEnding Balance: \t\r\n"));
}

TEST_F(CashFlowWindowTest, ExportFromTheAccountsMenuWritesTheChosenFileOrKeepsTheOldOne) {
  auto w = Open();
  Texts items;
  for (const QAction* action : w->OpFile->actions())
    if (action->isVisible()) items.push_back(action->text().toStdString());
  EXPECT_EQ(items, (Texts{"Copy...", "Print...", "Send...", "Export..."}));
  ScratchFolder folder;
  std::string answer;
  FileDialogRequest asked;
  w->ChooseExportFile = [&](const FileDialogRequest& request) {
    asked = request;
    return answer;
  };
  w->SaveA->trigger();  // cancelled: nothing written
  EXPECT_EQ(asked.patterns, (Texts{"*.xls", "*.csv", "*.htm"}));
  EXPECT_EQ(std::tuple(asked.defaultType, asked.captionId, asked.acceptCaptionId),
            std::tuple(std::string("xls"), 166, 165));
  EXPECT_EQ(static_cast<int>(folder.EntryCount()), 0);
  for (const char* type : {"xls", "csv", "htm"}) {
    answer = folder.Path(std::string("flow.") + type);
    w->SaveA->trigger();
    EXPECT_TRUE(std::filesystem::exists(answer)) << type;
  }
  EXPECT_EQ(ParseCsv(ScratchFolder::Read(folder.Path("flow.csv")))[16],
            (Texts{"Ending Balance: ", "1,000.00", "700.00", "680.00", "880.00", ""}));
  EXPECT_EQ(CellMap(folder.Path("flow.xls")).at({14, 5}), "880.00");
  EXPECT_TRUE(fileErrors.empty());
  // A file that stands there is replaced only on Yes. A disk that fills up part-way, and a
  // folder that cannot be written: the message, the old file as it was and no piece of the
  // new one.
  PromptAnswerer prompts;
  Texts questions;
  for (const char* type : {"xls", "csv", "htm"}) {
    answer = folder.Path(std::string("flow.") + type);
    ASSERT_EQ(WriteFileAtomically(answer, "old"), 0);
    prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
    w->SaveA->trigger();
    EXPECT_EQ(ScratchFolder::Read(answer), "old") << type << " answered No";
    questions.insert(questions.end(), 2, "\"" + answer + "\" already exists. Replace it ?");
    {
      FileSizeLimit fullDisk(100);
      w->SaveA->trigger();
    }
    EXPECT_EQ(ScratchFolder::Read(answer), "old") << type;
    answer = folder.File("blocked") + "/flow." + type;
    w->SaveA->trigger();
  }
  EXPECT_EQ(prompts.Texts(), questions);
  EXPECT_EQ(static_cast<int>(folder.EntryCount()), 4);
  ASSERT_EQ(fileErrors.size(), 6u);
  for (const auto& [code, detail] : fileErrors)
    EXPECT_THAT(detail, ::testing::HasSubstr("not changed"));
  // Through the file dialog: it opens on the sheet type, which is the type written.
  w->ChooseExportFile = nullptr;
  ScratchFolder chosen;
  std::string shown;
  WhenModalShows<FileDialog>([&](FileDialog& dialog) {
    shown = dialog.TypeList()->currentText().toStdString();
    dialog.NameBox()->setText(QString::fromStdString(chosen.Path("typed.htm")));
    emit dialog.NameBox()->textEdited(dialog.NameBox()->text());
    dialog.AcceptButton()->click();
  });
  w->SaveA->trigger();
  EXPECT_EQ(shown, "*.xls");
  EXPECT_EQ(CellMap(chosen.Path("typed.xls")).at({14, 5}), "880.00");
  EXPECT_EQ(chosen.EntryCount(), 1u);
}

// A statement that could not be computed (its sums too large, or no periods at all) is not
// handed on as an empty one: each output says why and writes, copies and mails nothing.
TEST_F(CashFlowWindowTest, AStatementThatCannotBeComputedIsNeitherCopiedExportedMailedNorPrinted) {
  for (int i = 0; i < 2; ++i) AddEntry(books, Day(2020, 1, 20), "9", {{110, 1}}, {{410, 1}});
  for (std::size_t i = books.PostingLines.size() - 4; i < books.PostingLines.size(); ++i)
    books.PostingLines[i].Amount = Amount::Max();
  auto tooLarge = Open();
  books = ShopBook();
  books.PostingLines.clear();
  books.EntryNumbers.clear();
  auto empty = Open();
  ScratchFolder folder;
  int asked = 0, mails = 0;
  ScopedEmailOpener opener([&](const std::string&) { return ++mails > 0; });
  PromptAnswerer prompts;
  for (CashFlow* w : {tooLarge.get(), empty.get()}) {
    w->ChooseExportFile = [&](const FileDialogRequest&) {
      ++asked;
      return folder.Path("flow.csv");
    };
    SetClipboardText("kept");
    for (int i = 0; i < 4; ++i) prompts.Then(PromptAnswer::Ok);
    for (QAction* action : {w->SaveB, w->SaveA, w->EmalSt, w->PrintCash}) action->trigger();
    EXPECT_EQ(ClipboardText(), "kept");
  }
  Texts expected;
  for (const char* notDone : {"it was not copied.", "it was not exported.",
                              "no message was written.", "it was not printed."})
    expected.push_back(std::string("The amounts of this statement are too large to add up, so ") +
                       notDone);
  for (const char* notDone : {"It was not copied.", "It was not exported.",
                              "No message was written.", "It was not printed."})
    expected.push_back(
        std::string("The journal holds no posting lines, so there are no periods to compare. ") +
        notDone);
  EXPECT_EQ(prompts.Texts(), expected);
  EXPECT_EQ(std::tuple(asked, mails, folder.EntryCount()), std::tuple(0, 0, std::size_t{0}));
  // The export refuses such a statement itself, whoever asks.
  CashFlowStatement none;
  none.Status = CashFlowStatus::kNoPostings;
  for (const char* type : {"csv", "htm", "xls"}) {
    const std::string path = folder.Path(std::string("flow.") + type);
    const TableFileResult result = CashFlowOutput(none, Look(), 1, kCaption).Export(path, type);
    EXPECT_EQ(result.Message,
              "The journal holds no posting lines, so there are no periods to "
              "compare. \"" +
                  path + "\" was not written.");
  }
  EXPECT_EQ(folder.EntryCount(), 0u);
  EXPECT_TRUE(fileErrors.empty());
}

}  // namespace
}  // namespace qv::testing
