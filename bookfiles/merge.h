#pragma once
// Inserting the entries of another book (the model half of Insert Entries).
//
// Every entry of the other book is appended after the last line of this journal, in the
// other book's order, with its dates, folios, amounts, notes and reconciled marks as they
// stand; folios this chart does not hold are kept too. Each appended entry gets a new entry
// number: the number its predecessor's starts with, plus one (as NextEntryNumber numbers a
// new entry), and is counted in EntryCounter. The other book's chart, settings and prepared
// groups are not used, and this book's prepared groups and working buffer stay as they are.
//
// A journal that holds only the empty entry of a new book keeps it: the entries are
// appended after it, as after any other entry.

#include <cstdint>
#include <vector>

#include "books/books.h"

namespace qv {

struct MergeResult {
  // 0, or the failed-file error number (FileErrorCode) that says why nothing was inserted:
  // kErrDataMismatch when the other journal breaks the journal rules, kErrOutOfMemory when
  // the journal cannot hold the lines. On failure the books are as they were.
  int ErrorCode = 0;
  int32_t EntriesInserted = 0;
  // The folios, other than 0, that the inserted lines post to and no account of this chart
  // has, neither exactly nor as a main account of theirs, from the lowest up, each once: those
  // postings show no account and stay out of the statements until the chart has them.
  std::vector<Folio> FoliosNotInChart;
  // The sub-account folios the inserted lines post to that have no account of their own while
  // their main account (the folio's whole number) has one, from the lowest up: those postings
  // show no account, but the statements count them in that main account.
  std::vector<Folio> SubFoliosWithoutAccount;
  bool Ok() const { return ErrorCode == 0; }
};

// Appends the entries of `other` (a book already read) to `books` and raises the change
// stamp.
MergeResult InsertEntries(Books& books, const Books& other);

}  // namespace qv
