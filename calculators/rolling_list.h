#pragma once
// The running calculator's list and its result. The list holds one number per row, each
// with the operator that joins it to the result of the rows above it; the result is one of
// four summaries of the list: the running total, the average, the middle value or the most
// frequent value, as the text of the result box.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calculators/decimal.h"

namespace qv {

// The number of one row.
struct RollValue {
  enum class Kind : uint8_t {
    Empty,       // never set: counts as 0 and is copied as an empty line
    Number,      // Value holds it
    Unreadable,  // typed or pasted text that is not a number (kept in Text)
    TooLarge,    // a number beyond the decimal range (kept in Text)
  };
  Kind kind = Kind::Empty;
  Decimal Value;
  std::string Text;

  static RollValue Of(const Decimal& value) { return {Kind::Number, value, {}}; }
  static RollValue Zero() { return Of(Decimal()); }
  // The reading of a text: its number, or the text kept as unreadable or too large.
  static RollValue Read(const DecimalText& read, std::string_view text);
  bool IsNumber() const { return kind == Kind::Number; }
  // Whether the row stands for a failed conversion rather than a number.
  bool Failed() const { return kind == Kind::Unreadable || kind == Kind::TooLarge; }
};

// The operators: '+', '-', 'x' (times) and '/'. Any other character leaves its row out of
// the running total.
inline constexpr char kRollPlus = '+';
bool IsRollOperator(char op);
// The operator that a click on the row's button gives: + to -, - to x, x to /, / to +;
// anything else stays.
char NextRollOperator(char op);

// RollMode: what the result box shows.
enum RollModes : int16_t { kRunningTotal = 0, kAverage = 1, kMiddleValue = 2, kMostFrequent = 3 };
// RollDecimals: 0 to 6 or 24 places; kVariableDecimals shows every digit.
inline constexpr int16_t kVariableDecimals = 25;

// The machine's number symbols as the calculator reads and writes numbers.
struct RollSymbols {
  std::string Grouping = ",";  // "" when the locale does not group digits
  std::string Decimal = ".";
};

struct RollingList {
  std::vector<RollValue> RollValues;
  std::vector<char> RollOps;  // same size as RollValues
  int16_t RollMode = kRunningTotal;
  int16_t RollDecimals = 2;

  // The result box's text (MailCalc):
  //  - running total: the operators applied strictly from the top down ("Overflow" when the
  //    last failed step overflowed, "Error" when it divided by zero or met a row that is
  //    not a number), formatted with RollDecimals places, grouping, negatives in
  //    parentheses and no zero before the decimal symbol, or in plain form for "Variable";
  //  - "Average : " and the mean of the rows that are not 0;
  //  - "Mean : " and the middle value of the rows above 0;
  //  - "Mode : " and the most frequent row above 0, the smallest on a tie.
  // The last three show their label alone when no row takes part, "Overflow" when the sum
  // of the average overflows and "Error" while a row is not a number.
  std::string MailCalc(const RollSymbols& symbols) const;

  // How a row's number is shown: in plain form for "Variable", else formatted as the running
  // total; what was typed for a row that is not a number; "" for an empty row.
  std::string ValueText(const RollValue& value, const RollSymbols& symbols) const;
};

// Sorts the numbers above zero ascending to the front of `values`; every later element
// becomes the number 0 (zero, negative, empty and failed rows are dropped). `count` is the
// index of the last number above zero, -1 when there is none.
void Selectionsort(std::vector<RollValue>& values, int32_t& count);

}  // namespace qv
