// A small business's year kept with keys and menus from an empty book: chart, twenty entries,
// copy and paste, views, a deletion, the statements printed, exported and mailed (kept in the
// output folder as business_year_*), the book saved, reopened and carried over.

#include <QXmlStreamReader>
#include <map>
#include <numeric>
#include <sstream>

#include "accounts/chart_editor_window.h"
#include "accounts/configuration_window.h"
#include "app/ledger_openers_qt.h"
#include "controls/email_file_qt.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "ledgers/ledger_sheet_widget.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_window.h"
#include "tests/app/typed_entries_qt.h"
#include "tests/support/biff2_records.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv::testing {
namespace {

namespace fs = std::filesystem;

// The year 2025 on the sample chart and Petty Cash (101), as typed_entries_qt.h reads it.
const char* const kYear[] = {
    "c1|1/2/2025|100 20,000|=cap 300 20,000|Owner's capital",
    "l1|1/5/2025|170 15,000|270 15,000|Van bought on a loan",
    "p1|1/20/2025|500 6,000|210 6,000|Stock on credit",
    "s1|1/31/2025|100 4,400|400 4,000;230 400|Cash sales January",
    "s2|2/10/2025|110 3,300|400 3,000;230 300|Invoice 1 Bay Hotel",
    "r1|2/28/2025|750 1,200|100 1,200|Office rent",
    "w1|3/15/2025|600 2,500|100 2,500|Wages March",
    "a1|3/20/2025|210 6,000|100 6,000|Supplier paid|reconciled",
    "d1|4/5/2025|100 3,300|110 3,300|Bay Hotel paid",
    "t1|4/30/2025|=tel 765 180|100 sum|Telephone April",
    "s3|5/15/2025|100 12,100|400 11,000;230 1,100|Cash sales May",
    "x1|6/30/2025|=dra 310 1,000|100 1,000|Drawings",
    "p2|7/10/2025|500 2,000|100 2,000|Stock paid in cash",
    "pc|8/1/2025|101 300|100 300|Petty cash float",
    "w2|9/30/2025|600 2,500;700 1,500|100 4,000|Wages September",
    "l2|10/15/2025|270 1,000;810 150|100 1,150|Loan repayment",
    "s4|11/20/2025|110 2,200|400 2,000;230 200|Invoice 2 Bay Hotel",
    "i1|12/1/2025|120 800;235 80|100 500;210 380|Stock and tax",
    "e1|12/20/2025|705 320|100 320|Electricity",
    "b1|12/31/2025|840 25|101 25|Bank charges",
};

// The year's figures, worked out by hand, in whole units as the statements show them.
constexpr const char* kTrialBalanceTotal = "56,380";  // debits and credits alike
constexpr const char* kNetProfit = "3,625";           // sales 20,000 less 16,375
constexpr const char* kNetAssets = "22,625";  // capital 20,000 less 1,000 drawn, and the profit

class BusinessYearTest : public MainWindowTest {
 protected:
  template <class Window>
  Window* Newest(const std::vector<QPointer<QWidget>>& list) {
    return list.empty() ? nullptr : qobject_cast<Window*>(list.back().data());
  }
  void PressInMain(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Activate(w);
    Press(key, modifiers);
  }
  // Goes to an entry by its number through the go-to box.
  void GoTo(const QString& number) {
    Activate(w);
    w->Text1->setFocus(Qt::TabFocusReason);
    w->Text1->selectAll();
    TypeKeys(number);
    Press(Qt::Key_Return);
    ASSERT_EQ(w->JournalID->text(), number.toUpper());
  }
  // Clicks the row of a view that shows `line`.
  static void ClickRowOf(LedgerWindow* view, int32_t line) {
    LedgerSheetWidget* area = view->SheetArea();
    const LedgerSheet& sheet = area->Sheet();
    int64_t row = 0;
    while (row < sheet.Table.RowCount && sheet.LineAt(row, 2) != line) ++row;
    ASSERT_LT(row, area->VisibleRows()) << "line " << line << " is not in sight";
    const double twips = 1440.0 / area->logicalDpiX();
    double rowsTop = 0;
    for (const DrawOp& op : area->Recording())
      if (const auto* rule = std::get_if<LineOp>(&op); rule && rowsTop == 0) rowsTop = rule->Y1;
    const QPoint at(static_cast<int>(area->Layout().Left[2] / twips) + 4,
                    static_cast<int>((rowsTop + (row + 0.5) * area->Layout().RowHeight) / twips));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, at);
  }
  // Prints a statement to business_year_`name`.pdf through File > Print; the text of it all.
  std::string PrintToPdf(StatementWindow* window, const std::string& name) {
    const std::string file = TestOutputPath("business_year_" + name + ".pdf");
    fs::remove(file);
    ScopedPdfFileAnswer answer([file] { return file; });
    ScriptedPrompts setUp;
    setUp.OnUnexpected = [](const PromptRequest& request, const std::string&) {
      ADD_FAILURE() << "a message before the print: " << request.Text;
    };
    const ScopedPromptService scope(setUp);
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<Printformer*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr) << "no print set-up";
      dialog->Command1()->click();
    });
    window->PrintItem()->trigger();
    const std::vector<std::string> pages = PdfPageTexts(file);
    return std::accumulate(pages.begin(), pages.end(), std::string());
  }
};

