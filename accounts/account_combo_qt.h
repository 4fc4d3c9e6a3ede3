#pragma once
// An account list of the chart windows (the move dialog, the prepared entries) as an
// editable list with the program's type-ahead: a typed character shows the first account
// that begins with the text typed so far, the rest of its name selected after the caret;
// a character that begins no account is dropped. The list's own completer is off, so the
// keys stay in the box.

#include <QComboBox>
#include <string>
#include <vector>

class QKeyEvent;

namespace qv {

// Makes `combo` an account list of these names.
void MakeAccountCombo(QComboBox* combo);

// Handles a key press in the list with the type-ahead over `names`; true when the key is
// consumed (a character, found or not), false when it goes on to the box (Backspace, Enter,
// keys that type nothing).
bool AccountComboKeyPress(QComboBox* combo, const std::vector<std::string>& names,
                          const QKeyEvent& key);

// Shows a name in the list without raising its signals.
void ShowComboName(QComboBox* combo, const QString& name);

}  // namespace qv
