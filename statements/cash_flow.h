#pragma once
// The comparative statement: the book's whole date span cut into consecutive periods
// (monthly, two-monthly, quarterly or yearly), with money coming in and money going out,
// account by account, period by period, and a total column.
//
// - All accounts: each revenue account is an inflow row (credits - debits); each expense,
//   cost-of-goods-sold and owner's drawings account (a capital account whose name contains
//   "Draw", case counting) an outflow row (debits - credits). Every such account has its
//   row, zeros included.
// - One account (cash or bank, say): every other account that money came from or went to,
//   found through the lines on the other side of the entries that post to the chosen
//   account. A line of the chosen account is shared among the other side's lines in
//   proportion to their amounts (rounded to four decimals, halves to even; equal shares when
//   they are all 0; nothing when the other side has no line). Per account and period the
//   net decides: money in makes an inflow, money out an outflow, 0 nothing; an account has
//   a row only where some period's net has that sign.
//
// A posting line belongs to the first chart account whose folio equals its own exactly (a
// sub-account is an account of its own here); lines of no account, and accounts without a
// folio, take no part. Everything is summed in one pass over the journal.
//
// Periods are numbered from 1: period p runs from PeriodStarts[p] up to, not including,
// PeriodStarts[p + 1], and TotalColumn (the number of periods + 1) indexes the total column
// of the amount lists and the end bound of PeriodStarts. Element 0 of every list is unused.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "books/amount.h"
#include "books/books.h"
#include "platform/locale_info.h"

namespace qv {

// The period kinds, numbered as the window's list shows them.
enum class CashFlowTerm : int { kMonthly = 0, kBimonthly = 1, kQuarterly = 2, kYearly = 3 };

// The kind at a list index; an index outside 1 to 3 is monthly.
CashFlowTerm CashFlowTermAt(int listIndex);

// The period starts of a date span: PeriodStarts[1..TotalColumn - 1] are the starts and
// PeriodStarts[TotalColumn] the end bound.
//
// Monthly periods start on every 1st of a month from the earliest date's month to the
// latest's, and the end bound is the 1st of the month after the latest date. The other kinds
// take N = 2, 3 or 12 months: the first period starts on the 1st of the earliest date's
// month, the next ones every N months after it, and one more always starts on the latest
// date itself (only one when that date is such a start). Their end bound is the 1st of the
// month after the latest date, or for yearly periods the latest date plus one year.
struct CashFlowPeriods {
  std::vector<DaySerial> PeriodStarts;  // [0] unused
  int TotalColumn = 0;

  int PeriodCount() const { return TotalColumn - 1; }
  // The period of a date (1 to TotalColumn - 1), or 0 outside the span.
  int PeriodOf(DaySerial date) const;
};
CashFlowPeriods CutPeriods(DaySerial earliest, DaySerial latest, CashFlowTerm term);

// One row of the statement: the chart account that made it, and its amount in each period
// (Amounts[1..TotalColumn - 1]) with its total (Amounts[TotalColumn]).
struct CashFlowRow {
  std::string Name;
  Folio RowFolio;
  int ChartIndex = 0;
  std::vector<Amount> Amounts;

  bool operator==(const CashFlowRow&) const = default;
};

enum class CashFlowStatus {
  kOk,
  kOverflow,     // a sum left the range of an Amount: no rows, no figures
  kNoPostings,   // the journal holds no line: no periods
  kOutOfRange,   // a posting date lies outside the calendar the program accepts
  kTooManyCells  // the span holds too many periods for the rows: nothing computed
};

struct CashFlowOptions {
  CashFlowTerm Term = CashFlowTerm::kMonthly;
  // The chosen account's folio (one-account mode), or nothing for all accounts.
  std::optional<Folio> ChosenFolio;
};

struct CashFlowStatement {
  CashFlowTerm Term = CashFlowTerm::kMonthly;
  std::optional<Folio> ChosenFolio;
  std::vector<DaySerial> PeriodStarts;  // as CashFlowPeriods
  int TotalColumn = 0;
  std::vector<CashFlowRow> Inflows;
  std::vector<CashFlowRow> Outflows;
  // The column sums of the rows, [1..TotalColumn].
  std::vector<Amount> TotalInflows;
  std::vector<Amount> TotalOutflows;
  // The running balance before period p, summed from period 1 ([1..TotalColumn]; the
  // element at TotalColumn is the balance after the last period).
  std::vector<Amount> Balances;
  CashFlowStatus Status = CashFlowStatus::kOk;
  // With kTooManyCells: the number of periods the span would have had.
  int64_t PeriodsWanted = 0;

  int InflowCount() const { return static_cast<int>(Inflows.size()); }
  int OutflowCount() const { return static_cast<int>(Outflows.size()); }
  int PeriodCount() const { return TotalColumn > 0 ? TotalColumn - 1 : 0; }
  bool Failed() const { return Status != CashFlowStatus::kOk; }
  // The balance before period p and after it (1 <= p <= TotalColumn - 1).
  Amount BalanceBefore(int p) const { return Balances[static_cast<std::size_t>(p)]; }
  Amount BalanceAfter(int p) const { return Balances[static_cast<std::size_t>(p) + 1]; }
};

// The largest number of amount cells (rows x columns) a statement may hold; a wider span
// is refused rather than filling memory.
inline constexpr int64_t kMaxCashFlowCells = int64_t{1} << 23;

CashFlowStatement ComputeCashFlow(const Books& books, const CashFlowOptions& options);

// The message a window shows for a statement that could not be computed ("" when it was).
std::string CashFlowProblemText(const CashFlowStatement& statement);

// ---- Texts.

// String-table entries of the statement's captions and totals.
enum CashFlowLabel : int {
  kLabelInflows = 250,
  kLabelTotalInflows = 251,
  kLabelOutflows = 252,
  kLabelTotalOutflows = 253,
  kLabelBeginningBalance = 254,
  kLabelEndingBalance = 255,
};

// A date as "mmm yyyy" ("Jan 2020") or "yyyy" with the locale's short month names.
std::string MonthYearText(DaySerial date, const LocaleInfo& locale);
std::string YearText(DaySerial date);

// The period list's item of period p: its start as "mmm yyyy", or "yyyy" for yearly periods.
std::string PeriodListItem(const CashFlowStatement& statement, int p, const LocaleInfo& locale);

// The window's and the printout's heading of column p: "Total" for the total column; for
// yearly periods the year of the start plus 12 days; otherwise the month of the period's
// last full month (the start plus 0, 1 or 2 months) as "mmm yyyy".
std::string PeriodColumnHeading(const CashFlowStatement& statement, int p,
                                const LocaleInfo& locale);

// The outputs' heading of column p: "Total", or the period's start as "mmm yyyy".
std::string PeriodOutputHeading(const CashFlowStatement& statement, int p,
                                const LocaleInfo& locale);

// An amount of the statement: the statement's decimals, "0" before the decimal symbol,
// negatives in parentheses, the locale's grouping ("(1,234.50)", "0.50").
std::string CashFlowAmountText(Amount value, int decimals, const LocaleInfo& locale);

}  // namespace qv
