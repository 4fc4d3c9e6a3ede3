#include "accounts/configuration_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "accounts/move_accounts_dialog.h"
#include "controls/help_window.h"
#include "tests/accounts/layout_check_qt.h"
#include "tests/support/book_builder.h"
#include "tests/support/prompt_answerer.h"

namespace qv::testing {
namespace {

class ConfigurationWindowTest : public ::testing::Test {
 protected:
  // The window goes before the books it edits.
  void TearDown() override {
    if (TheHelpDesk().IsOn() && window) window->HelpContents->trigger();
    delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void Open() {
    window = new QVMainsettings(
        books, locale, Day(2026, 3, 5), fonts, [this] { ++changes; }, nullptr);
    window->show();
  }

  Books books = BookWithChart({});
  LocaleInfo locale = UsEnglishLocale();
  std::vector<FontFacts> fonts = {{"Sans", false, true, {0, 186, 238, 162, 161}},
                                  {"Greek Face", false, true, {161}},
                                  {"Dingbats", true, true, {}}};
  QPointer<QVMainsettings> window;
  int changes = 0;
};

TEST_F(ConfigurationWindowTest, OpeningShowsTheBookAndChangesNoneOfIt) {
  books.FontName = "Sans";
  books.FontCharset = 186;
  books.BusinessAddress = "1 Quay St\r\nPort Town";
  books.DateStyleIndex = 5;
  books.IncomeDecimals = 3;
  const Books before = books;
  locale.DecimalSymbol = ",";
  Open();
  EXPECT_EQ(books.FontCharset, 186);
  EXPECT_EQ(window->Combo1->currentText() + " " + window->Combo2->currentText(), "Baltic Sans");
  EXPECT_EQ(window->Combo2->count(), 2);  // no symbol font
  EXPECT_EQ(window->BusAddress->toPlainText(), "1 Quay St\nPort Town");
  EXPECT_EQ(window->DateStyle->currentText(), "03/05/26");
  EXPECT_EQ(window->DateStyle->itemText(0) + " " + window->DateStyle->itemText(8),
            "Default 03-05-2026");
  EXPECT_TRUE(window->DecimalPlacing[3][3]->isChecked());
  EXPECT_EQ(window->DecimalPlacing[0][2]->text() + " " + window->DecimalPlacing[0][0]->text(),
            "0,00 0");
  EXPECT_EQ(std::pair(books.BusinessAddress, changes), std::pair(before.BusinessAddress, 0));
  ExpectNoOverlap(ClientOf(window));
  ExpectWholeCaptions(ClientOf(window));
}

TEST_F(ConfigurationWindowTest, EveryControlWritesTheBookAtOnce) {
  books.AdminPassword = "boss";
  books.FontName = "Sans";
  Open();
  window->AdminPass->setFocus();
  window->AdminPass->selectAll();
  QTest::keyClick(window->AdminPass, Qt::Key_Backspace);
  EXPECT_EQ(books.AdminPassword, "");  // before OK
  window->EnterPassWord->insert(QString(100, 'p'));
  EXPECT_EQ(books.FilePassword.size(), 80u);
  window->Combo1->setCurrentIndex(window->Combo1->findText("Baltic"));
  emit window->Combo1->activated(window->Combo1->currentIndex());
  EXPECT_EQ(books.FontCharset, 186);
  window->Combo2->setCurrentIndex(window->Combo2->findText("Greek Face"));
  emit window->Combo2->activated(window->Combo2->currentIndex());
  EXPECT_EQ(std::pair(books.FontName, books.FontCharset),
            std::pair(std::string("Greek Face"), int16_t{161}));
  EXPECT_EQ(window->Combo1->count(), 1);
  EXPECT_EQ(window->Bname->font().family(), "Greek Face");
  QTest::mouseClick(window->Aincress, Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(books.AutoTrackingNumbers, 0);
  EXPECT_GT(changes, 0);
  window->OKu->click();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ConfigurationWindowTest, InHelpModeTheFieldsShowTheirCardsAndTheBoxStillActs) {
  Open();
  window->HelpContents->trigger();
  ASSERT_TRUE(TheHelpDesk().IsOn());
  QTest::mouseClick(window->Bname, Qt::LeftButton);
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Business Name :");
  QTest::mouseClick(window->AdminPass, Qt::LeftButton);
  EXPECT_EQ(TheHelpDesk().Window()->Text().left(29), "Only the last ten entries can");
  QTest::mouseClick(window->Aincress, Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(TheHelpDesk().Window()->Title(), "Generate Tracking Numbers... ");
  EXPECT_EQ(books.AutoTrackingNumbers, 0);
}

TEST(MoveAccountsTest, ATextNamingNoAccountAsksNothingAndKeepsTheWindowOpen) {
  PromptAnswerer prompts;  // no question may be asked
  Books books = BookWithChart({{"Cash", 110, 0}, {"Bank", 120, 0}});
  MoveAccounts dialog(books, UsEnglishLocale(), {});
  dialog.show();
  EXPECT_EQ(dialog.A1->count(), 14);  // every slot, free ones as blank items
  dialog.A2->setEditText("Bank");
  for (const char* from : {"Cas", ""}) {
    dialog.A1->setEditText(from);
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible()) << from;
  }
  ExpectNoOverlap(&dialog);
  ExpectWholeCaptions(&dialog);
}

}  // namespace
}  // namespace qv::testing
