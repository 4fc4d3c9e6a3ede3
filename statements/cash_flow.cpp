#include "statements/cash_flow.h"

#include <algorithm>

#include "books/day_date.h"
#include "platform/string_table.h"
#include "statements/account_sums.h"
#include "statements/statement_lines.h"

namespace qv {

namespace {

__extension__ typedef __int128 Wide;

enum : int { kLabelTotal = 168 };

constexpr int kMonthsOf[] = {1, 2, 3, 12};

int MonthsOf(CashFlowTerm term) { return kMonthsOf[static_cast<int>(term)]; }

// Days from 1 January of year 0 (proleptic Gregorian) to the date; any year, so that an end
// bound past the year 9999 still orders after every posting date.
int64_t CivilDays(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

DaySerial SerialOfAny(int64_t year, int month, int day) {
  static const int64_t kDayZero = CivilDays(1899, 12, 30);
  return static_cast<DaySerial>(CivilDays(year, month, day) - kDayZero);
}

// A month counted from January of year 0.
int64_t MonthIndexOf(DaySerial date) {
  const CalendarDate d = DateOf(date);
  return int64_t{d.Year} * 12 + d.Month - 1;
}

DaySerial FirstOfMonth(int64_t monthIndex) {
  return SerialOfAny(monthIndex / 12, static_cast<int>(monthIndex % 12) + 1, 1);
}

// The same day one year later; 29 February becomes 28 February.
DaySerial OneYearAfter(DaySerial date) {
  const CalendarDate d = DateOf(date);
  const int day = d.Month == 2 && d.Day == 29 && !IsLeapYear(d.Year + 1) ? 28 : d.Day;
  return SerialOfAny(int64_t{d.Year} + 1, d.Month, day);
}

bool Add(int64_t& sum, int64_t value) { return !__builtin_add_overflow(sum, value, &sum); }

// num / den rounded to the nearest integer, halves to even.
Wide DivideHalfEven(Wide num, Wide den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  Wide quotient = num / den;
  const Wide rest = num % den;
  const Wide twice = 2 * (rest < 0 ? -rest : rest);
  if (twice > den || (twice == den && quotient % 2 != 0)) quotient += num < 0 ? -1 : 1;
  return quotient;
}

bool FitsAmount(Wide value) { return value >= INT64_MIN && value <= INT64_MAX; }

bool IsDrawings(const std::string& name) { return name.find("Draw") != std::string::npos; }

enum class SumResult { kOk, kOverflow, kTooManyCells };

// The amounts of the rows being summed, row by row, each TotalColumn + 1 wide.
class CellGrid {
 public:
  explicit CellGrid(int columns) : columns_(columns) {}
  int Rows() const { return rows_; }
  bool AddRow() {
    if ((int64_t{rows_} + 1) * columns_ > kMaxCashFlowCells) return false;
    ++rows_;
    cells_.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_));
    return true;
  }
  int64_t& At(int row, int column) {
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(column)];
  }

 private:
  int columns_;
  int rows_ = 0;
  std::vector<int64_t> cells_;
};

// The period of a date, remembering the last one found: the journal is mostly in date
// order, so the next line usually falls in the same period.
class PeriodFinder {
 public:
  explicit PeriodFinder(const CashFlowPeriods& periods) : periods_(periods) {}
  int Of(DaySerial date) {
    const auto& starts = periods_.PeriodStarts;
    if (last_ > 0 && date >= starts[static_cast<std::size_t>(last_)] &&
        date < starts[static_cast<std::size_t>(last_) + 1])
      return last_;
    last_ = periods_.PeriodOf(date);
    return last_;
  }

 private:
  const CashFlowPeriods& periods_;
  int last_ = 0;
};

// A new row for chart account k with all amounts 0.
CashFlowRow RowOf(const Books& books, int k, int totalColumn) {
  const auto s = static_cast<std::size_t>(k);
  return CashFlowRow{books.AccountNames[s], books.AccountFolios[s], k,
                     std::vector<Amount>(static_cast<std::size_t>(totalColumn) + 1)};
}

// The chart account a posting line belongs to, or -1 (no account, or a slot without folio).
int AccountOfLine(const Books& books, const ChartFolioIndex& index, Folio folio) {
  const int k = index.Find(folio);
  if (k < 0 || books.AccountFolios[static_cast<std::size_t>(k)].IsZero()) return -1;
  return k;
}

