#include "ledgers/ledger_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <cstring>
#include <memory>
#include <regex>

#include "accounts/account_combo_qt.h"
#include "bench/book_generator.h"
#include "bookfiles/book_files.h"
#include "bookfiles/table_formats.h"
#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "controls/date_picker_control.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/horizontal_scroll_control.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "controls/vertical_scroll_control.h"
#include "controls/wait_screen_dialog.h"
#include "ledgers/general_journal_window.h"
#include "ledgers/ledger_sheet_widget.h"
#include "ledgers/running_balance_window.h"
#include "ledgers/t_account_window.h"
#include "platform/clipboard_qt.h"
#include "platform/locale_qt.h"
#include "platform/surface_replay_qt.h"
#include "tests/controls/input_events_qt.h"
#include "tests/ledgers/ledger_fixture.h"
#include "tests/support/biff2_records.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_printer_qt.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"
#include "tests/support/type_ahead_qt.h"

namespace qv {
namespace {

using testing::Day;
using testing::LedgerFixture;

// The views on a book of their own, with the program's services recorded.
class LedgerWindowTest : public ::testing::Test {
 protected:
  LedgerWindowTest() : books_(LedgerFixture()), clock_(Day(2025, 6, 1)) {
    context_.ShowPostingLine = [this](int32_t line, bool forward) {
      clicked_.push_back({line, forward});
    };
    context_.ShowFileError = [this](int code, const std::string& detail) {
      errors_.push_back(std::to_string(code) + " " + detail);
    };
  }

  template <class Window>
  std::unique_ptr<Window> Open(const char* account = nullptr) {
    auto window = std::make_unique<Window>(context_);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (account) window->tReportAcc->setEditText(account);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }

  // A window of each kind, built: the journal, and a T-account and a running balance of Cash.
  std::vector<std::unique_ptr<LedgerWindow>> OpenEveryKind() {
    std::vector<std::unique_ptr<LedgerWindow>> windows;
    windows.push_back(Open<GeneralJournal>());
    windows.push_back(Open<Report>("Cash"));
    windows.push_back(Open<Running_Balance>("Cash"));
    for (auto& window : windows) window->tReportAcc_Click();
    return windows;
  }

  // The texts drawn in the sheet area, in drawing order.
  static std::vector<std::string> Drawn(LedgerWindow& window) {
    std::vector<std::string> texts;
    for (const DrawOp& op : window.SheetArea()->Recording())
      if (const auto* text = std::get_if<TextOp>(&op)) texts.push_back(text->Text);
    return texts;
  }

  // Presses the left button on the sheet area at a row and a column, in pixels.
  static void ClickRow(LedgerWindow& window, int64_t row, int column) {
    LedgerSheetWidget* area = window.SheetArea();
    const SheetLayout& layout = area->Layout();
    double rowsTop = 0;
    for (const DrawOp& op : area->Recording())
      if (const auto* line = std::get_if<LineOp>(&op); line && rowsTop == 0) rowsTop = line->Y1;
    const double twips = 1440.0 / area->logicalDpiX();
    const QPointF at(
        (layout.Left[static_cast<std::size_t>(column)] + 30) / twips,
        (rowsTop + 60 + (static_cast<double>(row - area->FirstRow()) + 0.5) * layout.RowHeight) /
            twips);
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, at.toPoint());
  }

