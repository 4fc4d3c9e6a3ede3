#pragma once
// The main window's help cards: the title and explanation that each field and command of
// the main window shows in the help window while help mode is on, instead of acting (the
// fields keep storing what is typed).

#include "controls/help_mode.h"

namespace qv {

// The entry's fields and commands.
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
  EntryNumber,      // the entry-number box is clicked
  GoToReference,    // the go-to box is clicked
};

HelpCard EntryHelp(EntryHelpTopic topic);

// The File and Settings commands that open, save or replace the book.
enum class FileCommand { Open, Save, SaveAs, InsertEntries, BroughtForward, CarriedOver };

HelpCard FileCommandHelp(FileCommand command);

// The commands that open other windows or search.
enum class MenuCommand {
  SearchEntryNumbers,
  SearchEntryNotes,
  BalancePoint,
  UnbalancedEntries,
  RunningCalculator,
  DepreciationCalculator,
  PayrollCalculator,
  MoveAccount,
  JournalEntries,
  TAccountLedger,
  RunningBalanceLedger,
  TrialBalance,
  IncomeStatement,
  ComparativeStatement,
  BalanceSheet,
  PreparedEntries,
  AccountSettings,
};

HelpCard MenuCommandHelp(MenuCommand command);
// True for the commands that show their help and then act as well (the two calculators);
// every other command only shows its help while help mode is on.
bool ActsInHelpMode(MenuCommand command);
// The title that the reconciliation views show over the Reconcile box's help text.
inline constexpr const char* kReconciliationHelpTitle = "Account Reconciliation";

}  // namespace qv
