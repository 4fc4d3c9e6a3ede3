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
  EXPECT_EQ(general[3], "OTHER INFORMATION");
  EXPECT_TRUE(Contains(general[7], "too grate for most people"));
  const auto about = SplitParagraphs(AboutText());
  ASSERT_EQ(about.size(), 11u);
  EXPECT_EQ(about[7],
            "Cost of Goods Sold     $8,900\r\n               Inventory            $8,900\r\n"
            "Total COGS sold in May");
  EXPECT_EQ(SplitParagraphs(MenuCommandHelp(MenuCommand::TrialBalance).text).size(), 4u);
  EXPECT_EQ(MenuCommandHelp(MenuCommand::SearchEntryNumbers),
            (HelpCard{"Search Entries No...", "Searches each of the entrie numbers for a match."}));
  EXPECT_EQ(MenuCommandHelp(MenuCommand::ComparativeStatement).text.back(), ' ');

  EXPECT_TRUE(ActsInHelpMode(MenuCommand::RunningCalculator));
  EXPECT_FALSE(ActsInHelpMode(MenuCommand::PayrollCalculator));
  EXPECT_FALSE(ActsInHelpMode(MenuCommand::TrialBalance));
}

class HelpModeTest : public ::testing::Test {
 protected:
  ScreenPointer pointer;
  HelpMode help{pointer};
  const HelpCard card{"Trial Balance", "A Trial Balance is a list..."};
};

// The help desk's window tests follow the main item through help mode; here, what the
// window alone does not show.
TEST_F(HelpModeTest, ACardWithTheHelpPointerSetElsewhereLoadsTheWindowWithoutShowingIt) {
  EXPECT_FALSE(help.ShowCard(card));
  pointer.Set(PointerShape::Help);
  EXPECT_TRUE(help.ShowCard(card));
  EXPECT_EQ(help.HelpWindow(), (HelpMode::Window{.loaded = true, .title = card.title,
                                                 .text = card.text}));
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
