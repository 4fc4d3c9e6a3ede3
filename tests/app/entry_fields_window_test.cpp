// The entry's input fields in the main window: what the keys type, what each box stores
// as the user edits it, and what the window shows in return.

#include <QAbstractItemView>

#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) with a sub-account
// Petty Cash 110.1, opened from the command line in an active window.
class EntryFieldsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Books book = SmallBook();
    book.AccountNames[4] = "Petty Cash";
    book.AccountFolios[4] = Money(110.1);
    StartOn(book);
  }
  // Types `text` over the date box of the entry holding `line`, not leaving the box.
  QLineEdit* TypeDate(int line, const QString& text) {
    w->ScrollAcc->SetValue(line);
    QLineEdit* date = w->Datetext->DateX();
    Focus(date);
    date->selectAll();
    TypeKeys(text);
    return date;
  }
  void ExpectDates(int first, int last, DaySerial date) {
    for (int i = first; i <= last; ++i) EXPECT_EQ(Line(i).LineDate, date) << i;
  }
};

TEST_F(EntryFieldsWindowTest, TypedOrPastedAmountsAreStoredAndTotalledAtOnce) {
  w->ScrollAcc->SetValue(5);  // B7: Bank 10 / Sales 10
  QLineEdit* amount = w->DebitAmountText(0);
  Focus(amount);
  TypeKeys("1,234.5");
  EXPECT_EQ(Line(5).Amount, Money(1234.5));
  EXPECT_EQ(Status(), "Debit : 1,234.50     Credit : 10.00     Balance : 1,224.50  ");
  EXPECT_EQ(StatusColor(), QColor(255, 0, 0));
  // A minus sign, letters and Enter never reach the box.
  TypeKeys("-a");
  Press(Qt::Key_Return);
  EXPECT_EQ(amount->text(), "1,234.5");
  // Pasting with the mouse (the box's context menu) stores like typing; what is not an
  // amount, a negative one included, leaves the amount as it was.
  QClipboard* clipboard = QApplication::clipboard();
  for (auto [pasted, stored] : {std::pair{"abc", 1234.5}, {"-50", 1234.5}, {"20", 20.0}}) {
    clipboard->setText(pasted);
    amount->selectAll();
    amount->paste();
    EXPECT_EQ(Line(5).Amount, Money(stored)) << pasted;
  }
  // Ctrl+V passes the key filter and pastes too.
  clipboard->setText("10");
  amount->selectAll();
  Press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Line(5).Amount, Money(10));
  EXPECT_EQ(Status(), "Debit : 10.00     Credit : 10.00");
  // An emptied box stores 0.
  amount->selectAll();
  Press(Qt::Key_Backspace);
  EXPECT_EQ(Line(5).Amount, Money(0));
}

TEST_F(EntryFieldsWindowTest, AFolioNamesItsAccountAndAnUnknownOneIsReportedOnLeaving) {
  w->ScrollAcc->SetValue(0);  // A1: Cash / Sales
  QLineEdit* folio = w->DebitFolio(0);
  Focus(folio);
  TypeKeys("110-1a");
  EXPECT_EQ(folio->text(), "110-1") << "letters never reach a folio box";
  EXPECT_EQ(Line(0).LineFolio, Money(110.1));
  EXPECT_EQ(w->DebitAccName(0)->currentText(), "Petty Cash");
  folio->selectAll();
  TypeKeys("999");
  EXPECT_EQ(Line(0).LineFolio, Money(999));
  EXPECT_EQ(w->DebitAccName(0)->currentText(), "");
  w->SetStatus("before", kRed);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Status(), "999 : This account does not exists...");
  EXPECT_EQ(StatusColor(), QColor(255, 0, 0)) << "the colour stays";
  // An emptied box stores folio 0 and says nothing on leaving.
  Focus(folio);
  Press(Qt::Key_Backspace);
  EXPECT_EQ(Line(0).LineFolio, Money(0));
  w->SetStatus("before", kBlack);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Status(), "before");
}

