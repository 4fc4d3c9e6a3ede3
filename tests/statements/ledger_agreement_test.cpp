#include <gtest/gtest.h>

#include "bench/book_generator.h"
#include "ledgers/running_balance_view.h"
#include "statements/trial_balance.h"

namespace qv {
namespace {

// The running-balance ledger's last figure of every account is the trial balance's balance
// of that account on the same date, with sub-accounts rolled up and shown on their own.
TEST(LedgerAgreement, RunningBalancesEndOnTheTrialBalance) {
  const Books books = GenerateBook({.lines = 6000, .accounts = 300});
  const LedgerDates dates = DefaultLedgerDates(books);
  const DaySerial end = dates.First + (dates.Last - dates.First) * 2 / 3;
  for (const bool subAccountsApart : {false, true}) {
    const TrialBalance tb = ComputeTrialBalance(books, {end, subAccountsApart});
    ASSERT_FALSE(tb.Failed());
    int compared = 0;
    for (const TrialBalanceRow& row : tb.Rows) {
      if (row.RowFolio <= Folio()) continue;  // the free slots
      LedgerOptions options;
      options.Account = row.RowFolio;
      options.WithSubAccounts = !subAccountsApart;
      options.From = dates.First;
      options.To = end;
      const RunningBalanceView view = ComputeRunningBalance(books, options);
      ASSERT_TRUE(view.Message.empty());
      EXPECT_EQ(view.Closing, row.Balance) << row.Name << " " << PlainAmountText(row.RowFolio);
      ++compared;
    }
    EXPECT_GT(compared, 250);
  }
}

}  // namespace
}  // namespace qv