  Books books_;
  Session session_;
  LocaleInfo locale_ = UsEnglishLocale();
  FixedClock clock_;
  LedgerContext context_{books_, session_, locale_, clock_, {}, {}};
  std::vector<std::pair<int32_t, bool>> clicked_;
  std::vector<std::string> errors_;
};

TEST_F(LedgerWindowTest, OpensOnTheWholePeriodAndShowsWhatTheTopBarAsks) {
  auto rb = Open<Running_Balance>();
  EXPECT_EQ(rb->DateSearch(0)->Text(), "1/1/25");
  EXPECT_EQ(rb->DateSearch(1)->Text(), "2/1/25");
  EXPECT_EQ(rb->tReportAcc->count(), 7) << "account 0 and the six accounts";
  EXPECT_EQ(Drawn(*rb), std::vector<std::string>{"Choose an account."});

  // The statements' drill-down: the end date and the account written, then the click.
  rb->DateSearch(1)->SetText("1/31/25");
  rb->tReportAcc->setEditText("Cash");
  rb->tReportAcc_Click();
  std::vector<std::string> drawn = Drawn(*rb);
  ASSERT_GE(drawn.size(), 8u);
  EXPECT_EQ(drawn[0], "Cash (110)");
  EXPECT_EQ(drawn.back(), "960.00 Dr");

  // Bad input: one sentence in place of the rows, and nothing else changes.
  rb->DateSearch(0)->SetText("2/1/25");
  rb->tReportAcc_Click();
  EXPECT_EQ(Drawn(*rb), std::vector<std::string>{"The end date is before the start date."});
  rb->Form_Load();
  rb->tReportAcc->setEditText("Cashh");
  QTest::keyClick(rb->tReportAcc->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(Drawn(*rb), std::vector<std::string>{"No account named \"Cashh\"."});
  EXPECT_EQ(books_.PostingLines, LedgerFixture().PostingLines);
  EXPECT_TRUE(clicked_.empty());

  // Unticking the sub-accounts leaves Petty cash out.
  rb->tReportAcc->setEditText("Cash");
  rb->tReportAcc_Click();
  const int64_t withSubs = rb->Sheet().Table.RowCount;
  rb->SubAccounts->setChecked(false);
  EXPECT_EQ(rb->Sheet().Table.RowCount, withSubs - 2);
}

TEST_F(LedgerWindowTest, TheSheetShowsWholeTextsApartInsideTheWindow) {
  std::vector<std::unique_ptr<LedgerWindow>> windows = OpenEveryKind();
  for (auto& window : windows) {
    LedgerSheetWidget* area = window->SheetArea();
    const double twips = 1440.0 / area->logicalDpiX();
    const double width = area->width() * twips;
    std::vector<const TextOp*> texts;
    for (const DrawOp& op : area->Recording())
      if (const auto* text = std::get_if<TextOp>(&op)) texts.push_back(text);
    ASSERT_GT(texts.size(), 10u) << window->objectName().toStdString();
    for (const TextOp* a : texts) {
      EXPECT_GE(a->X, 0);
      EXPECT_LE(a->X + a->Width, width) << a->Text << " runs out of the window";
      for (const TextOp* b : texts)
        if (a < b && a->Y == b->Y) {
          EXPECT_TRUE(a->X + a->Width <= b->X || b->X + b->Width <= a->X)
              << a->Text << " and " << b->Text << " overlap";
        }
    }
    // The top bar's parts stand side by side above the sheet.
    QWidget* parts[] = {window->tReportAcc, window->SubAccounts, window->DateSearch(0),
                        window->DateSearch(1)};
    for (std::size_t i = 0; i + 1 < std::size(parts); ++i)
      EXPECT_LE(parts[i]->geometry().right(), parts[i + 1]->geometry().left());
    EXPECT_GE(area->geometry().top(), window->tReportAcc->geometry().bottom());
    EXPECT_EQ(window->ScrollBar()->geometry().left(), area->geometry().right() + 1);
    if (const char* out = std::getenv("QV_TEST_OUTPUT"))  // to look at
      window->grab().save(QString(out) + "/" + window->objectName() + ".png");
  }
}

TEST_F(LedgerWindowTest, KeysTheWheelAndTheBarScrollTheSheetDrawingOnlyTheRowsInSight) {
  books_ = GenerateBook({.lines = 20000, .accounts = 40});
  auto journal = Open<GeneralJournal>();
  LedgerSheetWidget* area = journal->SheetArea();
  const int64_t rows = journal->Sheet().Table.RowCount;
  ASSERT_GT(rows, 20000);
  EXPECT_EQ(journal->JJournal->ValueMax(), area->LastFirstRow());
  EXPECT_EQ(journal->JJournal->ValueLargeChange(), 1) << "the journal bar's stored setting";
  EXPECT_LT(Drawn(*journal).size(), 300u) << "only the rows in sight are drawn";

  QTest::keyClick(area, Qt::Key_PageDown);
  const int64_t page = area->FirstRow();
  EXPECT_GT(page, 5);
  EXPECT_EQ(journal->JJournal->Value(), page);
  QWheelEvent wheel(QPointF(10, 10), area->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &wheel);
  EXPECT_EQ(area->FirstRow(), page + 3);
  QTest::keyClick(area, Qt::Key_End);
  EXPECT_EQ(area->FirstRow(), area->LastFirstRow());
  TableRow totals;
  journal->Sheet().Table.Row(rows - 1, totals);
  EXPECT_EQ(Drawn(*journal).back(), totals.Cells[5]) << "the credit total stands at the foot";
  journal->JJournal->SetValue(100);
  EXPECT_EQ(area->FirstRow(), 100);
}

TEST_F(LedgerWindowTest, KeysTypeAheadInTheAccountBoxAndEnterShowsTheAccount) {
  auto report = Open<Report>();
  QApplication::setActiveWindow(report.get());
  report->tReportAcc->setFocus();
  QTest::keyClicks(report->tReportAcc->lineEdit(), "pe");
  EXPECT_EQ(report->tReportAcc->currentText().toLower(), "petty cash")
      << "the first account that begins so";
  QTest::keyClick(report->tReportAcc->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(report->tReportAcc->currentText(), "Petty cash");
  ASSERT_TRUE(report->Sheet().HasRows());
  EXPECT_EQ(report->Sheet().Table.Title[0], "Petty cash (110.1)");
  // A character that begins no account is dropped; Backspace, which reaches the box, leaves
  // a name no account has: Enter says so.
  QTest::keyClicks(report->tReportAcc->lineEdit(), "x");
  EXPECT_EQ(report->tReportAcc->currentText(), "Petty cash");
  QTest::keyClick(report->tReportAcc->lineEdit(), Qt::Key_End);
  QTest::keyClick(report->tReportAcc->lineEdit(), Qt::Key_Backspace);
  QTest::keyClick(report->tReportAcc->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(report->Sheet().Message, "No account named \"Petty cas\".");
}

// Typing in the account box opens the list of accounts below it on the account found; the
// box keeps the focus and every key, Escape closes the list, and a click on an account in
// it shows that account's ledger.
TEST_F(LedgerWindowTest, KeysTypeAheadOpensTheAccountListAndTheBoxKeepsTheKeys) {
  auto report = Open<Report>();
  QApplication::setActiveWindow(report.get());
  QComboBox* box = report->tReportAcc;
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(box, "cap");
  ASSERT_NE(testing::ExpectTypeAheadListOn(box, "Capital"), nullptr);
  // The next character still goes to the box: the caret moves on after it.
  QTest::keyClick(box, 'i');
  EXPECT_EQ(box->lineEdit()->selectionStart(), 4);
  EXPECT_EQ(box->lineEdit()->selectedText(), "tal");
  EXPECT_FALSE(report->Sheet().HasRows()) << "typing alone shows no account yet";
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(OpenTypeAheadList(box), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), box);
  // Typing on opens it again; a click on the account chooses it.
  QTest::keyClick(box, 't');
  testing::ClickTypeAheadChoice(box);
  ASSERT_TRUE(report->Sheet().HasRows());
  EXPECT_EQ(report->Sheet().Table.Title[0], "Capital (300)");
}

TEST_F(LedgerWindowTest, AClickOnALineAsksForThatPostingLine) {
  auto journal = Open<GeneralJournal>();
  ClickRow(*journal, 3, 3);  // entry 2's first line
  auto report = Open<Report>("Cash");
  report->DateSearch(0)->SetText("1/5/25");
  report->tReportAcc_Click();
  ClickRow(*report, 1, 4);  // the credit side: entry INV7's Cash line... of row 1
  ClickRow(*report, 0, 0);  // the balance brought down is no line
  ASSERT_EQ(clicked_.size(), 2u);
  EXPECT_EQ(clicked_[0], std::make_pair(2, true));
  EXPECT_EQ(clicked_[1].first, report->Sheet().LineAt(1, 4));
  EXPECT_FALSE(clicked_[1].second) << "the T-account leaves the main window where it is";
}

TEST_F(LedgerWindowTest, ActivationAfterTheBooksChangedRebuilds) {
  auto journal = Open<GeneralJournal>();
  const int64_t before = journal->Sheet().Table.RowCount;
  books_.PostingLines.resize(12);  // the last entry goes
  books_.EntryNumbers.resize(12);
  RaiseBooksStamp(books_);
  // The user works in another window, then comes back.
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(journal->BuiltStamp(), books_.BooksStamp - 1) << "no rebuild while inactive";
  QApplication::setActiveWindow(journal.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(journal.get()));
  EXPECT_EQ(journal->BuiltStamp(), books_.BooksStamp);
  EXPECT_EQ(journal->Sheet().Table.RowCount, before - 2);
}

TEST_F(LedgerWindowTest, CopiesAndExportsTheRowsInEveryForm) {
  books_.AccountNames[1] = "Cash & \"Co\" <Ltd>, {x}\\";
  books_.PostingLines[4].Notes = "Till, Monday\r\nКасса";
  auto rb = Open<Running_Balance>("Cash & \"Co\" <Ltd>, {x}\\");
  rb->DateSearch(0)->SetText("1/5/25");
  rb->tReportAcc_Click();
  ASSERT_TRUE(rb->Sheet().HasRows());
  rb->Copy_Click();
  EXPECT_EQ(ClipboardText(), TableText(rb->Sheet().Table));
  EXPECT_EQ(ClipboardRtf(), TableRtf(rb->Sheet().Table));

  testing::ScratchFolder folder;
  std::string answer;
  rb->ChooseExportFile = [&](const FileDialogRequest& request) {
    EXPECT_EQ(request.patterns, (std::vector<std::string>{"*.xls", "*.csv", "*.rtf", "*.htm"}));
    return answer;
  };
  for (const char* type : {"csv", "htm", "rtf", "xls"}) {
    answer = folder.Path(std::string("ledger.") + type);
    rb->Export_Click();
  }
  EXPECT_TRUE(errors_.empty());
  const auto csv = testing::ParseCsv(testing::ScratchFolder::Read(folder.Path("ledger.csv")));
  ASSERT_EQ(csv.size(), 9u) << "headings, the balance brought down and seven postings";
  EXPECT_EQ(csv[3], (std::vector<std::string>{"1/5/25", "2", "Till, Monday Касса", "50.00", "",
                                              "1,550.00 Dr"}));

  QXmlStreamReader xml(
      QByteArray::fromStdString(testing::ScratchFolder::Read(folder.Path("ledger.htm"))));
  QStringList cells;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"title")
      cells << xml.readElementText();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(cells, QStringList{"Cash & \"Co\" <Ltd>, {x}\\ (110)"});

  const std::string rtf =
      testing::RtfPlainText(testing::ScratchFolder::Read(folder.Path("ledger.rtf")));
  EXPECT_NE(rtf.find("Cash & \"Co\" <Ltd>, {x}\\ (110)"), std::string::npos);
  EXPECT_NE(rtf.find("Till, Monday Касса"), std::string::npos);

  const auto sheet = testing::CellMap(folder.Path("ledger.xls"));
  EXPECT_EQ(sheet.at({1, 1}), "Cash & \"Co\" <Ltd>, {x}\\ (110)");
  EXPECT_EQ(sheet.at({4, 6}), "Balance");
  EXPECT_EQ(sheet.at({5, 3}), "Balance b/d");
  EXPECT_EQ(sheet.at({12, 6}), "1,000.00 Dr");

  // A folder that is not there: the failure is reported and nothing is written.
  answer = folder.Path("none/ledger.csv");
  rb->Export_Click();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find("not changed"), std::string::npos);
}

// Every kind of ledger's Export opens the file dialog on the sheet type, "*.xls", and writes
// the type shown whatever extension is typed. Onto a file that stands there it asks first:
// No writes nothing, Yes replaces it.
TEST_F(LedgerWindowTest, ExportWritesTheTypeShownAndAsksBeforeReplacingAFile) {
  testing::ScratchFolder folder;
  PromptAnswerer prompts;
  std::vector<std::unique_ptr<LedgerWindow>> windows = OpenEveryKind();
  for (auto& window : windows) {
    const std::string name = window->objectName().toStdString();
    QString shown;
    testing::WhenModalShows<FileDialog>([&](FileDialog& dialog) {
      shown = dialog.TypeList()->currentText();
      const QString typed = QString::fromStdString(folder.Path(name + ".rtf"));
      dialog.NameBox()->setText(typed);
      emit dialog.NameBox()->textEdited(typed);
      dialog.AcceptButton()->click();
    });
    window->Export_Click();
    EXPECT_EQ(shown, "*.xls") << name;
    EXPECT_FALSE(std::filesystem::exists(folder.Path(name + ".rtf"))) << name;
    EXPECT_FALSE(testing::CellMap(folder.Path(name + ".xls")).empty()) << name;
  }
  // A T-account exported onto a file that stands there.
  Report& report = static_cast<Report&>(*windows[1]);
  const std::string shop = folder.File("shop.csv", "old");
  report.ChooseExportFile = [&shop](const FileDialogRequest&) { return shop; };
  prompts.Then(PromptAnswer::No);
  report.Export_Click();
  EXPECT_EQ(testing::ScratchFolder::Read(shop), "old");
  prompts.Then(PromptAnswer::Yes);
  report.Export_Click();
  EXPECT_EQ(testing::ScratchFolder::Read(shop), TableCsv(report.Sheet().Table));
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>(2, "\"" + shop + "\" already exists. Replace it ?"));
  EXPECT_TRUE(errors_.empty());
}

