#include "statements/statement_dates.h"

#include <algorithm>

#include "books/date_styles.h"
#include "platform/string_table.h"
#include "statements/statement_lines.h"

namespace qv {

StatementDateRead ReadStatementDate(std::string& text, DaySerial previous, const Books& books,
                                    const LocaleInfo& locale, DaySerial today) {
  const DaySerial date = ParseDateStyle(text, books.DateStyleIndex, locale, today);
  if (date == kZeroDate) return StatementDateRead{previous, true};
  return StatementDateRead{date, false};
}

std::string TrialBalanceTitle(DaySerial trialDate, const LocaleInfo& locale) {
  return Str(kLabelTrialBalanceAs) + " " + LongDateText(trialDate, locale, true);
}

std::string IncomeStatementTitle() {
  std::string title = Str(kLabelIncomeStatement);
  title.erase(std::remove(title.begin(), title.end(), '.'), title.end());
  return title;
}

std::string IncomePeriodText(DaySerial from, DaySerial to, const LocaleInfo& locale,
                             const std::string& joiner) {
  return LongDateText(from, locale, false) + joiner + LongDateText(to, locale, true);
}

std::string BalanceSheetTitle(DaySerial sheetDate, const LocaleInfo& locale) {
  return Str(kLabelFinancialPositionEnding) + " " + LongDateText(sheetDate, locale, true);
}

}  // namespace qv
