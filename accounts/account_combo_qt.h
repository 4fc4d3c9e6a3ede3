#pragma once
// An account list of the chart windows (the move dialog, the prepared entries) and of the
// entry screen as an editable list with the program's type-ahead: a typed character shows
// the first account that begins with the text typed so far, the rest of its name selected
// after the caret; a character that begins no account is dropped. While the user types, the
// list of accounts is open below the box on the shown account; it takes no keys, so the
// next character still goes to the box. Escape, Enter or leaving the box closes it; a click
// on an account in it chooses that account. The box's own completer is off, so the keys
// stay in the box.

#include <QComboBox>
#include <string>
#include <vector>

class QKeyEvent;
class QListView;

namespace qv {

// Makes `combo` an account list of these names.
void MakeAccountCombo(QComboBox* combo);

// What a typed character did in an account list.
enum class TypeAheadOutcome {
  Passes,   // Backspace or Enter: the box takes the key itself
  Dropped,  // no account begins with the text: the key is dropped
  Shown,    // an account was found and is shown in the box
};

// The type-ahead of one typed character (UTF-8; "\b" Backspace, "\r" Enter) over `names`,
// opening the list of accounts for any other character.
TypeAheadOutcome AccountComboTypeAhead(QComboBox* combo, const std::vector<std::string>& names,
                                       const std::string& typed);

// Handles a key press in the list with the type-ahead over `names`; true when the key is
// consumed (a character, found or not), false when it goes on to the box (Backspace, Enter,
// keys that type nothing).
bool AccountComboKeyPress(QComboBox* combo, const std::vector<std::string>& names,
                          const QKeyEvent& key);

// Shows a name in the list without raising its signals.
void ShowComboName(QComboBox* combo, const QString& name);

// The open list of accounts of the box, or null while it is closed.
QListView* OpenTypeAheadList(const QComboBox* combo);

}  // namespace qv
