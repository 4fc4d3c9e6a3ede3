#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <climits>

namespace qv {
namespace {

// Texts the program builds on or compares against: they must stand exactly as here, spaces
// included.
TEST(StringTableTest, HoldsTheExactEnglishTexts) {
  EXPECT_EQ(Str(155), "Balance");  // the opening account is named Str(155) + " b/f"
  EXPECT_EQ(Str(150), "Debit :");
  EXPECT_EQ(Str(151), "Credit :");
  EXPECT_EQ(Str(162), "Debit");
  EXPECT_EQ(Str(168), "Total");
  EXPECT_EQ(Str(134), "Income Statement...");  // statement titles drop the dots
  EXPECT_EQ(Str(143), "&Contents...");        // "&" marks the menu access key
  EXPECT_EQ(Str(227), "Generate Tracking Numbers... ");
  EXPECT_EQ(Str(279), "Do you want to exit without saving ?");
  EXPECT_EQ(Str(286), "Entry number ? not found...");

  // The file-error messages, one per error code.
  EXPECT_EQ(Str(309), "Out of Memory, (Time to Upgrade to 64bit)");
  EXPECT_EQ(Str(310), "Drive Failed, Cannot read or write");
  EXPECT_EQ(Str(311), "The current drive is full");
  EXPECT_EQ(Str(312),
            "The device you are trying to access either is not online or does not exist");
  EXPECT_EQ(Str(313), "File is already been used by another program");
  EXPECT_EQ(Str(314), "No disk in selected drive");
  EXPECT_EQ(Str(315),
            "Cannot write file to the current protected read-only file, drive or directory");

  // The character set of the English interface, read as a number.
  EXPECT_EQ(Str(330), "0");
}

TEST(StringTableTest, EveryIdLiesBetween110And330) {
  EXPECT_TRUE(HasStr(110));
  EXPECT_TRUE(HasStr(330));
  for (int id = -1000; id < 110; ++id) EXPECT_FALSE(HasStr(id)) << id;
  for (int id = 331; id <= 100000; ++id) EXPECT_FALSE(HasStr(id)) << id;
  EXPECT_FALSE(HasStr(INT_MIN));
  EXPECT_FALSE(HasStr(INT_MAX));
}

TEST(StringTableTest, UnknownIdsGiveTheEmptyText) {
  for (int id : {INT_MIN, -1, 0, 109, 145, 282, 331, INT_MAX}) {
    EXPECT_FALSE(HasStr(id)) << id;
    EXPECT_EQ(Str(id), "") << id;
  }
}

}  // namespace
}  // namespace qv