// What a long job shows, seen from the event loop it keeps turning: the wait screen over the
// window, the furthest its bar got, and the window drawn again in the middle of the job.
struct LongJobWatch : QObject {
  explicit LongJobWatch(QWidget* window) {
    window->installEventFilter(this);
    QObject::connect(&timer, &QTimer::timeout, [this, window] {
      if (const WaitScreen* job = CurrentWaitScreen(); job && job->Window()->isVisible())
        percent = std::max(percent, job->Window()->PercentText().chopped(1).toInt());
      window->update();  // as when another window had covered it
    });
    timer.start(0);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    paintsDuringTheJob += event->type() == QEvent::Paint && CurrentWaitScreen();
    return false;
  }
  QTimer timer;
  int percent = -1;
  int paintsDuringTheJob = 0;
};

// A journal of more than 20,000 rows copies and prints under the wait screen, its bar moving
// as the rows go and the window drawn meanwhile; the clipboard then holds the sheet's text
// and RTF, and the PDF file every row.
TEST_F(LedgerWindowTest, LongJobsPrintAndCopyUnderTheWaitScreenWithTheWindowDrawn) {
  books_ = GenerateBook({.lines = 18000, .accounts = 40, .entriesPerDay = 100});
  auto journal = Open<GeneralJournal>();
  const TableDocument& table = journal->Sheet().Table;
  ASSERT_GT(table.RowCount, 20000);
  {
    LongJobWatch watch(journal->SheetArea());
    journal->Copy_Click();
    EXPECT_GE(watch.percent, 90);
    EXPECT_GT(watch.paintsDuringTheJob, 0);
  }
  EXPECT_EQ(ClipboardText(), TableText(table));
  EXPECT_EQ(ClipboardRtf(), TableRtf(table));

  // On an X server a row clicked through the window system at the end of a job, after its
  // last tick, is held back while the job runs and swallowed as it ends, never acting after.
  if (QGuiApplication::platformName() == "xcb" &&
      std::system("command -v xdotool >/dev/null 2>&1") == 0) {
    const QPoint row = journal->SheetArea()->mapToGlobal(QPoint(60, 80));
    const std::string click = "xdotool mousemove " + std::to_string(row.x()) + " " +
                              std::to_string(row.y()) + " click 1 >/dev/null 2>&1";
    {
      WaitScreen job(journal.get(), session_, 100);
      ASSERT_EQ(std::system(click.c_str()), 0);
      QElapsedTimer painting;
      for (painting.start(); painting.elapsed() < 300;)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    QTest::qWait(300);
    EXPECT_TRUE(clicked_.empty()) << "a click made during the job acted after it";
    ASSERT_EQ(std::system(click.c_str()), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !clicked_.empty(); })) << "not on a row";
  }

  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed; this prints to PDF";
  // A folder of this run's own: the same test may run at the same time under X.
  const testing::ScratchFolder folder;
  const std::string path = folder.Path("long_journal.pdf");
  ScopedPdfFileAnswer pdf([path] { return path; });
  QTimer::singleShot(0, [] {
    qobject_cast<Printformer*>(QApplication::activeModalWidget())->Command1()->click();
  });
  LongJobWatch watch(journal->SheetArea());
  journal->MenuItem("Print")->trigger();
  EXPECT_GE(watch.percent, 90);
  EXPECT_GT(watch.paintsDuringTheJob, 0);
  TableRow totals;
  table.Row(table.RowCount - 1, totals);
  EXPECT_NE(testing::PdfPageTexts(path).back().find(totals.Cells[4]), std::string::npos);
}

