#pragma once
// Two keys that every text box of the program takes alike, whatever the window does with
// the box's other keys:
//
// - Ctrl+A selects the box's whole text, so that what is typed next replaces it. The
//   windows' key filters drop control characters, and some desktops' key bindings take
//   Ctrl+A for the start of the line; the selection is made here, before either.
// - Alt held with a key types nothing into a box (or into a list's type-ahead). Where no
//   menu caption or button answers the key, Qt would type its letter over the selection,
//   and a note could be lost unnoticed. Alt alone still opens the menu bar.
//
// A box whose own key handling uses or counts Ctrl+A declares so (LeaveSelectAllToBox): the
// first rule then leaves Ctrl+A to the box, which selects its text itself.

class QApplication;
class QWidget;

namespace qv {

// Puts both rules in place for every window of the application, once however often it is
// called.
void InstallTextBoxKeys(QApplication& app);

// Declares that `box` takes Ctrl+A itself.
void LeaveSelectAllToBox(QWidget& box);

}  // namespace qv
