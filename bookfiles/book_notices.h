#pragma once
// What the book commands tell the user beyond success or failure: the entries that Insert
// Entries added and the folios they post to that the chart lacks, what a copy in a lesser
// form leaves out of the book, and the questions before a command drops unsaved changes or
// a save replaces another file.

#include <string>
#include <string_view>

#include "bookfiles/merge.h"
#include "books/books.h"

namespace qv {

// "10 entries were inserted from "path"." and, when some of their folios name no account,
// which ones and what that means.
std::string InsertedEntriesReport(std::string_view path, const MergeResult& merged);

// What a copy of the books in the form `type` ("txt", "csv" or "xls") leaves out of them, as
// a sentence naming the file; "" when the form holds everything the books hold. The CSV and
// spreadsheet forms hold the chart and the entries only: the settings always, and the
// business name and address, prepared groups and passwords when the books have any, are
// left out. The text form leaves out the passwords.
std::string LeftOutOfCopyText(const Books& books, std::string_view type, std::string_view path);

// The question before another book is opened in place of books that changed since they
// were opened, saved or started.
std::string OpenWithoutSavingQuestion();

// The question before a save writes over the open book's own file after something else
// wrote it since this program opened or saved it.
std::string ChangedOnDiskQuestion(std::string_view path);

}  // namespace qv
