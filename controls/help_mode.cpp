#include "controls/help_mode.h"

#include <initializer_list>
#include <string_view>

#include "platform/string_table.h"

namespace qv {

namespace {

// The parts, each after the first preceded by `separator`.
std::string Joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
  std::string text;
  for (const std::string_view part : parts) {
    if (!text.empty()) text += separator;
    text += part;
  }
  return text;
}

// The lines of an example entry and its narration, one line each.
std::string ExampleEntry(std::initializer_list<std::string_view> lines) {
  return Joined(lines, "\r\n");
}

}  // namespace

std::string Paragraphs(std::initializer_list<std::string_view> paragraphs) {
  return Joined(paragraphs, kHelpParagraphBreak);
}

const std::string& GeneralHelpText() {
  static const std::string text = Paragraphs(
      {"You are now in help mode. While you are in help mode the mouse pointer will have a "
       "question mark '?' display. By using this pointer you can get help on any of commands "
       "and functions just by clicking on them...",
       "To exit out of help mode unselect the Help / Contents menu item or close this window...",
       "REMEMBER : The first journal entry (Lowest Date) will be start of finacial period and "
       "the last journal entry (Highest Date) will be the end of the finacial period.",
       "OTHER INFORMATION",
       "Most Accounting Software, it is very hard to seen any inconsistencies due to the many "
       "layers of button and windows. Some showing the raw data and skipping to the statements. "
       "Since most of this software is alien to most accountants, fraud and mistakes does go "
       "undetected.",
       "The information Quorvel gives is clear to any genuine accountant or bookkeeper: there "
       "are no months of training to go through and no upgrades to buy when the tax rules "
       "change. Once it is set up, an experienced accountant or bookkeeper knows what to do.",
       "With Quorvel, staff who do not know what they are doing are seen at once, and balances "
       "or entry inconsistencies are seen at once by an accountant or bookkeeper with a keen "
       "eye.",
       "Inserting Entries will make entries look too neat and tidy and will open the business "
       "up to fraud. Since the temptation is too grate for most people we have removed it. By "
       "having entries out of date order, an accountant can see why it was entered in late or "
       "was if falsified?. This will also help in determining if the person putting in the "
       "entry is good or not at their job."});
  return text;
}

const std::string& AboutText() {
  static const std::string text = Paragraphs(
      {"Bookkeeping by debits and credits helps to avoid mistakes. It is why professional "
       "accountants use it, and it makes an error in an entry easier to trace.",
       "It gives more complete information than a single-entry checkbook approach, since each "
       "transaction has a source and a destination. Its reports show the year's profit, where "
       "the money went, the net worth of the business and its taxes.",
       "Depending on memory and harddisk space this Accounting system can handle up to 32,000 "
       "Accounts and 20,000,000 entries...",
       "INVOICES AND INVENTORY",
       "Inventory is limited and Invoices are currently not supported in Quorvel, because it is "
       "not really need. There are thousands of free invoice and inventory application out on "
       "the software market, some have bar code and pricing system and if you are a small "
       "market size business you maybe using a invoice book bought at a news agent, why invent "
       "the wheel.",
       "All you have do is transfer all totals of weekly, monthly or bimonthly Inventory, "
       "Sales, Cost of Goods Sold, Sales Tax, Account Receivable in four journal entries at the "
       "end of each week, month or secondly month.",
       "Example could be monthly totals :",
       // Four example entries: their lines, then their narration.
       ExampleEntry({"Cost of Goods Sold     $8,900", "               Inventory            $8,900",
                     "Total COGS sold in May"}),
       ExampleEntry({"Bank                   $30,000",
                     "               Sales                 $27,000",
                     "               Sales Tax             $3,000", "Total Cash Sale in May"}),
       ExampleEntry({"Account Receivable     $30,000",
                     "              Sales                          $36,000",
                     "              Sales Tax                    $4,000",
                     "Total Credit Sale in May"}),
       ExampleEntry({"Cash                                   $38,000",
                     "              Account Receivable        $38,000", "Accounts Paid in May"})});
  return text;
}

HelpMode::HelpMode(ScreenPointer& pointer) : pointer_(pointer) {}

HelpSwitch HelpMode::AddSwitch() {
  const HelpSwitch item = nextSwitch_++;
  checked_[item] = false;
  return item;
}

void HelpMode::RemoveSwitch(HelpSwitch item) {
  if (item != kMainHelpSwitch) checked_.erase(item);
}

bool HelpMode::Checked(HelpSwitch item) const {
  const auto it = checked_.find(item);
  return it != checked_.end() && it->second;
}

void HelpMode::Toggle(HelpSwitch item, const HelpCard& card) {
  const auto it = checked_.find(item);
  if (it == checked_.end()) return;
  if (it->second) {
    it->second = false;
    Unload();  // also sets the pointer back to normal
    return;
  }
  if (window_.loaded) Unload();
  it->second = true;
  pointer_.Set(PointerShape::Help);
  Load();
  if (!card.title.empty()) {
    window_.title = card.title;
    window_.text = card.text;
  }
  window_.shown = true;
}

bool HelpMode::ShowCard(const HelpCard& card) {
  if (!IsOn()) return false;
  if (!window_.loaded) Load();
  window_.title = card.title;
  window_.text = card.text;
  return true;
}

void HelpMode::ShowAbout() {
  checked_[kMainHelpSwitch] = false;
  if (!window_.loaded) Load();
  window_.caption = kAboutCaption;
  window_.title = kAboutTitle;
  window_.text = AboutText();
  window_.about = true;
  window_.shown = true;
  pointer_.Set(PointerShape::Normal);
}

void HelpMode::Unload() {
  checked_[kMainHelpSwitch] = false;
  pointer_.Set(PointerShape::Normal);
  window_ = Window{};
}

void HelpMode::Load() {
  window_ = Window{};
  window_.loaded = true;
  window_.text = GeneralHelpText();
}

}  // namespace qv
