#pragma once
// The ten prepared entry groups without their window: the working list of the group being
// edited, the selected prepared entry, the edits of its lines, new entries, added lines,
// deletion, copy and paste, switching groups, the group names, and including the group or
// one entry in the journal.
//
// The book keeps the groups (Books::PreparedGroups) and a working list
// (Books::PreparedEntryBuffer), a copy of the group being edited; every edit changes the
// working list, which goes back into its group when the user switches group, when the
// window closes, and before the book is saved.
//
// A prepared entry follows the journal's rules: a run of lines, debit lines first, whose
// last line carries the notes ("_" for none). The selected entry is always the whole entry
// that holds the focused line, so that every command acts on exactly one entry of the list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/books.h"
#include "books/entry_fields.h"
#include "platform/locale_info.h"

namespace qv {

// Rows of the window's list.
inline constexpr int kPreparedRows = 61;
// A side of an entry takes further lines through the window's add-line buttons while it has
// fewer than this many.
inline constexpr int kPreparedSideLimit = 30;

// What a paste of the clipboard's text gives.
struct PreparedPaste {
  enum class Kind { NotAnEntry, Refused, Lines };
  Kind Result = Kind::NotAnEntry;
  std::string Message;             // why a text was refused
  std::vector<PostingLine> Lines;  // the lines to append, undated
};
// Reads an entry clipboard text for the working list: rows of five TAB-separated fields
// (the folio in field 0 of a debit row, field 1 of a credit row; the amount in field 3; the
// notes in field 4, "~~" read as ","), ended by the "QV" marker. A text without the marker,
// or with nothing before it, is no entry. A row that lacks a field or whose folio or amount
// is no number, or an entry with more than 31 lines on a side, refuses the whole text. The
// lines are brought under the entry rules as the journal's paste brings them.
PreparedPaste ReadPreparedPaste(std::string_view text, std::string_view decimalSymbol);

// One row of the list as the window shows it.
struct PreparedRow {
  int32_t Line = 0;
  uint8_t Side = kDebit;
  // The side label: on a debit line that starts an entry, on an entry's first credit line.
  bool SideLabel = false;
  std::string FolioText;  // "" for folio 0 or less; the locale's decimal symbol, no dashes
  std::string AccountName;
  std::string AmountText;  // "" for 0
  bool NotesBox = false;   // the line ends its entry: the notes box stands under it
  std::string NotesText;   // "" for "_"
};

// What including in the journal did.
struct IncludeResult {
  bool Done = false;
  int32_t FirstLine = 0;  // the journal's new lines
  int32_t LastLine = 0;
  std::string Message;  // why nothing was included
};

class PreparedGroupsModel {
 public:
  explicit PreparedGroupsModel(Books& books);

  // ---- Loading, storing, switching.
  // Loads group 1: the captions are set from the group names (NUL characters shown as
  // blanks; the names stay as the book holds them), the working list becomes a copy of group
  // 1 and its first entry is selected.
  void Load();
  // The working list goes back into its group. A group without lines, shown as one empty
  // entry, stays without lines while that entry is unchanged: showing a group changes none.
  void Store();
  // Stores the working list, then loads group `group` (0 to 9) and selects its first entry.
  void SwitchGroup(int group);
  int CurrentGroup() const { return group_; }

  // ---- The group names.
  // The caption of a group's item in the Select menu: its name at load ("Group 3..." when it
  // has none), then what is typed.
  const std::string& Caption(int group) const;
  // The text of the name box after a load or a switch.
  const std::string& NameBoxText() const { return nameBox_; }
  // A name typed in the name box, trimmed, for the current group; its caption follows. A name
  // of more than 120 characters is refused: the message is returned and nothing changes.
  std::optional<std::string> StoreGroupName(std::string_view text);

  // ---- The list.
  const std::vector<PostingLine>& Lines() const { return books_.PreparedEntryBuffer; }
  int32_t LastWorkLine() const { return static_cast<int32_t>(Lines().size()) - 1; }
  // The rows that show lines top..top+count-1 (fewer at the list's end).
  std::vector<PreparedRow> Rows(int32_t top, int count, const LocaleInfo& locale) const;

  // ---- The focus and the selected entry.
  // A field of the row that shows `line` got the focus (a line beyond the list is the last).
  void Focus(int32_t line);
  int32_t FocusLine() const { return focus_; }
  // The whole entry that holds the focused line.
  EntryRange Selection() const;
  // The add-line button of the focused line's side, when that side may take another line;
  // 0 when none (a line of neither side, or a full side).
  uint8_t AddLineSide() const;

  // ---- Edits of a line, written at once.
  // A typed folio; the account name to show, or nothing when the text is refused (not a
  // number, two decimal points: the line keeps its folio).
  std::optional<std::string> StoreFolio(int32_t line, std::string_view text,
                                        const LocaleInfo& locale);
  // The message for a folio box left holding `text`, which did not store; nothing when it
  // stores.
  std::optional<std::string> FolioLeftMessage(int32_t line, std::string_view text,
                                              const LocaleInfo& locale) const;
  // An account name left in a row's list: its folio goes to the line and the folio text to
  // show comes back ("-" for the decimal symbol when the book shows dashes); nothing when
  // no account has that name.
  std::optional<std::string> StoreAccountName(int32_t line, std::string_view name,
                                              const LocaleInfo& locale);
  // A typed amount, read by the locale's number format; a text that is no amount leaves the
  // line's amount as it was. True when stored.
  bool StoreAmount(int32_t line, std::string_view text, const LocaleInfo& locale);
  // The notes typed under an entry's last line; blank notes are stored as "_".
  void StoreNotes(int32_t line, std::string_view text);

  // ---- Commands.
  // Appends an empty entry and selects it; its first line is returned.
  int32_t NewEntry();
  // Adds a line of `side` just above the focused line, within the selected entry; the new
  // line takes the focus. False when the add-line button of that side is not offered.
  bool AddLine(uint8_t side);
  // Deletes the selected entry, unless it is the list's only one; the list's last entry is
  // selected then. True when deleted.
  bool DeleteEntry();
  // The selected entry as an entry clipboard text (TABs dropped from the notes).
  std::string CopyText() const;
  // Appends the lines of a pasted text and selects the first pasted entry.
  PreparedPaste Paste(std::string_view text, const LocaleInfo& locale);
  // Appends the whole working list (`wholeGroup`) or the selected entry to the journal,
  // dated `today`, numbered on from the journal's last entry number when the book numbers
  // entries (each prepared entry its own number). Refused, with a message, when the lines
  // break the journal's rules.
  IncludeResult Include(bool wholeGroup, DaySerial today);

 private:
  std::vector<PostingLine>& List() { return books_.PreparedEntryBuffer; }
  void SelectFirstEntry();
  // A group's name as the window shows it: trimmed, NUL characters as blanks.
  std::string ShownGroupName(int group) const;

  Books& books_;
  int group_ = 0;
  int32_t focus_ = 0;
  std::array<std::string, kPreparedGroupCount> captions_;
  std::string nameBox_;
};

}  // namespace qv
