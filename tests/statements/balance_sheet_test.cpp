#include "statements/balance_sheet.h"

#include <gtest/gtest.h>

#include "bookfiles/rollover.h"
#include "statements/trial_balance.h"
#include "tests/statements/statement_sketch.h"

namespace qv {
namespace {

using testing::AddEntry;
using testing::Caption;
using testing::Day;
using testing::Money;
using testing::Sketch;
using Layout = BalanceSheetLayout;
using Lines = std::vector<std::string>;

Books FirmBook() {
  return testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                 {"Debtors", 120, kCurrentAsset},
                                 {"Overdraft", 210, kCurrentLiability},
                                 {"Creditors", 220, kCurrentLiability},
                                 {"Equipment", 310, kNonCurrentAsset},
                                 {"Loan", 410, kNonCurrentLiability},
                                 {"Capital", 510, kCapital},
                                 {"Sales", 610, kRevenue},
                                 {"Expenses", 710, kExpense},
                                 {"Stock", 810, kCostOfGoodsSold}});
}

// A year's trading: capital 10,000, a profit of 1,250, a current asset with a credit
// balance and a current liability with a debit balance.
Books TradedBook() {
  Books books = FirmBook();
  const DaySerial d = Day(2026, 3, 1);
  AddEntry(books, d, "1", {{110, 10000}}, {{510, 10000}});
  AddEntry(books, d, "2", {{310, 4000}}, {{110, 4000}});
  AddEntry(books, d, "3", {{110, 3000}}, {{410, 3000}});
  AddEntry(books, d, "4", {{110, 2500}}, {{610, 2500}});
  AddEntry(books, d, "5", {{710, 1250}}, {{110, 1250}});
  AddEntry(books, d, "6", {{110, 250}}, {{120, 250}});
  AddEntry(books, Day(2026, 3, 31), "7", {{220, 80}}, {{110, 80}});
  AddEntry(books, Day(2026, 4, 1), "8", {{110, 999}}, {{610, 999}});  // after the sheet
  return books;
}

BalanceSheet SheetOf(const Books& books, DaySerial date = Day(2026, 3, 31), bool exact = false) {
  return ComputeBalanceSheet(books, {date, exact});
}

Lines Totals(const BalanceSheet& sheet, Layout layout) {
  Lines out;
  for (const std::string& line : Sketch(BalanceSheetLines(sheet, layout)))
    if (line.starts_with("== ")) out.push_back(line);
  return out;
}

TEST(BalanceSheet, ClassifiesTotalsAndLaysOutBothLayouts) {
  const BalanceSheet sheet = SheetOf(TradedBook());
  ASSERT_FALSE(sheet.Failed());
  EXPECT_EQ(Caption(sheet.ReturnOnEquity), "Return on Equity : 12.50%");
  const Lines capital = {"# CAPITAL / EQUITY", "p PROFIT / LOSS 1,250", "6 Capital 10,000",
                         "= Balance 11,250"};
  Lines standard = {"# CURRENT ASSETS",      "1 Cash 10,420",
                    "2 Creditors 80",        "= Balance 10,500",
                    "# CURRENT LIABILITIES", "3 Debtors 250",
                    "= Balance 250",         "== WORKING CAPITAL 10,250",
                    "# NON CURRENT ASSETS",  "4 Equipment 4,000",
                    "= Balance 4,000",       "# NON CURRENT LIABILITIES",
                    "5 Loan 3,000",          "= Balance 3,000",
                    "== NET ASSETS 11,250"};
  Lines us = {"# CURRENT ASSETS",    "1 Cash 10,420",          "2 Creditors 80",
              "= Balance 10,500",    "# NON CURRENT ASSETS",   "3 Equipment 4,000",
              "= Balance 4,000",     "== TOTAL ASSETS 14,500", "# CURRENT LIABILITIES",
              "4 Debtors 250",       "= Balance 250",          "# NON CURRENT LIABILITIES",
              "5 Loan 3,000",        "= Balance 3,000",        "== TOTAL LIABILITIES 3,250",
              "== NET ASSETS 11,250"};
  standard.insert(standard.end(), capital.begin(), capital.end());
  us.insert(us.end(), capital.begin(), capital.end());
  EXPECT_EQ(Sketch(BalanceSheetLines(sheet, Layout::kStandard)), standard);
  EXPECT_EQ(Sketch(BalanceSheetLines(sheet, Layout::kUnitedStates)), us);
}

