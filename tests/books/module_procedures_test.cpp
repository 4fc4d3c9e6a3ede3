#include "books/module_procedures.h"

#include <gtest/gtest.h>
#include <cerrno>

#include "books/progress.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

using testing::Day;
using testing::Money;

TEST(Lookups, TakeTheFirstExactMatchAndNeverFolioZero) {
  Books books = testing::BookWithChart({{"Cash", 110, 0},
                                        {"Zero", 0, 0},
                                        {"Bank", 120, 0},
                                        {"Bank copy", 120, 0},
                                        {"Debtor A", 110.1, 0}});
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)), "Bank");
  EXPECT_EQ(AccountNameOfFolio(books, Money(110.1)), "Debtor A");
  for (double folio : {0.0, -110.0, 999.0})
    EXPECT_EQ(AccountNameOfFolio(books, Money(folio)), "") << folio;

  EXPECT_EQ(AccountIndexOfFolio(books, Money(120)), 3);
  EXPECT_EQ(AccountIndexOfFolio(books, Money(1)), 0);
  EXPECT_EQ(AccountIndexOfFolio(books, Money(999)), std::nullopt)
      << "an unknown folio must not be taken for account 0";
  EXPECT_EQ(AccountIndexOfFolio(books, Money(0)), std::nullopt);

  // Names match exactly, case and blanks included; empty slots have empty names.
  EXPECT_EQ(FolioOfAccount(books, "Cash"), Money(110));
  for (const char* name : {"cash", "Cash ", ""}) EXPECT_EQ(FolioOfAccount(books, name), Money(0));

  books.LastAccountIndex = 2;  // the chart editor lowered it while deleting
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)), "");
  EXPECT_EQ(FolioOfAccount(books, "Bank"), Money(0));
}

TEST(TruncFolio, CutsOnTheScaledIntegerWithoutDrift) {
  EXPECT_EQ(TruncFolio(Money(110.25), 0), Money(110));
  EXPECT_EQ(TruncFolio(Money(110.25), 1), Money(110.2));
  EXPECT_EQ(TruncFolio(Money(-110.1), 0), Money(-111)) << "floor, towards minus infinity";
  EXPECT_EQ(TruncFolio(Money(-110), 0), Money(-110));
  // Every two-decimal folio from 0 to 999.99 (1.13, 0.57, 100.07 among them) survives a
  // four-decimal cut unchanged.
  for (int64_t cents = 0; cents < 100000; ++cents) {
    const Folio f = Folio::FromRaw(cents * 100);
    ASSERT_EQ(TruncFolio(f, 4), f) << cents;
    ASSERT_EQ(TruncFolio(f, 0), Folio::FromUnits(cents / 100)) << cents;
  }
  EXPECT_EQ(TruncFolio(Folio::Max(), 0).Raw(), Folio::Max().Raw() / 10000 * 10000);
  EXPECT_EQ(TruncFolio(Folio::Min(), 4), Folio::Min());
}

TEST(NextEntryNumber, ReadsTheLeadingNumberOfThePreviousEntry) {
  struct Case {
    const char* previous;
    const char* next;
  };
  for (const Case& c : {
           Case{"12", "13"},
           {"1.5", "2.5"},
           {"INV7", "1"},
           {"12B", "13"},
           {"12 34", "1235"},
           {"1E3", "1001"},
           {"&H10", "17"},
           {"&O17", "16"},
           {"99999999999999", "100000000000000"},
           // Numbers that cannot be read give 1; hexadecimal reads 32 bits.
           {"9E999", "1"},
           {"1E15", "1"},
           {"&HFFFFFFFFFFFF", "4294967296"},
       }) {
    Books books = NewBooks(Day(2026, 1, 1));
    testing::AddEntry(books, Day(2026, 1, 1), c.previous, {{110, 1}}, {{1, 1}});
    testing::AddEntry(books, Day(2026, 1, 2), "", {{110, 1}}, {{1, 1}});
    EXPECT_EQ(NextEntryNumber(books, books.LastLineIndex() - 1), c.next) << c.previous;
  }
  // The first entry, and an index before the journal (the caller did not append yet).
  const Books books = NewBooks(Day(2026, 1, 1));
  for (int32_t index : {0, -3, 1}) EXPECT_EQ(NextEntryNumber(books, index), "1") << index;
}

TEST(PlainNumberText, WritesUpToFifteenSignificantDigitsWithoutExponent) {
  EXPECT_EQ(PlainNumberText(2.5), "2.5");
  EXPECT_EQ(PlainNumberText(0), "0");
  EXPECT_EQ(PlainNumberText(-1e-10), "-0.0000000001");
  EXPECT_EQ(PlainNumberText(1.0 / 3), "0.333333333333333");
}

TEST(NameWithoutExtension, OnlyADotInTheFileNameStartsTheExtension) {
  for (auto [path, expected] : std::initializer_list<std::pair<const char*, const char*>>{
           {".acc", ""},
           {"/x/book.2026.acc", "/x/book.2026"},
           {"/home/u/a.b/c", "/home/u/a.b/c"},
           {"C:\\a.b\\c", "C:\\a.b\\c"},
           {"/home/u/a.b/", "/home/u/a.b/"}})
    EXPECT_EQ(NameWithoutExtension(path), expected) << path;
}

TEST(WidestAccountName, TakesTheFirstWidestNameInTheFont) {
  Books books = testing::BookWithChart({{"Cash", 110, 0},
                                        {"Trade creditors", 200, 1},
                                        {"Debtor B", 300, 0},
                                        {"Bank loan 2026A", 400, 3}});
  const FixedTextMetrics metrics;
  EXPECT_EQ(WidestAccountName(books, metrics, FontSpec{}), "Trade creditors");
  Books empty = testing::BookWithChart({});
  empty.AccountNames[0].clear();
  EXPECT_EQ(WidestAccountName(empty, metrics, FontSpec{}), "");
}

TEST(FileErrors, SystemErrorsMapToTheCodesWhoseMessagesSayWhatHappened) {
  for (auto [error, code] : std::initializer_list<std::pair<int, int>>{
           {ENOSPC, kErrDiskFull},
           {EDQUOT, kErrDiskFull},
           {EFBIG, kErrDiskFull},
           {EROFS, kErrPathAccess},
           {EACCES, kErrPathAccess},
           {ENOMEM, kErrOutOfMemory},
           {EBUSY, kErrPermissionDenied},
           {ENOMEDIUM, kErrDiskNotReady},
           {ENOENT, kErrFileNotFound},
           // A system error whose number means something else here is not shown as that.
           {E2BIG, kErrDeviceIo},
           {EXDEV, EXDEV}})
    EXPECT_EQ(FileErrorCodeFromErrno(error), code) << error;
  EXPECT_EQ(FileErrorText(kErrDiskFull), "The current drive is full");
}

TEST(ProgressCounter, TicksAboutNinetyNineTimesAndNeverPassesTheFrame) {
  ProgressCounter progress;
  for (auto [last, step] : {std::pair{9, 1}, {0, 1}, {999, 10}, {1039, 10}, {1040, 11}}) {
    progress.Start(last);
    EXPECT_EQ(progress.ProgressStep(), step) << last;
  }
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
