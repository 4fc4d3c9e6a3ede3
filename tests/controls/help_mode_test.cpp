#include "controls/help_mode.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

std::vector<std::string> SplitParagraphs(const std::string& text) {
  std::vector<std::string> paragraphs;
  std::size_t at = 0;
  const std::string separator = kHelpParagraphBreak;
  while (true) {
    const std::size_t next = text.find(separator, at);
    paragraphs.push_back(text.substr(at, next - at));
    if (next == std::string::npos) break;
    at = next + separator.size();
  }
  return paragraphs;
}

TEST(HelpTexts, TheGeneralTextHasItsEightParagraphsVerbatim) {
  const auto paragraphs = SplitParagraphs(GeneralHelpText());
  ASSERT_EQ(paragraphs.size(), 8u);
  EXPECT_EQ(paragraphs[0],
            "You are now in help mode. While you are in help mode the mouse pointer will have a "
            "question mark '?' display. By using this pointer you can get help on any of "
            "commands and functions just by clicking on them...");
  EXPECT_EQ(paragraphs[3], "OTHER INFORMATION");
  EXPECT_NE(paragraphs[2].find("finacial period."), std::string::npos);
  EXPECT_EQ(paragraphs[7].substr(0, 45), "Inserting Entries will make entries look too ");
  EXPECT_NE(paragraphs[7].find("too grate for most people"), std::string::npos);
  EXPECT_NE(paragraphs[7].find("was if falsified?."), std::string::npos);
}

TEST(HelpTexts, AboutEndsWithTheLastNarration) {
  const std::string& about = AboutText();
  const auto paragraphs = SplitParagraphs(about);
  ASSERT_EQ(paragraphs.size(), 11u);
  EXPECT_EQ(paragraphs[3], "INVOICES AND INVENTORY");
  EXPECT_EQ(paragraphs[6], "Example could be monthly totals :");
  EXPECT_EQ(paragraphs[7],
            "Cost of Goods Sold     $8,900\r\n               Inventory            $8,900\r\n"
            "Total COGS sold in May");
  EXPECT_EQ(about.substr(about.size() - 20), "Accounts Paid in May");
}

TEST(HelpTexts, CommandCardsAndWhichCommandsActInHelpMode) {
  EXPECT_EQ(MenuCommandHelp(MenuCommand::SearchEntryNumbers),
            (HelpCard{"Search Entries No...", "Searches each of the entrie numbers for a match."}));
  EXPECT_EQ(MenuCommandHelp(MenuCommand::PayrollCalculator).title, "Payroll Calculator...");
  EXPECT_EQ(MenuCommandHelp(MenuCommand::RunningCalculator).title, "Rolling Caculator");
  EXPECT_EQ(MenuCommandHelp(MenuCommand::PreparedEntries).title, "Dictionary of Entries...");

  const HelpCard trial = MenuCommandHelp(MenuCommand::TrialBalance);
  const auto paragraphs = SplitParagraphs(trial.text);
  ASSERT_EQ(paragraphs.size(), 4u);
  EXPECT_NE(paragraphs[0].find("bookkeeper\u2018s work"), std::string::npos);
  EXPECT_EQ(paragraphs[3], "Right click mouse button on account to see T-Account Ledger.");
  EXPECT_NE(MenuCommandHelp(MenuCommand::BalanceSheet).text.find("Owner\u2019s Equity"),
            std::string::npos);
  const std::string comparative = MenuCommandHelp(MenuCommand::ComparativeStatement).text;
  EXPECT_EQ(comparative.back(), ' ') << "the comparative statement's text ends in a blank";

  EXPECT_TRUE(ActsInHelpMode(MenuCommand::RunningCalculator));
  EXPECT_TRUE(ActsInHelpMode(MenuCommand::DepreciationCalculator));
  EXPECT_FALSE(ActsInHelpMode(MenuCommand::PayrollCalculator));
  EXPECT_FALSE(ActsInHelpMode(MenuCommand::TrialBalance));
}

class HelpModeTest : public ::testing::Test {
 protected:
  ScreenPointer pointer;
  HelpMode help{pointer};
  const HelpCard card{"Trial Balance", "A Trial Balance is a list..."};
};

