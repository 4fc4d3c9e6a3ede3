#pragma once
// The entry's input fields without their widgets: what each key may type into the folio,
// amount, date and notes boxes, how their texts are read, and what storing them does to the
// books. The main window calls these from its event handlers and shows what they return;
// nothing here touches a window.
//
// Every store writes straight into the journal, as the user types: there is no separate
// step that saves an entry. A row writes only to the posting line that the entry screen
// laid it out for (EntryScreen::LineOfDebitRow / LineOfCreditRow). A store is refused, and
// the books stay as they are, when
//  - the row stands for no line (a side without lines, a row beyond the entry);
//  - the shown entry is read-only (the edit floor of an admin-protected book);
//  - the shown bounds no longer delimit one entry of the journal (the journal changed under
//    the screen without a redisplay), so that a keystroke can never land in another entry.
//
// Numbers follow the machine's number format (LocaleInfo): amounts take the grouping and
// decimal symbols; folios take "-", "." and the decimal symbol as their decimal point. Key
// filters receive the typed character as UTF-8 text: one character, or a control character
// ("\b" Backspace, "\x03" Ctrl+C, "\x16" Ctrl+V).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "books/day_date.h"
#include "books/entry_screen.h"
#include "platform/colors.h"
#include "platform/key_codes.h"
#include "platform/locale_info.h"

namespace qv {

// ---- Key filters: true when the typed character is to reach the box, false to drop it.

// Amount boxes: digits, the locale's grouping and decimal symbols, Backspace, Ctrl+A (select
// all), Ctrl+C and Ctrl+V. No minus sign, no letters, no Enter, no Ctrl+X. Where the locale groups
// digits with a blank (a no-break or thin space), an ordinary space is taken as that symbol too.
bool AmountKeyPasses(std::string_view typed, const LocaleInfo& locale);
// Folio boxes: digits, "-", ".", "/", the locale's decimal symbol, Backspace and Ctrl+A
// (select all); the clipboard keys are refused.
bool FolioKeyPasses(std::string_view typed, const LocaleInfo& locale);
// The date box: digits, "-", "/", Backspace and Ctrl+A (which selects the whole date, so
// that a date typed next replaces it). "." is refused whatever the locale's date separator
// is (the date readers take "-" and "/" for any separator).
bool DateKeyPasses(std::string_view typed);
// The notes box has no key filter; its store makes line breaks blanks (StoreNotes).

// Key-down in an account list (virtual-key codes): Left and Right are cancelled,
// every other key goes on.
constexpr bool AccountNameKeyDownPasses(int keyCode) {
  return keyCode != kKeyLeft && keyCode != kKeyRight;
}

// ---- Reading the boxes' texts.

// An amount typed in an amount box, read by the locale's number format: digits, grouping
// symbols anywhere before the decimal symbol, at most one decimal symbol, blanks only at
// either end. More than four decimals are rounded to four, halves to even.
enum class TypedAmountKind {
  Value,       // a number: Value holds it
  Empty,       // the box is empty (or blank): the amount is 0
  Unreadable,  // anything else (a sign, letters, parentheses, two decimal symbols, a lone
               // symbol): the amount stays as it was, silently
  OutOfRange,  // a number too large for the amount type: the amount stays, with a message
};
struct TypedAmount {
  TypedAmountKind Kind = TypedAmountKind::Empty;
  Amount Value;
  bool operator==(const TypedAmount&) const = default;
};
TypedAmount ReadTypedAmount(std::string_view text, const LocaleInfo& locale);

// A folio box's text as a folio: every "-" is read as the decimal point, and so are "." and
// the locale's decimal symbol; blanks are skipped; the number ends at the first other
// character ("/" included); no digits, or a value out of range, gives 0. "110-1", "110.1"
// and, on a "," locale, "110,1" all read 110.1; "-5" reads 0.5.
Folio ReadFolioText(std::string_view text, const LocaleInfo& locale);

// ---- Account type-ahead in an account list (the model of ComboTypeAhead).
//
// Every key but Backspace and Enter is consumed: the list's text becomes the first item that
// starts with the typed prefix, ignoring case, with the rest of the item selected after the
// caret; a key that begins no item changes nothing. So only texts that begin an item can be
// typed. The prefix is the whole text and the key when nothing is selected, else the text
// before the selection and the key. Positions and lengths count characters (code points).
// The window keeps the keyboard in the box (no drop-down that takes the keys) and commits a
// found item at once (EntryFields::CommitAccountName).
struct TypeAheadResult {
  bool KeyPasses = false;  // Backspace and Enter reach the box untouched
  bool Found = false;
  int Item = -1;     // index of the found item in the list
  std::string Text;  // the found item's text
  std::size_t SelectionStart = 0;
  std::size_t SelectionLength = 0;
  bool operator==(const TypeAheadResult&) const = default;
};
TypeAheadResult ComboTypeAhead(const std::vector<std::string>& items, std::string_view text,
                               std::size_t selectionStart, std::size_t selectionLength,
                               std::string_view typed);

// ---- The status line messages of the fields.

// The status line after a folio box lost its focus with a folio that names no account:
// the box's text, " : " and "This account does not exists...".
std::string UnknownFolioText(std::string_view folioText);
// A typed amount too large for the amount type.
inline constexpr const char* kAmountOutOfRangeText =
    "This amount is too large to be recorded; it was not stored.";
// An amount that would make the entry's totals too large to add up.
inline constexpr const char* kTotalsOutOfRangeText =
    "With this amount the entry's totals would be too large to add up; it was not stored.";

// A change of the status line: the caption, the colour, or both.
struct StatusChange {
  std::optional<std::string> Text;
  std::optional<ColorValue> Color;
  bool operator==(const StatusChange&) const = default;
};

// Notes longer than this are cut on storing.
inline constexpr std::size_t kMaxNotesLength = 32767;

// ---- The fields of the shown entry.
class EntryFields {
 public:
  // `screen` gives the shown entry, its rows, the books and the locale; `clock` tells today
  // for unreadable dates. Both must outlive this object.
  EntryFields(EntryScreen& screen, const Clock& clock);

