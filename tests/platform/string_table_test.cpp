#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

// The table is compiled from a TSV file: texts keep their blanks and "&" marks, and ids
// outside 110 to 330 give "".
TEST(StringTableTest, TextsStandExactlyAsWrittenAndUnknownIdsAreEmpty) {
  EXPECT_EQ(Str(155), "Balance");  // the opening account is named Str(155) + " b/f"
  EXPECT_EQ(Str(143), "&Contents...");
  EXPECT_EQ(Str(227), "Generate Tracking Numbers... ");
  EXPECT_EQ(Str(279), "Do you want to exit without saving ?");
  EXPECT_EQ(Str(330), "0");
  for (int id : {INT_MIN, -1, 0, 109, 145, 282, 331, INT_MAX}) EXPECT_EQ(Str(id), "") << id;
}

}  // namespace
}  // namespace qv