TEST_F(LedgerWindowTest, PrintsEveryRowOnceOnAsManyPagesAsItNeedsAndMailsTheSheet) {
  // 2,000 postings to Cash, each its own entry with its number in the notes.
  books_ = testing::BookWithChart({{"Cash", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  books_.BusinessName = "Smith & Sons";
  books_.BusinessAddress = "1 High Street\r\nTown";
  for (int k = 1; k <= 2000; ++k) {
    const double amount = k;
    testing::AddEntry(books_, Day(2025, 1, 1) + k / 10, std::to_string(k), {{110, amount}},
                      {{400, amount}}, "Posting " + std::to_string(k));
  }
  auto rb = Open<Running_Balance>("Cash");
  rb->tReportAcc_Click();
  ASSERT_EQ(rb->Sheet().Table.RowCount, 2000);

  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  const std::string path = testing::TestOutputPath("running_balance_2000.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  ASSERT_EQ(PrintOnPrinter(printer, session_, rb->PrintDrawing(), 1, 1.0), PrintOutcome::Printed);
  const std::vector<std::string> pages = testing::PdfPageTexts(path);
  EXPECT_EQ(static_cast<int>(pages.size()), testing::PdfPageCount(path));
  ASSERT_GT(pages.size(), 20u);
  EXPECT_NE(pages[0].find("Smith & Sons"), std::string::npos) << "the business heading";
  EXPECT_LT(pages[0].find("1 High Street"), pages[0].find("Cash (110)"));
  int next = 1;
  const std::regex posting("Posting (\\d+) ");
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::string& page = pages[p];
    const std::size_t headings = page.find("Balance\n");
    EXPECT_NE(headings, std::string::npos) << "the headings on page " << p + 1;
    EXPECT_LT(headings, page.find("Posting ")) << "page " << p + 1;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), posting);
         it != std::sregex_iterator(); ++it)
      EXPECT_EQ(std::stoi((*it)[1]), next++) << "page " << p + 1;
  }
  EXPECT_EQ(next, 2001) << "every row once, in order";
  EXPECT_NE(pages.back().find("2,001,000.00 Dr"), std::string::npos) << "the last balance";

  // Send: an unsent message named AccountLedger, the sheet as its HTML body.
  std::string mailed;
  ScopedEmailOpener opener([&](const std::string& file) {
    mailed = file;
    return true;
  });
  rb->Send_Click();
  ASSERT_NE(mailed.find("AccountLedger"), std::string::npos);
  if (!testing::PythonAvailable()) GTEST_SKIP() << testing::kNoPython;
  const auto message = testing::ParseEmlWithPython(mailed);
  EXPECT_EQ(message.at("Subject"), "Cash (110)");
  EXPECT_EQ(message.at("Content-Type"), "text/html");
  EXPECT_NE(message.at("body").find("<td align=\"left\">Posting 2000</td>"), std::string::npos);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// The Trading Business example as the program writes it beside itself, in the dd-mm-yyyy
// date style, with the three views of Cash at Bank over the whole book.
class TradingBusinessLedgers : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path =
        QCoreApplication::applicationDirPath().toStdString() + "/../Examples/Trading Business.acc";
    BookReadResult read = ReadBook(path, "acc", Day(2026, 1, 1));
    ASSERT_TRUE(read.Book.has_value()) << path << ": " << read.Message;
    books_ = std::move(*read.Book);
    books_.DateStyleIndex = kDdMmYyyyDash;
    const LedgerDates dates = DefaultLedgerDates(books_);
    options_.From = dates.First;
    options_.To = dates.Last;
    options_.Account = FolioOfAccount(books_, "Cash at Bank");
    ASSERT_FALSE(options_.Account.IsZero());
  }

  std::vector<LedgerSheet> Sheets() const {
    JournalOptions journal{options_};
    journal.Ledger.AllAccounts = true;
    return {TAccountSheet(std::make_shared<const TAccountView>(ComputeTAccount(books_, options_)),
                          books_, locale_),
            RunningBalanceSheet(
                std::make_shared<const RunningBalanceView>(ComputeRunningBalance(books_, options_)),
                books_, locale_),
            JournalSheet(std::make_shared<const JournalView>(ComputeJournal(books_, journal)),
                         books_, locale_)};
  }

  Books books_;
  LedgerOptions options_;
  LocaleInfo locale_ = UsEnglishLocale();
};

