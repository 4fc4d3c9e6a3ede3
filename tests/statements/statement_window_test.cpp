// The statement windows as a user meets them: keys, scrolling, the read-out and click-through,
// the toggles, printing, and the Copy, Export and e-mail commands.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <tuple>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "controls/date_picker_control.h"
#include "controls/email_file_qt.h"
#include "controls/file_dialog.h"
#include "controls/file_dialog_model.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "controls/vertical_scroll_control.h"
#include "platform/clipboard_qt.h"
#include "platform/file_io.h"
#include "platform/units.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/statement_dates.h"
#include "statements/trial_balance_window.h"
#include "tests/controls/input_events_qt.h"
#include "tests/support/biff2_records.h"
#include "tests/support/book_builder.h"
#include "tests/support/eml_python.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/table_readers.h"

namespace qv::testing {
namespace {

// A chart of `extra` expense accounts besides a bank, capital, sales with a sub-account
// and stock; each expense gets one payment, so the trial balance is as tall as it likes.
Books ShopBook(int extra = 0) {
  Books books = BookWithChart({{"Bank", 100, kCurrentAsset},
                               {"Capital", 300, kCapital},
                               {"Sales", 410, kRevenue},
                               {"Sales Online", 410.5, kRevenue},
                               {"Stock", 500, kCostOfGoodsSold}});
  books.DateStyleIndex = kDdMmYyyySlash;
  books.BusinessName = "Acme Ltd";
  AddEntry(books, Day(2026, 1, 5), "1", {{100, 10000}}, {{300, 10000}});
  AddEntry(books, Day(2026, 2, 1), "2", {{100, 3000}}, {{410, 2000}, {410.5, 1000}});
  AddEntry(books, Day(2026, 2, 9), "3", {{500, 1200}}, {{100, 1200}});
  if (extra > 0) books.ResizeChart(5 + extra);
  for (int k = 0; k < extra; ++k) {
    books.AccountNames[6 + k] = "Expense " + std::to_string(k);
    books.AccountFolios[6 + k] = Money(600 + k);
    books.AccountTypes[6 + k] = kExpense;
    AddEntry(books, Day(2026, 3, 1), "e", {{600.0 + k, 10}}, {{100, 10}});
  }
  return books;
}

// A window over the test's book, with the program's parts it needs (session, a clock on
// 15 March 2026); the ledgers it opened and the file errors it reported are recorded.
class StatementWindowTest : public ::testing::Test {
 protected:
  StatementContext Context() {
    StatementContext context{.TheBooks = &books, .TheSession = &session, .TheClock = &clock};
    context.OpenLedger = [this](LedgerLink link, const std::string& name, const std::string& end) {
      opened.emplace_back(link, name, end);
    };
    context.ShowFileError = [this](int code, const std::string& detail) {
      fileErrors.push_back(std::to_string(code) + " " + detail);
    };
    return context;
  }
  // A window computed and shown; the trial balance as of the clock's day.
  template <typename Window>
  std::unique_ptr<Window> Open(int widthTwips = 12000, int heightTwips = 7000) {
    auto window = std::make_unique<Window>(Context());
    window->resize(Px(widthTwips), Px(heightTwips));
    if constexpr (std::is_same_v<Window, TrialBalanceWindow>)
      window->ISCalander->SetText(QString::fromStdString(
          FormatDateStyle(clock.Today(), books.DateStyleIndex, UsEnglishLocale())));
    window->Recompute();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
  }
  // Mouse actions on the canvas, at a height in pixels.
  static void Mouse(StatementWindow& w, QEvent::Type type, int y,
                    Qt::MouseButton button = Qt::NoButton) {
    const QPointF at(60, y);
    QWidget* canvas = w.Canvas();
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
  }
  static void ClickAt(StatementWindow& w, int y, Qt::MouseButton button) {
    Mouse(w, QEvent::MouseButtonPress, y, button);
    Mouse(w, QEvent::MouseButtonRelease, y, button);
  }
  // A height in pixels within the lower part of account row `row` as the canvas shows it.
  static int RowY(const StatementWindow& w, int row) {
    return Px(w.Drawing().Rows[row].Bottom - 100 - w.ScrollValue());
  }
  static void PressEnter(CalanderForm* box) { QTest::keyClick(box->DateX(), Qt::Key_Return); }

