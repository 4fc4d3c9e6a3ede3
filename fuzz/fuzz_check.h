#pragma once
// What every reader's fuzz target checks besides "no crash, no leak, no undefined
// behaviour": a book that a reader accepts keeps the journal rules, and writing it in the
// same form and reading that again gives the same book and, written once more, the same
// bytes.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bookfiles/book_files.h"
#include "tests/bookfiles/book_compare.h"

namespace qv::fuzz {

inline void Require(bool ok, const char* what, const std::string& detail = {}) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s %s\n", what, detail.c_str());
  std::abort();
}

inline void CheckReader(std::string_view bytes, BookFileType type) {
  const DaySerial today = 46000;
  const BookReadResult read = ParseBook(bytes, type, today);
  if (!read.Ok()) {
    Require(!read.Book.has_value(), "a failed read handed back a book");
    Require(read.ErrorCode != 0 && !read.Message.empty(), "a failure without a message");
    return;
  }
  const Books& book = *read.Book;
  Require(!CheckBooks(book).has_value(), "accepted a broken book", CheckBooks(book).value_or(""));
  const std::string written = FormatBook(book, type);
  const BookReadResult again = ParseBook(written, type, today);
  Require(again.Ok(), "its own output was refused", again.Message);
  const std::string difference = testing::FirstDifference(book, *again.Book);
  Require(difference.empty(), "the book changed on a round trip:", difference);
  Require(FormatBook(*again.Book, type) == written, "writing is not stable");
}

}  // namespace qv::fuzz
