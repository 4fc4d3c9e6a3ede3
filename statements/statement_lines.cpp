#include "statements/statement_lines.h"

#include <cstdint>

namespace qv {

namespace {
__extension__ typedef __int128 Wide;
}  // namespace

const char* StatementOverflowMessage() {
  return "The amounts of this statement are too large to add up, so it cannot be shown.";
}

std::optional<Amount> PercentOf(Amount part, Amount whole) {
  if (whole.IsZero()) return std::nullopt;
  // Hundredths of a percent: part / whole x 10000, rounded.
  const Wide num = static_cast<Wide>(part.Raw()) * 10000;
  const Wide den = whole.Raw();
  Wide q = num / den;
  const Wide r = num % den;
  const Wide absR = r < 0 ? -r : r;
  const Wide absDen = den < 0 ? -den : den;
  if (absR * 2 >= absDen) q += ((num < 0) != (den < 0)) ? -1 : 1;
  // An Amount holds four decimals; the percentage has two.
  const Wide raw = q * 100;
  if (raw > INT64_MAX || raw < INT64_MIN) return std::nullopt;
  return Amount::FromRaw(static_cast<int64_t>(raw));
}

std::optional<StatementRatio> RatioLine(int labelId, Amount part, Amount whole) {
  const auto percent = PercentOf(part, whole);
  if (!percent) return std::nullopt;
  return StatementRatio{labelId, *percent};
}

void AppendSection(std::vector<StatementLine>& lines, int& rowNumber, StatementSection section,
                   int headingId, const std::vector<StatementAccountRow>& rows, int closingId,
                   Amount closingValue, const std::optional<StatementLine>& leadLine) {
  if (rows.empty()) return;
  lines.push_back(StatementLine{StatementLine::Kind::kHeading, section, headingId});
  if (leadLine) lines.push_back(*leadLine);
  for (const StatementAccountRow& row : rows) {
    StatementLine line{StatementLine::Kind::kAccount, section};
    line.Name = row.Name;
    line.AccountFolio = row.AccountFolio;
    line.Value = row.Value;
    line.Column = 1;
    line.RowNumber = ++rowNumber;
    lines.push_back(std::move(line));
  }
  StatementLine closing{StatementLine::Kind::kSubtotal, section, closingId};
  closing.Value = closingValue;
  closing.Column = 2;
  lines.push_back(std::move(closing));
}

void AppendTotal(std::vector<StatementLine>& lines, int labelId, Amount value) {
  StatementLine total{StatementLine::Kind::kTotal, StatementSection::kNone, labelId};
  total.Value = value;
  total.Column = 3;
  lines.push_back(std::move(total));
}

}  // namespace qv
