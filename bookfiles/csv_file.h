#pragma once
// The CSV form of a book (.csv): a chart block and an entry block, each with its header
// row, a blank line between them, in RFC 4180 quoting and UTF-8, dates as yyyy-mm-dd and
// "." as the decimal symbol whatever the locale. It carries the chart (without the accounts'
// extra texts) and the journal; reading one gives every other part of the book (settings,
// prepared groups and their names) the values of a new book. docs/file-formats.md
// describes it.

#include <array>
#include <string>
#include <string_view>

#include "bookfiles/book_format.h"
#include "bookfiles/byte_source.h"

namespace qv {

inline constexpr std::array<std::string_view, 5> kCsvChartColumns = {"folio", "name", "type",
                                                                     "notes", "details"};
inline constexpr std::array<std::string_view, 7> kCsvEntryColumns = {
    "date", "entry number", "side", "folio", "amount", "notes", "reconciled"};

// Appends one field, in double quotes (inner quotes doubled) when it holds a comma, a
// double quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field);

// Writes the two blocks; rows end with CR LF.
void WriteCsvBook(const Books& books, const BookOutput::Consumer& consumer,
                  const ProgressFn& progress = {});

// Reads a CSV book from its first byte. Rows may end with CR LF, LF or CR, the file may
// begin with a byte-order mark, and a row whose fields are all empty counts as a blank line
// (as spreadsheets write them). A file without both header rows, or whose last entry lacks
// the line with notes that ends it, was cut short and is refused. A failure names the line
// where the first bad row begins. Progress counts bytes.
BookReadResult ReadCsvBook(ByteSource& source, DaySerial today, const ProgressFn& progress = {});
BookReadResult ParseCsvBook(std::string_view text, DaySerial today,
                            const ProgressFn& progress = {});

}  // namespace qv
