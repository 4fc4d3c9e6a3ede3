#pragma once
// The plain values that the computed statements hand to their drawings and outputs: an
// account row, the lines of a laid-out statement in drawing order, a ratio line, and how
// a computation ended. Nothing here is computed again by a reader.

#include <optional>
#include <string>
#include <vector>

#include "books/amount.h"

namespace qv {

// String-table entries of the statements' labels and titles.
enum StatementLabel : int {
  kLabelIncomeStatement = 134,  // "Income Statement..." (titles drop the dots)
  kLabelBalance = 155,
  kLabelTrialBalanceAs = 167,
  kLabelExpenses = 200,
  kLabelRevenue = 201,
  kLabelLessCostOfGoodsSold = 202,
  kLabelNetProfit = 203,
  kLabelProfitOrLoss = 204,
  kLabelGrossProfit = 206,
  kLabelFinancialPositionEnding = 257,
  kLabelTotalAssets = 258,
  kLabelUsNonCurrentAssets = 259,
  kLabelUsCurrentLiabilities = 260,
  kLabelUsNonCurrentLiabilities = 261,
  kLabelTotalLiabilities = 262,
  kLabelUsNetAssets = 263,
  kLabelCurrentAssets = 264,
  kLabelCurrentLiabilities = 265,
  kLabelWorkingCapital = 266,
  kLabelNonCurrentAssets = 267,
  kLabelNonCurrentLiabilities = 268,
  kLabelNetAssets = 269,
  kLabelCapital = 270,
  kLabelGrossLoss = 305,
  kLabelNetLoss = 306,
  kLabelReturnOnEquity = 307,
};

// How a computation ended. On overflow a statement holds no rows and zero totals: a sum
// left the range of an Amount, and no wrapped figure is ever shown.
enum class StatementStatus { kOk, kOverflow };

// The message a window shows for a statement that could not be computed.
const char* StatementOverflowMessage();

// One account of the income statement or the balance sheet: the chart account that made
// the row, its name as the chart holds it, and the amount shown (never 0 when computed).
struct StatementAccountRow {
  std::string Name;
  Folio AccountFolio;
  int ChartIndex = 0;
  Amount Value;

  bool operator==(const StatementAccountRow&) const = default;
};

// The groups of rows of the income statement and the balance sheet.
enum class StatementSection {
  kNone,
  kRevenue,
  kCostOfGoodsSold,
  kExpenses,
  kCurrentAssets,
  kCurrentLiabilities,
  kNonCurrentAssets,
  kNonCurrentLiabilities,
  kCapital,
};

// One line of a laid-out statement. Amounts stand in one of three right-aligned columns:
// 1 account rows (and the balance sheet's profit line), 2 section balances, 3 results.
struct StatementLine {
  enum class Kind {
    kHeading,   // a section heading: LabelId
    kAccount,   // an account row: Name, AccountFolio, Value in column 1, RowNumber
    kProfit,    // the balance sheet's profit or loss of the period: LabelId, Value, column 1
    kSubtotal,  // a section's closing line: LabelId, Value in column 2
    kTotal,     // a result line: LabelId, Value in column 3
  };
  Kind LineKind = Kind::kHeading;
  StatementSection Section = StatementSection::kNone;
  int LabelId = 0;  // string-table entry of the label; 0 on account rows
  std::string Name;
  Folio AccountFolio;
  Amount Value;
  int Column = 0;     // 1 to 3; 0 on headings
  int RowNumber = 0;  // account rows: 1, 2, ... in drawing order; 0 on other lines

  bool operator==(const StatementLine&) const = default;
};

// Appends a section when it has rows: the heading, `leadLine` when given (the balance
// sheet's profit line), the account rows in column 1 numbered on from `rowNumber`, and the
// closing line in column 2.
void AppendSection(std::vector<StatementLine>& lines, int& rowNumber, StatementSection section,
                   int headingId, const std::vector<StatementAccountRow>& rows, int closingId,
                   Amount closingValue,
                   const std::optional<StatementLine>& leadLine = std::nullopt);
// Appends a result line in column 3.
void AppendTotal(std::vector<StatementLine>& lines, int labelId, Amount value);

// A ratio shown as a caption line of a statement window: the label's string-table entry
// and the percentage (40.00 for 40%, rounded to two decimals, halves away from zero).
struct StatementRatio {
  int LabelId = 0;
  Amount Percent;

  bool operator==(const StatementRatio&) const = default;
};

// part / whole as a percentage rounded to two decimals, halves away from zero; nothing
// when `whole` is 0 or the percentage does not fit an Amount.
std::optional<Amount> PercentOf(Amount part, Amount whole);
// The ratio line with `labelId` for part / whole, or nothing when PercentOf gives nothing.
std::optional<StatementRatio> RatioLine(int labelId, Amount part, Amount whole);

}  // namespace qv
