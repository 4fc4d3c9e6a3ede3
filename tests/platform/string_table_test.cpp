#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

// Texts the program builds on or compares against must stand exactly as here, spaces
// included. (The file-error texts 309 to 315 are checked with the file errors.)
TEST(StringTableTest, HoldsTheExactEnglishTextsAndOnlyIds110To330) {
  const std::pair<int, const char*> texts[] = {
      {155, "Balance"},  // the opening account is named Str(155) + " b/f"
      {150, "Debit :"},
      {151, "Credit :"},
      {162, "Debit"},
      {168, "Total"},
      {134, "Income Statement..."},  // statement titles drop the dots
      {143, "&Contents..."},         // "&" marks the menu access key
      {227, "Generate Tracking Numbers... "},
      {279, "Do you want to exit without saving ?"},
      {286, "Entry number ? not found..."},
      {330, "0"}};  // the character set of the English interface, read as a number
  for (const auto& [id, text] : texts) EXPECT_EQ(Str(id), text) << id;

  EXPECT_TRUE(HasStr(110));
  for (int id = -1000; id <= 100000; ++id) ASSERT_FALSE(HasStr(id) && (id < 110 || id > 330)) << id;
  for (int id : {INT_MIN, -1, 0, 109, 145, 282, 331, INT_MAX}) {
    EXPECT_FALSE(HasStr(id)) << id;
    EXPECT_EQ(Str(id), "") << id;
  }
}

}  // namespace
}  // namespace qv
