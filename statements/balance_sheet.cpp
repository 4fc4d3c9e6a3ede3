#include "statements/balance_sheet.h"

#include "statements/account_sums.h"

namespace qv {

namespace {

BalanceSheet Failed(const BalanceSheetOptions& options) {
  BalanceSheet failed;
  failed.SheetDate = options.SheetDate;
  failed.IncludeSubAccounts = options.IncludeSubAccounts;
  failed.Status = StatementStatus::kOverflow;
  return failed;
}

// A section's rows and their running total.
struct SectionBuilder {
  std::vector<StatementAccountRow>* Rows;
  AmountSum Total;

  void Add(const Books& books, int j, Amount value) {
    const auto s = static_cast<std::size_t>(j);
    Rows->push_back(StatementAccountRow{books.AccountNames[s], books.AccountFolios[s], j, value});
    Total.Add(value);
  }
};

}  // namespace

int BalanceSheet::AccountRowCount() const {
  return static_cast<int>(CurrentAssetRows.size() + CurrentLiabilityRows.size() +
                          NonCurrentAssetRows.size() + NonCurrentLiabilityRows.size() +
                          CapitalRows.size());
}

BalanceSheet ComputeBalanceSheet(const Books& books, const BalanceSheetOptions& options) {
  const ChartFolioIndex index(books);
  const AccountSums sums =
      SumPostings(books, index, DateSpan::UpTo(options.SheetDate), options.IncludeSubAccounts);
  if (sums.Overflow) return Failed(options);

  BalanceSheet sheet;
  sheet.SheetDate = options.SheetDate;
  sheet.IncludeSubAccounts = options.IncludeSubAccounts;
  SectionBuilder currentAssets{&sheet.CurrentAssetRows, {}};
  SectionBuilder currentLiabilities{&sheet.CurrentLiabilityRows, {}};
  SectionBuilder nonCurrentAssets{&sheet.NonCurrentAssetRows, {}};
  SectionBuilder nonCurrentLiabilities{&sheet.NonCurrentLiabilityRows, {}};
  SectionBuilder capital{&sheet.CapitalRows, {}};

  const int count = ChartAccountCount(books);
  for (int j = 0; j < count; ++j) {
    const uint8_t type = books.AccountTypes[static_cast<std::size_t>(j)];
    // Assets are valued debits - credits, liabilities and capital credits - debits.
    std::optional<Amount> value;
    SectionBuilder* positive = nullptr;
    SectionBuilder* negative = nullptr;  // where a negative value goes, without sign
    switch (type) {
      case kCurrentAsset:
        value = sums.DebitBalance(j);
        positive = &currentAssets;
        negative = &currentLiabilities;
        break;
      case kCurrentLiability:
        value = sums.CreditBalance(j);
        positive = &currentLiabilities;
        negative = &currentAssets;
        break;
      case kNonCurrentAsset:
        value = sums.DebitBalance(j);
        positive = &nonCurrentAssets;
        break;
      case kNonCurrentLiability:
        value = sums.CreditBalance(j);
        positive = &nonCurrentLiabilities;
        break;
      case kCapital:
        value = sums.CreditBalance(j);
        positive = &capital;
        break;
      default: continue;  // income accounts reach the sheet through the profit; "other" never
    }
    if (!value) return Failed(options);
    if (value->IsZero()) continue;
    if (value->IsNegative() && negative) {
      const auto flipped = CheckedNegate(*value);
      if (!flipped) return Failed(options);
      negative->Add(books, j, *flipped);
    } else {
      positive->Add(books, j, *value);
    }
  }

  const auto ca = currentAssets.Total.Value();
  const auto cl = currentLiabilities.Total.Value();
  const auto nca = nonCurrentAssets.Total.Value();
  const auto ncl = nonCurrentLiabilities.Total.Value();
  const auto k = capital.Total.Value();
  if (!ca || !cl || !nca || !ncl || !k) return Failed(options);
  sheet.CurrentAssetTotal = *ca;
  sheet.CurrentLiabilityTotal = *cl;
  sheet.NonCurrentAssetTotal = *nca;
  sheet.NonCurrentLiabilityTotal = *ncl;
  sheet.CapitalTotal = *k;

  const auto workingCapital = CheckedSub(*ca, *cl);
  const auto nonCurrentNet = CheckedSub(*nca, *ncl);
  const auto totalAssets = CheckedAdd(*ca, *nca);
  const auto totalLiabilities = CheckedAdd(*cl, *ncl);
  if (!workingCapital || !nonCurrentNet || !totalAssets || !totalLiabilities)
    return Failed(options);
  const auto netAssets = CheckedAdd(*workingCapital, *nonCurrentNet);
  const auto usNetAssets = CheckedSub(*totalAssets, *totalLiabilities);
  if (!netAssets || !usNetAssets) return Failed(options);
  sheet.WorkingCapital = *workingCapital;
  sheet.NonCurrentNet = *nonCurrentNet;
  sheet.NetAssets = *netAssets;
  sheet.TotalAssets = *totalAssets;
  sheet.TotalLiabilities = *totalLiabilities;
  sheet.UsNetAssets = *usNetAssets;

  // The profit of the period from the earliest posting date to the sheet date, attributed
  // as the sheet attributes its own lines. No line is dated before the earliest date, so
  // that period counts exactly the lines the sheet has summed.
  sheet.ProfitPeriod = IncomePeriod::Between(sums.EarliestDate, options.SheetDate);
  const IncomeStatement income = IncomeStatementFromSums(
      books, sums, IncomeOptions{sheet.ProfitPeriod, options.IncludeSubAccounts});
  if (income.Failed()) return Failed(options);
  sheet.SheetProfit = income.NetProfit;
  const auto capitalBalance = CheckedAdd(*k, income.NetProfit);
  if (!capitalBalance) return Failed(options);
  sheet.CapitalBalance = *capitalBalance;

  if (*k > Amount()) sheet.ReturnOnEquity = RatioLine(kLabelReturnOnEquity, sheet.SheetProfit, *k);
  return sheet;
}

std::vector<StatementLine> BalanceSheetLines(const BalanceSheet& sheet, BalanceSheetLayout layout) {
  std::vector<StatementLine> lines;
  if (sheet.Failed()) return lines;
  int row = 0;
  using S = StatementSection;
  if (layout == BalanceSheetLayout::kStandard) {
    AppendSection(lines, row, S::kCurrentAssets, kLabelCurrentAssets, sheet.CurrentAssetRows,
                  kLabelBalance, sheet.CurrentAssetTotal);
    AppendSection(lines, row, S::kCurrentLiabilities, kLabelCurrentLiabilities,
                  sheet.CurrentLiabilityRows, kLabelBalance, sheet.CurrentLiabilityTotal);
    if (!sheet.WorkingCapital.IsZero())
      AppendTotal(lines, kLabelWorkingCapital, sheet.WorkingCapital);
    AppendSection(lines, row, S::kNonCurrentAssets, kLabelNonCurrentAssets,
                  sheet.NonCurrentAssetRows, kLabelBalance, sheet.NonCurrentAssetTotal);
    AppendSection(lines, row, S::kNonCurrentLiabilities, kLabelNonCurrentLiabilities,
                  sheet.NonCurrentLiabilityRows, kLabelBalance, sheet.NonCurrentLiabilityTotal);
    // Shown when the non-current sections change the result, not when the net assets
    // themselves are not 0.
    if (!sheet.NonCurrentNet.IsZero()) AppendTotal(lines, kLabelNetAssets, sheet.NetAssets);
  } else {
    AppendSection(lines, row, S::kCurrentAssets, kLabelCurrentAssets, sheet.CurrentAssetRows,
                  kLabelBalance, sheet.CurrentAssetTotal);
    AppendSection(lines, row, S::kNonCurrentAssets, kLabelUsNonCurrentAssets,
                  sheet.NonCurrentAssetRows, kLabelBalance, sheet.NonCurrentAssetTotal);
    // Shown on the current assets alone.
    if (!sheet.CurrentAssetTotal.IsZero()) AppendTotal(lines, kLabelTotalAssets, sheet.TotalAssets);
    AppendSection(lines, row, S::kCurrentLiabilities, kLabelUsCurrentLiabilities,
                  sheet.CurrentLiabilityRows, kLabelBalance, sheet.CurrentLiabilityTotal);
    AppendSection(lines, row, S::kNonCurrentLiabilities, kLabelUsNonCurrentLiabilities,
                  sheet.NonCurrentLiabilityRows, kLabelBalance, sheet.NonCurrentLiabilityTotal);
    if (!sheet.TotalLiabilities.IsZero())
      AppendTotal(lines, kLabelTotalLiabilities, sheet.TotalLiabilities);
    if (!sheet.UsNetAssets.IsZero()) AppendTotal(lines, kLabelUsNetAssets, sheet.UsNetAssets);
  }

  std::optional<StatementLine> profit;
  if (!sheet.SheetProfit.IsZero()) {
    profit = StatementLine{StatementLine::Kind::kProfit, S::kCapital, kLabelProfitOrLoss};
    profit->Value = sheet.SheetProfit;
    profit->Column = 1;
  }
  AppendSection(lines, row, S::kCapital, kLabelCapital, sheet.CapitalRows, kLabelBalance,
                sheet.CapitalBalance, profit);
  return lines;
}

}  // namespace qv
