#pragma once
// The commands that change the journal around the shown entry, without the window: New
// Entry, adding a debit or credit line, the sum command that fills the first amount box,
// deleting the shown entry and the entry's reconciled mark. Each works on the books in
// memory, leaves the entry screen showing the entry the window is to show, and returns what
// the window does next: the journal scroll bar's range and value, the status line, which
// box gets the focus, what the buttons and the row scroll bar do. None touches a window or
// a file, and none shows anything: the help-mode test and the admin password prompt belong
// to the window, which passes the prompt's answer in.
//
// Every command leaves the journal under its rules (CheckJournal): a command that would
// break them refuses and changes nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "books/books.h"
#include "books/day_date.h"
#include "books/entry_fields.h"
#include "books/entry_screen.h"
#include "platform/colors.h"

namespace qv {

// The box that the window gives the focus to after a command.
enum class EntryFocus { None, JournalID, DebitFolio, CreditFolio, DebitAmount, CreditAmount };

// The status line when the journal's totals cannot be added up.
inline constexpr const char* kJournalTotalsOutOfRangeText =
    "The journal's totals are too large to add up.";

class EntryCommands {
 public:
  // `screen` gives the shown entry and the books; `clock` tells today. Both must outlive
  // this object.
  EntryCommands(EntryScreen& screen, const Clock& clock);

  // ---- New Entry (the New Entry button, its menu item and Ctrl+N).
  // Appends an empty two-line entry (a debit line, then a credit line with notes "_") after
  // the journal's last line and shows it. Its date is what the date picker shows,
  // `pickerText`: the shown entry's own date while that text is unedited, today when it is
  // empty, today with InvalidDate when it cannot be read. EntryCounter rises by one; with
  // AutoTrackingNumbers = 1 both lines get the number NextEntryNumber gives, otherwise
  // fourteen blanks. The status line reports the balance of the whole journal.
  //
  // The window: hides CalcCompound (in help mode too, before its help test); sets
  // ScrollAcc's maximum and value and shows the entry; sets the picker's text to DateText
  // (showing "Invalid Date" first when InvalidDate); sets JournalID's text to
  // EntryNumberText with all of it selected, and gives it the focus; shows both add-line
  // buttons; writes Status on the status line.
  struct NewEntryResult {
    int32_t ScrollMax = 0;
    int64_t ScrollValue = 0;
    std::string DateText;
    bool InvalidDate = false;
    std::string EntryNumberText;
    EntryStatus Status;
    EntryFocus Focus = EntryFocus::JournalID;
  };
  NewEntryResult NewEntry(std::string_view pickerText);

  // The status line of New Entry: "The Accounts are balanced" in black when the debit and
  // credit totals of the whole journal agree; otherwise, in red, "Credit Accounts are out
  // of balance by" (more debits) or "Debit Accounts are out of balance by" (more credits),
  // a blank and the difference as a plain number with the locale's decimal symbol. Totals
  // beyond the amount range give kJournalTotalsOutOfRangeText in red.
  EntryStatus JournalBalanceStatus() const;

  // ---- Add a line (the add-line images: kDebit or kCredit).
  // Appends an empty line of that side to the shown entry, which must be the journal's last
  // entry and writable: it takes the entry's date, number and reconciled mark, debit lines
  // stay before credit lines (a new debit line becomes the last debit line), and the notes
  // stay on the entry's last line. A side that already has kMaxRowsPerSide lines takes no
  // more: the command refuses and the side's button is hidden.
  //
  // `boxHeight` is the height of the row box (eBox) in twips. The rows are laid out again;
  // when they no longer fit, the row scroll bar shows and the rows scroll so that the new
  // row is in view.
  //
  // The window: hides CalcCompound (in help mode too, before its help test); when Added,
  // displays the screen's layout, applies RowScroll (visibility, maximum and the value,
  // which is the screen's row offset already) and gives the focus to the
  // folio box of row FocusRow on the side; hides the side's button when HideButton.
  struct AddLineResult {
    bool Added = false;
    bool HideButton = false;
    RowScrollState RowScroll;
    EntryFocus Focus = EntryFocus::None;
    int FocusRow = 0;
  };
  AddLineResult AddLine(uint8_t side, int32_t boxHeight);

  // ---- The sum command (CalcCompound): fills the first amount box so that the entry
  // balances. `debitText` and `creditText` are the texts of the first debit and credit
  // amount boxes.
  //  - An entry of one debit and one credit line: the other side's box gets the text of the
  //    box that has one (the debit box's first), and it is stored.
  //  - A compound entry: the first debit box gets the credit total, unless the entry has
  //    several debit lines and one credit line, when the first credit box gets the debit
  //    total; it is stored.
  // Refused on a read-only entry. The window sets the box's text to Text, writes Status on
  // the status line and gives the focus to the box.
  struct CalcCompoundResult {
    bool Acted = false;
    uint8_t Side = kDebit;  // the side of the box that was filled
    std::string Text;
    EntryStatus Status;
    EntryFocus Focus = EntryFocus::None;
  };
  CalcCompoundResult CalcCompound(std::string_view debitText, std::string_view creditText);

  // ---- Delete the shown entry (Edit > Delete Entry > Are you sure ?, Ctrl+D).
  // `gatePassed` is the admin gate's answer (PassAdminGate), run by the window after its
  // help test; false changes nothing. Otherwise the lines of the entry holding CurrentLine
  // are removed, the later lines move down, BooksStamp rises, and an emptied journal starts
  // afresh with one empty entry (NewStart, dated today). The screen then shows the entry
  // that now holds the deleted entry's first line: the one that followed it, or the
  // journal's last entry.
  //
  // The window: shows the busy pointer while it runs (without processing other events);
  // sets ScrollAcc's maximum and value and shows that entry.
  struct DeleteResult {
    bool Deleted = false;
    int32_t ScrollMax = 0;
    int64_t ScrollValue = 0;
  };
  DeleteResult DeleteShownEntry(bool gatePassed);

  // ---- The Reconcile box was clicked: every line of the shown entry gets the mark (1
  // ticked, 0 clear), read-only entries included. False when the shown bounds no longer
  // delimit one entry. In help mode the window stores nothing and sets the box back to
  // EntryScreen::Reconciled().
  bool SetReconciled(bool ticked);

 private:
  Books& books() { return screen_.TheBooks(); }
  const Books& books() const { return screen_.TheBooks(); }

  EntryScreen& screen_;
  const Clock& clock_;
  EntryFields fields_;
};

}  // namespace qv
