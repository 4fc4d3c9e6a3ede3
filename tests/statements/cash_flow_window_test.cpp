// The comparative statement's window as a user meets it: the columns and rows it shows, the
// choices of the band, the folio box's keys, the read-out and the click into the ledgers,
// and the files it is exported to.

#include "statements/cash_flow_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QXmlStreamReader>
#include <filesystem>
#include <tuple>

#include "controls/email_file_qt.h"
#include "platform/clipboard_qt.h"
#include "platform/units.h"
#include "statements/cash_flow_outputs.h"
#include "statements/statement_frame.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

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

class CashFlowWindowTest : public ::testing::Test {
 protected:
  StatementContext Context() {
    StatementContext context{.TheBooks = &books, .TheSession = &session, .Locale = locale};
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
            "Acme & <Sons> Comparative Statement...\r\n\r\n\tMar 2020\tApr 2020\tTotal\r\n");
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
  // CSV: one field per cell, grouped amounts and the comma in a name kept whole.
  const std::string csv = folder.Path("flow.csv");
  ASSERT_TRUE(output.Export(csv, "csv").Ok());
  const auto rows = ParseCsv(ScratchFolder::Read(csv));
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows[0], (Texts{"", "Feb 2020", "Mar 2020", "Apr 2020", "Total"}));
  for (const auto& row : rows) EXPECT_EQ(row.size(), 5u);
  EXPECT_EQ(rows[1], (Texts{"Beginning Balance:", "1,000.00", "(1,234.50)", "(1,254.50)", ""}));
  EXPECT_EQ(rows[4], (Texts{"Fees, <Legal> & Co", "0.00", "0.00", "200.00", "200.00"}));
  // HTML: well-formed, every name and amount as a cell's whole text.
  const std::string htm = folder.Path("flow.htm");
  ASSERT_TRUE(output.Export(htm, "htm").Ok());
  QXmlStreamReader xml(QByteArray::fromStdString(ScratchFolder::Read(htm)));
  Texts cells;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement &&
        (xml.name() == u"td" || xml.name() == u"th"))
      cells.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString());
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(output.Html(), ScratchFolder::Read(htm));
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

}  // namespace
}  // namespace qv::testing
