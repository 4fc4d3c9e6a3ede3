#include "statements/statement_texts.h"

#include "platform/string_table.h"

namespace qv {

std::string TrialAmountText(Amount value, int decimals, const LocaleInfo& locale) {
  // Formatted with a minus sign, which is then dropped: exact for every value, the most
  // negative one included.
  AmountStyle style = LocaleAmountStyle(decimals, locale, true);
  style.parentheses = false;
  std::string text = FormatAmount(value, style);
  if (!text.empty() && text.front() == '-') text.erase(0, 1);
  return text;
}

std::string StatementAmountText(Amount value, int decimals, const LocaleInfo& locale) {
  return FormatAmount(value, LocaleAmountStyle(decimals, locale, false));
}

std::string PercentText(Amount percent, const LocaleInfo& locale) {
  AmountStyle style = LocaleAmountStyle(2, locale, true);
  style.parentheses = false;
  std::string text = FormatAmount(percent, style);
  if (!text.empty() && text.front() == '-') return "(" + text.substr(1) + "%)";
  return text + "%";
}

std::string RatioCaption(const StatementRatio& ratio, const LocaleInfo& locale) {
  return Str(ratio.LabelId) + " : " + PercentText(ratio.Percent, locale);
}

std::string ShortFolioText(Folio folio, const LocaleInfo& locale) {
  return PlainAmountText(folio, locale.DecimalSymbol);
}

std::string TrialFolioText(Folio folio, bool folioDashes, const LocaleInfo& locale) {
  if (folioDashes) return PlainAmountText(folio, "-");
  const std::string text = ShortFolioText(folio, locale);
  return (folio.IsNegative() ? "" : " ") + text + " ";
}

}  // namespace qv
