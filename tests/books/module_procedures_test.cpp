#include "books/module_procedures.h"

#include <cerrno>
#include <gtest/gtest.h>

#include "books/progress.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

class LookupTest : public ::testing::Test {
 protected:
  Books books = testing::BookWithChart({{"Cash", 110, 0},
                                        {"Zero", 0, 0},
                                        {"Bank", 120, 0},
                                        {"Bank copy", 120, 0},
                                        {"Debtor A", 110.1, 0}});
};

TEST_F(LookupTest, FolioLookupsTakeTheFirstExactMatchAndNeverFolioZero) {
  EXPECT_EQ(AccountNameOfFolio(books, Money(110)), "Cash");
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)), "Bank");
  EXPECT_EQ(AccountNameOfFolio(books, Money(110.1)), "Debtor A");
  EXPECT_EQ(AccountNameOfFolio(books, Money(0)), "");
  EXPECT_EQ(AccountNameOfFolio(books, Money(-110)), "");
  EXPECT_EQ(AccountNameOfFolio(books, Money(999)), "");

  EXPECT_EQ(AccountIndexOfFolio(books, Money(120)), 3);
  EXPECT_EQ(AccountIndexOfFolio(books, Money(1)), 0);
  EXPECT_EQ(AccountIndexOfFolio(books, Money(999)), std::nullopt)
      << "an unknown folio must not be taken for account 0";
  EXPECT_EQ(AccountIndexOfFolio(books, Money(0)), std::nullopt);
}

TEST_F(LookupTest, NameLookupIsExactAndCaseSensitive) {
  EXPECT_EQ(FolioOfAccount(books, "Cash"), Money(110));
  EXPECT_EQ(FolioOfAccount(books, "cash"), Money(0));
  EXPECT_EQ(FolioOfAccount(books, "Cash "), Money(0));
  EXPECT_EQ(FolioOfAccount(books, ""), Money(0)) << "empty slots have empty names";
}

TEST_F(LookupTest, LookupsStopAtTheHighestIndexInUse) {
  books.LastAccountIndex = 2;  // the chart editor lowered it while deleting
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)), "");
  EXPECT_EQ(FolioOfAccount(books, "Bank"), Money(0));
}

TEST(TruncFolio, CutsOnTheScaledIntegerWithoutDrift) {
  EXPECT_EQ(TruncFolio(Money(110.25), 0), Money(110));
  EXPECT_EQ(TruncFolio(Money(110.25), 1), Money(110.2));
  EXPECT_EQ(TruncFolio(Money(-110.1), 0), Money(-111)) << "floor, towards minus infinity";
  EXPECT_EQ(TruncFolio(Money(-110), 0), Money(-110));
  for (double f : {1.13, 0.57, 100.07, 100.21, 100.32}) EXPECT_EQ(TruncFolio(Money(f), 4), Money(f));
  // Every two-decimal folio from 100 to 999.99 survives a four-decimal cut unchanged.
  for (int64_t cents = 10000; cents < 100000; ++cents) {
    const Folio f = Folio::FromRaw(cents * 100);
    ASSERT_EQ(TruncFolio(f, 4), f) << cents;
    ASSERT_EQ(TruncFolio(f, 0), Folio::FromUnits(cents / 100)) << cents;
  }
  EXPECT_EQ(TruncFolio(Folio::Max(), 0).Raw(), Folio::Max().Raw() / 10000 * 10000);
  EXPECT_EQ(TruncFolio(Folio::Min(), 4), Folio::Min());
}

// The number for a new entry appended after one numbered `previous`.
std::string NumberAfter(const std::string& previous) {
  Books books = NewBooks(Day(2026, 1, 1));
  testing::AddEntry(books, Day(2026, 1, 1), previous, {{110, 1}}, {{1, 1}});
  testing::AddEntry(books, Day(2026, 1, 2), "", {{110, 1}}, {{1, 1}});
  return NextEntryNumber(books, books.LastLineIndex() - 1);
}

TEST(NextEntryNumber, ReadsTheLeadingNumberOfThePreviousEntry) {
  EXPECT_EQ(NumberAfter("12"), "13");
  EXPECT_EQ(NumberAfter("1.5"), "2.5");
  EXPECT_EQ(NumberAfter("INV7"), "1");
  EXPECT_EQ(NumberAfter("A12"), "1");
  EXPECT_EQ(NumberAfter("12B"), "13");
  EXPECT_EQ(NumberAfter(" 7"), "8");
  EXPECT_EQ(NumberAfter("12 34"), "1235");
  EXPECT_EQ(NumberAfter("1E3"), "1001");
  EXPECT_EQ(NumberAfter("&H10"), "17");
  EXPECT_EQ(NumberAfter("&O17"), "16");
  EXPECT_EQ(NumberAfter("-3"), "-2");
  EXPECT_EQ(NumberAfter("99999999999999"), "100000000000000");
  EXPECT_EQ(NumberAfter(""), "1");
}

TEST(NextEntryNumber, NumbersThatCannotBeReadGiveOne) {
  EXPECT_EQ(NumberAfter("9E999"), "1");
  EXPECT_EQ(NumberAfter("1D400"), "1");
  EXPECT_EQ(NumberAfter("-9E999"), "1");
  EXPECT_EQ(NumberAfter("1E15"), "1");
  EXPECT_EQ(NumberAfter("&HFFFFFFFFFFFF"), "4294967296") << "hexadecimal reads 32 bits";
}

TEST(NextEntryNumber, TheFirstEntryAndShortJournalsGiveOne) {
  Books books = NewBooks(Day(2026, 1, 1));
  EXPECT_EQ(NextEntryNumber(books, 0), "1");
  EXPECT_EQ(NextEntryNumber(books, -3), "1");
  // The caller did not append yet: index LastLineIndex - 2 lies before the journal.
  EXPECT_EQ(NextEntryNumber(books, 1), "1");
}