TEST_F(EntryFieldsWindowTest, TypeAheadKeepsTheKeyboardInTheListAndTakesTheAccountAtOnce) {
  w->ScrollAcc->SetValue(5);  // B7: Bank / Sales
  QComboBox* name = w->DebitAccName(0);
  Focus(name);
  TypeKeys("ca");
  EXPECT_EQ(name->currentText(), "Cash");
  EXPECT_EQ(name->lineEdit()->selectedText(), "sh") << "the rest of the name is selected";
  EXPECT_EQ(Focused(), name);
  EXPECT_FALSE(name->view()->isVisible()) << "no list opens to take the keys";
  EXPECT_EQ(Line(5).LineFolio, Money(110)) << "taken at once, before leaving the list";
  EXPECT_EQ(w->DebitFolio(0)->text(), "110");
  // A key that continues no name is dropped; Left and Right are cancelled.
  TypeKeys("x");
  EXPECT_EQ(name->currentText(), "Cash");
  const int caret = name->lineEdit()->cursorPosition();
  Press(Qt::Key_Left);
  EXPECT_EQ(name->lineEdit()->cursorPosition(), caret);
  // "p" finds the sub-account by its own first letters, case aside.
  name->lineEdit()->selectAll();
  TypeKeys("P");
  EXPECT_EQ(name->currentText(), "Petty Cash");
  EXPECT_EQ(Line(5).LineFolio, Money(110.1));
  EXPECT_EQ(w->DebitFolio(0)->text(), "110.1");

  // Releasing a key in a credit list shows "Credit " in red; in a debit list it makes the
  // line black.
  Focus(w->CreditAccName(0));
  Press(Qt::Key_Shift);
  EXPECT_EQ(Status(), "Credit ");
  EXPECT_EQ(StatusColor(), QColor(255, 0, 0));
  Focus(name);
  Press(Qt::Key_Shift);
  EXPECT_EQ(StatusColor(), QColor(0, 0, 0));

  // A choice with the mouse in the open list stores the folio and names the debit.
  name->showPopup();
  QAbstractItemView* view = name->view();
  const QRect item = view->visualRect(view->model()->index(name->findText("Bank"), 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  EXPECT_FALSE(view->isVisible());
  EXPECT_EQ(Line(5).LineFolio, Money(120));
  EXPECT_EQ(w->DebitFolio(0)->text(), "120");
  EXPECT_EQ(Status(), "Debit Bank");
}

TEST_F(EntryFieldsWindowTest, TheDateBoxTakesOnlyDateKeysAndStoresTheTypedDateOnLeaving) {
  QLineEdit* date = TypeDate(2, "4.1");  // A10, lines 2-4
  EXPECT_EQ(date->text(), "41") << "a point never appears in the box";
  date->selectAll();
  TypeKeys("4/1/2026");
  Press(Qt::Key_Tab);
  ExpectDates(2, 4, Day(2026, 4, 1));
  EXPECT_EQ(Line(1).LineDate, Day(2026, 3, 1));
  EXPECT_EQ(Line(5).LineDate, Day(2026, 3, 3));
  EXPECT_EQ(w->Datetext->Text(), "4/1/26");

  // Text that is no date: "Invalid Date", and today for every line of the entry.
  PromptAnswerer prompts;
  prompts.Then(PromptAnswer::Ok);
  TypeDate(2, "13/45/26");
  Press(Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Invalid Date"});
  ExpectDates(2, 4, Day(2026, 3, 15));
  EXPECT_EQ(w->Datetext->Text(), "3/15/26");
}

TEST_F(EntryFieldsWindowTest, ADateBoxLeftUneditedOrForAnotherWindowStoresNothing) {
  // A date that the short style shows with a two-digit year outside the century around
  // today: reading the shown text back would give 2050.
  Line(0).LineDate = Line(1).LineDate = Day(1950, 6, 1);
  w->ScrollAcc->SetValue(0);
  QLineEdit* date = w->Datetext->DateX();
  EXPECT_EQ(date->text(), "6/1/50");
  Focus(date);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Line(0).LineDate, Day(1950, 6, 1));

  // Switching to another program, or to another window of this one, leaves the typed text in
  // the box, uncommitted, until the box is left.
  TypeDate(5, "5/5/2026");
  QApplication::setActiveWindow(nullptr);
  QApplication::processEvents();
  EXPECT_EQ(Line(5).LineDate, Day(2026, 3, 3));
  Activate(w);
  EXPECT_EQ(Focused(), date);
  EXPECT_EQ(date->text(), "5/5/2026");
  QWidget other;
  Activate(&other);
  QApplication::processEvents();
  ExpectDates(5, 6, Day(2026, 3, 3));
  Activate(w);
  EXPECT_EQ(date->text(), "5/5/2026");
  Press(Qt::Key_Tab);
  ExpectDates(5, 6, Day(2026, 5, 5));

  // Opening the month grid stores nothing either, until the box is left.
  TypeDate(5, "7/7/2026");
  QTest::mouseClick(w->Datetext->CalanderButton(), Qt::LeftButton);
  EXPECT_TRUE(w->Datetext->IsOpen());
  QTest::mouseClick(w->Datetext->CalanderButton(), Qt::LeftButton);
  EXPECT_FALSE(w->Datetext->IsOpen());
  EXPECT_EQ(Line(5).LineDate, Day(2026, 5, 5));
  Focus(date);
  Press(Qt::Key_Tab);
  ExpectDates(5, 6, Day(2026, 7, 7));
}

TEST_F(EntryFieldsWindowTest, UpDownAndTheNextEntryButtonStoreTheTypedDateThenMoveOneEntry) {
  QLineEdit* date = TypeDate(2, "6/1/2026");
  Press(Qt::Key_Up);
  ExpectDates(2, 4, Day(2026, 6, 1));
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0);
  EXPECT_EQ(date->text(), "3/1/26") << "the box shows the entry now shown";
  EXPECT_EQ(Focused(), date);
  Press(Qt::Key_Up);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 0) << "the first entry stays";
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5);
  EXPECT_EQ(Line(0).LineDate, Day(2026, 3, 1)) << "passing through changes no date";

  TypeDate(2, "8/8/2026");
  QTest::mouseClick(w->PNPage[1], Qt::LeftButton);
  EXPECT_EQ(w->Screen().EntryFirstLine(), 5);
  ExpectDates(2, 4, Day(2026, 8, 8));
  EXPECT_EQ(Line(5).LineDate, Day(2026, 3, 3));
}