  Books books = ShopBook();
  Session session;
  FixedClock clock{Day(2026, 3, 15)};
  std::vector<std::tuple<LedgerLink, std::string, std::string>> opened;
  std::vector<std::string> fileErrors;
};

TEST_F(StatementWindowTest, AnEmptyBookShowsEmptySectionsAndEachWindowKeepsItsSmallestSize) {
  books = BookWithChart({{"Bank", 100, kCurrentAsset}, {"Capital", 300, kCapital}});
  auto tb = Open<TrialBalanceWindow>();
  auto is = Open<IncomeStatementWindow>();
  auto bs = Open<BalanceSheetWindow>();
  for (StatementWindow* w : std::vector<StatementWindow*>{tb.get(), is.get(), bs.get()}) {
    EXPECT_TRUE(w->Drawing().Rows.empty() && w->Drawing().DrawnHeight > 0);
    EXPECT_EQ(w->StatusText(), "");
    w->resize(Px(1000), Px(1000));  // stays 5000 x 2000 twips
    EXPECT_EQ(std::pair(w->width(), w->height()), std::pair(Px(5000), Px(2000)));
  }
  EXPECT_FALSE(is->Ratio(0)->isVisible() || is->Ratio(1)->isVisible() || bs->Ratio->isVisible());
}

TEST_F(StatementWindowTest, KeysInDateBoxesSwallowLettersAndANonDateKeepsThePeriod) {
  auto tb = Open<TrialBalanceWindow>();
  QLineEdit* box = tb->ISCalander->DateX();
  box->setFocus();
  box->end(false);
  QTest::keyClicks(box, "ab c");
  EXPECT_EQ(tb->ISCalander->Text(), "15/03/2026");
  // 31 February is no date: the trial balance stays as it was and the status line says so.
  tb->ISCalander->SetText("31/02/2026");
  PressEnter(tb->ISCalander);
  EXPECT_EQ(std::pair(tb->TrialDate(), tb->ISCalander->Text()),
            std::pair(Day(2026, 3, 15), QString("15/03/2026")));
  EXPECT_EQ(tb->StatusText(),
            "\"31/02/2026\" is not a date, so the statement stays as of 15 March 2026.");
  // Enter with a date computes for it, the status line clears.
  tb->ISCalander->SetText("01/01/2026");
  PressEnter(tb->ISCalander);
  EXPECT_EQ(std::tuple(tb->TrialDate(), tb->StatusText(), tb->Drawing().Rows.size()),
            std::tuple(Day(2026, 1, 1), "", 0u));
  // The income statement's boxes alike: a text that is no date keeps the period and says so.
  auto is = Open<IncomeStatementWindow>();
  is->DateSearch[0]->SetText("1/1/");
  PressEnter(is->DateSearch[0]);
  EXPECT_EQ(is->Statement().Period.IncomeFromDate, Day(2026, 1, 5));
  EXPECT_NE(is->StatusText(), "");
  // A day picked in the drop-down computes.
  is->DateSearch[1]->SetText("01/02/2026");
  session.DatePicked = 1;
  emit is->DateSearch[1]->Click();
  EXPECT_EQ(std::tuple(session.DatePicked, is->Statement().Period.IncomeToDate,
                       is->Statement().CostOfGoodsSoldRows.size()),
            std::tuple(0, Day(2026, 2, 1), 0u));
  // After the book's date style changed, a box shows its date in the new style before it is
  // read: 13 January read month first from "13/01/2026" would be no date at all.
  tb->ISCalander->SetText("13/01/2026");
  PressEnter(tb->ISCalander);
  ASSERT_EQ(tb->TrialDate(), Day(2026, 1, 13));
  books.DateStyleIndex = kMmDdYyyySlash;
  PressEnter(tb->ISCalander);
  EXPECT_EQ(std::tuple(tb->ISCalander->Text(), tb->TrialDate(), tb->StatusText()),
            std::tuple(QString("01/13/2026"), Day(2026, 1, 13), ""));
}

TEST_F(StatementWindowTest, KeysAndTheBarScrollExactlyAsFarAsTheLastRow) {
  books = ShopBook(60);
  auto tb = Open<TrialBalanceWindow>(12000, 6000);
  const auto viewHeight = [&] { return PixelsToTwips(tb->Canvas()->height()); };
  const auto lastRowInView = [&] {
    EXPECT_TRUE(tb->ScrollShown());
    EXPECT_EQ(tb->ScrollMax(),
              static_cast<int>(std::ceil(tb->Drawing().DrawnHeight - viewHeight())));
    tb->SetScrollValue(tb->ScrollMax());
    EXPECT_LE(tb->Drawing().Rows.back().Bottom - tb->ScrollValue(), viewHeight());
  };
  lastRowInView();
  // Up and Down in the date box move the view by 10 twips, within the range.
  const int max = tb->ScrollMax();
  for (const auto& [from, key, to] :
       {std::tuple{0, Qt::Key_Up, 0}, {0, Qt::Key_Down, 10}, {max, Qt::Key_Down, max}}) {
    tb->SetScrollValue(from);
    QTest::keyClick(tb->ISCalander->DateX(), key);
    EXPECT_EQ(tb->ScrollValue(), to) << key;
  }
  // A resize while scrolled keeps the whole range.
  tb->resize(Px(12000), Px(4000));
  lastRowInView();
  // A date that leaves most rows out fits the window: the bar goes and the top shows.
  tb->resize(Px(12000), Px(8000));
  lastRowInView();
  tb->ISCalander->SetText("10/02/2026");
  PressEnter(tb->ISCalander);
  EXPECT_EQ(std::pair(tb->ScrollShown(), tb->ScrollValue()), std::pair(false, 0));
}

// The income statement is read to its end from the keyboard alone: Tab from the date boxes
// reaches its bar, whose Down key moves the view to the last row, and Up back.
TEST_F(StatementWindowTest, KeysScrollTheIncomeStatementToItsLastRow) {
  books = ShopBook(60);
  auto is = Open<IncomeStatementWindow>(12000, 5000);
  is->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(is.get()));
  is->DateSearch[0]->DateX()->setFocus(Qt::TabFocusReason);
  QStringList stops;
  for (int i = 0; i < 8 && QApplication::focusWidget() != is->VScroll1; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    stops << QApplication::focusWidget()->objectName();
  }
  ASSERT_EQ(QApplication::focusWidget(), is->VScroll1) << stops.join(" ").toStdString();
  ASSERT_TRUE(is->ScrollShown());
  const double viewHeight = PixelsToTwips(is->Canvas()->height());
  for (int i = 0; i < 200 && is->ScrollValue() < is->ScrollMax(); ++i)
    QTest::keyClick(is->VScroll1, Qt::Key_Down);
  QTest::keyClick(is->VScroll1, Qt::Key_Down);
  EXPECT_EQ(is->ScrollValue(), is->ScrollMax());
  EXPECT_LE(is->Drawing().DrawnHeight - is->ScrollValue(), viewHeight + 1);
  QTest::keyClick(is->VScroll1, Qt::Key_Up);
  EXPECT_EQ(is->ScrollValue(), is->ScrollMax() - 240);
}

TEST_F(StatementWindowTest, PointingReadsARowOutAndAStillClickOpensItsLedger) {
  books = ShopBook(40);
  auto is = Open<IncomeStatementWindow>(12000, 5000);
  is->SubAccountsItem()->trigger();  // Sales Online on a row of its own
  ASSERT_GE(is->Drawing().Rows.size(), 3u);
  const int online = 1;  // the revenue rows: Sales, Sales Online
  Mouse(*is, QEvent::MouseMove, RowY(*is, online));
  EXPECT_EQ(std::pair(is->P->text(), is->Canvas()->cursor().shape()),
            std::pair(QString("410.5 / Sales Online"), Qt::WhatsThisCursor));
  Mouse(*is, QEvent::MouseMove, 2);
  EXPECT_EQ(std::pair(is->P->text(), is->Canvas()->cursor().shape()),
            std::pair(QString(), Qt::ArrowCursor));
  ClickAt(*is, RowY(*is, online), Qt::LeftButton);
  ClickAt(*is, RowY(*is, 0), Qt::RightButton);
  using Opened = std::tuple<LedgerLink, std::string, std::string>;
  EXPECT_EQ(opened, (std::vector<Opened>{{LedgerLink::RunningBalance, "Sales Online", "01/03/2026"},
                                         {LedgerLink::TAccount, "Sales", "01/03/2026"}}));
  // A move between press and release, the middle button, or a release dragged above the
  // window open nothing.
  opened.clear();
  Mouse(*is, QEvent::MouseButtonPress, RowY(*is, 0), Qt::LeftButton);
  Mouse(*is, QEvent::MouseMove, RowY(*is, 0) + 1);
  Mouse(*is, QEvent::MouseButtonRelease, RowY(*is, 0), Qt::LeftButton);
  ClickAt(*is, RowY(*is, 0), Qt::MiddleButton);
  Mouse(*is, QEvent::MouseButtonPress, RowY(*is, 0), Qt::LeftButton);
  Mouse(*is, QEvent::MouseButtonRelease, -40, Qt::LeftButton);
  EXPECT_TRUE(opened.empty());
  // Scrolled to the end, the rows in view answer where they are shown.
  is->SetScrollValue(is->ScrollMax());
  const int last = static_cast<int>(is->Drawing().Rows.size()) - 1;
  Mouse(*is, QEvent::MouseMove, RowY(*is, last));
  EXPECT_EQ(is->P->text(), "639 / Expense 39");
  ClickAt(*is, RowY(*is, last), Qt::LeftButton);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(std::get<1>(opened[0]), "Expense 39");
}

TEST_F(StatementWindowTest, TogglesRestoreTheStatementAndTheLayoutOnlyRedraws) {
  auto bs = Open<BalanceSheetWindow>();
  const int rows = bs->Statement().AccountRowCount();
  bs->SubAccountsItem()->trigger();
  bs->SubAccountsItem()->trigger();
  EXPECT_EQ(bs->Statement().AccountRowCount(), rows);
  EXPECT_EQ(bs->Ratio->text(), "Return on Equity : 18.00%");
  // The layout item draws the same figures again, in the other order, from the top.
  AddEntry(books, Day(2026, 2, 9), "late", {{100, 5}}, {{300, 5}});
  bs->SetScrollValue(100);
  const Amount capitalBefore = bs->Statement().CapitalTotal;
  bs->USA->trigger();
  EXPECT_EQ(std::tuple(bs->Statement().CapitalTotal, bs->Layout(), bs->ScrollValue()),
            std::tuple(capitalBefore, BalanceSheetLayout::kUnitedStates, 0));
  // Refresh computes again and shows the top.
  auto is = Open<IncomeStatementWindow>(12000, 3000);
  EXPECT_EQ(is->Ratio(0)->text() + " " + is->Ratio(1)->text(),
            "Gross Profit : 60.00% Net Profit : 60.00%");
  AddEntry(books, Day(2026, 2, 9), "more", {{100, 1000}}, {{410, 1000}});
  is->SetScrollValue(is->ScrollMax());
  QTest::mouseClick(is->Command1, Qt::LeftButton);
  EXPECT_EQ(std::pair(is->Statement().RevenueTotal, is->ScrollValue()), std::pair(Money(4000), 0));
}

TEST_F(StatementWindowTest, ActivationAfterTheBooksChangedComputesAgain) {
  auto tb = Open<TrialBalanceWindow>();
  const auto shown = [&] {
    std::string names;
    for (const TrialBalanceRow& row : tb->Statement().Rows)
      if (row.Shown()) names += row.Name + ";";
    return names;
  };
  EXPECT_EQ(shown(), "Bank;Capital;Sales;Stock;");
  // The stock purchase is deleted elsewhere: the stamp rises.
  books.PostingLines.resize(books.PostingLines.size() - 2);
  books.EntryNumbers.resize(books.PostingLines.size());
  RaiseBooksStamp(books);
  QApplication::setActiveWindow(tb.get());
  QEvent activation(QEvent::ActivationChange);
  QApplication::sendEvent(tb.get(), &activation);
  EXPECT_EQ(tb->ComputedStamp(), books.BooksStamp);
  EXPECT_EQ(shown(), "Bank;Capital;Sales;");
}

// Answers the print set-up once it shows: Print with `copies` at `size`, or Cancel.
void AnswerPrintSetup(int copies, const QString& size = "100%") {
  QTimer::singleShot(0, [copies, size] {
    auto* dialog = qobject_cast<Printformer*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    if (copies == 0) return dialog->Command2()->click();
    dialog->Copying()->setText(QString::number(copies));
    emit dialog->Copying()->textEdited(QString::number(copies));
    dialog->PxSize()->setEditText(size);
    dialog->Command1()->click();
  });
}

TEST_F(StatementWindowTest, PrintAsksForTheSetUpAndLeavesTheWindowAsItWas) {
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed; this prints to PDF";
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  books = ShopBook(40);
  auto is = Open<IncomeStatementWindow>(12000, 5000);
  is->SetScrollValue(300);
  const std::vector<StatementRowMark> rows = is->Drawing().Rows;
  const std::string path = TestOutputPath("income_statement_window.pdf");
  QFile::remove(QString::fromStdString(path));
  ScopedPdfFileAnswer answer([path] { return path; });
  // Cancel prints nothing and leaves the scale alone.
  session.PrintScale = 1.0f;
  AnswerPrintSetup(0);
  is->PrintItem()->trigger();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)) || session.PrintScale != 1.0f);
  // Three copies at half size, from the print picture.
  AnswerPrintSetup(3, "50%");
  ASSERT_TRUE(is->Button(0)->isVisible());
  QTest::mouseClick(is->Button(0), Qt::LeftButton);
  const std::vector<std::string> pages = PdfPageTexts(path);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0], pages[2]);
  EXPECT_NE(pages[0].find("Expense 39"), std::string::npos);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  EXPECT_TRUE(is->Drawing().Rows == rows && is->ScrollValue() == 300)
      << "the window still answers the pointer as before";
}

