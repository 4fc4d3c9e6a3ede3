#include "statements/statement_frame.h"

#include <cmath>
#include <limits>

#include "books/date_styles.h"
#include "books/module_procedures.h"
#include "platform/utf8.h"
#include "statements/statement_dates.h"
#include "statements/statement_texts.h"

namespace qv {

int RowAt(const std::vector<StatementRowMark>& rows, double y, double band) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Bottom - band < y && y < rows[i].Bottom) return static_cast<int>(i);
  return -1;
}

std::string RowReadOut(Folio folio, const Books& books, const LocaleInfo& locale) {
  return ShortFolioText(folio, locale) + " / " + AccountNameOfFolio(books, folio);
}

DateBoxKey FilterDateBoxKey(int16_t& keyAscii) {
  if (keyAscii == 13) return DateBoxKey::Commit;
  if (keyAscii == 8 || keyAscii == '-' || (keyAscii >= '/' && keyAscii <= '9'))
    return DateBoxKey::Passed;
  keyAscii = 0;
  return DateBoxKey::Dropped;
}

int ScrollMaxFor(double drawnHeight, double viewHeight) {
  const double over = std::ceil(drawnHeight - viewHeight);
  if (!(over > 0)) return 0;
  return over < std::numeric_limits<int>::max() ? static_cast<int>(over)
                                                : std::numeric_limits<int>::max();
}

std::string UnreadableDateText(const std::string& typed, DaySerial kept, const LocaleInfo& locale) {
  // A pasted text may be of any length: the message quotes its start.
  constexpr std::size_t kQuoted = 30;
  const std::string quoted = Utf8Length(typed) > kQuoted
                                 ? std::string(typed.substr(0, Utf8Offset(typed, kQuoted))) + "..."
                                 : typed;
  return "\"" + quoted + "\" is not a date, so the statement stays as of " +
         LongDateText(kept, locale, false) + ".";
}

std::string TrialBalanceSubject(const std::string& businessName, DaySerial trialDate,
                                const LocaleInfo& locale) {
  return businessName + ", " + TrialBalanceTitle(trialDate, locale);
}

std::string IncomeStatementSubject(const std::string& businessName, DaySerial from, DaySerial to,
                                   const LocaleInfo& locale) {
  return businessName + ", " + IncomeStatementTitle() + " " + IncomePeriodText(from, to, locale);
}

std::string BalanceSheetSubject(const std::string& businessName, DaySerial sheetDate,
                                const LocaleInfo& locale) {
  return businessName + "," + BalanceSheetTitle(sheetDate, locale);
}

}  // namespace qv
