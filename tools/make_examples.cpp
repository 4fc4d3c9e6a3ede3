// Writes an example book file from its readable source: the book in its text form
// (resources/examples/*.txt), read by the program's own reader and written by its book
// writer, so the example books are always in the current layout.
//
//   make_examples <source.txt> <book.acc>

#include <cstdio>
#include <string>

#include "bookfiles/book_files.h"
#include "bookfiles/text_file.h"
#include "books/books.h"
#include "platform/file_io.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_examples <source.txt> <book.acc>\n");
    return 2;
  }
  std::string text;
  if (const int err = qv::ReadWholeFile(argv[1], text)) {
    std::fprintf(stderr, "make_examples: cannot read %s (error %d)\n", argv[1], err);
    return 1;
  }
  // The sources hold entries, so the date of an empty journal never shows.
  qv::BookReadResult read = qv::ParseTextBook(text, /*today=*/45658);
  if (!read.Ok()) {
    std::fprintf(stderr, "make_examples: %s: %s\n", argv[1], read.Message.c_str());
    return 1;
  }
  if (const auto problem = qv::CheckBooks(*read.Book)) {
    std::fprintf(stderr, "make_examples: %s: %s\n", argv[1], problem->c_str());
    return 1;
  }
  const qv::BookFileResult written = qv::WriteBook(argv[2], "acc", *read.Book);
  if (!written.Ok()) {
    std::fprintf(stderr, "make_examples: %s\n", written.Message.c_str());
    return 1;
  }
  return 0;
}
