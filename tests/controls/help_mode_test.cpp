#include "controls/help_mode.h"
#include <gtest/gtest.h>

namespace qv {
namespace {

// What the help desk's window tests do not show: a card with the help pointer set elsewhere,
// and the check marks of other windows' items.
TEST(HelpModeTest, OtherWindowsItemsKeepTheirOwnMarksAndTheHelpPointerLoadsCards) {
  ScreenPointer pointer;
  HelpMode help{pointer};
  const HelpCard card{"Trial Balance", "A Trial Balance is a list..."};
  pointer.Set(PointerShape::Help);
  EXPECT_TRUE(help.ShowCard(card));
  EXPECT_EQ(help.HelpWindow(),
            (HelpMode::Window{.loaded = true, .title = card.title, .text = card.text}));
  pointer.Set(PointerShape::Normal);
  help.Unload();
  const HelpSwitch configuration = help.AddSwitch();
  help.Toggle(kMainHelpSwitch);
  help.Toggle(configuration);
  EXPECT_TRUE(help.IsOn() && help.Checked(configuration));
  EXPECT_FALSE(help.Checked(kMainHelpSwitch)) << "reloading the window unchecked the main item";
  // Closing the help window clears only the main item's mark.
  help.Unload();
  EXPECT_TRUE(help.Checked(configuration));
  help.Toggle(configuration);
  EXPECT_FALSE(help.Checked(configuration) || help.IsOn());
  // The chart editor's item shows its own card on switching on.
  const HelpSwitch chart = help.AddSwitch();
  help.Toggle(chart, HelpCard{"Chart of Accounts", "Sets up the accounts."});
  EXPECT_EQ(help.HelpWindow().caption + " | " + help.HelpWindow().title,
            "Help Contents... | Chart of Accounts");
  help.RemoveSwitch(chart);
  EXPECT_FALSE(help.Checked(chart));
}

}  // namespace
}  // namespace qv