// True when `text` stands in `page` as a whole cell: blanks or line ends on both sides.
bool HasWholeCell(const std::string& page, const std::string& text) {
  for (std::size_t at = page.find(text); at != std::string::npos; at = page.find(text, at + 1)) {
    const std::size_t end = at + text.size();
    if ((at == 0 || std::isspace(static_cast<unsigned char>(page[at - 1]))) &&
        (end == page.size() || std::isspace(static_cast<unsigned char>(page[end]))))
      return true;
  }
  return false;
}

// On A4 every cell but the notes is printed whole; on paper too narrow for the sheet (A5 and
// the DL envelope at 150 %) every heading, date, number, folio and amount is still whole on
// some page (the names and notes there: ledger_printout_window_test.cpp).
TEST_F(TradingBusinessLedgers, PrintoutsHoldEveryDateAccountAndAmountWhole) {
  if (!testing::PdfToolsAvailable()) GTEST_SKIP() << testing::kNoPdfTools;
  const char* names[] = {"t-account-cash-at-bank", "running-balance-cash-at-bank", "journal"};
  const std::tuple<const char*, QPageSize::PageSizeId, double> papers[] = {
      {"", QPageSize::A4, 1.0}, {"-a5", QPageSize::A5, 1.5}, {"-dl", QPageSize::EnvelopeDL, 1.5}};
  const std::vector<LedgerSheet> sheets = Sheets();
  Session session;
  for (const auto& [paper, size, scale] : papers) {
    for (std::size_t k = 0; k < sheets.size(); ++k) {
      const std::string name = names[k] + std::string(paper) + ".pdf";
      SCOPED_TRACE(name);
      const LedgerSheet& sheet = sheets[k];
      ASSERT_GT(sheet.Table.RowCount, 10);
      auto printer = testing::PdfPrinter(name);
      printer->setPageSize(QPageSize(size));
      auto printout = std::make_shared<SheetPrintout>(sheet);
      ASSERT_EQ(PrintOnPrinter(*printer, session,
                               PageDrawing([printout](DrawingSurface& surface, int page) {
                                 return printout->DrawPage(surface, page);
                               }),
                               1, scale),
                PrintOutcome::Printed);
      std::string text;
      for (const std::string& page : testing::PdfPageTexts(testing::TestOutputPath(name)))
        text += testing::WithoutLigatures(page);
      for (const TableColumn& column : sheet.Table.Columns)
        EXPECT_TRUE(HasWholeCell(text, column.Heading)) << column.Heading;
      // Every cell but the notes: dates, numbers, folios, accounts, amounts and both totals.
      TableRow row;
      for (int64_t r = 0; r < sheet.Table.RowCount; ++r) {
        sheet.Table.Row(r, row);
        for (std::size_t c = 0; c < row.Cells.size(); ++c) {
          const std::string& cell = row.Cells[c];
          const bool notes = sheet.Table.Columns[c].Heading == "Notes" ||
                             (k == 2 && c == 3 && row.Cells[2].empty() && row.Cells[4].empty() &&
                              row.Cells[5].empty());
          const bool name = std::ranges::count(sheet.GiveWayColumns, static_cast<int>(c)) > 0;
          if (!cell.empty() && !notes && (!name || size == QPageSize::A4)) {
            EXPECT_TRUE(HasWholeCell(text, cell)) << "row " << r << " column " << c << ": " << cell;
          }
        }
      }
    }
  }
}

