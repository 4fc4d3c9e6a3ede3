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
  Books books = testing::BookWithChart(
      {{"Cash", 110, 0}, {"Zero", 0, 0}, {"Bank", 120, 0}, {"Copy", 120, 0}, {"Debtor", 110.1, 0}});
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)) + AccountNameOfFolio(books, Money(110.1)),
            "BankDebtor");
  for (double folio : {0.0, -110.0, 999.0}) {
    EXPECT_EQ(AccountNameOfFolio(books, Money(folio)), "") << folio;
    EXPECT_EQ(AccountIndexOfFolio(books, Money(folio)), std::nullopt) << folio;
  }
  EXPECT_EQ(std::pair(AccountIndexOfFolio(books, Money(120)), AccountIndexOfFolio(books, Money(1))),
            std::pair(std::optional(3), std::optional(0)));

  // Names match exactly, case and blanks included; empty slots have empty names.
  EXPECT_EQ(FolioOfAccount(books, "Cash"), Money(110));
  for (const char* name : {"cash", "Cash ", ""}) EXPECT_EQ(FolioOfAccount(books, name), Money(0));
  books.LastAccountIndex = 2;  // the chart editor lowered it while deleting
  EXPECT_EQ(AccountNameOfFolio(books, Money(120)) + PlainAmountText(FolioOfAccount(books, "Bank")),
            "0");
}

TEST(TruncFolio, CutsOnTheScaledIntegerWithoutDrift) {
  EXPECT_EQ(TruncFolio(Money(110.25), 0), Money(110));
  EXPECT_EQ(TruncFolio(Money(110.25), 1), Money(110.2));
  EXPECT_EQ(TruncFolio(Money(-110.1), 0), Money(-111)) << "floor, towards minus infinity";
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
  // Numbers that cannot be read give 1; hexadecimal reads 32 bits.
  const std::pair<const char*, const char*> cases[] = {
      {"12", "13"},   {"1.5", "2.5"},    {"INV7", "1"},
      {"12B", "13"},  {"12 34", "1235"}, {"1E3", "1001"},
      {"&H10", "17"}, {"&O17", "16"},    {"99999999999999", "100000000000000"},
      {"9E999", "1"}, {"1E15", "1"},     {"&HFFFFFFFFFFFF", "4294967296"},
  };
  for (const auto& [previous, next] : cases) {
    Books books = NewBooks(Day(2026, 1, 1));
    testing::AddEntry(books, Day(2026, 1, 1), previous, {{110, 1}}, {{1, 1}});
    testing::AddEntry(books, Day(2026, 1, 2), "", {{110, 1}}, {{1, 1}});
    EXPECT_EQ(NextEntryNumber(books, books.LastLineIndex() - 1), next) << previous;
  }
  // The first entry, and an index before the journal (the caller did not append yet).
  const Books books = NewBooks(Day(2026, 1, 1));
  for (int32_t index : {0, -3, 1}) EXPECT_EQ(NextEntryNumber(books, index), "1") << index;
  EXPECT_EQ(PlainNumberText(-1e-10) + " " + PlainNumberText(1.0 / 3),
            "-0.0000000001 0.333333333333333");
}

TEST(NameWithoutExtension, OnlyADotInTheFileNameStartsTheExtension) {
  for (const char* path : {"/home/u/a.b/c", "C:\\a.b\\c", "/home/u/a.b/"})
    EXPECT_EQ(NameWithoutExtension(path), path);
  EXPECT_EQ(NameWithoutExtension(".acc"), "");
  EXPECT_EQ(NameWithoutExtension("/x/book.2026.acc"), "/x/book.2026");
}

TEST(FileErrors, SystemErrorsMapToTheCodesWhoseMessagesSayWhatHappened) {
  // A system error whose number means something else here is not shown as that.
  for (int error : {ENOSPC, EDQUOT, EFBIG})
    EXPECT_EQ(FileErrorCodeFromErrno(error), kErrDiskFull) << error;
  for (int error : {EROFS, EACCES}) EXPECT_EQ(FileErrorCodeFromErrno(error), kErrPathAccess);
  std::vector<int> codes;
  for (int error : {ENOMEM, EBUSY, ENOMEDIUM, ENOENT, E2BIG, EXDEV})
    codes.push_back(FileErrorCodeFromErrno(error));
  EXPECT_EQ(codes, (std::vector<int>{kErrOutOfMemory, kErrPermissionDenied, kErrDiskNotReady,
                                     kErrFileNotFound, kErrDeviceIo, EXDEV}));
  EXPECT_EQ(FileErrorText(kErrDiskFull), "The current drive is full");
}

// (The wait screen's window test ticks the bar to its end.)
TEST(ProgressCounter, TicksAboutNinetyNineTimes) {
  ProgressCounter progress;
  for (auto [last, step] : {std::pair{9, 1}, {0, 1}, {999, 10}, {1039, 10}, {1040, 11}}) {
    progress.Start(last);
    EXPECT_EQ(progress.ProgressStep(), step) << last;
  }
  // A journal of 149 lines ticks 149 times with step 1.
  progress.Start(148);
  int ticks = 0;
  for (int64_t i = 0; i <= 148; ++i) ticks += progress.IsTickLine(i);
  EXPECT_EQ(ticks, 149);
}

}  // namespace
}  // namespace qv
