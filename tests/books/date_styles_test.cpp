#include "books/date_styles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

DaySerial D(int y, int m, int d) { return *SerialOf(y, m, d); }

const DaySerial kToday = D(2026, 6, 1);
const DaySerial kDec5 = D(2026, 12, 5);

LocaleInfo WithPattern(const std::string& pattern) {
  LocaleInfo l = UsEnglishLocale();
  l.ShortDatePattern = pattern;
  return l;
}

const LocaleInfo kMonthFirst = WithPattern("M/d/yy");     // en_US
const LocaleInfo kDayFirst = WithPattern("dd/MM/yyyy");   // en_GB
const LocaleInfo kDotted = WithPattern("dd.MM.yy");       // de_DE
const LocaleInfo kYearFirst = WithPattern("yyyy-MM-dd");  // sv_SE
const LocaleInfo kKorean = WithPattern("yy. M. d.");
const LocaleInfo kPlainC = WithPattern("d MMM yyyy");

DaySerial Parse(std::string text, int style, const LocaleInfo& locale) {
  return ParseDateStyle(text, style, locale, kToday);
}

TEST(DateStylesTest, EachStyleWritesItsPatternAndStyleZeroTheLocales) {
  const std::vector<std::string> expected = {"05/12/26", "05/12/2026", "05-12-26", "05-12-2026",
                                             "12/05/26", "12/05/2026", "12-05-26", "12-05-2026"};
  for (int style = 1; style <= 8; ++style)
    EXPECT_EQ(FormatDateStyle(kDec5, style, kMonthFirst), expected[style - 1]) << style;
  EXPECT_EQ(FormatDateStyle(kDec5, 1, kDotted), "05.12.26");
  EXPECT_EQ(FormatDateStyle(kDec5, 3, kDotted), "05-12-26");
  EXPECT_EQ(FormatDateStyle(kDec5, 2, kPlainC), "05/12/2026");  // no separator in the pattern
  EXPECT_EQ(FormatDateStyle(D(105, 3, 4), 2, kMonthFirst), "04/03/0105");
  EXPECT_EQ(FormatDateStyle(kMaxDaySerial + 1, 2, kMonthFirst), "");
  // Style 0 writes the locale's pattern, and styles out of range are style 0.
  EXPECT_EQ(FormatDateStyle(kDec5, 0, kKorean), "26. 12. 5.");
  EXPECT_EQ(FormatDateStyle(kDec5, 0, WithPattern("dddd, d MMMM yyyy")),
            "Saturday, 5 December 2026");
  // Quoted text is literal, and a quote never becomes the separator.
  EXPECT_EQ(FormatDateStyle(kDec5, 0, WithPattern("'Day' d 'o''clock' M/yyyy")),
            "Day 5 o'clock 12/2026");
  for (const int style : {9, -1, 32767}) {
    EXPECT_EQ(FormatDateStyle(kDec5, style, kMonthFirst), "12/5/26");
    EXPECT_EQ(Parse("12/5/26", style, kMonthFirst), kDec5);
  }
}

TEST(DateStylesTest, FixedStylesReadInTheirOwnOrderWithAnySeparatorOrGiveTheZeroDate) {
  EXPECT_EQ(Parse("05/12/26", 1, kMonthFirst), kDec5);
  EXPECT_EQ(Parse("12-05-2026", 6, kDayFirst), kDec5);
  EXPECT_EQ(Parse("05/12/26", 5, kMonthFirst), D(2026, 5, 12));
  EXPECT_EQ(Parse("05.12-2026", 2, kDotted), kDec5);
  EXPECT_EQ(Parse(" 5 / 12 / 2026 ", 2, kMonthFirst), kDec5);
  EXPECT_EQ(Parse("05/12/2026", 4, kYearFirst), kDec5);

  // The text is rewritten with the locale's separator, except on year-first locales.
  std::string text = "12-05-2026";
  EXPECT_EQ(ParseDateStyle(text, 6, kDotted, kToday), kDec5);
  EXPECT_EQ(text, "12.05.2026");
  text = "05/12-26";
  EXPECT_EQ(ParseDateStyle(text, 1, kYearFirst, kToday), kDec5);
  EXPECT_EQ(text, "05/12-26");
  // Unreadable or impossible text gives the zero date.
  for (const char* text : {"", "   ", "abc", "05/12", "5122026", "31/02/2026", "29/02/2027",
                           "00/12/2026", "05/13/2026", "05/12/202", "05/12/20266", "005/12/26",
                           "05/12/2026 10:00", "05//12/2026", "05/12/0026"})
    EXPECT_EQ(Parse(text, 2, kMonthFirst), kZeroDate) << text;
  EXPECT_EQ(Parse("29/02/2028", 2, kMonthFirst), D(2028, 2, 29));
  for (const char* text : {"5 Dex 2026", "5 Dec", "Dec 5 2026", "5 Dec 2026 x", "32 Dec 2026"})
    EXPECT_EQ(Parse(text, 0, kPlainC), kZeroDate) << text;
}

