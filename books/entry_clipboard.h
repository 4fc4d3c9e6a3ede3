#pragma once
// The entry clipboard text: one journal entry as plain text, so that it can be copied,
// pasted back as a new entry, kept in a prepared group or summed by the running calculator.
//
// Rows are separated by CR LF, fields by TAB; after the last row's CR LF comes the marker
// "QV" and nothing else. Every row has five fields:
//
//   field   debit row     credit row
//   0       folio         (empty)
//   1       (empty)       folio
//   2       account name  account name
//   3       amount        amount
//   4       notes         notes
//
// Numbers are written in the plain form of PlainAmountText ("." as the decimal symbol, no
// grouping, no trailing zeros), so the text reads the same on every machine; readers take
// "." or the machine's decimal symbol as the decimal point. A text is an entry only when its
// last CR LF piece is exactly "QV".
//
// This file holds the writer, the reader shared by every reader of the format, and the
// paste into the journal. Putting the text on the clipboard is left to the window
// (books/entry_clipboard_qt.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "platform/locale_info.h"

namespace qv {

// The marker that ends every entry clipboard text.
inline constexpr std::string_view kEntryClipboardMarker = "QV";

// How a writer treats a TAB inside the notes: the entry copy writes it as "~~", the
// prepared groups drop it.
enum class NotesTabs { AsTildes, Removed };

// The text of lines first..last of `lines` (both clamped into the list; first > last gives
// the marker alone). Account names come from the chart of `books` with every TAB removed;
// CR and LF in names and notes become blanks, so that no field can split a row.
std::string WriteEntryClipboardText(const Books& books, const std::vector<PostingLine>& lines,
                                    int32_t first, int32_t last,
                                    NotesTabs tabs = NotesTabs::AsTildes);

// The text of one entry of the journal.
std::string WriteEntryClipboardText(const Books& books, EntryRange entry);

// One row as read back. The account name is not read: the folio alone names the account.
struct ClipboardRow {
  uint8_t Side = kCredit;  // debit when field 0 is not empty, else credit
  Folio LineFolio;         // field 0 of a debit row, field 1 of a credit row
  qv::Amount Amount;       // field 3
  std::string Notes;       // field 4 as it stands
  bool operator==(const ClipboardRow&) const = default;
};

// The rows of an entry clipboard text, or nothing when the text is not one (its last
// CR LF piece is not exactly "QV"; an empty text is not one either). A row lacking a field
// keeps that value's start (folio 0, amount 0, notes ""); an empty row is a credit row.
// `decimalSymbol` is the machine's, accepted besides ".".
std::optional<std::vector<ClipboardRow>> ReadEntryClipboardText(std::string_view text,
                                                                std::string_view decimalSymbol);

// The pieces of `text` between the separators (an empty text is one empty piece).
std::vector<std::string_view> SplitAt(std::string_view text, std::string_view separator);

// The number at the start of a field: blanks are skipped wherever they stand, then an
// optional sign, digits and at most one decimal point ("." or `decimalSymbol`) are read up
// to the first character that cannot continue the number, and the value is rounded to four
// decimals, halves to even. No number, or a value out of the amount range, gives 0.
Amount ClipboardNumber(std::string_view field, std::string_view decimalSymbol);

// The posting lines that pasting these rows appends, all dated `today` with Reconciled 0,
// or nothing when the paste must be refused. The rows fall into entries at every row whose
// notes, trimmed, are not empty (the last run ends the last entry). Each entry is brought
// under the journal's rules:
//  - its lines are ordered debits first, each side keeping its order;
//  - a side with no line gets one empty line (folio 0, amount 0);
//  - only its last line carries notes, trimmed, and "_" when the rows gave none;
//  - an entry with more than 31 lines on a side refuses the whole paste.
std::optional<std::vector<PostingLine>> PastedLines(const std::vector<ClipboardRow>& rows,
                                                    DaySerial today);

// Where a paste landed: the new lines are FirstLine..LastLine. FirstLine is one past the
// journal's old last line, so after a text holding the marker alone FirstLine is
// LastLine + 1 and the entry screen is to show the journal's last entry.
struct PastedEntry {
  int32_t FirstLine = 0;
  int32_t LastLine = 0;
  bool operator==(const PastedEntry&) const = default;
};

// Appends the entry of an entry clipboard text at the end of the journal, whatever entry is
// shown. EntryCounter rises by one per accepted paste. With AutoTrackingNumbers = 1 every
// pasted line gets the number NextEntryNumber gives once the first line is appended (the
// book's last entry's number plus one); otherwise fourteen blanks. Nothing changes, and
// nothing is returned, when the text is not an entry clipboard text or PastedLines refuses
// it.
std::optional<PastedEntry> PasteEntry(Books& books, std::string_view text, const LocaleInfo& locale,
                                      DaySerial today);

}  // namespace qv
