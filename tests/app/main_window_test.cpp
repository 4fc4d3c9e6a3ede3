// The main window's entry boxes as a user edits them, its old entries, and the file that
// Save writes.

#include "app/main_window.h"

#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// The small book (entries A1 at lines 0-1, A10 at 2-4, B7 at 5-6) in an active window.
class EntryBoxesTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(SmallBook()); }
};

// The user never sees an amount the books do not hold; Ctrl+A selects the whole amount.
TEST_F(EntryBoxesTest, AnAmountBoxStoresWhatIsTypedAndShowsTheStoredAmountWhenLeft) {
  w->ScrollAcc->SetValue(5);  // B7: Bank 10 / Sales 10
  QLineEdit* amount = w->DebitAmountText(0);
  Focus(amount);
  TypeKeys("1,234.5-a");  // a minus sign and letters never reach the box
  EXPECT_EQ(amount->text(), "1,234.5");
  EXPECT_EQ(Line(5).Amount, Money(1234.5));
  EXPECT_EQ(Status(), "Debit : 1,234.50     Credit : 10.00     Balance : 1,224.50  ");
  Press(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(amount->selectedText(), "1,234.5");
  amount->end(false);
  TypeKeys(".6");
  EXPECT_EQ(Line(5).Amount, Money(1234.5));
  Press(Qt::Key_Tab);
  EXPECT_EQ(amount->text(), "1234.5");
  // Pasted text that is no amount, a negative one included, leaves the amount as it was.
  Focus(amount);
  for (auto [pasted, stored] : {std::pair{"abc", 1234.5}, {"-50", 1234.5}, {"20", 20.0}}) {
    QApplication::clipboard()->setText(pasted);
    amount->selectAll();
    amount->paste();
    EXPECT_EQ(Line(5).Amount, Money(stored)) << pasted;
  }
}

// The message stays while the user goes on through the row (the key that left the box comes
// up in the account list) and goes once the folio is corrected.
TEST_F(EntryBoxesTest, AnUnknownFolioIsReportedOnLeavingUntilItIsCorrected) {
  w->ScrollAcc->SetValue(5);
  Focus(w->CreditFolio(0));
  TypeKeys("999a");
  EXPECT_EQ(w->CreditFolio(0)->text(), "999");
  EXPECT_EQ(w->CreditAccName(0)->currentText(), "");
  Press(Qt::Key_Tab);
  ASSERT_EQ(Focused(), w->CreditAccName(0));
  EXPECT_EQ(Status(), "999 : This account does not exists...");
  Press(Qt::Key_Tab);
  TypeKeys("7");
  EXPECT_EQ(Status(), "999 : This account does not exists...");
  Focus(w->CreditFolio(0));
  TypeKeys("400");
  EXPECT_EQ(w->CreditAccName(0)->currentText(), "Sales");
  EXPECT_EQ(Status(), "");
}

TEST_F(EntryBoxesTest, OldEntriesAreReadOnlyLookItTakeNoSumAndCanStillBeReconciled) {
  // Fifty two-line entries: with LastLineIndex 99 the entries from line 69 on are editable.
  books() = BookWithChart({{"Cash", 110, 0}});
  for (int i = 0; i < 50; ++i)
    AddEntry(books(), Day(2026, 1, 1), std::to_string(i), {{110, 1}}, {{110, 1}}, "E");
  books().AdminPassword = "boss";
  Line(1).Amount = Money(0);  // a sum would fill it
  w->ScrollAcc->SetValueMax(books().LastLineIndex());
  w->ScrollAcc->SetValue(68);
  EXPECT_FALSE(w->JournalID->isEnabled());
  for (int row = 0; row < w->RowCount(); ++row) EXPECT_FALSE(w->CreditFolio(row)->isEnabled());
  const QImage date = w->Datetext->DateX()->grab().toImage();
  const QImage number = w->JournalID->grab().toImage();
  EXPECT_EQ(date.pixelColor(date.width() - 5, 3), number.pixelColor(number.width() - 5, 3));
  w->ScrollAcc->SetValue(0);
  w->SumEntry();
  EXPECT_FALSE(w->CalcCompound->isVisibleTo(w));
  w->CalcCompound_Click();
  EXPECT_EQ(Line(1).Amount, Money(0));
  QTest::mouseClick(w->Rr, Qt::LeftButton);
  EXPECT_EQ(Line(1).Reconciled, 1);
  w->ScrollAcc->SetValue(70);
  EXPECT_TRUE(w->DebitFolio(0)->isEnabled());
}

// After a copy in another form, a plain Save still writes the book file it was opened from.
TEST_F(EntryBoxesTest, OnlyABookFileIsTheTargetOfSave) {
  const std::string copy = (p.folder / "in.a.folder" / "copy.csv").string();
  std::filesystem::create_directories(p.folder / "in.a.folder");
  p.answers = {copy};
  w->MenuItem("SaveFile(1)")->trigger();
  EXPECT_FALSE(ScratchFolder::Read(copy).empty());
  EXPECT_EQ(p.app->TheSession().LastFilePath, path);
  books().BusinessName = "Changed";
  w->MenuItem("SaveFile(0)")->trigger();
  EXPECT_EQ(ReadBook(path, "acc", Day(2026, 1, 1)).Book->BusinessName, "Changed");
  // A book opened from its text form has no book file: Save asks for one.
  p.app->TheSession().ChosenFileName = WriteBookFile(p.folder / "other.txt", SmallBook());
  ASSERT_TRUE(w->LoadAccFile(1));
  p.answers = {(p.folder / "other.acc").string()};
  p.requests.clear();
  w->MenuItem("SaveFile(0)")->trigger();
  ASSERT_EQ(p.requests.size(), 1u);
  EXPECT_EQ(p.app->TheSession().LastFilePath, (p.folder / "other.acc").string());
}

}  // namespace
}  // namespace qv::testing
