// The number texts the program writes for itself and reads back (entry numbers, the book in
// its three forms, the saved settings) and its file messages under a locale whose decimal
// symbol is a comma, with the C library set to it as the program's start sets it from the
// environment.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "accounts/prepared_groups.h"
#include "app/startup.h"
#include "bookfiles/book_files.h"
#include "bookfiles/merge.h"
#include "books/entry_clipboard.h"
#include "books/entry_commands.h"
#include "books/module_procedures.h"
#include "controls/date_picker_model.h"
#include "platform/system_error_text.h"
#include "tests/bookfiles/book_compare.h"
#include "tests/support/book_builder.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/scratch_folder.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::BookWithChart;
using testing::CompareParts;
using testing::Day;
using testing::FirstDifference;
using testing::Money;
using testing::ScopedCLocale;

constexpr const char* kCommaLocale = "de_DE.UTF-8";
constexpr const char* kPointLocale = "C.UTF-8";
constexpr const char* kMissing = " is not installed here (tools/setup.sh generates it)";

constexpr const char* kForms[] = {"acc", "txt", "csv"};
// What each form carries: text all but the passwords, CSV the journal and the chart.
constexpr CompareParts kCarried[] = {
    {},
    {.passwords = false},
    {.passwords = false, .settingsAndGroups = false, .accountExtras = false}};

const DaySerial kToday = Day(2026, 6, 15);

// The Trading Business example, whose last entry is number 148.
Books TradingBusiness() {
  const BookReadResult read =
      ReadBook(std::string(QV_TESTS_SOURCE_DIR) + "/../resources/examples/Trading Business.txt",
               "txt", kToday);
  EXPECT_TRUE(read.Ok()) << read.Message;
  return read.Book.value_or(NewBooks(kToday));
}

std::vector<std::string> NumbersFrom(const Books& books, int32_t first) {
  std::vector<std::string> numbers;
  for (auto i = static_cast<std::size_t>(first); i < books.EntryNumbers.size(); ++i)
    numbers.emplace_back(books.EntryNumbers[i].TrimmedText());
  return numbers;
}

// The example with entries added by every command that numbers them: New Entry twice (149,
// 150), Include Group of two prepared entries (151, 152), Insert Entries of a book of two
// entries (153, 154) and Paste Entry (155).
Books NumberedByEveryCommand() {
  Books books = TradingBusiness();
  EXPECT_EQ(books.EntryNumbers.back().TrimmedText(), "148");
  const int32_t first = books.LastLineIndex() + 1;

  const LocaleInfo locale = UsEnglishLocale();
  const FixedClock clock{kToday};
  EntryScreen screen{books, locale};
  EntryCommands commands{screen, clock};
  screen.ShowLine(books.LastLineIndex());
  EXPECT_EQ(commands.NewEntry("").EntryNumberText, "149");
  EXPECT_EQ(commands.NewEntry("").EntryNumberText, "150");

  books.PreparedGroups[0] = {{0, kDebit, 0, Money(600), Money(90), ""},
                             {0, kCredit, 0, Money(100), Money(90), "Wages"},
                             {0, kDebit, 0, Money(640), Money(12.5), ""},
                             {0, kCredit, 0, Money(100), Money(12.5), "Rent"}};
  PreparedGroupsModel groups(books);
  groups.Load();
  EXPECT_TRUE(groups.Include(true, kToday).Done);

  Books other = BookWithChart({{"Kasse", 100, kCurrentAsset}, {"Erlöse", 400, kRevenue}});
  AddEntry(other, Day(2026, 5, 1), "A1", {{100, 10.5}}, {{400, 10.5}}, "Verkauf");
  AddEntry(other, Day(2026, 5, 2), "A2", {{100, 1.25}}, {{400, 1.25}}, "Storno");
  EXPECT_TRUE(InsertEntries(books, other).Ok());

  EXPECT_TRUE(PasteEntry(books, "100\t\tCash\t1234.56\t\r\n\t400\tSales\t1234.56\tTill\r\nQV",
                         locale, kToday));

  EXPECT_EQ(NumbersFrom(books, first),
            (std::vector<std::string>{"149", "149", "150", "150", "151", "151", "152", "152", "153",
                                      "153", "154", "154", "155", "155"}));
  return books;
}