TEST_F(HelpModeTest, ContentsSwitchesOnWithTheGeneralTextAndCardsOnlyFillTheWindow) {
  EXPECT_FALSE(help.ShowCard(card)) << "off: the handler acts";
  EXPECT_FALSE(help.HelpWindow().loaded);

  help.Toggle(kMainHelpSwitch);
  EXPECT_TRUE(help.IsOn());
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);
  EXPECT_TRUE(help.Checked(kMainHelpSwitch));
  const HelpMode::Window& window = help.HelpWindow();
  EXPECT_TRUE(window.loaded && window.shown);
  EXPECT_EQ(window.caption, "Help Contents...");
  EXPECT_EQ(window.title, "Quorvel Help");
  EXPECT_EQ(window.text, GeneralHelpText());

  HelpMode::Window expected = window;
  expected.title = card.title;
  expected.text = card.text;
  EXPECT_TRUE(help.ShowCard(card)) << "on: the handler must not act";
  EXPECT_EQ(help.HelpWindow(), expected) << "only the title and the text change";
  EXPECT_TRUE(help.IsOn());
}

TEST_F(HelpModeTest, ClosingTheHelpWindowEndsHelpMode) {
  help.Toggle(kMainHelpSwitch);
  help.Unload();
  EXPECT_FALSE(help.IsOn());
  EXPECT_FALSE(help.Checked(kMainHelpSwitch));
  EXPECT_FALSE(help.HelpWindow().loaded);
  EXPECT_FALSE(help.HelpWindow().shown);
}

TEST_F(HelpModeTest, SwitchingOnAfterAboutBringsBackTheGeneralText) {
  help.Toggle(kMainHelpSwitch);
  help.ShowAbout();
  EXPECT_FALSE(help.IsOn()) << "About ends help mode";
  EXPECT_FALSE(help.Checked(kMainHelpSwitch));
  EXPECT_EQ(help.HelpWindow().caption, "About...");
  EXPECT_EQ(help.HelpWindow().title, "Quorvel");
  EXPECT_EQ(help.HelpWindow().text, AboutText());
  EXPECT_TRUE(help.HelpWindow().about);

  help.Toggle(kMainHelpSwitch);
  EXPECT_TRUE(help.IsOn());
  EXPECT_EQ(help.HelpWindow().caption, "Help Contents...");
  EXPECT_EQ(help.HelpWindow().title, "Quorvel Help");
  EXPECT_EQ(help.HelpWindow().text, GeneralHelpText());
  EXPECT_FALSE(help.HelpWindow().about);
}

TEST_F(HelpModeTest, ALongJobEndsHelpModeAndTheItemTakesTwoClicksToComeBack) {
  help.Toggle(kMainHelpSwitch);
  { BusyPointer job(pointer); }
  EXPECT_FALSE(help.IsOn());
  EXPECT_EQ(pointer.Shape(), PointerShape::Normal);
  EXPECT_TRUE(help.Checked(kMainHelpSwitch)) << "the item stays checked";
  EXPECT_TRUE(help.HelpWindow().shown);
  EXPECT_FALSE(help.ShowCard(card)) << "commands act again";

  help.Toggle(kMainHelpSwitch);
  EXPECT_FALSE(help.IsOn());
  EXPECT_FALSE(help.Checked(kMainHelpSwitch));
  EXPECT_FALSE(help.HelpWindow().loaded);

  help.Toggle(kMainHelpSwitch);
  EXPECT_TRUE(help.IsOn());
  EXPECT_TRUE(help.Checked(kMainHelpSwitch));
}

TEST_F(HelpModeTest, OtherWindowsItemsKeepTheirOwnCheckMarks) {
  const HelpSwitch configuration = help.AddSwitch();
  help.Toggle(kMainHelpSwitch);
  help.Toggle(configuration);
  EXPECT_TRUE(help.IsOn());
  EXPECT_TRUE(help.Checked(configuration));
  EXPECT_FALSE(help.Checked(kMainHelpSwitch)) << "reloading the window unchecked the main item";

  // Closing the help window clears only the main item's mark.
  help.Unload();
  EXPECT_TRUE(help.Checked(configuration));
  help.Toggle(configuration);
  EXPECT_FALSE(help.Checked(configuration));
  EXPECT_FALSE(help.IsOn());

  // The chart editor's item shows its own card on switching on.
  const HelpSwitch chart = help.AddSwitch();
  help.Toggle(chart, HelpCard{"Chart of Accounts", "Sets up the accounts."});
  EXPECT_EQ(help.HelpWindow().title, "Chart of Accounts");
  EXPECT_EQ(help.HelpWindow().caption, "Help Contents...");
  help.RemoveSwitch(chart);
  EXPECT_FALSE(help.Checked(chart));
}

TEST_F(HelpModeTest, ACardWithTheHelpPointerSetElsewhereLoadsTheWindowWithoutShowingIt) {
  pointer.Set(PointerShape::Help);
  EXPECT_TRUE(help.ShowCard(card));
  EXPECT_TRUE(help.HelpWindow().loaded);
  EXPECT_FALSE(help.HelpWindow().shown);
  EXPECT_EQ(help.HelpWindow().title, card.title);
}

}  // namespace
}  // namespace qv