using Figures = std::vector<std::string>;

// A shop whose journal is 50 short of balancing (a debit without its credit).
Books OutputsBook() {
  Books books = BookWithChart({{"Bank", 100, kCurrentAsset},
                               {"Creditors", 200, kCurrentLiability},
                               {"Capital", 300, kCapital},
                               {"Sales <Online> & {Shop}", 410, kRevenue},
                               {"Stock", 500, kCostOfGoodsSold},
                               {"Wages", 600, kExpense}});
  books.BusinessName = "Acme & Sons";
  books.DateStyleIndex = kDdMmYyyySlash;
  books.TrialDecimals = books.IncomeDecimals = books.BalanceSheetDecimals = 2;
  AddEntry(books, Day(2026, 1, 5), "1", {{100, 10000}}, {{300, 10000}});
  AddEntry(books, Day(2026, 2, 1), "2", {{100, 3000}}, {{410, 3000}});
  AddEntry(books, Day(2026, 2, 9), "3", {{500, 1200}}, {{100, 1200}});
  AddEntry(books, Day(2026, 3, 1), "4", {{600, 500}}, {{200, 500}});
  AddEntry(books, Day(2026, 3, 2), "5", {{100, 50}}, {});
  return books;
}

// The figure a text shows (digits with grouping, decimals and parentheses, blanks around), or
// "" when it shows none.
std::string FigureOf(const std::string& text) {
  static const std::regex figure(R"( *(\(?[0-9][0-9,]*(\.[0-9]+)?\)?) *)");
  std::smatch match;
  return std::regex_match(text, match, figure) ? match[1].str() : "";
}