// The T-account window at its opening size shows both sides whole: every amount and both
// totals inside the sheet area, on the screen's fonts.
TEST_F(TradingBusinessLedgers, KeysTheTAccountWindowOpensWithBothSidesInSight) {
  Session session;
  FixedClock clock(Day(2026, 1, 1));
  LedgerContext context{books_, session, locale_, clock, {}, {}};
  Report window(context);
  window.setAttribute(Qt::WA_DeleteOnClose, false);
  window.tReportAcc->setEditText("Cash at Bank");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();
  LedgerSheetWidget* area = window.SheetArea();
  ASSERT_GT(window.Sheet().Table.RowCount, 10);
  const double twips = 1440.0 / area->logicalDpiX();
  const QRect inWindow(area->mapTo(&window, QPoint(0, 0)), area->size());
  EXPECT_TRUE(window.rect().contains(inWindow)) << "the sheet area lies inside the window";
  EXPECT_LE(window.width(), window.screen()->availableGeometry().width());
  EXPECT_FALSE(window.AcrossBar()->isVisible()) << "the whole sheet is in sight";
  const SheetLayout& layout = area->Layout();
  int amounts = 0, totals = 0;
  for (const DrawOp& op : area->Recording()) {
    const auto* text = std::get_if<TextOp>(&op);
    if (!text || text->Y < layout.RowHeight) continue;
    const int column = ColumnAt(layout, text->X + text->Width / 2);
    if (column != 2 && column != 5) continue;
    if (!(text->Text.find_first_of("0123456789") != std::string::npos)) continue;
    ++amounts;
    totals += text->Font.Bold ? 1 : 0;
    const QRectF box(text->X / twips, text->Y / twips, text->Width / twips, text->Height / twips);
    EXPECT_GE(box.left(), 0) << text->Text;
    EXPECT_LE(box.right(), area->width()) << text->Text << " runs past the window";
    EXPECT_LE(box.bottom(), area->height() + layout.RowHeight / twips) << text->Text;
  }
  EXPECT_GT(amounts, 10) << "amounts on both sides";
  window.SheetArea()->SetFirstRow(window.Sheet().Table.RowCount);
  QApplication::processEvents();
  totals = 0;
  for (const DrawOp& op : area->Recording())
    if (const auto* text = std::get_if<TextOp>(&op);
        text && text->Font.Bold && text->X > 0 && ColumnAt(layout, text->X) >= 2) {
      ++totals;
      EXPECT_LE((text->X + text->Width) / twips, area->width()) << text->Text;
    }
  EXPECT_GE(totals, 2) << "both totals";
  window.SheetArea()->SetFirstRow(0);
  QApplication::processEvents();
  window.grab().save(QString::fromStdString(testing::TestOutputPath("t-account-window-")) +
                     QGuiApplication::platformName() + ".png");
  // Narrower than the sheet, the window's own bar reaches the rest.
  // A sheet wider than the window (a long name on the debit side): the window's own bar
  // reaches the rest.
  for (std::string& name : books_.AccountNames)
    if (name == "Capital") name = "Capital " + std::string(120, 'W');
  window.tReportAcc_Click();
  QApplication::processEvents();
  ASSERT_LT(area->width(), area->FullWidthPixels());
  ASSERT_TRUE(window.AcrossBar()->isVisible());
  window.AcrossBar()->SetValue(window.AcrossBar()->ValueMax());
  EXPECT_EQ(area->OffsetX(), area->HiddenWidth());
  EXPECT_EQ(area->OffsetX() + area->width(), area->FullWidthPixels());
}

