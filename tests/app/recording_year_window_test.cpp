// A year of a small business recorded in the main window with the keyboard alone: twelve
// entries (sales, purchases, wages, rent, receipts, two three-line entries), each begun with
// Ctrl+N and filled by typing and Tab, saved with Ctrl+S, reopened with Ctrl+O, and found
// line by line as typed.

#include "books/date_styles.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// One row as the user types it: the folio, or (when no folio is typed) the first letters of
// the account's name in its list; then the amount ("" when the sum image fills it).
struct TypedRow {
  QString folio;
  QString nameKeys;
  QString amount;
  // What the line must hold.
  double expectFolio = 0;
  double expectAmount = 0;
};

struct TypedEntry {
  QString number;  // typed in lower case; the box keeps it in upper case
  QString date;
  std::vector<TypedRow> debits;
  std::vector<TypedRow> credits;
  QString notes;
  bool sumFillsCredit = false;  // the first credit amount comes from the sum image
  DaySerial expectDate = 0;
  QString expectTotal;  // as the status line writes it
};

TypedRow Folio(const char* folio, const char* amount, double value) {
  return {folio, "", amount, QString(folio).toDouble(), value};
}
TypedRow Name(const char* keys, double folio, const char* amount, double value) {
  return {"", keys, amount, folio, value};
}

std::vector<TypedEntry> TheYear() {
  return {
      {"inv101",
       "1/31/2026",
       {Folio("120", "1,250.50", 1250.5)},
       {Name("sa", 400, "1,250.50", 1250.5)},
       "Invoice 101 Harbor Cafe",
       false,
       Day(2026, 1, 31),
       "1,250.50"},
      {"p201",
       "2/28/2026",
       {Folio("500", "640", 640)},
       {Folio("110", "640", 640)},
       "Stock from Mills and Co",
       false,
       Day(2026, 2, 28),
       "640.00"},
      {"w301",
       "3/31/2026",
       {Folio("600", "2,000", 2000)},
       {Folio("110", "1,700", 1700), Folio("210", "300", 300)},
       "March wages",
       false,
       Day(2026, 3, 31),
       "2,000.00"},
      {"r102",
       "4/30/2026",
       {Name("ca", 110, "1,250.50", 1250.5)},
       {Name("acc", 120, "1,250.50", 1250.5)},
       "Harbor Cafe paid",
       false,
       Day(2026, 4, 30),
       "1,250.50"},
      {"inv102",
       "5/29/2026",
       {Folio("110", "980", 980)},
       {Folio("400", "980", 980)},
       "Counter sales May",
       false,
       Day(2026, 5, 29),
       "980.00"},
      {"p202",
       "6/30/2026",
       {Folio("500", "455.25", 455.25)},
       {Folio("110", "", 455.25)},
       "Stock",
       true,
       Day(2026, 6, 30),
       "455.25"},
      {"w302",
       "7/31/2026",
       {Folio("600", "1,500", 1500)},
       {Folio("110", "1,500", 1500)},
       "July wages",
       false,
       Day(2026, 7, 31),
       "1,500.00"},
      {"inv103",
       "8/31/2026",
       {Folio("120", "2,310", 2310)},
       {Folio("400", "2,310", 2310)},
       "Invoice 103 Bay Hotel",
       false,
       Day(2026, 8, 31),
       "2,310.00"},
      {"e401",
       "9/30/2026",
       {Folio("610", "900", 900)},
       {Folio("110", "900", 900)},
       "Rent September",
       false,
       Day(2026, 9, 30),
       "900.00"},
      {"r103",
       "10/30/2026",
       {Folio("110", "2,310", 2310)},
       {Folio("120", "2,310", 2310)},
       "Bay Hotel paid",
       false,
       Day(2026, 10, 30),
       "2,310.00"},
      {"p203",
       "11/30/2026",
       {Folio("500", "1,020.75", 1020.75)},
       {Folio("110", "1,020.75", 1020.75)},
       "Stock from Mills and Co",
       false,
       Day(2026, 11, 30),
       "1,020.75"},
      {"w303",
       "12/31/2026",
       {Folio("600", "1,500", 1500), Folio("610", "300", 300)},
       {Folio("110", "1,800", 1800)},
       "Wages and rent December",
       false,
       Day(2026, 12, 31),
       "1,800.00"},
  };
}

// The business's book before the year: its chart and the opening entry.
Books OpeningBook() {
  Books books = BookWithChart({{"Cash at Bank", 110, 0},
                               {"Accounts Receivable", 120, 0},
                               {"PAYG Withholding", 210, 1},
                               {"Capital", 300, 2},
                               {"Sales", 400, 3},
                               {"Purchases", 500, 4},
                               {"Wages", 600, 5},
                               {"Rent", 610, 5}});
  AddEntry(books, Day(2026, 1, 1), "OB", {{110, 10000}}, {{300, 10000}}, "Opening balance");
  return books;
}

class RecordingYearWindowTest : public MainWindowTest {
 protected:
  void SetUp() override { StartOn(OpeningBook()); }

