#include "app/startup.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Startup, TheCommandLineNamesOneBookWithoutItsQuotes) {
  EXPECT_EQ(CommandLineBookPath({"quorvel"}), "");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "\"/home/u/my books/a.acc\""}),
            "/home/u/my books/a.acc");
  EXPECT_EQ(CommandLineBookPath({"quorvel", "/home/u/my", "books/a.acc"}),
            "/home/u/my books/a.acc");
}

TEST(Startup, SavedMeasuresThatCannotBeReadAreIgnored) {
  EXPECT_EQ(ParseSavedMeasure(" 12000.5 "), 12000.5);
  for (const char* bad : {"", "abc", "12x", "nan", "inf", "-5", "0", "1e9"})
    EXPECT_EQ(ParseSavedMeasure(bad), std::nullopt) << bad;
  EXPECT_EQ(ParseSavedMeasure(SavedMeasureText(12345.5)), 12345.5);
}

}  // namespace
}  // namespace qv
