#include "tests/support/book_builder.h"

#include <cmath>
#include <stdexcept>

namespace qv::testing {

Amount Money(double value) { return Amount::FromRaw(std::llround(value * 10000.0)); }

DaySerial Day(int year, int month, int day) {
  const auto serial = SerialOf(year, month, day);
  if (!serial) throw std::invalid_argument("not a date");
  return *serial;
}

Books BookWithChart(std::initializer_list<AccountSpec> accounts) {
  Books books = NewBooks(Day(2026, 1, 1));
  const int last = std::max<int>(kMinLastAccountIndex, static_cast<int>(accounts.size()));
  books.ResizeChart(last);
  std::size_t i = 1;
  for (const AccountSpec& a : accounts) {
    books.AccountNames[i] = a.name;
    books.AccountFolios[i] = Money(a.folio);
    books.AccountTypes[i] = static_cast<uint8_t>(a.type);
    ++i;
  }
  return books;
}

void AddEntry(Books& books, DaySerial date, const std::string& number,
              std::initializer_list<LineSpec> debits, std::initializer_list<LineSpec> credits,
              const std::string& notes) {
  const bool onlyEmptyEntry =
      books.PostingLines.size() == 2 && books.PostingLines[0].LineFolio.IsZero() &&
      books.PostingLines[1].LineFolio.IsZero() && books.PostingLines[0].Amount.IsZero() &&
      books.PostingLines[1].Amount.IsZero();
  if (onlyEmptyEntry) {
    books.PostingLines.clear();
    books.EntryNumbers.clear();
  }
  const EntryNumber n(number);
  auto add = [&](const LineSpec& wanted, uint8_t side) {
    PostingLine line;
    line.LineDate = date;
    line.Side = side;
    line.LineFolio = Money(wanted.folio);
    line.Amount = Money(wanted.amount);
    books.AppendLine(line, n);
  };
  for (const LineSpec& d : debits) add(d, kDebit);
  for (const LineSpec& c : credits) add(c, kCredit);
  books.PostingLines.back().Notes = notes;
}

Books HostileBook() {
  Books books = BookWithChart({
      {"=HYPERLINK(\"http://x.test/steal\";\"click me\")", 110, 0},
      {"+cmd|' /C calc'!A0", 120, 0},
      {"-Drawings \"owner\"", 130, 0},
      {"@SUM(1+1)*cmd|' /C calc'!A0", 400, 5},
      {"Caf\u00e9 \u00fcber \u4e2d\u6587, \"Sales\"", 410, 5},
  });
  books.AccountNotes[1] = "=1+1";
  books.BusinessName = kHostileBusinessName;
  AddEntry(books, Day(2026, 1, 2), "-1", {{110, 1250.5}, {120, 300}, {130, 49.5}},
           {{400, 1000}, {410, 600}}, "@note \"quoted\", =2+2");
  return books;
}

}  // namespace qv::testing
