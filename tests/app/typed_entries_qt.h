#pragma once
// Entries typed into the main window with the keyboard alone (Ctrl+N, Tab, Space on the
// add-line and sum images), and the posting lines they must give. An entry is written
// "number|date|debit rows|credit rows|notes[|reconciled]", rows separated by ";", each
// "folio amount" or "=letters folio amount" (the account chosen by its name's first letters);
// the amount "sum" is left to the sum image (first credit row only). Dates are month first.

#include "tests/app/main_window_program_qt.h"

namespace qv::testing {

struct TypedRow {
  QString nameKeys;  // empty when the folio is typed
  QString folio, amount;
};
struct TypedEntry {
  QString number, date, notes;
  std::vector<TypedRow> debits, credits;
  bool reconciled = false;
};

inline std::vector<TypedRow> RowsOf(const QString& text) {
  std::vector<TypedRow> rows;
  for (const QString& row : text.split(';')) {
    QStringList parts = row.split(' ');
    const QString keys = parts[0].startsWith('=') ? parts.takeFirst().mid(1) : QString();
    rows.push_back({keys, parts[0], parts[1]});
  }
  return rows;
}

inline TypedEntry EntryOf(const char* text) {
  const QStringList f = QString(text).split('|');
  return {f[0], f[1], f[4], RowsOf(f[2]), RowsOf(f[3]), f.size() > 5 && f[5] == "reconciled"};
}

// The amount a typed text stands for; a summed one balances the other side.
inline double ValueOf(const QString& amount, const std::vector<TypedRow>& other) {
  if (amount != "sum") return QString(amount).remove(',').toDouble();
  double total = 0;
  for (const TypedRow& row : other) total += ValueOf(row.amount, {});
  return total;
}

// Appends the posting lines a typed entry must give.
inline void AppendTyped(Books& books, const TypedEntry& e) {
  const QStringList mdy = e.date.split('/');
  const DaySerial date = Day(mdy[2].toInt(), mdy[0].toInt(), mdy[1].toInt());
  for (const bool debit : {true, false})
    for (const TypedRow& row : debit ? e.debits : e.credits)
      books.AppendLine({date, debit ? kDebit : kCredit, static_cast<uint8_t>(e.reconciled),
                        Money(row.folio.toDouble()),
                        Money(ValueOf(row.amount, debit ? e.credits : e.debits)), ""},
                       EntryNumber(e.number.toUpper().toStdString()));
  books.PostingLines.back().Notes = e.notes.toStdString();
}

// The journals of both books hold the same lines under the same entry numbers.
inline void ExpectSameLines(const Books& actual, const Books& expected) {
  ASSERT_EQ(actual.LastLineIndex(), expected.LastLineIndex());
  const auto text = [](const Books& b, std::size_t i) {
    return LineText(b.PostingLines[i]) + " " + std::string(b.EntryNumbers[i].TrimmedText());
  };
  for (std::size_t i = 0; i < actual.PostingLines.size(); ++i)
    EXPECT_EQ(text(actual, i), text(expected, i)) << "line " << i;
}

// Types a row from its folio box on: the folio or the name's first letters, then the amount.
inline void FillRow(const TypedRow& row) {
  if (row.nameKeys.isEmpty()) TypeKeys(row.folio);
  Press(Qt::Key_Tab);
  TypeKeys(row.nameKeys);
  Press(Qt::Key_Tab);
  if (row.amount != "sum") TypeKeys(row.amount);
}

// Records a typed entry in the main window, which must have the keyboard; the status line
// then shows its equal totals.
inline void Record(TAcount& w, const TypedEntry& e) {
  Press(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(Focused(), w.JournalID);
  TypeKeys(e.number);
  Press(Qt::Key_Tab);
  TypeKeys(e.date);
  if (e.reconciled) {
    TabTo(w.Rr);
    Press(Qt::Key_Space);
  }
  for (const bool debit : {true, false}) {
    const std::vector<TypedRow>& rows = debit ? e.debits : e.credits;
    TabTo(debit ? w.DebitFolio(0) : w.CreditFolio(0));
    FillRow(rows[0]);
    for (std::size_t k = 1; k < rows.size(); ++k) {
      TabTo(w.CompoundEntry[debit ? 1 : 2]);
      Press(Qt::Key_Space);
      FillRow(rows[k]);
    }
  }
  TabTo(w.AccNote);
  TypeKeys(e.notes);
  if (e.credits[0].amount == "sum") {
    TabTo(w.CalcCompound);
    Press(Qt::Key_Space);
  }
  const QString total =
      QString::fromStdString(w.Screen().StatusAmountText(Money(ValueOf("sum", e.debits))));
  EXPECT_EQ(w.GL(7)->text(), "Debit : " + total + "     Credit : " + total)
      << e.number.toStdString();
}

}  // namespace qv::testing