TEST(PlainNumberText, WritesUpToFifteenSignificantDigitsWithoutExponent) {
  EXPECT_EQ(PlainNumberText(13), "13");
  EXPECT_EQ(PlainNumberText(2.5), "2.5");
  EXPECT_EQ(PlainNumberText(0), "0");
  EXPECT_EQ(PlainNumberText(-1e-10), "-0.0000000001");
  EXPECT_EQ(PlainNumberText(1.0 / 3), "0.333333333333333");
}

TEST(NameWithoutExtension, OnlyADotInTheFileNameStartsTheExtension) {
  EXPECT_EQ(NameWithoutExtension("report"), "report");
  EXPECT_EQ(NameWithoutExtension(".acc"), "");
  EXPECT_EQ(NameWithoutExtension("/x/book.acc"), "/x/book");
  EXPECT_EQ(NameWithoutExtension("/x/book.2026.acc"), "/x/book.2026");
  EXPECT_EQ(NameWithoutExtension("/home/u/a.b/c"), "/home/u/a.b/c");
  EXPECT_EQ(NameWithoutExtension("C:\\a.b\\c"), "C:\\a.b\\c");
  EXPECT_EQ(NameWithoutExtension("/home/u/a.b/"), "/home/u/a.b/");
}

TEST(WidestAccountName, TakesTheFirstWidestNameInTheFont) {
  Books books = testing::BookWithChart({{"Cash", 110, 0}, {"Trade creditors", 200, 1}, {"Debtor B", 300, 0},
                                        {"Bank loan 2026A", 400, 3}});
  const FixedTextMetrics metrics;
  EXPECT_EQ(WidestAccountName(books, metrics, FontSpec{}), "Trade creditors");
  Books empty = testing::BookWithChart({});
  empty.AccountNames[0].clear();
  EXPECT_EQ(WidestAccountName(empty, metrics, FontSpec{}), "");
}

TEST(FileErrors, EveryCodeHasItsMessage) {
  EXPECT_EQ(FileErrorText(7), "Out of Memory, (Time to Upgrade to 64bit)");
  EXPECT_EQ(FileErrorText(57), "Drive Failed, Cannot read or write");
  EXPECT_EQ(FileErrorText(61), "The current drive is full");
  EXPECT_EQ(FileErrorText(68),
            "The device you are trying to access either is not online or does not exist");
  EXPECT_EQ(FileErrorText(70), "File is already been used by another program");
  EXPECT_EQ(FileErrorText(71), "No disk in selected drive");
  EXPECT_EQ(FileErrorText(75),
            "Cannot write file to the current protected read-only file, drive or directory");
  EXPECT_EQ(FileErrorText(53),
            "Opening / File Data Mismatch Error 53 Please Contact Pellmoor Support");
}

TEST(FileErrors, SystemErrorsMapToTheirCodes) {
  EXPECT_EQ(FileErrorCodeFromErrno(ENOSPC), kErrDiskFull);
  EXPECT_EQ(FileErrorCodeFromErrno(EDQUOT), kErrDiskFull);
  EXPECT_EQ(FileErrorCodeFromErrno(EROFS), kErrPathAccess);
  EXPECT_EQ(FileErrorCodeFromErrno(EACCES), kErrPathAccess);
  EXPECT_EQ(FileErrorCodeFromErrno(ENOMEM), kErrOutOfMemory);
  EXPECT_EQ(FileErrorCodeFromErrno(EIO), kErrDeviceIo);
  EXPECT_EQ(FileErrorCodeFromErrno(EBUSY), kErrPermissionDenied);
  EXPECT_EQ(FileErrorCodeFromErrno(ENOMEDIUM), kErrDiskNotReady);
  EXPECT_EQ(FileErrorCodeFromErrno(ENOENT), kErrFileNotFound);
  // A system error whose number means something else here is not shown as that.
  EXPECT_EQ(FileErrorCodeFromErrno(E2BIG), kErrDeviceIo);
  EXPECT_EQ(FileErrorCodeFromErrno(EFBIG), kErrDiskFull);
  EXPECT_EQ(FileErrorCodeFromErrno(EXDEV), EXDEV);
}

TEST(ProgressCounter, TicksAboutNinetyNineTimesAndNeverPassesTheFrame) {
  ProgressCounter progress;
  progress.Start(9);
  EXPECT_EQ(progress.ProgressStep(), 1);
  progress.Start(0);
  EXPECT_EQ(progress.ProgressStep(), 1);
  progress.Start(1039);
  EXPECT_EQ(progress.ProgressStep(), 10);
  progress.Start(1040);
  EXPECT_EQ(progress.ProgressStep(), 11);

  EXPECT_EQ(progress.BarWidthTwips(), 1);
  EXPECT_EQ(progress.PercentText(), "0%");
  for (int i = 0; i < 99; ++i) EXPECT_TRUE(progress.Tick());
  EXPECT_EQ(progress.PercentText(), "99%");
  EXPECT_EQ(progress.BarWidthTwips(), 2871);

  // A journal of 149 lines ticks 149 times with step 1.
  progress.Start(148);
  int ticks = 0;
  for (int64_t i = 0; i <= 148; ++i)
    if (progress.IsTickLine(i)) progress.Tick(), ++ticks;
  EXPECT_EQ(ticks, 149);
  EXPECT_EQ(progress.PercentText(), "100%");
  EXPECT_EQ(progress.BarWidthTwips(), ProgressCounter::kFrameTwips);
  EXPECT_FALSE(progress.Tick()) << "the text stays at 100%";
}

}  // namespace
}  // namespace qv