TEST(DateStylesTest, TwoDigitYearsReadAsTheNearestYear) {
  // 50 years back, 49 ahead.
  for (auto [yy, today, year] :
       {std::tuple{31, 2026, 2031}, {76, 2026, 1976}, {75, 2026, 2075}, {0, 2051, 2100}})
    EXPECT_EQ(NearestYear(yy, today), year) << yy << " in " << today;
  EXPECT_EQ(Parse("5/1/7", 1, kDayFirst), D(2007, 1, 5));
  EXPECT_EQ(Parse("12/5/1931", 0, kMonthFirst), D(1931, 12, 5));  // four digits as written
  std::string text = "05/12/76";
  EXPECT_EQ(ParseDateStyle(text, 1, kDayFirst, D(2030, 1, 1)), D(2076, 12, 5));
}

TEST(DateStylesTest, StyleZeroReadsMonthNamesLiteralsAndMarks) {
  for (const char* text : {"5 dec 2026", "05 DECEMBER 2026", "5-Dec-2026", "5/12/2026"})
    EXPECT_EQ(Parse(text, 0, kPlainC), kDec5) << text;
  LocaleInfo german = WithPattern("d. MMM yyyy");
  german.ShortMonthNames[2] = german.MonthNames[2] = "März";
  EXPECT_EQ(Parse("5. MÄRZ 2026", 0, german), D(2026, 3, 5));
  // Month names that start with digits.
  LocaleInfo japanese = WithPattern("yyyy MMM d");
  for (int m = 0; m < 12; ++m) japanese.ShortMonthNames[m] = std::to_string(m + 1) + "月";
  EXPECT_EQ(Parse("2026 1月 5", 0, japanese), D(2026, 1, 5));
  EXPECT_EQ(Parse("5.12.26 г.", 0, WithPattern("d.MM.yy 'г'.")), kDec5);
  EXPECT_EQ(Parse("5\u200F/12\u200F/2026", 0, WithPattern("d\u200F/M\u200F/yyyy")), kDec5);
  const LocaleInfo weekday = WithPattern("ddd d MMM yyyy");
  EXPECT_EQ(Parse("Sat 5 Dec 2026", 0, weekday), kDec5);
  EXPECT_EQ(Parse("5 Dec 2026", 0, weekday), kZeroDate);
  // Locales may alternate between calls.
  LocaleInfo french = WithPattern("d MMM yyyy");
  french.ShortMonthNames[11] = "déc.";
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(FormatDateStyle(kDec5, 0, kPlainC) + FormatDateStyle(kDec5, 0, french),
              "5 Dec 20265 déc. 2026");
    EXPECT_EQ(Parse("5 déc. 2026", 0, kPlainC), kZeroDate);
  }
}

TEST(DateStylesTest, OrderSeparatorAndDefaultStyleComeFromThePattern) {
  // A pattern without a day, or with its fields run together, falls back to year first.
  for (const auto& [pattern, order, separator] :
       {std::tuple{"M/d/yy", DateOrder::MonthFirst, "/"},
        {"yy. M. d.", DateOrder::YearFirst, "."},
        {"dddd, d MMMM yyyy", DateOrder::DayFirst, "/"},
        {"d\u200F/M\u200F/yyyy", DateOrder::DayFirst, "/"},
        {"MM/yy", DateOrder::YearFirst, "-"},
        {"ddMMyyyy", DateOrder::YearFirst, "-"}}) {
    const ShortDateShape shape = ShapeOfShortDate(WithPattern(pattern));
    EXPECT_EQ(std::pair(shape.Order, shape.Separator), std::pair(order, std::string(separator)))
        << pattern;
  }
  EXPECT_EQ(FormatDateStyle(kDec5, 0, WithPattern("MM/yy")), "2026-12-05");
  // The default style follows the length of the short date; year-first short dates longer
  // than 10 characters keep the locale's own pattern.
  EXPECT_EQ(DefaultDateStyle(kPlainC), 2);                     // "31 Dec 1899"
  EXPECT_EQ(DefaultDateStyle(WithPattern("MMM d, yyyy")), 6);  // "Dec 31, 1899"
  EXPECT_EQ(DefaultDateStyle(kDayFirst) + DefaultDateStyle(WithPattern("yyyy. MM. dd.")), 0);
}

TEST(DateStylesTest, EveryStyleReadsBackWhatItWrites) {
  // (Real locales are tried in the platform's locale tests.)
  for (const char* pattern : {"yy. M. d.", "d MMM yyyy", "dddd, d MMMM yyyy", "d.MM.yy 'г'.",
                              "MM/yy", "d\u200F/M\u200F/yyyy", "dd.MM.yy"}) {
    const LocaleInfo locale = WithPattern(pattern);
    for (int style = 0; style < kDateStyleCount; ++style)
      for (DaySerial d = D(1977, 1, 1); d <= D(2075, 12, 31); d += 13) {
        std::string text = FormatDateStyle(d, style, locale);
        ASSERT_EQ(ParseDateStyle(text, style, locale, kToday), d)
            << pattern << " style " << style << " " << text;
      }
  }
}

}  // namespace
}  // namespace qv
