#pragma once
// The help texts of the entry's fields and commands: the title and explanation that each
// shows in the help window while help mode is on, instead of acting (the fields keep
// storing what is typed). The main window hands them to the help mode as a help card.

#include <string>

namespace qv {

enum class EntryHelpTopic {
  Notes,            // the notes box gets the focus
  AccountName,      // a debit account list gets the focus
  Amount,           // a credit amount box gets the focus
  Folio,            // a folio box is clicked
  Date,             // the date box is clicked
  NewEntry,         // New Entry
  CompoundEntries,  // the add-line images
  DeleteEntry,      // Delete Entry > Are you sure ?
  Reconcile,        // the Reconcile box
};

struct EntryHelpText {
  std::string Title;
  std::string Text;
  bool operator==(const EntryHelpText&) const = default;
};

EntryHelpText EntryHelp(EntryHelpTopic topic);

}  // namespace qv