TEST_F(EntryFieldsWindowTest, NotesAreStoredOnTheEntrysLastLine) {
  w->ScrollAcc->SetValue(2);
  Focus(w->AccNote);
  TypeKeys("Paid in full");
  EXPECT_EQ(Line(4).Notes, "Paid in full");
  EXPECT_EQ(Line(2).Notes, "");
  w->AccNote->selectAll();
  Press(Qt::Key_Backspace);
  EXPECT_EQ(Line(4).Notes, "_") << "an entry without notes keeps its end marker";
  EXPECT_EQ(w->Screen().EntryLastLine(), 4);
}

TEST_F(EntryFieldsWindowTest, InHelpModeTheFieldsShowTheirCardsAndStillStoreWhatIsTyped) {
  w->ScrollAcc->SetValue(5);
  HelpMode(true);
  Focus(w->AccNote);
  EXPECT_EQ(HelpTitle(), "Notes");
  Focus(w->DebitAccName(0));
  EXPECT_EQ(HelpTitle(), "Account Name");
  Focus(w->CreditAmountText(0));
  EXPECT_EQ(HelpTitle(), "Amount");
  QTest::mouseClick(w->CreditFolio(0), Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "Account / Folio Number");
  QTest::mouseClick(w->Datetext->DateX(), Qt::LeftButton);
  EXPECT_EQ(HelpTitle(), "Date");
  EXPECT_NE(TheHelpDesk().Window()->Text().toStdString().find("dated"), std::string::npos);
  Focus(w->CreditAmountText(0));
  TypeKeys("25");
  EXPECT_EQ(Line(6).Amount, Money(25)) << "the fields keep storing in help mode";
}

}  // namespace
}  // namespace qv::testing
