#include "statements/trial_balance.h"

#include <unordered_map>

#include "statements/account_sums.h"

namespace qv {

namespace {

TrialBalance Failed(const TrialBalanceOptions& options) {
  TrialBalance failed;
  failed.TrialDate = options.TrialDate;
  failed.IncludeSubAccounts = options.IncludeSubAccounts;
  failed.Status = StatementStatus::kOverflow;
  return failed;
}

}  // namespace

TrialBalance ComputeTrialBalance(const Books& books, const TrialBalanceOptions& options) {
  const ChartFolioIndex index(books);
  const AccountSums sums =
      SumPostings(books, index, DateSpan::UpTo(options.TrialDate), options.IncludeSubAccounts);
  if (sums.Overflow) return Failed(options);

  // Walk the chart: the first account of each key opens a row, later accounts of the same
  // key add their balances to it. With sub-accounts rolled up the postings already sit on
  // the main account, so a sub-account standing before its main account still yields the
  // main account's whole balance in the row it opened.
  const int count = ChartAccountCount(books);
  std::vector<TrialBalanceRow> rows;
  std::vector<AmountSum> balances;
  std::unordered_map<int64_t, std::size_t> rowOfKey;
  rowOfKey.reserve(static_cast<std::size_t>(count));
  for (int j = 0; j < count; ++j) {
    const Folio key = AttributionKey(books.AccountFolios[static_cast<std::size_t>(j)],
                                     options.IncludeSubAccounts);
    const auto [it, added] = rowOfKey.try_emplace(key.Raw(), rows.size());
    if (added) {
      rows.push_back(TrialBalanceRow{key, Amount(), index.NameOf(key)});
      balances.emplace_back();
    }
    const auto balance = sums.DebitBalance(j);
    if (!balance) return Failed(options);
    balances[it->second].Add(*balance);
  }

  AmountSum debitTotal, creditTotal;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const auto balance = balances[r].Value();
    if (!balance) return Failed(options);
    rows[r].Balance = *balance;
    if (balance->IsNegative())
      creditTotal.Subtract(*balance);
    else
      debitTotal.Add(*balance);
  }
  const auto debit = debitTotal.Value();
  const auto credit = creditTotal.Value();
  if (!debit || !credit) return Failed(options);

  TrialBalance tb;
  tb.TrialDate = options.TrialDate;
  tb.IncludeSubAccounts = options.IncludeSubAccounts;
  tb.Rows = std::move(rows);
  tb.DebitTotal = *debit;
  tb.CreditTotal = *credit;
  return tb;
}

}  // namespace qv
