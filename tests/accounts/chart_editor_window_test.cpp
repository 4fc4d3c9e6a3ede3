#include "accounts/chart_editor_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "controls/help_window.h"
#include "controls/print_document_qt.h"
#include "controls/shared_printer_qt.h"
#include "tests/accounts/layout_check_qt.h"
#include "tests/support/book_builder.h"
#include "tests/support/pdf_text.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

Books ChartOf(int count) {
  Books books = BookWithChart({});
  books.ResizeChart(count - 1);
  for (int k = 0; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    books.AccountNames[i] = "Account " + std::to_string(k);
    books.AccountFolios[i] = Folio::FromUnits(1000 + 10 * k);
  }
  return books;
}

class ChartEditorWindowTest : public ::testing::Test {
 protected:
  // The window goes before the books it edits.
  void TearDown() override {
    if (TheHelpDesk().IsOn() && editor) editor->HelpSelect->trigger();
    delete editor.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Open() {
    editor = new ConfigAccounts(books, session, locale, hooks, nullptr);
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    editor->activateWindow();
    QApplication::setActiveWindow(editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
  }
  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  QWidget* Focused() const { return QApplication::focusWidget(); }

  Books books = ChartOf(30);
  Session session;
  LocaleInfo locale = UsEnglishLocale();
  ChartEditorHooks hooks;
  QPointer<ConfigAccounts> editor;
};

TEST_F(ChartEditorWindowTest, ShowsEveryControlWholeAndApartAndKeysMoveThroughTheGrid) {
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  Open();
  ExpectNoOverlap(ClientOf(editor));
  ExpectWholeCaptions(ClientOf(editor));
  EXPECT_EQ(editor->CurrentAsset[kCostOfGoodsSold]->toolTip(), "Cost of Goods Sold");
  EXPECT_EQ(editor->Frame2->title(), "1 To 14 :");
  EXPECT_EQ(editor->ScrollAcc->maximum(), 16);
  // Enter and the arrows move through the grid and scroll it.
  ASSERT_EQ(Focused(), editor->RenameAccount[0]);
  Press(Qt::Key_Return);
  EXPECT_EQ(Focused(), editor->RenameAccount[1]);
  editor->Folio[12]->setFocus();
  Press(Qt::Key_Down);
  EXPECT_EQ(Focused(), editor->Folio[13]);
  Press(Qt::Key_Down);  // from the last row the grid moves and the row is selected again
  EXPECT_EQ(Focused(), editor->Folio[13]);
  EXPECT_EQ(std::pair(editor->ScrollAcc->value(), editor->Model().SelectedAccount()),
            std::pair(1, 14));
  EXPECT_EQ(editor->Folio[13]->text(), "1140");
  EXPECT_TRUE(editor->Folio[13]->font().bold());
  Press(Qt::Key_Return);  // Enter in the last row stays
  EXPECT_EQ(Focused(), editor->Folio[13]);
  // Only folio characters reach a folio box.
  editor->Folio[13]->selectAll();
  QTest::keyClicks(editor->Folio[13], "12a,b3-4");
  EXPECT_EQ(editor->Folio[13]->text(), "123-4");
  EXPECT_EQ(books.AccountFolios[14], Folio::FromRaw(1234000));
  // A pasted folio that is no number is reported on leaving and shown as kept.
  editor->ScrollAcc->setValue(0);
  editor->Folio[2]->setFocus();
  editor->Folio[2]->selectAll();
  editor->Folio[2]->insert("1.2.3");  // pasted: the key filter does not see it
  EXPECT_EQ(books.AccountFolios[2], Folio::FromUnits(1020));
  editor->RenameAccount[2]->setFocus();
  EXPECT_NE(prompts.Texts().at(0).find("keeps folio 1020"), std::string::npos);
  EXPECT_EQ(editor->Folio[2]->text(), "1020");
}

TEST_F(ChartEditorWindowTest, InHelpModeAClickStillActsAndTheAccountsMenuWorksFromTheGrid) {
  Open();
  editor->HelpSelect->trigger();
  ASSERT_TRUE(TheHelpDesk().IsOn());
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Chart of Accounts");
  editor->RenameAccount[4]->setFocus();
  QTest::mouseClick(editor->CurrentAsset[kRevenue], Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Operating Revenue");
  EXPECT_EQ(books.AccountTypes[4], kRevenue);
  EXPECT_EQ(Focused(), editor->RenameAccount[4]);
  QTest::mouseClick(editor->Folio[2], Qt::LeftButton);
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Account-ID Settings");
  EXPECT_EQ(editor->Model().SelectedAccount(), 2);
  editor->HelpSelect->trigger();
  EXPECT_FALSE(TheHelpDesk().IsOn());
  // The Accounts menu works while a grid box has the focus.
  editor->RenameAccount[3]->setFocus();
  EXPECT_TRUE(editor->AccountMenu->isEnabled());
  // Opening the menu with the mouse takes the focus for the menu only.
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(editor->RenameAccount[3], &popup);
  EXPECT_TRUE(editor->AccountMenu->isEnabled());
  editor->Insert_Account->trigger();
  EXPECT_EQ(books.AccountFolios[4], Folio::FromUnits(1032));
  editor->ANote->setFocus();
  EXPECT_FALSE(editor->AccountMenu->isEnabled());
  editor->Folio[5]->setFocus();
  Press(Qt::Key_D, Qt::ControlModifier);  // the next account moves up into its place
  EXPECT_EQ(std::pair(books.AccountNames[5], books.LastAccountIndex),
            std::pair(std::string("Account 5"), 29));
}

TEST_F(ChartEditorWindowTest, ClosingStaysOpenOnAFaultWithTheAccountInRedUntilItIsFixed) {
  int closed = 0;
  hooks.AfterClose = [&] { ++closed; };
  books.AccountFolios[20] = Folio::FromUnits(1030);  // the folio of account 3
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  Open();
  editor->ScrollAcc->setValue(10);
  editor->close();
  EXPECT_TRUE(editor->isVisible() && closed == 0);
  EXPECT_EQ(prompts.History().at(0).Request.Caption(), "Please Fix Now...");
  EXPECT_EQ(std::pair(editor->Folio[10]->palette().color(QPalette::Text),
                      editor->Folio[9]->palette().color(QPalette::Text)),
            std::pair(QColor(Qt::red), QColor(Qt::black)));
  editor->Folio[10]->setFocus();
  editor->Folio[10]->selectAll();
  QTest::keyClicks(editor->Folio[10], "1200");
  editor->close();
  EXPECT_TRUE(!editor->isVisible() && closed == 1);
}

TEST_F(ChartEditorWindowTest, TheSampleChartAsksBeforeItReplacesAChartInUse) {
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::No).Then(PromptAnswer::Yes);
  Open();
  editor->RenameAccount[1]->setFocus();
  editor->GChatA->trigger();
  EXPECT_EQ(books.AccountNames[0], "Account 0");
  editor->ANote->setFocus();
  editor->GChatA->trigger();
  EXPECT_EQ(books.AccountNames[0], "Cash at Bank");
  // No account is selected until a row is chosen, so no old text reaches a new account.
  EXPECT_TRUE(!editor->ANote->isEnabled() && editor->ANote->text().isEmpty());
  editor->RenameAccount[1]->setFocus();
  EXPECT_TRUE(editor->ANote->isEnabled() && editor->CurrentAsset[kCurrentAsset]->isChecked());
}

// The sample chart printed from the window, with the first account's name 147 characters
// long: on as many pages as with its own name, the name whole in its column in lines under
// its first, which holds the folio and the type.
TEST_F(ChartEditorWindowTest, TheListingPrintsALongNameWholeInItsColumnOnAsManyPages) {
  if (!PdfToolsAvailable()) GTEST_SKIP() << kNoPdfTools;
  if (!PrintsToFile(SharedPrinter())) GTEST_SKIP() << "a printer is installed; this prints to PDF";
  SharedPrinter().setPageSize(QPageSize(QPageSize::A4));
  SharedPrinter().setPageOrientation(QPageLayout::Portrait);
  const std::string longName =
      "Cash at Bank, Main Operating Account of the Harbour Street Branch, Held for Daily "
      "Receipts, Supplier Payments, Wages, Rent and Other Costs of Shops";
  ASSERT_EQ(longName.size(), 147u);
  ApplySampleChart(books);
  books.BusinessName = "Harbor Cafe";
  auto print = [&](const std::string& name) {
    const std::string pdf = TestOutputPath(name);
    QFile::remove(QString::fromStdString(pdf));
    const ScopedPdfFileAnswer answer([pdf] { return pdf; });
    Open();
    editor->PrintAccounts->trigger();
    editor->CloseWithoutChecks();
    delete editor.data();
    std::vector<std::string> lines;
    for (const std::string& page : PdfPageTexts(pdf)) {
      std::istringstream in(page);
      for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
    }
    return std::pair(PdfPageCount(pdf), lines);
  };
  const int pagesBefore = print("chart_listing_sample.pdf").first;
  books.AccountNames[0] = longName;
  const auto [pages, lines] = print("chart_listing_long_name.pdf");
  ASSERT_GE(pagesBefore, 1);
  EXPECT_EQ(pages, pagesBefore);
  // Slot 0 from the line starting with its folio to the next slot's.
  const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("100") || line.starts_with(" 100");
  });
  ASSERT_NE(first, lines.end());
  const auto next = std::find_if(first + 1, lines.end(), [](const std::string& line) {
    return line.find("Cash on Hand") != std::string::npos;
  });
  ASSERT_NE(next, lines.end());
  EXPECT_TRUE(first->ends_with("   Current Asset")) << *first;
  EXPECT_GE(next - first, 2);
  std::string name;
  for (auto line = first; line != next; ++line) {
    std::istringstream words(line == first ? line->substr(0, line->rfind("Current Asset")) : *line);
    for (std::string word; words >> word;) name += (name.empty() ? "" : " ") + word;
  }
  EXPECT_EQ(name, "100 " + longName);
}

}  // namespace
}  // namespace qv::testing