TEST(BalanceSheet, TotalsAndTheCapitalSectionFollowTheirOwnConditions) {
  // Only current accounts: no NET ASSETS in the standard layout, also when the non-current
  // assets equal the non-current liabilities. Nothing up to the date: no lines.
  Books books = FirmBook();
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 700}}, {{510, 700}});
  EXPECT_EQ(Totals(SheetOf(books), Layout::kUnitedStates),
            (Lines{"== TOTAL ASSETS 700", "== NET ASSETS 700"}));
  AddEntry(books, Day(2026, 3, 1), "2", {{310, 300}}, {{410, 300}});
  EXPECT_EQ(Totals(SheetOf(books), Layout::kStandard), (Lines{"== WORKING CAPITAL 700"}));
  EXPECT_TRUE(BalanceSheetLines(SheetOf(books, Day(2026, 2, 28)), Layout::kStandard).empty());

  // No current assets: no TOTAL ASSETS in the United States layout.
  Books noCurrent = FirmBook();
  AddEntry(noCurrent, Day(2026, 3, 1), "1", {{310, 900}}, {{510, 500}, {220, 400}});
  EXPECT_EQ(Totals(SheetOf(noCurrent), Layout::kUnitedStates),
            (Lines{"== TOTAL LIABILITIES 400", "== NET ASSETS 500"}));

  // A loss of 1,250 on capital of 10,000; before it, no profit line. Capital below 0 or
  // none: no ratio, and no capital section without capital rows.
  Books loss = FirmBook();
  AddEntry(loss, Day(2026, 3, 1), "1", {{110, 10000}}, {{510, 10000}});
  AddEntry(loss, Day(2026, 3, 2), "2", {{710, 1250}}, {{110, 1250}});
  EXPECT_EQ(Caption(SheetOf(loss).ReturnOnEquity), "Return on Equity : (12.50%)");
  EXPECT_EQ(Sketch(BalanceSheetLines(SheetOf(loss), Layout::kStandard)).back(), "= Balance 8,750");
  EXPECT_EQ(Sketch(BalanceSheetLines(SheetOf(loss, Day(2026, 3, 1)), Layout::kStandard)).back(),
            "= Balance 10,000");
  AddEntry(loss, Day(2026, 3, 3), "3", {{510, 20000}}, {{110, 20000}});
  EXPECT_EQ(Caption(SheetOf(loss).ReturnOnEquity), "(hidden)");
  Books noCapital = FirmBook();
  AddEntry(noCapital, Day(2026, 3, 1), "1", {{110, 400}}, {{610, 400}});
  EXPECT_EQ(Sketch(BalanceSheetLines(SheetOf(noCapital), Layout::kStandard)),
            (Lines{"# CURRENT ASSETS", "1 Cash 400", "= Balance 400", "== WORKING CAPITAL 400"}));
  EXPECT_EQ(Caption(SheetOf(noCapital).ReturnOnEquity), "(hidden)");
}

