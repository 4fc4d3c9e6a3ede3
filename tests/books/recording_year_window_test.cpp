// A year of a small business recorded in the main window with the keyboard alone: twelve
// entries (sales, purchases, wages, rent, receipts, two three-line entries), each begun with
// Ctrl+N and filled by typing and Tab, saved with Ctrl+S, reopened with Ctrl+O, and found
// line by line as typed.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <vector>

#include "books/date_styles.h"
#include "books/main_window.h"
#include "controls/date_picker_control.h"
#include "controls/vertical_scroll_control.h"
#include "tests/books/main_window_program_qt.h"
#include "tests/support/prompt_answerer.h"

namespace qv {
namespace {

using testing::Day;
using testing::Focused;
using testing::Money;
using testing::Press;
using testing::TypeKeys;

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
      {"inv101", "1/31/2026", {Folio("120", "1,250.50", 1250.5)},
       {Name("sa", 400, "1,250.50", 1250.5)}, "Invoice 101 Harbor Cafe", false,
       Day(2026, 1, 31), "1,250.50"},
      {"p201", "2/28/2026", {Folio("500", "640", 640)}, {Folio("110", "640", 640)},
       "Stock from Mills and Co", false, Day(2026, 2, 28), "640.00"},
      {"w301", "3/31/2026", {Folio("600", "2,000", 2000)},
       {Folio("110", "1,700", 1700), Folio("210", "300", 300)}, "March wages", false,
       Day(2026, 3, 31), "2,000.00"},
      {"r102", "4/30/2026", {Name("ca", 110, "1,250.50", 1250.5)},
       {Name("acc", 120, "1,250.50", 1250.5)}, "Harbor Cafe paid", false, Day(2026, 4, 30),
       "1,250.50"},
      {"inv102", "5/29/2026", {Folio("110", "980", 980)}, {Folio("400", "980", 980)},
       "Counter sales May", false, Day(2026, 5, 29), "980.00"},
      {"p202", "6/30/2026", {Folio("500", "455.25", 455.25)}, {Folio("110", "", 455.25)},
       "Stock", true, Day(2026, 6, 30), "455.25"},
      {"w302", "7/31/2026", {Folio("600", "1,500", 1500)}, {Folio("110", "1,500", 1500)},
       "July wages", false, Day(2026, 7, 31), "1,500.00"},
      {"inv103", "8/31/2026", {Folio("120", "2,310", 2310)}, {Folio("400", "2,310", 2310)},
       "Invoice 103 Bay Hotel", false, Day(2026, 8, 31), "2,310.00"},
      {"e401", "9/30/2026", {Folio("610", "900", 900)}, {Folio("110", "900", 900)},
       "Rent September", false, Day(2026, 9, 30), "900.00"},
      {"r103", "10/30/2026", {Folio("110", "2,310", 2310)}, {Folio("120", "2,310", 2310)},
       "Bay Hotel paid", false, Day(2026, 10, 30), "2,310.00"},
      {"p203", "11/30/2026", {Folio("500", "1,020.75", 1020.75)},
       {Folio("110", "1,020.75", 1020.75)}, "Stock from Mills and Co", false,
       Day(2026, 11, 30), "1,020.75"},
      {"w303", "12/31/2026", {Folio("600", "1,500", 1500), Folio("610", "300", 300)},
       {Folio("110", "1,800", 1800)}, "Wages and rent December", false, Day(2026, 12, 31),
       "1,800.00"},
  };
}

// The business's book before the year: its chart and the opening entry.
Books OpeningBook() {
  Books books = testing::BookWithChart({{"Cash at Bank", 110, 0},
                                        {"Accounts Receivable", 120, 0},
                                        {"PAYG Withholding", 210, 1},
                                        {"Capital", 300, 2},
                                        {"Sales", 400, 3},
                                        {"Purchases", 500, 4},
                                        {"Wages", 600, 5},
                                        {"Rent", 610, 5}});
  testing::AddEntry(books, Day(2026, 1, 1), "OB", {{110, 10000}}, {{300, 10000}},
                    "Opening balance");
  return books;
}

class RecordingYearWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = testing::WriteBookFile(p.folder / "business.acc", OpeningBook());
    p.options.Arguments = {"quorvel", path};
    w = &p.StartActive();
  }

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

  void FillRow(uint8_t side, int row, const TypedRow& typed) {
    QComboBox* name = side == kDebit ? w->DebitAccName(row) : w->CreditAccName(row);
    QLineEdit* amount = side == kDebit ? w->DebitAmountText(row) : w->CreditAmountText(row);
    if (!typed.folio.isEmpty()) TypeKeys(typed.folio);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), name);
    if (typed.folio.isEmpty()) TypeKeys(typed.nameKeys);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), amount);
    TypeKeys(typed.amount);
  }

  void Record(const TypedEntry& e) {
    Press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Focused(), w->JournalID);
    EXPECT_EQ(w->JournalID->selectedText(), w->JournalID->text());
    EXPECT_EQ(w->GL(7)->text(), "The Accounts are balanced");
    TypeKeys(e.number);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), w->Datetext->DateX());
    TypeKeys(e.date);
    TabTo(w->DebitFolio(0));
    FillRow(kDebit, 0, e.debits[0]);
    TabTo(w->CreditFolio(0));
    FillRow(kCredit, 0, e.credits[0]);
    TabTo(w->AccNote);
    TypeKeys(e.notes);
    for (std::size_t k = 1; k < e.debits.size(); ++k) {
      TabTo(w->CompoundEntry[1]);
      Press(Qt::Key_Space);
      ASSERT_EQ(Focused(), w->DebitFolio(static_cast<int>(k)));
      FillRow(kDebit, static_cast<int>(k), e.debits[k]);
    }
    for (std::size_t k = 1; k < e.credits.size(); ++k) {
      TabTo(w->CompoundEntry[2]);
      Press(Qt::Key_Space);
      ASSERT_EQ(Focused(), w->CreditFolio(static_cast<int>(k)));
      FillRow(kCredit, static_cast<int>(k), e.credits[k]);
    }
    if (e.sumFillsCredit) {
      TabTo(w->CalcCompound);
      Press(Qt::Key_Space);
    }
    EXPECT_EQ(w->GL(7)->text(), "Debit : " + e.expectTotal + "     Credit : " + e.expectTotal)
        << e.number.toStdString();
    EXPECT_EQ(w->GL(7)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  }

  testing::Program p;
  std::string path;
  TAcount* w = nullptr;
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
    for (const auto* rows : {&e.debits, &e.credits}) {
      const uint8_t side = rows == &e.debits ? kDebit : kCredit;
      for (const TypedRow& row : *rows) {
        PostingLine line;
        line.LineDate = e.expectDate;
        line.Side = side;
        line.LineFolio = Money(row.expectFolio);
        line.Amount = Money(row.expectAmount);
        expected.AppendLine(line, EntryNumber(e.number.toUpper().toStdString()));
      }
    }
    expected.PostingLines.back().Notes = e.notes.toStdString();
  }
  const Books& books = p.books();
  ASSERT_EQ(books.LastLineIndex(), expected.LastLineIndex());
  for (std::size_t i = 0; i < expected.PostingLines.size(); ++i) {
    EXPECT_EQ(books.PostingLines[i], expected.PostingLines[i]) << "line " << i;
    EXPECT_EQ(books.EntryNumbers[i], expected.EntryNumbers[i]) << "line " << i;
  }
  EXPECT_FALSE(CheckBooks(books).has_value());

  // Paged through with Down, the window shows every entry as it was typed.
  w->ScrollAcc->setFocus();
  EXPECT_EQ(w->JournalID->text().toStdString(), "OB");
  for (const TypedEntry& e : year) {
    Press(Qt::Key_Down);
    EXPECT_EQ(w->JournalID->text().toStdString(), e.number.toUpper().toStdString());
    EXPECT_EQ(w->Datetext->Text().toStdString(),
              FormatDateStyle(e.expectDate, books.DateStyleIndex, p.app->Locale()));
    EXPECT_EQ(w->AccNote->text().toStdString(), e.notes.toStdString());
    for (const auto* rows : {&e.debits, &e.credits}) {
      const bool debit = rows == &e.debits;
      for (std::size_t k = 0; k < rows->size(); ++k) {
        const int row = static_cast<int>(k);
        const TypedRow& typed = (*rows)[k];
        QLineEdit* folio = debit ? w->DebitFolio(row) : w->CreditFolio(row);
        QLineEdit* amount = debit ? w->DebitAmountText(row) : w->CreditAmountText(row);
        EXPECT_EQ(folio->text().toStdString(), QString::number(typed.expectFolio).toStdString())
            << e.number.toStdString();
        EXPECT_EQ(amount->text().toStdString(),
                  QString::number(typed.expectAmount, 'g', 12).toStdString())
            << e.number.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace qv