// All accounts: one row per qualifying account, the signed amounts summed in one pass.
SumResult SumAllAccounts(const Books& books, const ChartFolioIndex& index,
                         const CashFlowPeriods& periods, CashFlowStatement& out) {
  const int count = ChartAccountCount(books);
  const int columns = periods.TotalColumn + 1;
  std::vector<int> rowOf(static_cast<std::size_t>(count), -1);
  std::vector<int8_t> creditSign(static_cast<std::size_t>(count), 0);
  std::vector<std::pair<int, bool>> rows;  // chart index, inflow
  CellGrid grid(columns);
  for (int k = 0; k < count; ++k) {
    const auto s = static_cast<std::size_t>(k);
    const int type = books.AccountTypes[s];
    const bool inflow = type == kRevenue;
    const bool outflow = type == kExpense || type == kCostOfGoodsSold ||
                         (type == kCapital && IsDrawings(books.AccountNames[s]));
    if (!inflow && !outflow) continue;
    if (!grid.AddRow()) return SumResult::kTooManyCells;
    rowOf[s] = grid.Rows() - 1;
    creditSign[s] = inflow ? 1 : -1;
    rows.emplace_back(k, inflow);
  }

  bool fits = true;
  PeriodFinder finder(periods);
  for (const PostingLine& line : books.PostingLines) {
    const int k = AccountOfLine(books, index, line.LineFolio);
    if (k < 0) continue;
    const auto s = static_cast<std::size_t>(k);
    if (rowOf[s] < 0) continue;
    const int p = finder.Of(line.LineDate);
    if (p == 0) continue;
    const int64_t raw = line.Amount.Raw();
    // Revenue counts credits - debits, the outflow accounts debits - credits.
    const bool credit = line.Side != kDebit;
    int64_t& cell = grid.At(rowOf[s], p);
    fits &= (credit == (creditSign[s] > 0)) ? Add(cell, raw)
                                            : !__builtin_sub_overflow(cell, raw, &cell);
  }
  if (!fits) return SumResult::kOverflow;

  for (std::size_t r = 0; r < rows.size(); ++r) {
    CashFlowRow row = RowOf(books, rows[r].first, periods.TotalColumn);
    for (int p = 1; p < periods.TotalColumn; ++p)
      row.Amounts[static_cast<std::size_t>(p)] = Amount::FromRaw(grid.At(static_cast<int>(r), p));
    (rows[r].second ? out.Inflows : out.Outflows).push_back(std::move(row));
  }
  return SumResult::kOk;
}

// One account: each line of the chosen account shared among the lines on the other side
// of its entry, netted per contra account and period.
SumResult SumOneAccount(const Books& books, const ChartFolioIndex& index,
                        const CashFlowPeriods& periods, Folio chosen, CashFlowStatement& out) {
  const std::vector<PostingLine>& lines = books.PostingLines;
  const int count = ChartAccountCount(books);
  const int columns = periods.TotalColumn + 1;
  std::vector<int> slotOf(static_cast<std::size_t>(count), -1);
  CellGrid grid(columns);
  PeriodFinder finder(periods);
  bool fits = true;

  const auto n = static_cast<int64_t>(lines.size());
  for (int64_t first = 0; first < n;) {
    int64_t last = first;
    while (last + 1 < n && !EndsEntry(lines[static_cast<std::size_t>(last)].Notes)) ++last;
    Wide debitSum = 0, creditSum = 0;
    int debits = 0, credits = 0;
    bool touches = false;
    for (int64_t i = first; i <= last; ++i) {
      const PostingLine& line = lines[static_cast<std::size_t>(i)];
      touches |= line.LineFolio == chosen;
      if (line.Side == kDebit) {
        debitSum += line.Amount.Raw();
        ++debits;
      } else {
        creditSum += line.Amount.Raw();
        ++credits;
      }
    }
    for (int64_t i = first; touches && i <= last; ++i) {
      const PostingLine& mine = lines[static_cast<std::size_t>(i)];
      if (mine.LineFolio != chosen) continue;
      // Money comes in on a debit of the chosen account, from the credit side.
      const bool in = mine.Side == kDebit;
      const int others = in ? credits : debits;
      if (others == 0) continue;
      const Wide otherSum = in ? creditSum : debitSum;
      const int p = finder.Of(mine.LineDate);
      if (p == 0) continue;
      for (int64_t c = first; c <= last; ++c) {
        const PostingLine& other = lines[static_cast<std::size_t>(c)];
        if ((other.Side == kDebit) == in) continue;
        const int k = AccountOfLine(books, index, other.LineFolio);
        if (k < 0 || books.AccountFolios[static_cast<std::size_t>(k)] == chosen) continue;
        const Wide share =
            otherSum != 0 ? DivideHalfEven(Wide{mine.Amount.Raw()} * other.Amount.Raw(), otherSum)
                          : DivideHalfEven(mine.Amount.Raw(), others);
        if (!FitsAmount(share)) return SumResult::kOverflow;
        int& slot = slotOf[static_cast<std::size_t>(k)];
        if (slot < 0) {
          if (!grid.AddRow()) return SumResult::kTooManyCells;
          slot = grid.Rows() - 1;
        }
        const auto value = static_cast<int64_t>(share);
        int64_t& cell = grid.At(slot, p);
        fits &= in ? Add(cell, value) : !__builtin_sub_overflow(cell, value, &cell);
      }
    }
    first = last + 1;
  }
  if (!fits) return SumResult::kOverflow;

  for (int k = 0; k < count; ++k) {
    const int slot = slotOf[static_cast<std::size_t>(k)];
    if (slot < 0) continue;
    std::optional<CashFlowRow> inflow, outflow;
    for (int p = 1; p < periods.TotalColumn; ++p) {
      const int64_t net = grid.At(slot, p);
      if (net == 0) continue;
      if (net == INT64_MIN) return SumResult::kOverflow;
      std::optional<CashFlowRow>& row = net > 0 ? inflow : outflow;
      if (!row) row = RowOf(books, k, periods.TotalColumn);
      row->Amounts[static_cast<std::size_t>(p)] = Amount::FromRaw(net > 0 ? net : -net);
    }
    if (inflow) out.Inflows.push_back(std::move(*inflow));
    if (outflow) out.Outflows.push_back(std::move(*outflow));
  }
  return SumResult::kOk;
}

