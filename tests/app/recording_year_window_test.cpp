// A year of a small business recorded in the main window with the keyboard alone: twelve
// entries (sales, purchases, wages, rent, receipts, three-line entries, one balanced by the
// sum image), each begun with Ctrl+N and filled by typing and Tab, saved with Ctrl+S,
// reopened with Ctrl+O, and found line by line as typed.

#include "books/date_styles.h"
#include "tests/app/main_window_program_qt.h"

namespace qv::testing {
namespace {

// Each entry: number (typed in lower case), date, debit rows, credit rows, notes. Rows are
// separated by ";"; a row is "folio amount", or "=letters folio amount" when the account is
// chosen by the first letters of its name instead of its folio; the amount "sum" is left to
// the sum image.
const char* const kYear[] = {
    "inv101|1/31/2026|120 1,250.50|=sa 400 1,250.50|Invoice 101 Harbor Cafe",
    "p201|2/28/2026|500 640|110 640|Stock from Mills and Co",
    "w301|3/31/2026|600 2,000|110 1,700;210 300|March wages",
    "r102|4/30/2026|=ca 110 1,250.50|=acc 120 1,250.50|Harbor Cafe paid",
    "inv102|5/29/2026|110 980|400 980|Counter sales May",
    "p202|6/30/2026|500 455.25|110 sum|Stock",
    "w302|7/31/2026|600 1,500|110 1,500|July wages",
    "inv103|8/31/2026|120 2,310|400 2,310|Invoice 103 Bay Hotel",
    "e401|9/30/2026|610 900|110 900|Rent September",
    "r103|10/30/2026|110 2,310|120 2,310|Bay Hotel paid",
    "p203|11/30/2026|500 1,020.75|110 1,020.75|Stock from Mills and Co",
    "w303|12/31/2026|600 1,500;610 300|110 1,800|Wages and rent December",
};

struct TypedRow {
  QString nameKeys;  // empty when the folio is typed
  QString folio, amount;
};
struct TypedEntry {
  QString number, date, notes;
  std::vector<TypedRow> debits, credits;
};

std::vector<TypedRow> RowsOf(const QString& text) {
  std::vector<TypedRow> rows;
  for (const QString& row : text.split(';')) {
    QStringList parts = row.split(' ');
    const QString keys = parts[0].startsWith('=') ? parts.takeFirst().mid(1) : QString();
    rows.push_back({keys, parts[0], parts[1]});
  }
  return rows;
}

TypedEntry EntryOf(const char* text) {
  const QStringList f = QString(text).split('|');
  return {f[0], f[1], f[4], RowsOf(f[2]), RowsOf(f[3])};
}

// The amount a typed text stands for ("1,250.50" is 1250.5); a summed one balances the
// other side.
double ValueOf(const QString& amount, const std::vector<TypedRow>& other) {
  if (amount != "sum") return QString(amount).remove(',').toDouble();
  double total = 0;
  for (const TypedRow& row : other) total += ValueOf(row.amount, {});
  return total;
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
  void TabTo(QWidget* target) {
    for (int i = 0; i < 40 && Focused() != target; ++i) Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), target) << target->objectName().toStdString();
  }
  // Types a row from its folio box on: the folio, or the name's first letters in the list
  // after it, then the amount (none for the sum image).
  void FillRow(const TypedRow& row) {
    if (row.nameKeys.isEmpty()) TypeKeys(row.folio);
    Press(Qt::Key_Tab);
    TypeKeys(row.nameKeys);
    Press(Qt::Key_Tab);
    if (row.amount != "sum") TypeKeys(row.amount);
  }

  void Record(const TypedEntry& e) {
    Press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(Focused(), w->JournalID);
    TypeKeys(e.number);
    Press(Qt::Key_Tab);
    TypeKeys(e.date);
    for (const bool debit : {true, false}) {
      const std::vector<TypedRow>& rows = debit ? e.debits : e.credits;
      TabTo(debit ? w->DebitFolio(0) : w->CreditFolio(0));
      FillRow(rows[0]);
      // Further rows come from the add-line images, reached with Tab and pressed with Space.
      for (std::size_t k = 1; k < rows.size(); ++k) {
        TabTo(w->CompoundEntry[debit ? 1 : 2]);
        Press(Qt::Key_Space);
        FillRow(rows[k]);
      }
    }
    TabTo(w->AccNote);
    TypeKeys(e.notes);
    if (e.credits[0].amount == "sum") {
      TabTo(w->CalcCompound);
      Press(Qt::Key_Space);
    }
    const QString total =
        QString::fromStdString(w->Screen().StatusAmountText(Money(ValueOf("sum", e.debits))));
    EXPECT_EQ(Status(), "Debit : " + total + "     Credit : " + total) << e.number.toStdString();
  }
};

TEST_F(RecordingYearWindowTest, TwelveEntriesTypedWithKeysAloneAreSavedAndReopenedAsTyped) {
  PromptAnswerer prompts;  // any message box on the way fails the test
  std::vector<TypedEntry> year;
  for (const char* text : kYear) {
    year.push_back(EntryOf(text));
    Record(year.back());
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
    const QStringList mdy = e.date.split('/');
    const DaySerial date = Day(mdy[2].toInt(), mdy[0].toInt(), mdy[1].toInt());
    for (const bool debit : {true, false})
      for (const TypedRow& row : debit ? e.debits : e.credits)
        expected.AppendLine({date, debit ? kDebit : kCredit, 0, Money(row.folio.toDouble()),
                             Money(ValueOf(row.amount, debit ? e.credits : e.debits)), ""},
                            EntryNumber(e.number.toUpper().toStdString()));
    expected.PostingLines.back().Notes = e.notes.toStdString();
  }
  ASSERT_EQ(books().LastLineIndex(), expected.LastLineIndex());
  for (int i = 0; i <= expected.LastLineIndex(); ++i) {
    EXPECT_EQ(Line(i), expected.PostingLines[static_cast<std::size_t>(i)]) << "line " << i;
    EXPECT_EQ(Number(i), expected.EntryNumbers[static_cast<std::size_t>(i)].TrimmedText()) << i;
  }
  EXPECT_FALSE(CheckBooks(books()).has_value());

  // Paged through with Down, the window shows every entry as it was typed.
  w->ScrollAcc->setFocus();
  for (const TypedEntry& e : year) {
    Press(Qt::Key_Down);
    EXPECT_EQ(w->JournalID->text(), e.number.toUpper());
    EXPECT_EQ(w->AccNote->text(), e.notes);
  }
}

}  // namespace
}  // namespace qv::testing
