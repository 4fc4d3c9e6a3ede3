#include "books/entry_help.h"

#include "platform/string_table.h"

namespace qv {

EntryHelpText EntryHelp(EntryHelpTopic topic) {
  switch (topic) {
    case EntryHelpTopic::Notes:
      return {"Notes",
              "Gives some detailed information on the current Debit / Credit entry. Double "
              "click to search all entries..."};
    case EntryHelpTopic::AccountName:
      return {"Account Name",
              "By using Account name combo box you can select an account to debited or credit."};
    case EntryHelpTopic::Amount:
      return {"Amount", "The amount to be debit or credit to each account.\r\n\r\n"};
    case EntryHelpTopic::Folio:
      return {"Account / Folio Number",
              "Each account is assign a number, which is quicker to type in than selecting an "
              "account name using the combo box."};
    case EntryHelpTopic::Date:
      return {"Date",
              "This is where each entry can be dated. The first journal entry will be start of "
              "financial year or period and the last journal entry will be the end of the "
              "financial year or period."};
    case EntryHelpTopic::NewEntry:
      return {"New Entry", "Creates a new journal entry..."};
    case EntryHelpTopic::CompoundEntries:
      return {"Compound Entries",
              "Some transactions might involve more than two accounts, and we would use three "
              "or more lines to write those entries. These are called compound journal "
              "entries. There is a limit of 30 debit or credit accounts that can be included "
              "in a journal entry."};
    case EntryHelpTopic::DeleteEntry:
      return {"Delete Entry",
              "Will removes the currently selected entry. The Ctrl-D key will do this as "
              "well..."};
    case EntryHelpTopic::Reconcile:
      // Titled with the Reconcile box's caption.
      return {Str(147) + " Any Account",
              "This is used in conjunction with 'Display' 'Reconciliation...' menu item. Each "
              "entry can be check by using this check box. Entries that are not checked will "
              "show up in the Reconciliation account displays, making it easy to track down "
              "what has been PAID (Checked) or NOT (Un-Checked). A common example would be "
              "reconciliation on the bank account by using the bank statement. If money has "
              "not been received or a cheque has been bounced you will leave unchecked until "
              "it has been paid or ridden off, the reconciliation display will display these "
              "account inconsistencies until corrected (Checked)."};
  }
  return {};
}

}  // namespace qv