// The figures a window draws, sorted.
Figures WindowFigures(const StatementWindow& window) {
  Figures out;
  for (const DrawOp& op : window.Drawing().Ops)
    if (const auto* text = std::get_if<TextOp>(&op); text && !FigureOf(text->Text).empty())
      out.push_back(FigureOf(text->Text));
  std::sort(out.begin(), out.end());
  return out;
}

// Reads an XHTML page, failing the test when it is not well-formed; returns the figures of
// its table cells, sorted.
Figures PageFigures(const std::string& page) {
  QXmlStreamReader xml(QString::fromStdString(page));
  Figures out;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"td") {
      const auto cell = xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
      if (!FigureOf(cell).empty() && FigureOf(cell) == cell) out.push_back(cell);
    }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  std::sort(out.begin(), out.end());
  return out;
}

// The statement windows' Copy, Export and e-mail commands: what lands on the clipboard,
// which file types the dialog offers, the files written and the messages shown.
class StatementOutputsWindowTest : public StatementWindowTest {
 protected:
  StatementOutputsWindowTest() { books = OutputsBook(); }
  // Runs Export with the dialog answered by `path`, and returns the request it showed.
  FileDialogRequest Export(StatementWindow& window, const std::string& path) {
    FileDialogRequest shown;
    window.ChooseExportFile = [&](const FileDialogRequest& request) {
      shown = request;
      return path;
    };
    window.ExportItem()->trigger();
    return shown;
  }