// The row totals, the column sums and the running balances.
bool Totals(CashFlowStatement& out) {
  const int tc = out.TotalColumn;
  const auto columns = static_cast<std::size_t>(tc) + 1;
  auto sumRows = [tc, columns](std::vector<CashFlowRow>& rows, std::vector<Amount>& totals) {
    std::vector<int64_t> sums(columns, 0);
    bool fits = true;
    for (CashFlowRow& row : rows) {
      int64_t total = 0;
      for (int p = 1; p < tc; ++p) {
        const int64_t v = row.Amounts[static_cast<std::size_t>(p)].Raw();
        fits &= Add(total, v) && Add(sums[static_cast<std::size_t>(p)], v);
      }
      row.Amounts[static_cast<std::size_t>(tc)] = Amount::FromRaw(total);
      fits &= Add(sums[static_cast<std::size_t>(tc)], total);
    }
    totals.assign(columns, Amount());
    for (std::size_t p = 1; p < columns; ++p) totals[p] = Amount::FromRaw(sums[p]);
    return fits;
  };
  if (!sumRows(out.Inflows, out.TotalInflows) || !sumRows(out.Outflows, out.TotalOutflows))
    return false;
  out.Balances.assign(columns, Amount());
  int64_t balance = 0;
  for (int p = 1; p < tc; ++p) {
    const auto s = static_cast<std::size_t>(p);
    int64_t net = 0;
    if (__builtin_sub_overflow(out.TotalInflows[s].Raw(), out.TotalOutflows[s].Raw(), &net) ||
        !Add(balance, net))
      return false;
    out.Balances[s + 1] = Amount::FromRaw(balance);
  }
  return true;
}

}  // namespace

CashFlowTerm CashFlowTermAt(int listIndex) {
  return listIndex >= 1 && listIndex <= 3 ? static_cast<CashFlowTerm>(listIndex)
                                          : CashFlowTerm::kMonthly;
}

int CashFlowPeriods::PeriodOf(DaySerial date) const {
  if (TotalColumn < 2) return 0;
  const auto begin = PeriodStarts.begin() + 1;
  const auto end = PeriodStarts.begin() + TotalColumn + 1;
  const int p = static_cast<int>(std::upper_bound(begin, end, date) - PeriodStarts.begin()) - 1;
  return p >= 1 && p < TotalColumn ? p : 0;
}

CashFlowPeriods CutPeriods(DaySerial earliest, DaySerial latest, CashFlowTerm term) {
  CashFlowPeriods periods;
  periods.PeriodStarts.push_back(kZeroDate);
  const int months = MonthsOf(term);
  const int64_t first = MonthIndexOf(earliest);
  const int64_t last = MonthIndexOf(latest);
  auto open = [&periods](DaySerial start) { periods.PeriodStarts.push_back(start); };
  if (months == 1) {
    for (int64_t m = first; m <= last; ++m) open(FirstOfMonth(m));
  } else {
    // Each 1st of a month counts; a period opens every `months` of them and on the latest
    // date, which counts as well when it is no 1st.
    int counter = months - 1;
    for (int64_t m = first; m <= last; ++m) {
      const DaySerial day = FirstOfMonth(m);
      if (++counter == months || day == latest) {
        open(day);
        counter = 0;
      }
    }
    if (DateOf(latest).Day != 1) open(latest);
  }
  open(term == CashFlowTerm::kYearly ? OneYearAfter(latest) : FirstOfMonth(last + 1));
  periods.TotalColumn = static_cast<int>(periods.PeriodStarts.size()) - 1;
  return periods;
}

