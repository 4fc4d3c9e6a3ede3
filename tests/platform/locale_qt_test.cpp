#include "platform/locale_qt.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "books/date_styles.h"
#include "books/locale_symbols.h"

namespace qv {
namespace {

const char* const kLocaleNames[] = {"en_US", "en_GB", "de_DE", "es_ES", "sv_SE",
                                    "ja_JP", "ko_KR", "hu_HU", "pl_PL", "C"};

QLocale QtLocale(const std::string& name) {
  return name == "C" ? QLocale::c() : QLocale(QString::fromStdString(name));
}

// Captured once: the captures are what every test here reads.
const std::map<std::string, LocaleInfo>& Captured() {
  static const std::map<std::string, LocaleInfo> captured = [] {
    std::map<std::string, LocaleInfo> m;
    for (const char* name : kLocaleNames) m[name] = CaptureLocale(QtLocale(name));
    return m;
  }();
  return captured;
}

const LocaleInfo& Locale(const std::string& name) { return Captured().at(name); }

DaySerial D(int y, int m, int d) { return *SerialOf(y, m, d); }

TEST(LocaleQtTest, CapturesTheLocaleValues) {
  const LocaleInfo& us = Locale("en_US");
  EXPECT_EQ(us.Name, "en_US");
  EXPECT_EQ(us.ShortDatePattern, "M/d/yy");
  EXPECT_EQ(us.MonthNames[11], "December");
  EXPECT_EQ(us.ShortMonthNames[0], "Jan");
  EXPECT_EQ(us.DayNames[0], "Sunday");
  EXPECT_EQ(us.ShortDayNames[6], "Sat");
  EXPECT_EQ(us.CurrencySymbol, "$");
  EXPECT_EQ(us.CurrencyZeroText, "$0.00");
  const LocaleInfo& german = Locale("de_DE");
  EXPECT_EQ(german.MonthNames[2], "März");
  EXPECT_EQ(german.CurrencySymbol, "€");
  EXPECT_EQ(Locale("C").CurrencySymbol, "");
  EXPECT_EQ(CaptureLocale().Name, QLocale::system().name().toStdString());
}

TEST(LocaleQtTest, SeparatorsComeFromTheLocaleItself) {
  EXPECT_EQ(LocaleSymbolsOf(Locale("en_US")).ThousandsSeparator, ",");
  EXPECT_EQ(LocaleSymbolsOf(Locale("en_US")).DecimalSeparator, ".");
  EXPECT_EQ(LocaleSymbolsOf(Locale("de_DE")).ThousandsSeparator, ".");
  EXPECT_EQ(LocaleSymbolsOf(Locale("de_DE")).DecimalSeparator, ",");
  // These locales write 1000.1 without grouping ("1000,10"), so a symbol taken by its
  // position in that text would be a digit.
  for (const char* name : {"es_ES", "pl_PL", "C"}) {
    const LocaleSymbols s = LocaleSymbolsOf(Locale(name));
    const QLocale qt = QtLocale(name);
    EXPECT_EQ(s.ThousandsSeparator, QString(qt.groupSeparator()).toStdString()) << name;
    EXPECT_EQ(s.DecimalSeparator, QString(qt.decimalPoint()).toStdString()) << name;
    EXPECT_NE(s.ThousandsSeparator, "0") << name;
    EXPECT_NE(s.DecimalSeparator, "1") << name;
  }
  EXPECT_EQ(LocaleSymbolsOf(Locale("es_ES")).DecimalSeparator, ",");
  EXPECT_EQ(LocaleSymbolsOf(Locale("pl_PL")).DecimalSeparator, ",");
}

TEST(LocaleQtTest, CurrencyLabels) {
  const std::map<std::string, std::string> expected = {
      {"en_US", "$ :"}, {"en_GB", "£ :"}, {"de_DE", "€ :"}, {"es_ES", "€ :"},
      {"sv_SE", "r :"}, {"ja_JP", "￥ :"}, {"ko_KR", "₩ :"}, {"hu_HU", "t :"},
      {"pl_PL", "ł :"}, {"C", ""}};
  for (const auto& [name, label] : expected)
    EXPECT_EQ(CurrencyLabelText(Locale(name)), label) << name;
}

TEST(LocaleQtTest, DefaultStyles) {
  const std::map<std::string, int> expected = {
      {"en_US", 0}, {"en_GB", 0}, {"de_DE", 0}, {"es_ES", 0}, {"sv_SE", 0},
      {"ja_JP", 0}, {"ko_KR", 0}, {"hu_HU", 0}, {"pl_PL", 0}, {"C", 2}};
  for (const auto& [name, style] : expected)
    EXPECT_EQ(DefaultDateStyle(Locale(name)), style) << name;
}

TEST(LocaleQtTest, StyleZeroWritesWhatTheLocaleWrites) {
  for (const char* name : kLocaleNames) {
    const QLocale qt = QtLocale(name);
    for (DaySerial d = D(1990, 1, 1); d <= D(2040, 12, 31); d += 37) {
      const CalendarDate c = DateOf(d);
      const QDate date(c.Year, c.Month, c.Day);
      ASSERT_EQ(FormatDateStyle(d, 0, Locale(name)),
                qt.toString(date, QLocale::ShortFormat).toStdString())
          << name;
    }
  }
}

// One test per locale, so that they run side by side.
class LocaleRoundTripTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LocaleRoundTripTest, EveryStyleReadsBackEveryDay) {
  const LocaleInfo& locale = Locale(GetParam());
  const DaySerial today = D(2015, 7, 1);
  const DaySerial first = D(1990, 1, 1);
  const DaySerial last = D(2040, 12, 31);
  for (int style = 0; style < kDateStyleCount; ++style) {
    std::string text;
    for (DaySerial d = first; d <= last; ++d) {
      text = FormatDateStyle(d, style, locale);
      ASSERT_EQ(ParseDateStyle(text, style, locale, today), d) << "style " << style << " " << text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleRoundTripTest, ::testing::ValuesIn(kLocaleNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

TEST(LocaleQtTest, LongDatesUseTheLocaleMonthNames) {
  EXPECT_EQ(LongDateText(D(2026, 12, 5), Locale("en_GB"), true), "05 December 2026");
  EXPECT_EQ(LongDateText(D(2026, 3, 5), Locale("de_DE"), false), "5 März 2026");
  EXPECT_EQ(LongDateText(D(2026, 12, 5), Locale("pl_PL"), false), "5 grudnia 2026");
}

}  // namespace
}  // namespace qv