  // The window system gives the keyboard back to the main window when the wait screen of a
  // save or an open closes; the offscreen test platform leaves that to the test.
  void BackToMainWindow() {
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  }

  // Presses Tab until `target` has the focus.
  void TabTo(QWidget* target) {
    for (int i = 0; i < 40 && Focused() != target; ++i) Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), target) << target->objectName().toStdString();
  }

  // Types a row from its folio box on: the folio, or the name's first letters in the list
  // after it, then the amount.
  void FillRow(bool debit, int row, const TypedRow& typed) {
    if (!typed.folio.isEmpty()) TypeKeys(typed.folio);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), debit ? w->DebitAccName(row) : w->CreditAccName(row));
    if (typed.folio.isEmpty()) TypeKeys(typed.nameKeys);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), debit ? w->DebitAmountText(row) : w->CreditAmountText(row));
    TypeKeys(typed.amount);
  }

  void Record(const TypedEntry& e) {
    Press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Focused(), w->JournalID);
    EXPECT_EQ(w->JournalID->selectedText(), w->JournalID->text());
    EXPECT_EQ(Status(), "The Accounts are balanced");
    TypeKeys(e.number);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), w->Datetext->DateX());
    TypeKeys(e.date);
    TabTo(w->DebitFolio(0));
    FillRow(true, 0, e.debits[0]);
    TabTo(w->CreditFolio(0));
    FillRow(false, 0, e.credits[0]);
    TabTo(w->AccNote);
    TypeKeys(e.notes);
    // Further rows come from the add-line images, reached with Tab and pressed with Space.
    for (const bool debit : {true, false}) {
      const std::vector<TypedRow>& rows = debit ? e.debits : e.credits;
      for (int k = 1; k < static_cast<int>(rows.size()); ++k) {
        TabTo(w->CompoundEntry[debit ? 1 : 2]);
        Press(Qt::Key_Space);
        ASSERT_EQ(Focused(), debit ? w->DebitFolio(k) : w->CreditFolio(k));
        FillRow(debit, k, rows[static_cast<std::size_t>(k)]);
      }
    }
    if (e.sumFillsCredit) {
      TabTo(w->CalcCompound);
      Press(Qt::Key_Space);
    }
    EXPECT_EQ(Status(), "Debit : " + e.expectTotal + "     Credit : " + e.expectTotal)
        << e.number.toStdString();
    EXPECT_EQ(StatusColor(), QColor(0, 0, 0));
  }
};

TEST_F(RecordingYearWindowTest, TwelveEntriesTypedWithKeysAloneAreSavedAndReopenedAsTyped) {
  PromptAnswerer prompts;  // any message box on the way fails the test
  const std::vector<TypedEntry> year = TheYear();
  for (const TypedEntry& entry : year) {
    Record(entry);
    if (::testing::Test::HasFatalFailure()) return;
  }
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(p.requests.empty()) << "saved to the book's own file";
  BackToMainWindow();
  p.answers = {path};
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(p.requests.size(), 1u);
  BackToMainWindow();

  // The book as it must be: the opening entry and the twelve entries as typed.
  Books expected = OpeningBook();
  for (const TypedEntry& e : year) {
    for (const bool debit : {true, false})
      for (const TypedRow& row : debit ? e.debits : e.credits)
        expected.AppendLine({e.expectDate, debit ? kDebit : kCredit, 0, Money(row.expectFolio),
                             Money(row.expectAmount), ""},
                            EntryNumber(e.number.toUpper().toStdString()));
    expected.PostingLines.back().Notes = e.notes.toStdString();
  }
  ASSERT_EQ(books().LastLineIndex(), expected.LastLineIndex());
  for (int i = 0; i <= expected.LastLineIndex(); ++i) {
    EXPECT_EQ(Line(i), expected.PostingLines[static_cast<std::size_t>(i)]) << "line " << i;
    EXPECT_EQ(Number(i), expected.EntryNumbers[static_cast<std::size_t>(i)].TrimmedText()) << i;
  }
  EXPECT_FALSE(CheckBooks(books()).has_value());

  // Paged through with Down, the window shows every entry as it was typed (the rows of a
  // shown entry are checked by the main window's tests).
  w->ScrollAcc->setFocus();
  EXPECT_EQ(w->JournalID->text(), "OB");
  for (const TypedEntry& e : year) {
    Press(Qt::Key_Down);
    EXPECT_EQ(w->JournalID->text().toStdString(), e.number.toUpper().toStdString());
    EXPECT_EQ(w->Datetext->Text().toStdString(),
              FormatDateStyle(e.expectDate, books().DateStyleIndex, p.app->Locale()));
    EXPECT_EQ(w->AccNote->text().toStdString(), e.notes.toStdString());
    EXPECT_EQ(w->DebitAmountText(0)->text().toStdString(),
              QString::number(e.debits[0].expectAmount, 'g', 12).toStdString());
  }
}

}  // namespace
}  // namespace qv::testing
