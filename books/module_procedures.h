#pragma once
// The small procedures that every part of the program calls: account lookups, the folio
// cut, the next entry number, the file-name stem, the widest account name and the texts
// of failed file operations.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "books/books.h"
#include "platform/text_metrics.h"

namespace qv {

// The name of the first account (in index order) whose folio equals `folio` exactly; ""
// when none does. Folio 0 and negative folios never match.
std::string AccountNameOfFolio(const Books& books, Folio folio);

// The folio of the first account whose name equals `name` exactly (case and blanks
// count); 0 when none does or the name is empty.
Folio FolioOfAccount(const Books& books, std::string_view name);

// The folio a line posted to `current` takes when its account list is left showing `name`:
// `current` itself when its account has that name (a chart may hold two accounts of one
// name, and leaving the list changes nothing), else FolioOfAccount.
Folio FolioOfAccountFor(const Books& books, std::string_view name, Folio current);

// The index of the first account whose folio equals `folio` exactly, or nothing when none
// does (folio 0 and negative folios never match).
std::optional<int> AccountIndexOfFolio(const Books& books, Folio folio);

// The folio cut to `digits` (0 to 4) decimals, rounding towards minus infinity:
// TruncFolio(110.25, 0) = 110, TruncFolio(-110.1, 0) = -111, TruncFolio(f, 4) = f. Works
// on the scaled integer, so no folio changes by floating-point error.
Folio TruncFolio(Folio folio, int digits);

// The entry number for a new entry whose lines have just been appended at the journal's
// end, `entryFirstLine` being the first of them: the number read at the start of the
// previous entry's number, plus 1 ("12" gives "13", "12B" gives "13", "1.5" gives "2.5",
// "INV7" gives "1"). "1" when entryFirstLine <= 0 or no previous entry exists.
std::string NextEntryNumber(const Books& books, int32_t entryFirstLine);

// The number at the start of a text, read as the entry numbers are: leading blanks are
// skipped, then an optional sign, digits with at most one "." (the point under every
// locale) and an optional exponent (E or D), blanks between them ignored; "&H" and "&O"
// read hexadecimal and octal digits (unsigned, 32 bits). 0 when the text does not start
// with a number. A value that is not finite or not below 1e15 in magnitude also reads as 0.
double LeadingNumber(std::string_view text);

// The number written as a plain decimal with up to 15 significant digits and no exponent
// ("13", "2.5", "-4"), with "." as its point under every locale.
std::string PlainNumberText(double value);

// The path without its last extension: only a "." after the last path separator ("/" or
// "\") starts the extension. "report" stays "report", ".acc" gives "", "/x/book.acc" gives
// "/x/book", "/home/u/a.b/c" is unchanged.
std::string NameWithoutExtension(std::string_view path);

// The first account name (of the whole chart lists) with the greatest width, measured in
// whole twips in `font`; "" when every width is 0.
std::string WidestAccountName(const Books& books, const TextMetrics& metrics, const FontSpec& font);

// The error numbers of failed file operations.
enum FileErrorCode : int {
  kErrOutOfMemory = 7,
  kErrDeviceIo = 57,
  kErrDiskFull = 61,
  kErrDeviceUnavailable = 68,
  kErrPermissionDenied = 70,
  kErrDiskNotReady = 71,
  kErrPathAccess = 75,
  kErrFileNotFound = 53,
  kErrDataMismatch = 13,
};

// The message shown for a failed file operation with that error number.
std::string FileErrorText(int code);

// True for an error number that has a message of its own in the table (a full drive, a
// protected file, ...); FileErrorText gives any other the general message.
bool HasFileErrorText(int code);

// The error number for a system error (errno value).
int FileErrorCodeFromErrno(int err);

}  // namespace qv
