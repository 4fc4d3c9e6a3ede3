#pragma once
// Compact texts of statement lines for the statement tests: "# HEADING", "3 Name 1,250",
// "p LABEL value", "= LABEL value", "== LABEL value" (amounts with 0 decimals, US English).

#include <optional>
#include <string>
#include <vector>

#include "platform/string_table.h"
#include "statements/statement_lines.h"
#include "statements/statement_texts.h"
#include "tests/support/book_builder.h"

namespace qv::testing {

inline std::vector<std::string> Sketch(const std::vector<StatementLine>& lines) {
  using Kind = StatementLine::Kind;
  std::vector<std::string> out;
  for (const StatementLine& line : lines) {
    const std::string value = StatementAmountText(line.Value, 0, UsEnglishLocale());
    switch (line.LineKind) {
      case Kind::kHeading: out.push_back("# " + Str(line.LabelId)); break;
      case Kind::kAccount:
        out.push_back(std::to_string(line.RowNumber) + " " + line.Name + " " + value);
        break;
      case Kind::kProfit: out.push_back("p " + Str(line.LabelId) + " " + value); break;
      case Kind::kSubtotal: out.push_back("= " + Str(line.LabelId) + " " + value); break;
      case Kind::kTotal: out.push_back("== " + Str(line.LabelId) + " " + value); break;
    }
  }
  return out;
}

// The caption of a ratio line, or "(hidden)".
inline std::string Caption(const std::optional<StatementRatio>& ratio) {
  return ratio ? RatioCaption(*ratio, UsEnglishLocale()) : "(hidden)";
}

// Appends a two-line entry of any raw amount (a sum of two such amounts may pass the range).
inline void AddEntryOf(Books& books, DaySerial date, double debit, double credit, Amount amount) {
  AddEntry(books, date, "1", {{debit, 0}}, {{credit, 0}});
  books.PostingLines.rbegin()[0].Amount = books.PostingLines.rbegin()[1].Amount = amount;
}

// Half the amount's range and a little more: two of these on one side overflow.
inline const Amount kHalfRange = Amount::FromRaw(INT64_MAX / 2 + 1);

}  // namespace qv::testing