TEST(BalanceSheet, EachSheetKeepsTheProfitOfItsOwnPeriodAndAttribution) {
  Books books = TradedBook();
  books.AccountNames[11] = "Export sales";  // a sub-account without a main account
  books.AccountFolios[11] = Money(620.5);
  books.AccountTypes[11] = kRevenue;
  AddEntry(books, Day(2026, 2, 1), "9", {{110, 40}}, {{620.5, 40}});
  const BalanceSheet rolled = SheetOf(books);
  const BalanceSheet exact = SheetOf(books, Day(2026, 3, 31), true);
  EXPECT_EQ(rolled.ProfitPeriod, IncomePeriod::Between(Day(2026, 2, 1), Day(2026, 3, 31)));
  for (const BalanceSheet* sheet : {&rolled, &exact}) {
    const IncomeStatement income = ComputeIncomeStatement(
        books,
        {IncomePeriod::Between(Day(2026, 2, 1), sheet->SheetDate), sheet->IncludeSubAccounts});
    EXPECT_EQ(sheet->SheetProfit, income.NetProfit);
  }
  EXPECT_EQ(rolled.SheetProfit, Money(1250));  // the sub-account's sale is left out
  EXPECT_EQ(exact.SheetProfit, Money(1290));
  // The line after the sheet date is in neither the sheet nor its profit; a later sheet
  // has the later profit.
  EXPECT_EQ(rolled.CurrentAssetRows[0].Value, Money(10420 + 40));
  EXPECT_EQ(SheetOf(books, Day(2026, 4, 1)).SheetProfit, Money(1250 + 999));
}

TEST(BalanceSheet, CarryingOverSharesTheProfitOfAllDatesWithSubAccountsApart) {
  Books books = testing::BookWithChart({{"Cash", 110, kCurrentAsset},
                                        {"Stock", 150, kCurrentAsset},
                                        {"Stock losses", 150.5, kExpense},
                                        {"Capital A", 510, kCapital},
                                        {"Capital B", 520, kCapital},
                                        {"Sales", 610, kRevenue}});
  AddEntry(books, Day(2025, 7, 1), "1", {{110, 1000}}, {{510, 600}, {520, 400}});
  AddEntry(books, Day(2026, 2, 1), "2", {{110, 300}, {0, 5}}, {{610, 300}, {0, 5}});
  AddEntry(books, Day(2026, 3, 1), "3", {{150.5, 20}, {0, 2}}, {{150, 20}, {110, 2}});
  const DaySerial today = Day(2026, 12, 31);
  const IncomeStatement income = ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), true});
  EXPECT_EQ(income.NetProfit, Money(280));
  const BalanceSheet before = SheetOf(books, today, true);
  const RolloverResult result = CarryAccountsOver(books, today);
  ASSERT_TRUE(result.Done) << result.Problem;
  EXPECT_EQ(result.ProfitShared, income.NetProfit);
  const BalanceSheet after = SheetOf(books, today, true);
  EXPECT_EQ(after.SheetProfit, Amount());
  EXPECT_EQ(std::pair(after.CapitalBalance, after.NetAssets),
            std::pair(before.CapitalBalance, before.NetAssets));
  const TrialBalance tb = ComputeTrialBalance(books, {today, true});
  EXPECT_EQ(tb.DebitTotal, tb.CreditTotal);
}

TEST(BalanceSheet, SumsThatWouldOverflowGiveAnError) {
  // Current plus non-current assets pass the range.
  Books books = FirmBook();
  testing::AddEntryOf(books, Day(2026, 3, 1), 110, 510, testing::kHalfRange);
  ASSERT_FALSE(SheetOf(books).Failed());
  testing::AddEntryOf(books, Day(2026, 3, 1), 310, 410, testing::kHalfRange);
  const BalanceSheet sheet = SheetOf(books);
  EXPECT_TRUE(sheet.Failed() && sheet.AccountRowCount() == 0);
  EXPECT_TRUE(BalanceSheetLines(sheet, Layout::kUnitedStates).empty());

  // A profit that overflows (two revenue accounts) fails the sheet too.
  Books profit = FirmBook();
  profit.AccountNames[11] = "Fees";
  profit.AccountFolios[11] = Money(620);
  profit.AccountTypes[11] = kRevenue;
  testing::AddEntryOf(profit, Day(2026, 3, 1), 710, 610, testing::kHalfRange);
  testing::AddEntryOf(profit, Day(2026, 3, 1), 810, 620, testing::kHalfRange);
  EXPECT_TRUE(SheetOf(profit).Failed());
}

}  // namespace
}  // namespace qv