TEST(NumberTextsUnderACommaLocale, EveryCommandNumbersItsEntriesWithWholeNumbers) {
  ScopedCLocale comma(kCommaLocale);
  ASSERT_TRUE(comma.Ok()) << kCommaLocale << kMissing;
  ASSERT_EQ(ScopedCLocale::DecimalPoint(), ",");
  const Books books = NumberedByEveryCommand();
  EXPECT_EQ(CheckBooks(books), std::nullopt);
  // An entry number with a point reads as the number it is, not as its whole part.
  EXPECT_EQ(LeadingNumber("12.5"), 12.5);
  EXPECT_EQ(PlainNumberText(LeadingNumber("12.5") + 1), "13.5");
  EXPECT_EQ(PlainNumberText(-1e-10) + " " + PlainNumberText(1.0 / 3),
            "-0.0000000001 0.333333333333333");
}

TEST(NumberTextsUnderACommaLocale, ABookSavedUnderOneLocaleOpensEqualUnderTheOther) {
  testing::ScratchFolder folder;
  Books numbered;
  {
    ScopedCLocale comma(kCommaLocale);
    ASSERT_TRUE(comma.Ok()) << kCommaLocale << kMissing;
    numbered = NumberedByEveryCommand();
  }
  numbered.AccountFolios[3] = Money(110.25);  // a sub-account folio
  const std::pair<const char*, const char*> ways[] = {{kCommaLocale, kPointLocale},
                                                      {kPointLocale, kCommaLocale}};
  for (const auto& [writing, reading] : ways) {
    for (std::size_t f = 0; f < 3; ++f) {
      const std::string path = folder.Path(std::string(writing) + "." + kForms[f]);
      {
        ScopedCLocale locale(writing);
        ASSERT_TRUE(locale.Ok()) << writing << kMissing;
        ASSERT_TRUE(WriteBook(path, kForms[f], numbered).Ok()) << path;
      }
      ScopedCLocale locale(reading);
      ASSERT_TRUE(locale.Ok()) << reading << kMissing;
      const BookReadResult read = ReadBook(path, kForms[f], kToday);
      ASSERT_TRUE(read.Ok()) << path << ": " << read.Message;
      EXPECT_EQ(FirstDifference(numbered, *read.Book, kCarried[f]), "")
          << kForms[f] << " written under " << writing << ", read under " << reading;
    }
  }
  // Either locale writes the same bytes.
  for (const char* form : kForms)
    EXPECT_EQ(folder.Read(folder.Path(std::string(kCommaLocale) + "." + form)),
              folder.Read(folder.Path(std::string(kPointLocale) + "." + form)))
        << form;
}

TEST(NumberTextsUnderACommaLocale, SavedSettingsReadBack) {
  std::string measure;
  StoredSettings picker;
  const DatePickerSettings settings{.FontSize = 10.5};
  {
    ScopedCLocale comma(kCommaLocale);
    ASSERT_TRUE(comma.Ok()) << kCommaLocale << kMissing;
    measure = SavedMeasureText(12345.5);
    picker = WriteDatePickerSettings(settings);
    EXPECT_EQ(std::pair(measure, picker["FontSize"]),
              std::pair(std::string("12345.5"), std::string("10.5")));
    EXPECT_EQ(ParseSavedMeasure(measure), 12345.5);
    EXPECT_EQ(ReadDatePickerSettings(picker).FontSize, 10.5);
  }
  ScopedCLocale point(kPointLocale);
  ASSERT_TRUE(point.Ok()) << kPointLocale << kMissing;
  EXPECT_EQ(ParseSavedMeasure(measure), 12345.5);
  EXPECT_EQ(ReadDatePickerSettings(picker).FontSize, 10.5);
}

TEST(NumberTextsUnderACommaLocale, AFailedFileTellsTheSystemsReasonInEnglish) {
  ScopedCLocale comma(kCommaLocale);
  ASSERT_TRUE(comma.Ok()) << kCommaLocale << kMissing;
  EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
  testing::ScratchFolder folder;
  const BookReadResult read = ReadBook(folder.Path("none.acc"), "acc", kToday);
  EXPECT_THAT(read.Message, ::testing::HasSubstr("No such file or directory"));
  const BookFileResult written = WriteBook(folder.Path("none/book.acc"), "acc", NewBooks(kToday));
  EXPECT_THAT(written.Message, ::testing::HasSubstr("No such file or directory"));
}

}  // namespace
}  // namespace qv