// Every date the style writes in the period is whole in its column, for each date style
// under the C, United States and German locales, on the screen's fonts and the printer's.
TEST(LedgerDates, WholeInEveryStyleAndLocaleOnScreenAndPaper) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QtTextMetrics screen(nullptr), paper(&printer);
  Books books = LedgerFixture();
  LedgerOptions options;
  options.Account = FolioOfAccount(books, "Cash");
  options.From = Day(2025, 1, 1);
  options.To = Day(2025, 12, 31);
  for (const char* name : {"C", "en_US", "de_DE"}) {
    const LocaleInfo locale = CaptureLocale(QLocale(QString::fromLatin1(name)));
    for (int style = 0; style < kDateStyleCount; ++style) {
      books.DateStyleIndex = style;
      const LedgerSheet sheet = TAccountSheet(
          std::make_shared<const TAccountView>(ComputeTAccount(books, options)), books, locale);
      for (const QtTextMetrics* metrics : {&screen, &paper}) {
        DrawingSurface surface(*metrics);
        surface.SetFont(SheetFont());
        // A narrow space: the names give way, the dates keep their width.
        const SheetLayout layout = LayoutSheet(surface, sheet, 1000);
        for (DaySerial day = options.From; day <= options.To; ++day) {
          const std::string text = FormatDateStyle(day, style, locale);
          const double width = surface.TextWidth(text) - 1e-6;
          ASSERT_LE(width, layout.Right[0] - layout.Left[0])
              << name << " style " << style << ": " << text;
          ASSERT_LE(width, layout.Right[3] - layout.Left[3]) << text;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qv