// How many lines of a text hold every one of `parts`.
std::size_t LinesWith(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t found = 0;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    found += std::ranges::all_of(
        parts, [&line](const std::string& part) { return line.find(part) != std::string::npos; });
  return found;
}

TEST_F(BusinessYearTest, KeptWithKeysAndMenusFromAnEmptyBookToTheNextPeriod) {
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed; this prints to PDF";
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  PromptAnswerer prompts;  // a message that the year does not expect fails the test
  w = &p.StartActive();
  path = (p.folder / "harbor.acc").string();
  // ---- The chart: Settings > Account Settings, its Help > Generate Accounts Setup, and Petty
  // Cash (101) inserted after Cash at Bank with Ctrl+I.
  w->MenuItem("EditAccounts")->trigger();
  auto* editor = qobject_cast<ConfigAccounts*>(p.app->Windows().ConfigAccounts.data());
  ASSERT_NE(editor, nullptr);
  Activate(editor);
  editor->GChatA->trigger();
  ASSERT_EQ(Focused(), editor->RenameAccount[0]);
  Press(Qt::Key_I, Qt::ControlModifier);
  Press(Qt::Key_Down);
  TypeKeys("Petty Cash");
  Press(Qt::Key_Tab);
  TypeKeys("101");
  editor->close();
  QApplication::processEvents();
  ASSERT_GE(w->DebitAccName(0)->findText("Petty Cash"), 0);
  // ---- The business's name, from Settings > Configurations.
  w->MenuItem("SoftwareSettings")->trigger();
  auto* settings = qobject_cast<QVMainsettings*>(p.app->Windows().QVMainsettings.data());
  ASSERT_NE(settings, nullptr);
  Activate(settings);
  settings->Bname->setFocus(Qt::TabFocusReason);
  TypeKeys("Harbor Supplies");
  settings->close();
  // ---- The year, typed entry by entry.
  Activate(w);
  // The new book's journal starts with an empty entry of today, which stays before the year.
  Books expected = books();
  for (const char* text : kYear) {
    Record(*w, EntryOf(text));
    if (HasFatalFailure()) return;
    AppendTyped(expected, EntryOf(text));
  }
  ExpectSameLines(books(), expected);
  if (HasFailure()) return;
  EXPECT_FALSE(CheckBooks(books()).has_value());
  // ---- The electricity entry copied (Ctrl+W) and pasted (Ctrl+E) as a new entry of today.
  GoTo("e1");
  Press(Qt::Key_W, Qt::ControlModifier);
  Press(Qt::Key_E, Qt::ControlModifier);
  const int32_t pasted = books().LastLineIndex() - 1;
  ASSERT_EQ(pasted, expected.LastLineIndex() + 1);
  EXPECT_EQ(books().PostingLines[static_cast<std::size_t>(pasted)].LineDate, p.clock.Today());
  EXPECT_EQ(books().PostingLines.back().Notes, "Electricity");
  EXPECT_EQ(w->ScrollAcc->Value(), pasted) << "the pasted entry is shown";
  // ---- The journal (F1), a T-account ledger (F2) and a running balance (F3).
  for (const Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3}) PressInMain(key);
  auto* journal = Newest<GeneralJournal>(p.app->Windows().JournalWindows);
  auto* taccount = Newest<Report>(p.app->Windows().LedgerWindows);
  auto* running = Newest<Running_Balance>(p.app->Windows().RunningBalanceWindows);
  ASSERT_TRUE(journal && taccount && running);
  for (LedgerWindow* view : std::initializer_list<LedgerWindow*>{taccount, running}) {
    Activate(view);
    view->tReportAcc->setFocus(Qt::TabFocusReason);
    TypeKeys("electr");
    Press(Qt::Key_Return);
    EXPECT_EQ(view->tReportAcc->currentText(), "Electricity");
  }
  EXPECT_EQ(running->Sheet().Table.RowCount, 2) << "the entry and its copy";
  const int64_t journalRows = journal->Sheet().Table.RowCount;
  // A click on the second entry's line in the journal shows that entry in the main window.
  Activate(journal);
  ClickRowOf(journal, 4);  // after the new book's empty entry and the first entry
  EXPECT_EQ(w->JournalID->text(), "L1");
  // ---- The pasted copy deleted (Edit > Delete Entry > Are you sure ?, Ctrl+D); the views
  // follow when next activated.
  GoTo("e1");
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  ASSERT_EQ(w->ScrollAcc->Value(), pasted);
  prompts.Then(PromptAnswer::Yes);  // "Are you sure ?"
  Press(Qt::Key_D, Qt::ControlModifier);
  ExpectSameLines(books(), expected);
  Activate(running);
  EXPECT_EQ(running->Sheet().Table.RowCount, 1);
  Activate(journal);
  EXPECT_EQ(journal->Sheet().Table.RowCount, journalRows - 3) << "two lines and the notes";
  // ---- The trial balance (F4), income statement (F5) and balance sheet (F7), printed.
  PressInMain(Qt::Key_F4);
  auto* trial = qobject_cast<TrialBalanceWindow*>(p.app->Windows().Trial_Balance.data());
  ASSERT_NE(trial, nullptr);
  const std::string tb = PrintToPdf(trial, "trial_balance");
  EXPECT_NE(tb.find("Harbor Supplies"), std::string::npos) << tb;
  EXPECT_EQ(LinesWith(tb, {kTrialBalanceTotal, kTrialBalanceTotal}), 1u) << tb;
  PressInMain(Qt::Key_F5);
  auto* income = qobject_cast<IncomeStatementWindow*>(p.app->Windows().Income_Statement.data());
  ASSERT_NE(income, nullptr);
  const std::string is = PrintToPdf(income, "income_statement");
  EXPECT_EQ(LinesWith(is, {kNetProfit}), 1u) << is;
  PressInMain(Qt::Key_F7);
  auto* sheet = Newest<BalanceSheetWindow>(p.app->Windows().BalanceSheetWindows);
  ASSERT_NE(sheet, nullptr);
  const std::string bs = PrintToPdf(sheet, "balance_sheet");
  const BalanceSheet yearEnd = sheet->Statement();
  EXPECT_EQ(LinesWith(bs, {"NET ASSETS", kNetAssets}), 1u) << bs;
  EXPECT_EQ(LinesWith(bs, {"PROFIT / LOSS", kNetProfit}), 1u) << bs;
  EXPECT_EQ(LinesWith(bs, {kNetAssets}), 2u) << "net assets, and capital with equity";
  // ---- The balance sheet exported (File > Export) as .xls, .htm and .rtf, the trial balance
  // as .csv; each shows the year's totals.
  auto exportAs = [](StatementWindow& window, const std::string& name) {
    const std::string file = TestOutputPath("business_year_" + name);
    fs::remove(file);
    window.ChooseExportFile = [file](const FileDialogRequest&) { return file; };
    window.ExportItem()->trigger();
    window.ChooseExportFile = nullptr;
    return file;
  };
  bool sheetHasNetAssets = false;
  for (const auto& [cell, text] : CellMap(exportAs(*sheet, "balance_sheet.xls")))
    sheetHasNetAssets = sheetHasNetAssets || text == kNetAssets;
  EXPECT_TRUE(sheetHasNetAssets);
  const std::string page = ScratchFolder::Read(exportAs(*sheet, "balance_sheet.htm"));
  QXmlStreamReader xml(QByteArray::fromStdString(page));
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_NE(page.find(kNetAssets), std::string::npos);
  const std::string rtf = RtfPlainText(ScratchFolder::Read(exportAs(*sheet, "balance_sheet.rtf")));
  EXPECT_EQ(LinesWith(rtf, {"NET ASSETS", kNetAssets}), 1u) << rtf;
  const auto rows = ParseCsv(ScratchFolder::Read(exportAs(*trial, "trial_balance.csv")));
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(),
            (std::vector<std::string>{"Total", kTrialBalanceTotal, kTrialBalanceTotal}));
  // ---- The income statement mailed: the message parses, its page shows the net profit.
  std::string mailed;
  {
    ScopedEmailOpener opener([&mailed](const std::string& file) {
      mailed = file;
      return true;
    });
    income->EmailItem()->trigger();
  }
  ASSERT_FALSE(mailed.empty());
  fs::copy_file(mailed, TestOutputPath("business_year_income_statement.eml"),
                fs::copy_options::overwrite_existing);
  fs::remove(mailed);
  if (PythonAvailable()) {
    const auto message = ParseEmlWithPython(TestOutputPath("business_year_income_statement.eml"));
    EXPECT_EQ(message.at("defects"), "0");
    EXPECT_EQ(message.at("Content-Type"), "text/html");
    EXPECT_NE(message.at("Subject").find("Harbor Supplies"), std::string::npos);
    EXPECT_NE(message.at("body").find(kNetProfit), std::string::npos);
  }
  // ---- Saved (Ctrl+S asks for the new book's name) and reopened (Ctrl+O).
  const Books kept = books();
  SaveAndReopen();
  ASSERT_EQ(p.requests.size(), 2u);
  EXPECT_EQ(FirstDifference(books(), kept), "");
  // ---- Settings > Carried Over Accounts > Are you sure ?: the new period opens on the day
  // after the year's last entry (the new book's empty entry of today posts nothing), with the
  // balance sheet's figures, the year's profit in the capital account.
  w->MenuItem("BalBForword")->trigger();
  std::map<int64_t, int64_t> opening;  // folio -> debits less credits, raw
  for (const PostingLine& line : books().PostingLines) {
    EXPECT_EQ(line.LineDate, Day(2026, 1, 1));
    opening[line.LineFolio.Raw()] += line.Side == kDebit ? line.Amount.Raw() : -line.Amount.Raw();
  }
  std::map<int64_t, int64_t> wanted;
  auto want = [&wanted](const std::vector<StatementAccountRow>& rows, int sign) {
    for (const StatementAccountRow& row : rows)
      wanted[row.AccountFolio.Raw()] = sign * row.Value.Raw();
  };
  for (const auto* rows : {&yearEnd.CurrentAssetRows, &yearEnd.NonCurrentAssetRows}) want(*rows, 1);
  for (const auto* rows :
       {&yearEnd.CurrentLiabilityRows, &yearEnd.NonCurrentLiabilityRows, &yearEnd.CapitalRows})
    want(*rows, -1);
  wanted[Money(300).Raw()] -= yearEnd.SheetProfit.Raw();
  for (auto it = opening.begin(); it != opening.end();)
    it = it->second == 0 ? opening.erase(it) : std::next(it);
  EXPECT_EQ(opening, wanted);
  EXPECT_EQ(wanted.size(), 11u) << "the balance sheet's eleven accounts";
}

}  // namespace
}  // namespace qv::testing
