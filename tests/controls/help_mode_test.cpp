#include "controls/help_mode.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

std::vector<std::string> SplitParagraphs(const std::string& text) {
  std::vector<std::string> paragraphs;
  const std::string separator = kHelpParagraphBreak;
  for (std::size_t at = 0;;) {
    const std::size_t next = text.find(separator, at);
    paragraphs.push_back(text.substr(at, next - at));
    if (next == std::string::npos) return paragraphs;
    at = next + separator.size();
  }
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The texts keep their paragraphs, and their words as written, slips included.
TEST(HelpTexts, KeepTheirParagraphsAndSlipsAndOnlySomeCommandsActInHelpMode) {
  const auto general = SplitParagraphs(GeneralHelpText());
  ASSERT_EQ(general.size(), 8u);
  EXPECT_EQ(general[0].substr(0, 26), "You are now in help mode. ");
  EXPECT_EQ(general[3], "OTHER INFORMATION");
  EXPECT_TRUE(Contains(general[7], "too grate for most people"));
  const std::string& about = AboutText();
  ASSERT_EQ(SplitParagraphs(about).size(), 11u);
  EXPECT_EQ(SplitParagraphs(about)[7],
            "Cost of Goods Sold     $8,900\r\n               Inventory            $8,900\r\n"
            "Total COGS sold in May");
  EXPECT_EQ(about.substr(about.size() - 20), "Accounts Paid in May");
  EXPECT_EQ(MenuCommandHelp(MenuCommand::SearchEntryNumbers),
            (HelpCard{"Search Entries No...", "Searches each of the entrie numbers for a match."}));
  const auto trial = SplitParagraphs(MenuCommandHelp(MenuCommand::TrialBalance).text);
  ASSERT_EQ(trial.size(), 4u);
  EXPECT_TRUE(Contains(trial[0], "bookkeeper\u2018s work"));
  EXPECT_EQ(MenuCommandHelp(MenuCommand::ComparativeStatement).text.back(), ' ');

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

TEST_F(HelpModeTest, ContentsSwitchesOnCardsOnlyFillTheWindowAndClosingItEndsHelpMode) {
  EXPECT_FALSE(help.ShowCard(card)) << "off: the handler acts";
  EXPECT_FALSE(help.HelpWindow().loaded);

  help.Toggle(kMainHelpSwitch);
  EXPECT_TRUE(help.IsOn());
  EXPECT_EQ(pointer.Shape(), PointerShape::Help);
  EXPECT_TRUE(help.Checked(kMainHelpSwitch));
  HelpMode::Window expected{.loaded = true, .shown = true, .caption = "Help Contents...",
                            .title = "Quorvel Help", .text = GeneralHelpText()};
  EXPECT_EQ(help.HelpWindow(), expected);

  expected.title = card.title;
  expected.text = card.text;
  EXPECT_TRUE(help.ShowCard(card)) << "on: the handler must not act";
  EXPECT_EQ(help.HelpWindow(), expected) << "only the title and the text change";

  help.Unload();
  EXPECT_FALSE(help.IsOn());
  EXPECT_FALSE(help.Checked(kMainHelpSwitch));
  EXPECT_FALSE(help.HelpWindow().loaded || help.HelpWindow().shown);

  // A card with the help pointer set elsewhere loads the window without showing it.
  pointer.Set(PointerShape::Help);
  EXPECT_TRUE(help.ShowCard(card));
  EXPECT_TRUE(help.HelpWindow().loaded);
  EXPECT_FALSE(help.HelpWindow().shown);
  EXPECT_EQ(help.HelpWindow().title, card.title);
}

TEST_F(HelpModeTest, AboutEndsHelpModeAndSwitchingOnBringsBackTheGeneralText) {
  help.Toggle(kMainHelpSwitch);
  help.ShowAbout();
  EXPECT_FALSE(help.IsOn());
  EXPECT_FALSE(help.Checked(kMainHelpSwitch));
  EXPECT_EQ(help.HelpWindow(),
            (HelpMode::Window{.loaded = true, .shown = true, .caption = "About...",
                              .title = "Quorvel", .text = AboutText(), .about = true}));
  help.Toggle(kMainHelpSwitch);
  EXPECT_TRUE(help.IsOn());
  EXPECT_EQ(help.HelpWindow(),
            (HelpMode::Window{.loaded = true, .shown = true, .caption = "Help Contents...",
                              .title = "Quorvel Help", .text = GeneralHelpText()}));
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

}  // namespace
}  // namespace qv
