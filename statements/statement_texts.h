#pragma once
// The texts of the statements' figures, shared by the drawings and every output: amounts
// with the statement's own decimals, the locale's digit grouping and decimal symbol and
// negatives in parentheses; percentages; folios; the ratio captions. Amounts with fewer
// decimals than stored round half away from zero.

#include <string>

#include "books/amount.h"
#include "platform/locale_info.h"
#include "statements/statement_lines.h"

namespace qv {

// The trial balance's amount: the value without sign, with a "0" before the decimal
// symbol below 1 ("0.50", "1,250.00").
std::string TrialAmountText(Amount value, int decimals, const LocaleInfo& locale);

// The income statement's and the balance sheet's amount: the signed value, negatives in
// parentheses, nothing before the decimal symbol below 1 (".50", "(12.00)"); with 0
// decimals a value below one half is "0".
std::string StatementAmountText(Amount value, int decimals, const LocaleInfo& locale);

// A percentage (40.00 for 40%) with two decimals, a "0" before the decimal symbol and
// grouping; a negative one in parentheses around the sign: "12.50%", "(12.50%)".
std::string PercentText(Amount percent, const LocaleInfo& locale);

// A ratio line's caption: the label, " : " and the percentage ("Gross Profit : 40.00%").
std::string RatioCaption(const StatementRatio& ratio, const LocaleInfo& locale);

// The shortest text of a folio with the locale's decimal symbol ("110", "110.5").
std::string ShortFolioText(Folio folio, const LocaleInfo& locale);

// The trial balance's folio column: with folio dashes the shortest text with "-" for the
// decimal symbol ("110-5"); otherwise the folio as a printed number, a blank before it
// (in place of a sign) and one after it (" 110.5 ", "-3 ").
std::string TrialFolioText(Folio folio, bool folioDashes, const LocaleInfo& locale);

}  // namespace qv