  // The posting line that the row of `side` (kDebit or kCredit) writes, or -1 when the row
  // takes no input (see the top of this file).
  int32_t WritableLine(uint8_t side, int row) const;
  // True when the shown bounds still delimit one entry of the journal.
  bool ShownEntryIntact() const;
  // True when the fields may write to the shown entry: intact and not read-only.
  bool ShownEntryWritable() const;

  // ---- Amount boxes (edited, by keys or by a paste): the text is read and stored in the
  // row's line (empty = 0); then the entry is totalled again. Returns what the status line
  // shows: the totals line, or a message in red when the amount or the entry's totals would
  // be out of range (the amount then stays as it was). An unreadable text stores nothing and
  // still shows the totals.
  struct AmountStore {
    bool Stored = false;
    EntryStatus Status;
  };
  AmountStore StoreAmount(uint8_t side, int row, std::string_view text);
  // What a row's amount box shows once left: the stored amount as the rows write it ("" for
  // 0 and for a row without a line).
  std::string ShownAmountText(uint8_t side, int row) const;

  // ---- Folio boxes (edited): the text read as a folio is stored in the row's line whether
  // or not an account has it (0 for an empty box). Returns the text the row's account list
  // shows: the name of that folio's account, "" when none; nothing when the row takes no
  // input (the list is left as it is).
  std::optional<std::string> StoreFolio(uint8_t side, int row, std::string_view text);
  // A folio box lost its focus: the status line caption for a folio that names no account
  // (UnknownFolioText), or nothing (an account has it, or the text's number is 0). The
  // line's folio is not changed here.
  std::optional<std::string> FolioLeftMessage(std::string_view text) const;

  // ---- Account lists: the list's text chosen (a click, a type-ahead match) or the list
  // left. When an account has exactly that name, its folio is stored in the row's line and
  // the result is the text the row's folio box shows; otherwise nothing changes and the
  // result is nothing. The window then puts the caret of the row's amount box at its start.
  std::optional<std::string> CommitAccountName(uint8_t side, int row, std::string_view name);
  // The status line after an account was chosen in a list with the mouse: "Debit <name>"
  // on the debit side (colour unchanged); no change on the credit side.
  static StatusChange AccountChosenStatus(uint8_t side, std::string_view name);
  // The status line after a key was released in an account list: black on the debit side;
  // red "Credit " on the credit side.
  static StatusChange AccountKeyUpStatus(uint8_t side);

  // ---- The notes box (edited): the text is stored on the entry's last line with line
  // breaks made blanks, cut to kMaxNotesLength characters and trimmed; "_" when nothing is
  // left. True when stored.
  bool StoreNotes(std::string_view text);

  // ---- The date box.
  // True when `text` is what the display shows for the entry's stored date: a box left
  // with such a text was not edited, and committing it changes nothing.
  bool DateTextUnedited(std::string_view text) const;
  // The date box lost its focus (or Up/Down was pressed in it). An unedited text changes
  // nothing. Otherwise the text is read in the book's date style; an unreadable text (or
  // one that reads as the zero date) gives today's date and InvalidDate, for which the
  // window shows "Invalid Date". The date goes to every line of the shown entry. Text is
  // what the box is to show afterwards; the window then closes the picker's drop-down.
  struct DateCommit {
    bool Changed = false;
    bool InvalidDate = false;
    std::string Text;
    bool operator==(const DateCommit&) const = default;
  };
  DateCommit CommitDate(std::string_view text);
  // A typed date read in the book's date style: today, and Invalid, when the text cannot be
  // read (or reads as the zero date).
  struct TypedDate {
    DaySerial Date = kZeroDate;
    bool Invalid = false;
  };
  TypedDate ReadTypedDate(std::string_view text) const;
  // A key went down in the date box. Up and Down commit the date as above and
  // give the journal scroll bar's value that shows the entry before or after (the bar brings
  // it into range); the key is then consumed. Other keys: nothing (Handled false).
  struct DateKey {
    bool Handled = false;
    DateCommit Commit;
    int64_t ScrollValue = 0;
  };
  DateKey DateKeyDown(int keyCode, std::string_view text);

  // ---- Checked totals.
  // The debit and credit totals of lines first..last of the journal, with line `replaced`
  // (or none, -1) taken at `amount`; nothing when a total or their difference leaves the
  // amount range.
  struct Totals {
    Amount Debit;
    Amount Credit;
  };
  std::optional<Totals> EntryTotals(int32_t replaced = -1, Amount amount = Amount()) const;

  EntryScreen& Screen() { return screen_; }

 private:
  Books& books() const { return screen_.TheBooks(); }
  // The shown entry's stored date as the date box shows it; nothing when the shown bounds
  // lie outside the journal.
  std::optional<std::string> ShownDateText() const;
  const LocaleInfo& locale() const { return screen_.Locale(); }

  EntryScreen& screen_;
  const Clock& clock_;
};

}  // namespace qv
