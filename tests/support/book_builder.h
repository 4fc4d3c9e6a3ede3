#pragma once
// Small helpers for tests that need a book with a known chart and entries.

#include <initializer_list>
#include <string>
#include <vector>

#include "books/books.h"

namespace qv::testing {

struct AccountSpec {
  std::string name;
  double folio;
  int type;
};

struct LineSpec {
  double folio;
  double amount;
};

// A new book (dated 1 January 2026) whose chart holds account 0 "Balance b/f" and then the
// given accounts at indexes 1, 2, ... (the chart keeps at least 14 slots).
Books BookWithChart(std::initializer_list<AccountSpec> accounts);

// Appends one entry. When the journal still holds only the empty entry of a new book, the
// entry replaces it.
void AddEntry(Books& books, DaySerial date, const std::string& number,
              std::initializer_list<LineSpec> debits, std::initializer_list<LineSpec> credits,
              const std::string& notes = "_");

// A book whose texts a spreadsheet or a mail program could misread: account names that
// start with "=", "+", "-" and "@", quotes, and letters beyond ASCII ("Café über 中文"), in
// the chart, the notes and the business name. One entry, dated 2 January 2026: debits of
// 1,250.50, 300.00 and 49.50 to the first three accounts, credits of 1,000.00 and 600.00 to
// the last two.
Books HostileBook();
inline constexpr const char* kHostileBusinessName =
    "=Caf\u00e9 \u00fcber \u4e2d\u6587 \"Hostile\" & Co";

// An amount or folio from a decimal number with at most four decimals.
Amount Money(double value);

// The serial of a date, which must be valid.
DaySerial Day(int year, int month, int day);

}  // namespace qv::testing
