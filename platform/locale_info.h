#pragma once
// The machine's regional settings as plain values, captured once at start-up from the
// system locale (platform/locale_qt). The model never asks the window system for them, so
// tests can pin any locale by filling this structure.

#include <array>
#include <string>

namespace qv {

enum class DateOrder { MonthFirst, DayFirst, YearFirst };

struct LocaleInfo {
  // Number format. Symbols are UTF-8 texts (some locales group with a no-break space).
  std::string DecimalSymbol = ".";
  std::string GroupSymbol = ",";

  // The short-date pattern in the window system's notation: d, dd, M, MM, MMM, MMMM, yy,
  // yyyy; text between single quotes is literal. "M/d/yy" for en_US.
  std::string ShortDatePattern = "M/d/yy";

  // Month names in the user's language, January first.
  std::array<std::string, 12> MonthNames = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

  // Weekday names, Sunday first (as WeekdayOf numbers them); a short-date pattern may
  // hold a weekday field ("ddd", "dddd").
  std::array<std::string, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

  // Zero written as currency ("$0.00", "0,00 €") and the currency symbol alone; both empty
  // when the locale has no currency.
  std::string CurrencyZeroText = "$0.00";
  std::string CurrencySymbol = "$";

  // The locale's name, for messages and tests ("en_US").
  std::string Name = "en_US";
};

// The locale that tests use unless they say otherwise: United States English.
LocaleInfo UsEnglishLocale();

}  // namespace qv
