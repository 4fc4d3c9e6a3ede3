#pragma once
// The book the ledger tests share, and the rows of a sheet as texts.

#include <string>
#include <vector>

#include "ledgers/ledger_sheets.h"
#include "tests/support/book_builder.h"

namespace qv::testing {

// Cash 110 with Petty cash 110.1 under it, Bank 120, Capital 300, Sales 400, Rent 600.
//  1  1 Jan 2025  Dr Cash 1000               Cr Capital 1000          "Opening capital"
//  2  5 Jan       Dr Cash 500, Petty cash 50  Cr Sales 550            "Till, Monday"
//  3 10 Jan       Dr Rent 300                 Cr Cash 300  (reconciled) "January rent"
//  4 15 Jan INV7  Dr Bank 200                 Cr Cash 150, Petty cash 50 "Banked"
//  5 20 Jan       Dr Rent 100                 Cr Cash 90   (does not balance) "Short"
//  6  1 Feb       Dr Cash 40                  Cr Sales 40  (no notes)
inline Books LedgerFixture() {
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Petty cash", 110.1, kCurrentAsset},
                               {"Bank", 120, kCurrentAsset},
                               {"Capital", 300, kCapital},
                               {"Sales", 400, kRevenue},
                               {"Rent", 600, kExpense}});
  AddEntry(books, Day(2025, 1, 1), "1", {{110, 1000}}, {{300, 1000}}, "Opening capital");
  AddEntry(books, Day(2025, 1, 5), "2", {{110, 500}, {110.1, 50}}, {{400, 550}}, "Till, Monday");
  AddEntry(books, Day(2025, 1, 10), "3", {{600, 300}}, {{110, 300}}, "January rent");
  books.PostingLines[5].Reconciled = books.PostingLines[6].Reconciled = 1;
  AddEntry(books, Day(2025, 1, 15), "INV7", {{120, 200}}, {{110, 150}, {110.1, 50}}, "Banked");
  AddEntry(books, Day(2025, 1, 20), "5", {{600, 100}}, {{110, 90}}, "Short");
  AddEntry(books, Day(2025, 2, 1), "6", {{110, 40}}, {{400, 40}});
  return books;
}

// Every row of a sheet, its cells joined by "|".
inline std::vector<std::string> SheetRows(const LedgerSheet& sheet) {
  std::vector<std::string> rows;
  TableRow row;
  for (int64_t r = 0; r < sheet.Table.RowCount; ++r) {
    sheet.Table.Row(r, row);
    std::string text;
    for (std::size_t c = 0; c < row.Cells.size(); ++c) text += (c ? "|" : "") + row.Cells[c];
    rows.push_back(text);
  }
  return rows;
}

}  // namespace qv::testing
