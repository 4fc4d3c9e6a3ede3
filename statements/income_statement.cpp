#include "statements/income_statement.h"

#include "statements/account_sums.h"

namespace qv {

namespace {

IncomeStatement Failed(const IncomeOptions& options) {
  IncomeStatement failed;
  failed.Period = options.Period;
  failed.IncludeSubAccounts = options.IncludeSubAccounts;
  failed.Status = StatementStatus::kOverflow;
  return failed;
}

}  // namespace

int IncomeStatement::NetLabelId() const {
  return HasGrossLine() ? kLabelNetProfit : kLabelProfitOrLoss;
}

IncomeStatement ComputeIncomeStatement(const Books& books, const IncomeOptions& options) {
  const IncomePeriod& period = options.Period;
  const DateSpan dates = period.AllDates
                             ? DateSpan::Every()
                             : DateSpan::Between(period.IncomeFromDate, period.IncomeToDate);
  const ChartFolioIndex index(books);
  return IncomeStatementFromSums(
      books, SumPostings(books, index, dates, options.IncludeSubAccounts), options);
}

IncomeStatement IncomeStatementFromSums(const Books& books, const AccountSums& sums,
                                        const IncomeOptions& options) {
  if (sums.Overflow) return Failed(options);
  const IncomePeriod& period = options.Period;
  IncomeStatement statement;
  statement.Period = period;
  statement.IncludeSubAccounts = options.IncludeSubAccounts;
  AmountSum revenue, cost, expenses;
  const int count = ChartAccountCount(books);
  for (int j = 0; j < count; ++j) {
    const auto s = static_cast<std::size_t>(j);
    std::vector<StatementAccountRow>* rows = nullptr;
    AmountSum* total = nullptr;
    std::optional<Amount> value;
    switch (books.AccountTypes[s]) {
      case kCostOfGoodsSold:
        rows = &statement.CostOfGoodsSoldRows;
        total = &cost;
        value = sums.DebitBalance(j);
        break;
      case kRevenue:
        rows = &statement.RevenueRows;
        total = &revenue;
        value = sums.CreditBalance(j);
        break;
      case kExpense:
        rows = &statement.ExpenseRows;
        total = &expenses;
        value = sums.DebitBalance(j);
        break;
      default: continue;  // other types are not part of the income statement
    }
    if (!value) return Failed(options);
    if (value->IsZero()) continue;
    rows->push_back(StatementAccountRow{books.AccountNames[s], books.AccountFolios[s], j, *value});
    total->Add(*value);
  }

  const auto rt = revenue.Value();
  const auto cogs = cost.Value();
  const auto et = expenses.Value();
  if (!rt || !cogs || !et) return Failed(options);
  const auto gross = CheckedSub(*rt, *cogs);
  if (!gross) return Failed(options);
  const auto net = CheckedSub(*gross, *et);
  if (!net) return Failed(options);
  statement.RevenueTotal = *rt;
  statement.CostOfGoodsSoldTotal = *cogs;
  statement.GrossResult = *gross;
  statement.ExpenseTotal = *et;
  statement.NetProfit = *net;

  // Gross ratio: only when the cost of goods sold changes the result, and never over a
  // revenue of 0. Net ratio: only over a positive revenue, so that no percentage of
  // another period stays on show.
  if (*gross != *rt && !rt->IsZero())
    statement.GrossRatio =
        RatioLine(*gross > Amount() ? kLabelGrossProfit : kLabelGrossLoss, *gross, *rt);
  if (*rt > Amount())
    statement.NetRatio = RatioLine(*net > Amount() ? kLabelNetProfit : kLabelNetLoss, *net, *rt);
  return statement;
}

std::vector<StatementLine> IncomeStatementLines(const IncomeStatement& statement) {
  std::vector<StatementLine> lines;
  if (statement.Failed()) return lines;
  int rowNumber = 0;
  AppendSection(lines, rowNumber, StatementSection::kRevenue, kLabelRevenue, statement.RevenueRows,
                kLabelBalance, statement.RevenueTotal);
  AppendSection(lines, rowNumber, StatementSection::kCostOfGoodsSold, kLabelLessCostOfGoodsSold,
                statement.CostOfGoodsSoldRows, kLabelGrossProfit, statement.GrossResult);
  AppendSection(lines, rowNumber, StatementSection::kExpenses, kLabelExpenses,
                statement.ExpenseRows, kLabelBalance, statement.ExpenseTotal);
  if (statement.HasNetLine()) AppendTotal(lines, statement.NetLabelId(), statement.NetProfit);
  return lines;
}

}  // namespace qv