CashFlowStatement ComputeCashFlow(const Books& books, const CashFlowOptions& options) {
  CashFlowStatement out;
  out.Term = options.Term;
  out.ChosenFolio = options.ChosenFolio;
  if (books.PostingLines.empty()) {
    out.Status = CashFlowStatus::kNoPostings;
    return out;
  }
  const PostingDates dates = PostingDateRange(books);
  if (!IsValidSerial(dates.Earliest) || !IsValidSerial(dates.Latest)) {
    out.Status = CashFlowStatus::kOutOfRange;
    return out;
  }
  CashFlowPeriods periods = CutPeriods(dates.Earliest, dates.Latest, options.Term);

  const ChartFolioIndex index(books);
  out.PeriodStarts = periods.PeriodStarts;
  out.TotalColumn = periods.TotalColumn;
  SumResult result = options.ChosenFolio
                         ? SumOneAccount(books, index, periods, *options.ChosenFolio, out)
                         : SumAllAccounts(books, index, periods, out);
  if (result == SumResult::kOk && !Totals(out)) result = SumResult::kOverflow;
  if (result != SumResult::kOk) {
    out = CashFlowStatement();
    out.Term = options.Term;
    out.ChosenFolio = options.ChosenFolio;
    out.Status =
        result == SumResult::kOverflow ? CashFlowStatus::kOverflow : CashFlowStatus::kTooManyCells;
    out.PeriodsWanted = periods.PeriodCount();
  }
  return out;
}

std::string CashFlowProblemText(const CashFlowStatement& statement) {
  switch (statement.Status) {
    case CashFlowStatus::kOk: return "";
    case CashFlowStatus::kOverflow: return StatementOverflowMessage();
    case CashFlowStatus::kNoPostings:
      return "The journal holds no posting lines, so there are no periods to compare.";
    case CashFlowStatus::kOutOfRange:
      return "A posting date lies outside the years 100 to 9999, so the books' dates cannot be "
             "cut into periods.";
    case CashFlowStatus::kTooManyCells:
      return "The books' dates span " + std::to_string(statement.PeriodsWanted) +
             " periods of this kind, too many to show for these accounts; choose a longer "
             "period.";
  }
  return "";
}

namespace {

std::string FourDigits(int64_t year) {
  std::string text = std::to_string(year);
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  return text;
}

// The month at a month index as "mmm yyyy"; any year.
std::string MonthIndexText(int64_t monthIndex, const LocaleInfo& locale) {
  return locale.ShortMonthNames[static_cast<std::size_t>(monthIndex % 12)] + " " +
         FourDigits(monthIndex / 12);
}

}  // namespace

std::string YearText(DaySerial date) { return FourDigits(DateOf(date).Year); }

std::string MonthYearText(DaySerial date, const LocaleInfo& locale) {
  return MonthIndexText(MonthIndexOf(date), locale);
}

std::string PeriodListItem(const CashFlowStatement& statement, int p, const LocaleInfo& locale) {
  const DaySerial start = statement.PeriodStarts[static_cast<std::size_t>(p)];
  return statement.Term == CashFlowTerm::kYearly ? YearText(start) : MonthYearText(start, locale);
}

std::string PeriodColumnHeading(const CashFlowStatement& statement, int p,
                                const LocaleInfo& locale) {
  if (p == statement.TotalColumn) return Str(kLabelTotal);
  const DaySerial start = statement.PeriodStarts[static_cast<std::size_t>(p)];
  if (statement.Term == CashFlowTerm::kYearly)
    return IsValidSerial(start + 12) ? YearText(start + 12) : FourDigits(DateOf(start).Year + 1);
  return MonthIndexText(MonthIndexOf(start) + static_cast<int>(statement.Term), locale);
}

std::string PeriodOutputHeading(const CashFlowStatement& statement, int p,
                                const LocaleInfo& locale) {
  if (p == statement.TotalColumn) return Str(kLabelTotal);
  return MonthYearText(statement.PeriodStarts[static_cast<std::size_t>(p)], locale);
}

std::string CashFlowAmountText(Amount value, int decimals, const LocaleInfo& locale) {
  return FormatAmount(value, LocaleAmountStyle(decimals, locale, true));
}

}  // namespace qv
