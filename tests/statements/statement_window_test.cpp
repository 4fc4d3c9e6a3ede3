// The statement windows as a user meets them: dates, keys, scrolling, the read-out and the
// click-through into the ledgers, the toggles, and printing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <tuple>

#include "books/date_styles.h"
#include "controls/date_picker_control.h"
#include "controls/print_document_qt.h"
#include "controls/print_setup_dialog.h"
#include "controls/shared_printer_qt.h"
#include "platform/units.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_window.h"
#include "tests/statements/statement_window_fixture.h"
#include "tests/support/book_builder.h"
#include "tests/support/pdf_text.h"

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
  for (int k = 0; k < extra; ++k) {
    const double folio = 600 + k;
    const int index = 6 + k;
    if (index > books.LastAccountIndex) books.ResizeChart(index);
    const auto slot = static_cast<std::size_t>(index);
    books.AccountNames[slot] = "Expense " + std::to_string(k);
    books.AccountFolios[slot] = Money(folio);
    books.AccountTypes[slot] = kExpense;
    AddEntry(books, Day(2026, 3, 1), "e", {{folio, 10}}, {{100, 10}});
  }
  return books;
}

class StatementWindowTest : public StatementWindowFixture {
 protected:
  StatementWindowTest() : StatementWindowFixture(ShopBook()) {}

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
    return Px(w.Drawing().Rows[static_cast<std::size_t>(row)].Bottom - 100 - w.ScrollValue());
  }
  static void PressEnter(CalanderForm* box) { QTest::keyClick(box->DateX(), Qt::Key_Return); }
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
  EXPECT_EQ(tb->TrialDate(), Day(2026, 3, 15));
  EXPECT_EQ(tb->ISCalander->Text(), "15/03/2026");
  EXPECT_EQ(tb->StatusText(),
            "\"31/02/2026\" is not a date, so the statement stays as of 15 March 2026.");
  // Enter with a date computes for it, the status line clears.
  tb->ISCalander->SetText("01/01/2026");
  PressEnter(tb->ISCalander);
  EXPECT_EQ(tb->TrialDate(), Day(2026, 1, 1));
  EXPECT_EQ(tb->StatusText(), "");
  EXPECT_TRUE(tb->Drawing().Rows.empty());

  // A day picked in the income statement's drop-down computes too.
  auto is = Open<IncomeStatementWindow>();
  is->DateSearch[1]->SetText("01/02/2026");
  session.DatePicked = 1;
  emit is->DateSearch[1]->Click();
  EXPECT_EQ(session.DatePicked, 0);
  EXPECT_EQ(is->Statement().Period.IncomeToDate, Day(2026, 2, 1));
  EXPECT_EQ(is->Statement().CostOfGoodsSoldRows.size(), 0u);

  // The book's date style changed: the box shows its date in the new style.
  books.DateStyleIndex = kMmDdYyyySlash;
  PressEnter(tb->ISCalander);
  EXPECT_EQ(tb->ISCalander->Text(), "01/01/2026");
  EXPECT_EQ(tb->TrialDate(), Day(2026, 1, 1));
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
  tb->SetScrollValue(0);
  QTest::keyClick(tb->ISCalander->DateX(), Qt::Key_Up);
  EXPECT_EQ(tb->ScrollValue(), 0);
  QTest::keyClick(tb->ISCalander->DateX(), Qt::Key_Down);
  EXPECT_EQ(tb->ScrollValue(), 10);
  tb->SetScrollValue(tb->ScrollMax());
  QTest::keyClick(tb->ISCalander->DateX(), Qt::Key_Down);
  EXPECT_EQ(tb->ScrollValue(), tb->ScrollMax());
  // A resize while scrolled keeps the whole range.
  tb->resize(Px(12000), Px(4000));
  lastRowInView();
  // A date that leaves most rows out fits the window: the bar goes and the top shows.
  tb->resize(Px(12000), Px(8000));
  lastRowInView();
  tb->ISCalander->SetText("10/02/2026");
  PressEnter(tb->ISCalander);
  EXPECT_FALSE(tb->ScrollShown());
  EXPECT_EQ(tb->ScrollValue(), 0);
}

TEST_F(StatementWindowTest, PointingReadsARowOutAndAStillClickOpensItsLedger) {
  books = ShopBook(40);
  auto is = Open<IncomeStatementWindow>(12000, 5000);
  is->SubAccountsItem()->trigger();  // Sales Online on a row of its own
  ASSERT_GE(is->Drawing().Rows.size(), 3u);
  const int online = 1;  // the revenue rows: Sales, Sales Online
  Mouse(*is, QEvent::MouseMove, RowY(*is, online));
  EXPECT_EQ(is->P->text(), "410.5 / Sales Online");
  EXPECT_EQ(is->Canvas()->cursor().shape(), Qt::WhatsThisCursor);
  Mouse(*is, QEvent::MouseMove, 2);
  EXPECT_EQ(is->P->text(), "");
  EXPECT_EQ(is->Canvas()->cursor().shape(), Qt::ArrowCursor);

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
  EXPECT_TRUE(bs->Ratio->isVisible());

  // The layout item draws the same figures again, in the other order, from the top.
  AddEntry(books, Day(2026, 2, 9), "late", {{100, 5}}, {{300, 5}});
  bs->SetScrollValue(100);
  const Amount capitalBefore = bs->Statement().CapitalTotal;
  bs->USA->trigger();
  EXPECT_EQ(bs->Statement().CapitalTotal, capitalBefore);
  EXPECT_EQ(bs->Layout(), BalanceSheetLayout::kUnitedStates);
  EXPECT_EQ(bs->ScrollValue(), 0);

  // Refresh computes again and shows the top.
  auto is = Open<IncomeStatementWindow>(12000, 3000);
  EXPECT_EQ(is->Ratio(0)->text(), "Gross Profit : 60.00%");
  EXPECT_EQ(is->Ratio(1)->text(), "Net Profit : 60.00%");
  EXPECT_EQ(session.NetProfit, Money(1800));
  AddEntry(books, Day(2026, 2, 9), "more", {{100, 1000}}, {{410, 1000}});
  is->SetScrollValue(is->ScrollMax());
  QTest::mouseClick(is->Command1, Qt::LeftButton);
  EXPECT_EQ(is->Statement().RevenueTotal, Money(4000));
  EXPECT_EQ(is->ScrollValue(), 0);
  EXPECT_TRUE(is->Command1->isEnabled());
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
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);

  // Three copies at half size, from the print picture.
  AnswerPrintSetup(3, "50%");
  ASSERT_TRUE(is->Button(0)->isVisible());
  QTest::mouseClick(is->Button(0), Qt::LeftButton);
  const std::vector<std::string> pages = PdfPageTexts(path);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0], pages[2]);
  EXPECT_NE(pages[0].find("Expense 39"), std::string::npos);
  EXPECT_FLOAT_EQ(session.PrintScale, 1.0f);
  // The window still answers the pointer as before.
  EXPECT_EQ(is->Drawing().Rows, rows);
  EXPECT_EQ(is->ScrollValue(), 300);
}

}  // namespace
}  // namespace qv::testing
