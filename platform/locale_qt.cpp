#include "platform/locale_qt.h"

#include <QString>

namespace qv {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

LocaleInfo CaptureLocale(const QLocale& locale) {
  LocaleInfo info;
  // The symbols come from the locale itself, never from the characters of a formatted
  // number: a locale that does not group four-digit numbers would give digits.
  info.DecimalSymbol = Utf8(locale.decimalPoint());
  info.GroupSymbol = Utf8(locale.groupSeparator());
  info.ShortDatePattern = Utf8(locale.dateFormat(QLocale::ShortFormat));
  for (int m = 1; m <= 12; ++m) {
    info.MonthNames[static_cast<std::size_t>(m - 1)] =
        Utf8(locale.monthName(m, QLocale::LongFormat));
    info.ShortMonthNames[static_cast<std::size_t>(m - 1)] =
        Utf8(locale.monthName(m, QLocale::ShortFormat));
  }
  // Qt numbers the weekdays from Monday = 1 to Sunday = 7; LocaleInfo starts on Sunday.
  for (int i = 0; i < 7; ++i) {
    const int qtDay = i == 0 ? 7 : i;
    info.DayNames[static_cast<std::size_t>(i)] = Utf8(locale.dayName(qtDay, QLocale::LongFormat));
    info.ShortDayNames[static_cast<std::size_t>(i)] =
        Utf8(locale.dayName(qtDay, QLocale::ShortFormat));
  }
  info.CurrencySymbol = Utf8(locale.currencySymbol(QLocale::CurrencySymbol));
  info.CurrencyZeroText = Utf8(locale.toCurrencyString(0.0));
  info.Name = Utf8(locale.name());
  return info;
}

}  // namespace qv
