#include "platform/locale_qt.h"
#include <gtest/gtest.h>
#include <QDate>
#include <QLocale>
#include <map>
#include <string>
#include "books/date_styles.h"
#include "books/locale_symbols.h"

namespace qv {
namespace {

const char* const kLocaleNames[] = {"en_US", "en_GB", "de_DE", "es_ES", "sv_SE",
                                    "ja_JP", "ko_KR", "hu_HU", "pl_PL", "C"};

// Captured once: the captures are what every test here reads.
const LocaleInfo& Locale(const std::string& name) {
  static const std::map<std::string, LocaleInfo> captured = [] {
    std::map<std::string, LocaleInfo> m;
    for (const char* n : kLocaleNames) m[n] = CaptureLocale(QLocale(QString::fromLatin1(n)));
    return m;
  }();
  return captured.at(name);
}

DaySerial D(int y, int m, int d) { return *SerialOf(y, m, d); }

TEST(LocaleQtTest, CapturesTheLocaleValues) {
  const LocaleInfo& us = Locale("en_US");
  EXPECT_EQ(us.ShortDatePattern, "M/d/yy");
  EXPECT_EQ(us.MonthNames[11] + us.ShortMonthNames[0] + us.DayNames[0], "DecemberJanSunday");
  EXPECT_EQ(us.CurrencyZeroText, "$0.00");
  EXPECT_EQ(CaptureLocale().Name, QLocale::system().name().toStdString());
  EXPECT_EQ(LongDateText(D(2026, 3, 5), Locale("de_DE"), false), "5 März 2026");
  EXPECT_EQ(LongDateText(D(2026, 12, 5), Locale("pl_PL"), false), "5 grudnia 2026");
}

TEST(LocaleQtTest, SeparatorsCurrencyLabelsAndDefaultStyles) {
  // The decimal symbol, the currency label and the default date style of each locale.
  const std::map<std::string, std::tuple<std::string, std::string, int>> expected = {
      {"en_US", {".", "$ :", 0}}, {"en_GB", {".", "£ :", 0}}, {"de_DE", {",", "€ :", 0}},
      {"es_ES", {",", "€ :", 0}}, {"sv_SE", {",", "r :", 0}}, {"ja_JP", {".", "￥ :", 0}},
      {"ko_KR", {".", "₩ :", 0}}, {"hu_HU", {",", "t :", 0}}, {"pl_PL", {",", "ł :", 0}},
      {"C", {".", "", 2}}};
  for (const auto& [name, values] : expected) {
    SCOPED_TRACE(name);
    const LocaleInfo& locale = Locale(name);
    EXPECT_EQ(std::tuple(locale.DecimalSymbol, CurrencyLabelText(locale), DefaultDateStyle(locale)),
              values);
    // es_ES, pl_PL and C write 1000.1 without grouping ("1000,10"), so a symbol taken by
    // its position in that text would be a digit.
    EXPECT_EQ(locale.GroupSymbol,
              QString(QLocale(QString::fromStdString(name)).groupSeparator()).toStdString());
  }
  EXPECT_EQ(Locale("de_DE").GroupSymbol, ".");
}

TEST(LocaleQtTest, StyleZeroWritesWhatTheLocaleWrites) {
  for (const char* name : kLocaleNames) {
    const QLocale qt(QString::fromLatin1(name));
    for (DaySerial d = D(1990, 1, 1); d <= D(2040, 12, 31); d += 37) {
      const CalendarDate c = DateOf(d);
      ASSERT_EQ(FormatDateStyle(d, 0, Locale(name)),
                qt.toString(QDate(c.Year, c.Month, c.Day), QLocale::ShortFormat).toStdString())
          << name;
    }
  }
}

// One test per locale, so that they run side by side.
class LocaleRoundTripTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LocaleRoundTripTest, EveryStyleReadsBackEveryDay) {
  const LocaleInfo& locale = Locale(GetParam());
  for (int style = 0; style < kDateStyleCount; ++style) {
    for (DaySerial d = D(1990, 1, 1); d <= D(2040, 12, 31); ++d) {
      std::string text = FormatDateStyle(d, style, locale);
      ASSERT_EQ(ParseDateStyle(text, style, locale, D(2015, 7, 1)), d) << style << " " << text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleRoundTripTest, ::testing::ValuesIn(kLocaleNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
}  // namespace qv
