#include "app/main_window_help.h"

#include "platform/string_table.h"

namespace qv {

namespace {

// The closing paragraphs of the statements' help: the mouse buttons on an account.
constexpr const char* kLeftClickLedger =
    "Left click mouse button on an account to see Running Balance Ledger.";
constexpr const char* kRightClickLedger =
    "Right click mouse button on account to see T-Account Ledger.";

}  // namespace

HelpCard EntryHelp(EntryHelpTopic topic) {
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
    case EntryHelpTopic::NewEntry: return {"New Entry", "Creates a new journal entry..."};
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
    case EntryHelpTopic::EntryNumber:
      return {"Entry Number",
              Paragraphs({"This can be anything from an invoice number, to a set of up to "
                          "fourteen different characters that will identifies the entry. By "
                          "entering in the reference in the 'Go to' text box, will take a user "
                          "straight to the entry...",
                          "Tracking number can be generated."})};
    case EntryHelpTopic::GoToReference:
      return {"Go to Reference Number", "Goes directly to any created Reference Number."};
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

HelpCard FileCommandHelp(FileCommand command) {
  switch (command) {
    case FileCommand::Open:
      return {
          "Open Project",
          "Opens a book file (*.acc), or a book kept as text (*.txt) or CSV (*.csv), in place of "
          "the book that is open. Save the open book first: what was not saved is lost."
          "\r\n\r\nA book with a file password asks for it; a text or CSV book asks for the admin "
          "password of the book that is open."};
    case FileCommand::Save:
      return {
          "Save Project",
          "Saves the book to the file it was opened from or last saved to. A new book asks for a "
          "file name."};
    case FileCommand::SaveAs:
      return {
          "Save Project As",
          "Saves the book under a new name, or in another form: a book file (*.acc), text (*.txt), "
          "CSV (*.csv) or an Excel 2.1 spreadsheet (*.xls)."
          "\r\n\r\nThe spreadsheet is a copy to read in a spreadsheet program; Save still writes "
          "the book file."};
    case FileCommand::InsertEntries:
      return {
          "Insert Entries",
          "Appends every entry of another book file after the last entry of this book, numbered "
          "after it. The other book's accounts and settings are not taken."};
    case FileCommand::BroughtForward:
      return {"Balance Brought / Forward",
              "Starts a new period: the journal is replaced by one opening entry for each account "
              "that has a balance, against the Balance b/f account, dated the day after the last "
              "entry (today at the latest). Every account keeps its balance."
              "\r\n\r\nSave then asks for a name: the old period's file is replaced only if you "
              "say so."};
    case FileCommand::CarriedOver:
      return {
          "Carried Over Accounts",
          "Starts a new period with the balances of the balance-sheet accounts: revenue, expense "
          "and cost of goods sold accounts start again at zero, and the period's profit or loss "
          "goes to the capital accounts. The new entries are dated the day after the last entry "
          "(today at the latest)."
          "\r\n\r\nSave then asks for a name: the old period's file is replaced only if you "
          "say so."};
  }
  return {};
}

HelpCard MenuCommandHelp(MenuCommand command) {
  switch (command) {
    case MenuCommand::SearchEntryNumbers:
      return {Str(123), "Searches each of the entrie numbers for a match."};
    case MenuCommand::SearchEntryNotes:
      return {Str(124), "Searches each of the entries notes for a match."};
    case MenuCommand::BalancePoint:
      return {Str(308), "Goes to the entry where the account start to go out of balance.."};
    case MenuCommand::UnbalancedEntries:
      return {Str(304), "Finds each of the entries that do not balance."};
    case MenuCommand::RunningCalculator:
      return {"Rolling Caculator",
              "Is better than a normal calculator, a user can enter in each value in there "
              "separate text box for calculation. This helps in verifying each value so going "
              "back and correcting a value is made very easy. The '+' can be turned in a "
              "times, minus or divide by clicking on it..."};
    case MenuCommand::DepreciationCalculator:
      return {"Depreciation Calculator",
              "Will calculate the reducing balance depreciation over a number of years. This "
              "is done by entering the cost of the asset by the rate of reduction by the "
              "number of year. After this is done it will calculate the depreciation and "
              "reducing balance for each of the years..."};
    case MenuCommand::PayrollCalculator: return {Str(295), "An easy way of calculating payroll."};
    case MenuCommand::MoveAccount:
      return {Str(125), "Moves all entires of one account to another."};
    case MenuCommand::JournalEntries:
      return {
          "Journal Entries",
          Paragraphs({"Will display Journal entries for ALL or selected accounts between two "
                      "selected dates (Journal Entry 1 will be the default start date and last "
                      "journal entry will be the end default date).",
                      "A displayed journal entry can be edited at any time by clicking on any of "
                      "the listed journal entries...",
                      "Matching searched results will be displayed here as well..."})};
    case MenuCommand::TAccountLedger:
      return {"T-Account Ledgers",
              "Will display all entries in selected account between two dates as a T-Account "
              "ledger. This helps in finding incorrect journal entries..."};
    case MenuCommand::RunningBalanceLedger:
      return {"Running Balance Ledgers",
              "Will display all entries is a selected account between two dates as a running "
              "balance ledger, same as T-Account but in a different format, also helps in "
              "finding incorrect journal entries..."};
    case MenuCommand::TrialBalance:
      return {
          "Trial Balance",
          Paragraphs({"A Trial Balance is a list of ledger account balances, prepared periodically "
                      "so as to prove the arithmetical accuracy of the bookkeeper‘s work. The "
                      "preparation of a Trial Balance is an essential pre-requisite to the "
                      "preparation of the end-of period financial statements...",
                      "Trial Balance begins at the lowest entry date and end at today's date.",
                      kLeftClickLedger, kRightClickLedger})};
    case MenuCommand::IncomeStatement:
      return {
          "Income Statement",
          Paragraphs({"Is a financial report to the owner of the business (and other users) "
                      "showing the revenue for an accounting period matched with the expenses of "
                      "earning that income...",
                      "Income Statement are produce by using data of dated journal entries between "
                      "two dates. It is possible for a user to close off each account manually by "
                      "journal entries to create a end and a start of a yearly period using the "
                      "same set of accounts.",
                      "Default Start date is the lowest date in the set of journal entries and the "
                      "end date is the highest date in the set of journal entries",
                      kLeftClickLedger, kRightClickLedger})};
    case MenuCommand::ComparativeStatement:
      return {"Comparative Sheets",
              "The comparative account / income sheet serves as a financial comparison from "
              "month to month. To see what kinds of trends are developing? The future "
              "financial security could very well depend on how well you grow and maximize "
              "your net worth. "};
    case MenuCommand::BalanceSheet:
      return {
          "Balance Sheet",
          Paragraphs({"Is a statement of the assets and liabilities of a business at a point of "
                      "time, especially at the end of an accounting period. It represents the "
                      "balances of the accounts remaining open after the Profit & Loss account has "
                      "been prepared. It also represents the balances of accounts carried forward "
                      "to the next accounting period. Showing the relationship between Assets, "
                      "Liabilities and Owner’s Equity...",
                      "Balance Sheet begins at the lowest entry date and end at today's date.",
                      kLeftClickLedger, kRightClickLedger})};
    case MenuCommand::PreparedEntries:
      return {"Dictionary of Entries...",
              "Create groups of pre-entered journal entries. These can then be added to the "
              "accounts in one hit... See payroll account file example."};
    case MenuCommand::AccountSettings:
      return {"Configuration",
              "Pre-sets all the accounts names, numbers and references. Date, Currency and "
              "Password setting can also be changed to the user(s) preferences..."};
  }
  return {};
}

bool ActsInHelpMode(MenuCommand command) {
  return command == MenuCommand::RunningCalculator ||
         command == MenuCommand::DepreciationCalculator;
}

}  // namespace qv