  ScratchFolder folder;
};

TEST_F(StatementOutputsWindowTest, CopyPutsTheTrialBalanceAsTextAndRichTextTheOthersAsRichText) {
  auto tb = Open<TrialBalanceWindow>();
  ASSERT_TRUE(tb->CopyItem()->isVisible());
  QTest::mouseClick(tb->Button(2), Qt::LeftButton);
  EXPECT_EQ(ClipboardText(),
            "Bank\t11,850.00\r\nCreditors\t\t500.00\r\nCapital\t\t10,000.00\r\n"
            "Sales <Online> & {Shop}\t\t3,000.00\r\n"
            "Stock\t1,200.00\r\nWages\t500.00\r\n\t\t\r\nTotal\t13,550.00\t13,500.00\r\n");
  EXPECT_NE(ClipboardRtf().find("\\b TOTALS" + std::string(26 + 3, ' ') + "13,550.00   13,500.00"),
            std::string::npos)
      << "each total in its own column, as the window draws them";

  auto is = Open<IncomeStatementWindow>();
  is->CopyItem()->trigger();
  EXPECT_EQ(ClipboardText(), "") << "no plain text beside the income statement's rich text";
  EXPECT_NE(ClipboardRtf().find("\\b Net Profit"), std::string::npos);
}

