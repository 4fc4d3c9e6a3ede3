#include "statements/statement_texts.h"

#include "platform/string_table.h"

namespace qv {

namespace {

AmountStyle StyleOf(int decimals, const LocaleInfo& locale, bool zeroBeforePoint) {
  AmountStyle style;
  style.decimals = decimals;
  style.decimalSymbol = locale.DecimalSymbol;
  style.group = locale.GroupSymbol;
  style.parentheses = true;
  style.zeroBeforePoint = zeroBeforePoint;
  return style;
}

// The plain text with the decimal point replaced.
std::string FolioWithSymbol(Folio folio, const std::string& symbol) {
  std::string text = PlainAmountText(folio);
  const auto point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, symbol);
  return text;
}

}  // namespace

std::string TrialAmountText(Amount value, int decimals, const LocaleInfo& locale) {
  // Formatted with a minus sign, which is then dropped: exact for every value, the most
  // negative one included.
  AmountStyle style = StyleOf(decimals, locale, true);
  style.parentheses = false;
  std::string text = FormatAmount(value, style);
  if (!text.empty() && text.front() == '-') text.erase(0, 1);
  return text;
}

std::string StatementAmountText(Amount value, int decimals, const LocaleInfo& locale) {
  return FormatAmount(value, StyleOf(decimals, locale, false));
}

std::string PercentText(Amount percent, const LocaleInfo& locale) {
  AmountStyle style = StyleOf(2, locale, true);
  style.parentheses = false;
  std::string text = FormatAmount(percent, style);
  if (!text.empty() && text.front() == '-') return "(" + text.substr(1) + "%)";
  return text + "%";
}

std::string RatioCaption(const StatementRatio& ratio, const LocaleInfo& locale) {
  return Str(ratio.LabelId) + " : " + PercentText(ratio.Percent, locale);
}

std::string ShortFolioText(Folio folio, const LocaleInfo& locale) {
  return FolioWithSymbol(folio, locale.DecimalSymbol);
}

std::string TrialFolioText(Folio folio, bool folioDashes, const LocaleInfo& locale) {
  if (folioDashes) return FolioWithSymbol(folio, "-");
  const std::string text = ShortFolioText(folio, locale);
  return (folio.IsNegative() ? "" : " ") + text + " ";
}

}  // namespace qv