TEST_F(StatementOutputsWindowTest, EachStatementsPageIsWellFormedAndShowsTheWindowsFigures) {
  auto tb = Open<TrialBalanceWindow>();
  auto is = Open<IncomeStatementWindow>();
  auto bs = Open<BalanceSheetWindow>();
  const std::pair<StatementWindow*, const char*> windows[] = {{tb.get(), "trial_balance.htm"},
                                                              {is.get(), "income_statement.htm"},
                                                              {bs.get(), "balance_sheet.htm"}};
  for (const auto& [window, name] : windows) {
    const std::string path = TestOutputPath(name);
    Export(*window, path);
    const std::string page = ScratchFolder::Read(path);
    EXPECT_NE(page.find("Acme &amp; Sons"), std::string::npos) << name;
    EXPECT_GE(WindowFigures(*window).size(), 5u) << name;
    EXPECT_EQ(PageFigures(page), WindowFigures(*window)) << name;
    // The rich text beside it, for a word processor to open.
    const std::string rtf = std::filesystem::path(path).replace_extension(".rtf").string();
    Export(*window, rtf);
    EXPECT_NE(RtfPlainText(ScratchFolder::Read(rtf)).find("Acme & Sons\n"), std::string::npos);
  }
  // The mail picture: a message with the exact subject whose page, in the United States
  // layout here, is well-formed with the window's figures.
  bs->USA->trigger();
  ASSERT_TRUE(bs->USA->isChecked());
  std::string written;
  ScopedEmailOpener opener([&](const std::string& path) {
    written = path;
    return true;
  });
  QTest::mouseClick(bs->Button(1), Qt::LeftButton);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(std::filesystem::path(written).filename().string().rfind("BalanceSheet", 0), 0u);
  std::string body;
  EXPECT_EQ(ReadWholeFile(written, body), 0);
  EXPECT_EQ(PageFigures(DecodedEmlBody(body)), WindowFigures(*bs));
  if (PythonAvailable()) {
    const auto message = ParseEmlWithPython(written);
    EXPECT_EQ(message.at("Subject"), "Acme & Sons,Financial Position Ending 02 March 2026");
    EXPECT_NE(message.at("body").find("Acme &amp; Sons"), std::string::npos);
  }
  std::filesystem::copy_file(written, TestOutputPath("balance_sheet_mail.eml"),
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::remove(written);
  EXPECT_EQ(fileErrors, std::vector<std::string>());
}

// A book whose names start with =, +, - and @ and hold quotes and letters beyond ASCII: a
// spreadsheet reads every name of the trial balance's CSV as text and every figure as shown,
// and a mail reader that allows no defect reads the message's subject and page as they are.
TEST_F(StatementOutputsWindowTest, AHostileBooksTrialBalanceIsReadAsShownBySpreadsheetAndMail) {
  books = HostileBook();
  books.TrialDecimals = 2;
  auto tb = Open<TrialBalanceWindow>();
  const std::string csv = TestOutputPath("hostile-trial-balance.csv");
  const std::string page = TestOutputPath("hostile-trial-balance.htm");
  const std::string eml = TestOutputPath("hostile-trial-balance.eml");
  for (const std::string& path : {csv, page, eml}) std::filesystem::remove(path);
  Export(*tb, csv);
  Export(*tb, page);
  std::string written;
  {
    ScopedEmailOpener opener([&](const std::string& path) { return written = path, true; });
    tb->EmailItem()->trigger();
  }
  ASSERT_FALSE(written.empty());
  std::filesystem::copy_file(written, eml);
  std::filesystem::remove(written);
  EXPECT_EQ(fileErrors, std::vector<std::string>());
  const std::string subject = std::string(kHostileBusinessName) + ", " +
                              TrialBalanceTitle(clock.Today(), UsEnglishLocale());
  // The clipboard's text marks the names as the CSV does.
  tb->CopyItem()->trigger();
  EXPECT_EQ(ClipboardText().substr(0, ClipboardText().find('\t')),
            "'=HYPERLINK(\"http://x.test/steal\";\"click me\")");
  if (!PythonAvailable()) GTEST_SKIP() << kNoPython;
  const auto table = ParseCsvWithPython(csv);
  ASSERT_FALSE(table.empty()) << "csv module failed";
  EXPECT_EQ(table.at("bom"), "1");
  EXPECT_FALSE(table.contains("live")) << table.at("live");
  const std::vector<std::vector<std::string>> rows = {
      {"'=HYPERLINK(\"http://x.test/steal\";\"click me\")", "1,250.50", ""},
      {"'+cmd|' /C calc'!A0", "300.00", ""},
      {"'-Drawings \"owner\"", "49.50", ""},
      {"'@SUM(1+1)*cmd|' /C calc'!A0", "", "1,000.00"},
      {"Caf\u00e9 \u00fcber \u4e2d\u6587, \"Sales\"", "", "600.00"},
      {"", "", ""},
      {"Total", "1,600.00", "1,600.00"}};
  EXPECT_EQ(CsvRowsOf(table.at("row")), rows);
  const auto message = ParseEmlStrictlyWithPython(eml);
  ASSERT_FALSE(message.empty()) << "the strict policy refused the message";
  EXPECT_EQ(message.at("defects"), "0");
  EXPECT_EQ(message.at("Subject"), subject);
  EXPECT_EQ(message.at("html"), ScratchFolder::Read(page));
  EXPECT_EQ(message.at("encoding"), "base64");
  EXPECT_EQ(message.at("fields"),
            "Subject,X-Mailer,MIME-Version,X-Unsent,X-MimeOLE,Content-Type,"
            "Content-Transfer-Encoding");
  EXPECT_LE(std::stoi(message.at("longest")), 78);
}

TEST_F(StatementOutputsWindowTest, ExportOffersTheStatementsTypesAndTellsAFailureOnce) {
  auto tb = Open<TrialBalanceWindow>();
  EXPECT_EQ(Export(*tb, folder.Path("report.htm")).defaultType, "xls");
  EXPECT_TRUE(FileExists(folder.Path("report.htm")));
  // Cancelled: nothing written, nothing said. Blocked: one message, the old file kept.
  Export(*tb, "");
  const std::string blocked = folder.File("blocked");
  Export(*tb, blocked + "/tb.xls");
  ASSERT_EQ(fileErrors.size(), 1u);
  EXPECT_NE(fileErrors[0].find("not changed"), std::string::npos) << fileErrors[0];
  EXPECT_EQ(ScratchFolder::Read(blocked), "x");
  // The balance sheet offers rich text only once switched to the United States layout.
  auto bs = Open<BalanceSheetWindow>();
  EXPECT_EQ(Export(*bs, "").patterns, (std::vector<std::string>{"*.rtf", "*.xls", "*.htm"}));
  bs->USA->trigger();
  EXPECT_EQ(Export(*bs, "").patterns, std::vector<std::string>{"*.rtf"});
}

// Each statement's Export opens the file dialog on its preset type, whatever the order of its
// list, lists only files of that type, and writes the type shown whatever extension is
// typed: the balance sheet on "*.xls" in the standard layout, whose list starts with "*.rtf",
// and on "*.rtf" in the United States layout.
TEST_F(StatementOutputsWindowTest, ExportOpensOnThePresetTypeAndWritesTheTypeShown) {
  PromptAnswerer prompts;  // no message expected
  for (const char* file : {"old.rtf", "old.xls", "old.htm", "old.csv"}) folder.File(file);
  auto tb = Open<TrialBalanceWindow>();
  auto is = Open<IncomeStatementWindow>();
  auto bs = Open<BalanceSheetWindow>();
  // The type shown as the dialog opens, and whether it lists a file of another type.
  const auto exportThrough = [&](StatementWindow& window, const std::string& name) {
    std::string shown;
    bool othersListed = false;
    WhenModalShows<FileDialog>([&](FileDialog& dialog) {
      // Into the folder first, as a typed path leads there, then the name.
      for (const std::string& text : {folder.Path() + "/", name + ".htm"}) {
        dialog.NameBox()->setText(QString::fromStdString(text));
        emit dialog.NameBox()->textEdited(dialog.NameBox()->text());
        if (text.back() == '/') {
          dialog.AcceptButton()->click();
          shown = dialog.TypeList()->currentText().toStdString();
          for (int i = 0; i < dialog.FileList()->count(); ++i)
            othersListed = othersListed ||
                           !dialog.FileList()->item(i)->text().endsWith(shown.substr(1).c_str());
        }
      }
      dialog.AcceptButton()->click();
    });
    window.ExportItem()->trigger();
    return shown + (othersListed ? " and files of other types" : "");
  };
  EXPECT_EQ(exportThrough(*tb, "tb"), "*.xls");
  EXPECT_EQ(exportThrough(*is, "is"), "*.xls");
  EXPECT_EQ(exportThrough(*bs, "bs"), "*.xls");
  bs->USA->trigger();
  EXPECT_EQ(exportThrough(*bs, "us"), "*.rtf");
  for (const char* name : {"tb.xls", "is.xls", "bs.xls"})
    EXPECT_FALSE(CellMap(folder.Path(name)).empty()) << name;
  EXPECT_NE(RtfPlainText(ScratchFolder::Read(folder.Path("us.rtf"))).find("Acme & Sons"),
            std::string::npos);
  EXPECT_EQ(folder.EntryCount(), 8u) << "no .htm written";
  EXPECT_EQ(fileErrors, std::vector<std::string>());
}

// The largest amount posted twice: no statement adds up, and none is handed on as an empty
// one. Each command says why and writes nothing: no file, no message, no clipboard.
TEST_F(StatementOutputsWindowTest,
       AStatementTooLargeToAddUpIsNeitherExportedCopiedMailedNorPrinted) {
  for (int i = 0; i < 2; ++i) AddEntry(books, Day(2026, 2, 20), "9", {{100, 1}}, {{410, 1}});
  for (std::size_t i = books.PostingLines.size() - 4; i < books.PostingLines.size(); ++i)
    books.PostingLines[i].Amount = Amount::Max();
  auto tb = Open<TrialBalanceWindow>();
  auto is = Open<IncomeStatementWindow>();
  auto bs = Open<BalanceSheetWindow>();
  int mails = 0;
  ScopedEmailOpener opener([&](const std::string&) { return ++mails > 0; });
  PromptAnswerer prompts;
  for (StatementWindow* window : std::vector<StatementWindow*>{tb.get(), is.get(), bs.get()}) {
    EXPECT_EQ(window->StatusText().toStdString(), StatementOverflowMessage());
    SetClipboardText("kept");
    for (int i = 0; i < 4; ++i) prompts.Then(PromptAnswer::Ok);
    window->CopyItem()->trigger();
    EXPECT_EQ(Export(*window, folder.Path("statement.htm")).patterns, std::vector<std::string>())
        << "no file dialog";
    window->EmailItem()->trigger();
    window->PrintItem()->trigger();
    EXPECT_EQ(ClipboardText(), "kept");
  }
  const std::string tooLarge = "The amounts of this statement are too large to add up, so ";
  std::vector<std::string> expected;
  for (int w = 0; w < 3; ++w)
    for (const char* notDone : {"it was not copied.", "it was not exported.",
                                "no message was written.", "it was not printed."})
      expected.push_back(tooLarge + notDone);
  EXPECT_EQ(prompts.Texts(), expected);
  EXPECT_EQ(mails, 0);
  EXPECT_EQ(folder.EntryCount(), 0u);
  EXPECT_EQ(fileErrors, std::vector<std::string>());
}

TEST_F(StatementOutputsWindowTest, EachBalanceSheetCopiesItsOwnProfitAfterOtherStatements) {
  auto february = Open<BalanceSheetWindow>();
  february->ISCalander->SetText("01/02/2026");
  february->Recompute();
  auto march = Open<BalanceSheetWindow>();  // the last posting day: 3,000 - 1,200 - 500
  auto is = Open<IncomeStatementWindow>();
  is->DateSearch[1]->SetText("09/02/2026");
  is->Recompute();
  ASSERT_EQ(session.NetProfit, Money(1800));

  const auto profitLine = [](const std::string& amount) {
    return "PROFIT / LOSS" + std::string(17, ' ') + std::string(12 - amount.size(), ' ') + amount;
  };
  february->CopyItem()->trigger();
  EXPECT_NE(ClipboardRtf().find(profitLine("3,000.00")), std::string::npos) << ClipboardRtf();
  march->CopyItem()->trigger();
  EXPECT_NE(ClipboardRtf().find(profitLine("1,300.00")), std::string::npos) << ClipboardRtf();
}

}  // namespace
}  // namespace qv::testing
