// The statements' computations and texts: the trial balance, the income statement and the
// balance sheet as lines in compact texts ("# HEADING", "3 Name 1,250", "p LABEL value",
// "= LABEL value", "== LABEL value", amounts with 0 decimals, US English).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "bench/book_generator.h"
#include "bookfiles/rollover.h"
#include "books/module_procedures.h"
#include "ledgers/running_balance_view.h"
#include "platform/string_table.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/statement_dates.h"
#include "statements/statement_lines.h"
#include "statements/statement_texts.h"
#include "statements/trial_balance.h"
#include "tests/support/book_builder.h"

namespace qv {
namespace {

__extension__ typedef __int128 Wide;

using testing::AddEntry;
using testing::BookWithChart;
using testing::Day;
using testing::Money;
using Layout = BalanceSheetLayout;
using ::testing::EndsWith;
using ::testing::StartsWith;
using Rows = std::vector<std::string>;

// The lines joined by "; ".
std::string Sketch(const std::vector<StatementLine>& lines, bool totalsOnly = false) {
  using Kind = StatementLine::Kind;
  std::string out;
  for (const StatementLine& line : lines) {
    const std::string value = " " + StatementAmountText(line.Value, 0, UsEnglishLocale());
    std::string text;
    switch (line.LineKind) {
      case Kind::kHeading: text = "# " + Str(line.LabelId); break;
      case Kind::kAccount: text = std::to_string(line.RowNumber) + " " + line.Name + value; break;
      case Kind::kProfit: text = "p " + Str(line.LabelId) + value; break;
      case Kind::kSubtotal: text = "= " + Str(line.LabelId) + value; break;
      case Kind::kTotal: text = "== " + Str(line.LabelId) + value; break;
    }
    if (!totalsOnly || line.LineKind == Kind::kTotal) out += (out.empty() ? "" : "; ") + text;
  }
  return out;
}
std::string Sketch(const IncomeStatement& is) { return Sketch(IncomeStatementLines(is)); }
std::string Sketch(const BalanceSheet& sheet, Layout layout = Layout::kStandard) {
  return Sketch(BalanceSheetLines(sheet, layout));
}

// The caption of a ratio line, or "(hidden)".
std::string Caption(const std::optional<StatementRatio>& ratio) {
  return ratio ? RatioCaption(*ratio, UsEnglishLocale()) : "(hidden)";
}

// Appends a two-line entry of any raw amount (a sum of two such amounts may pass the range).
void AddEntryOf(Books& books, DaySerial date, double debit, double credit, Amount amount) {
  AddEntry(books, date, "1", {{debit, 0}}, {{credit, 0}});
  books.PostingLines.rbegin()[0].Amount = books.PostingLines.rbegin()[1].Amount = amount;
}

// Half the amount's range and a little more: two of these on one side overflow.
const Amount kHalfRange = Amount::FromRaw(INT64_MAX / 2 + 1);

const LocaleInfo kUs = UsEnglishLocale();
const LocaleInfo kGerman = [] {
  LocaleInfo locale = UsEnglishLocale();
  locale.DecimalSymbol = ",";
  locale.GroupSymbol = ".";
  return locale;
}();

TEST(StatementTexts, AmountsRoundHalvesAwayFromZeroWithTheLocalesSymbols) {
  const std::tuple<Amount, int, const LocaleInfo*, std::string> amounts[] = {
      {Money(1250), 0, &kUs, "1,250"},        {Money(0.5), 2, &kUs, ".50"},
      {Money(-12), 2, &kUs, "(12.00)"},       {Money(0.5), 0, &kUs, "1"},
      {Money(-0.5), 0, &kUs, "(1)"},          {Money(0.4), 0, &kUs, "0"},
      {Money(-0.004), 2, &kUs, ".00"},        {Money(2.345), 2, &kUs, "2.35"},
      {Money(1250), 2, &kGerman, "1.250,00"}, {Money(0.5), 2, &kGerman, ",50"}};
  for (const auto& [amount, decimals, locale, text] : amounts)
    EXPECT_EQ(StatementAmountText(amount, decimals, *locale), text);
  // The trial balance: the value without sign and a zero before the decimal symbol.
  EXPECT_EQ(TrialAmountText(Money(-1250), 2, kUs), "1,250.00");
  EXPECT_EQ(TrialAmountText(Amount::Min(), 0, kUs), "922,337,203,685,478");
  EXPECT_EQ(TrialAmountText(Money(0.5), 2, kGerman), "0,50");
  // Percentages round to two decimals; a division by zero or past the range gives none.
  EXPECT_EQ(PercentOf(Money(-2), Money(3)), Money(-66.67));
  EXPECT_EQ(PercentOf(Money(0.00005), Money(1)), Money(0.01));
  EXPECT_EQ(PercentOf(Money(5), Amount()), std::nullopt);
  EXPECT_EQ(PercentOf(Amount::Max(), Amount::FromRaw(1)), std::nullopt);
  EXPECT_EQ(PercentText(Money(12345), kGerman), "12.345,00%");
}

TEST(StatementTexts, FoliosTitlesAndPeriods) {
  LocaleInfo german = kGerman;
  german.MonthNames[11] = "Dezember";
  EXPECT_EQ(TrialFolioText(Money(110.5), false, kUs), " 110.5 ");
  EXPECT_EQ(TrialFolioText(Money(-3), false, kUs), "-3 ");
  EXPECT_EQ(TrialFolioText(Money(110.5), true, german), "110-5");
  EXPECT_EQ(TrialFolioText(Money(110.25), false, german), " 110,25 ");
  EXPECT_EQ(BalanceSheetTitle(Day(2026, 12, 5), german),
            "Financial Position Ending 05 Dezember 2026");
  EXPECT_EQ(IncomePeriodText(Day(2026, 1, 5), Day(2026, 12, 5), kUs, " To "),
            "5 January 2026 To 05 December 2026");
}

TEST(StatementTexts, AnUnreadableDateKeepsThePreviousOne) {
  Books books = NewBooks(Day(2026, 1, 1));
  books.DateStyleIndex = 2;  // dd/mm/yyyy
  const DaySerial previous = Day(2026, 3, 31), today = Day(2026, 6, 1);
  std::string text = "05/12/2026";
  StatementDateRead read = ReadStatementDate(text, previous, books, kUs, today);
  EXPECT_EQ(std::pair(read.Date, read.Kept), std::pair(Day(2026, 12, 5), false));
  for (std::string bad : {"", "31/02/2026", "next week"}) {
    read = ReadStatementDate(bad, previous, books, kUs, today);
    EXPECT_EQ(std::pair(read.Date, read.Kept), std::pair(previous, true)) << bad;
  }
}

// The rows as "folio name balance", balances with a sign (debits positive).
Rows RowsOf(const TrialBalance& tb) {
  Rows rows;
  for (const auto& row : tb.Rows)
    rows.push_back(PlainAmountText(row.RowFolio) + " " + row.Name + " " +
                   PlainAmountText(row.Balance));
  return rows;
}

TEST(TrialBalance, SubAccountsRollIntoTheirMainAccountWhereverItStands) {
  // 110.1 stands before 110 in the chart.
  Books books = BookWithChart({{"Petty cash", 110.1, kCurrentAsset},
                               {"Bank", 110, kCurrentAsset},
                               {"Deposit", 110.2, kCurrentAsset},
                               {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110.1, 100}, {110.2, 40}, {110, 10}}, {{400, 150}});
  // The row of 110 opens where 110.1 stands and carries all three.
  const TrialBalance rolled = ComputeTrialBalance(books, {Day(2026, 3, 1), false});
  ASSERT_FALSE(rolled.Failed());
  EXPECT_EQ(RowsOf(rolled), (Rows{"1 Balance b/f 0", "110 Bank 150", "400 Sales -150", "0  0"}));
  const TrialBalance exact = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_EQ(RowsOf(exact), (Rows{"1 Balance b/f 0", "110.1 Petty cash 100", "110 Bank 10",
                                 "110.2 Deposit 40", "400 Sales -150", "0  0"}));
  // Without an account 110 the sub-accounts' postings appear nowhere when rolled up.
  books.AccountFolios[2] = Money(120);
  const TrialBalance orphan = ComputeTrialBalance(books, {Day(2026, 3, 1), false});
  EXPECT_EQ(RowsOf(orphan),
            (Rows{"1 Balance b/f 0", "110  0", "120 Bank 0", "400 Sales -150", "0  0"}));
  EXPECT_EQ(std::pair(orphan.DebitTotal, orphan.CreditTotal), std::pair(Amount(), Money(150)));
}

TEST(TrialBalance, AFolioGoesToItsFirstAccountFolioZeroToAFreeSlotAndAnUnknownOneNowhere) {
  Books books = BookWithChart(
      {{"Cash", 110, kCurrentAsset}, {"Cash again", 110, kCurrentAsset}, {"Sales", 400, kRevenue}});
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 70}}, {{400, 70}});
  AddEntry(books, Day(2026, 3, 1), "2", {{0, 5}}, {{999, 5}});
  const TrialBalance tb = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_EQ(RowsOf(tb), (Rows{"1 Balance b/f 0", "110 Cash 70", "400 Sales -70", "0  5"}));
  EXPECT_EQ(std::pair(tb.DebitTotal, tb.CreditTotal), std::pair(Money(75), Money(70)));

  books.LastAccountIndex = -1;  // the chart editor has emptied the chart
  const TrialBalance none = ComputeTrialBalance(books, {Day(2026, 3, 1), true});
  EXPECT_TRUE(!none.Failed() && none.Rows.empty());
}

TEST(TrialBalance, SumsThatWouldOverflowGiveAnErrorNotAWrappedFigure) {
  const Books chart = BookWithChart({{"Cash", 110, kCurrentAsset},
                                     {"Bank", 120, kCurrentAsset},
                                     {"Sales", 400, kRevenue},
                                     {"Fees", 410, kRevenue}});
  auto withEntries = [&](std::initializer_list<std::pair<double, double>> entries) {
    Books books = chart;
    for (const auto& [debit, credit] : entries)
      AddEntryOf(books, Day(2026, 1, 2), debit, credit, kHalfRange);
    return ComputeTrialBalance(books, {Day(2026, 1, 2), false});
  };
  EXPECT_FALSE(withEntries({{110, 400}}).Failed());
  // Each account fits, the column totals do not.
  const TrialBalance totals = withEntries({{110, 400}, {120, 410}});
  EXPECT_TRUE(totals.Failed() && totals.Rows.empty() && totals.DebitTotal.IsZero());
  // One account's debits pass the range.
  EXPECT_TRUE(withEntries({{110, 400}, {110, 410}}).Failed());
}

// The balances of a generated book against sums taken line by line here, and against the
// last figure of each account's running-balance ledger on the same date.
TEST(TrialBalance, GeneratedBookRowsAreTheSumsOfTheirPostingsAndEndTheRunningBalances) {
  const Books books = GenerateBook({.lines = 20000, .accounts = 300});
  const LedgerDates dates = DefaultLedgerDates(books);
  const DaySerial asOf = books.PostingLines[12000].LineDate;
  std::set<int64_t> chartFolios;
  for (int j = 0; j <= books.LastAccountIndex; ++j)
    chartFolios.insert(books.AccountFolios[j].Raw());

  for (const bool exact : {false, true}) {
    SCOPED_TRACE(exact ? "exact folios" : "sub-accounts rolled up");
    std::map<int64_t, Wide> expected;
    for (const PostingLine& line : books.PostingLines) {
      const int64_t key = exact ? line.LineFolio.Raw() : TruncFolio(line.LineFolio, 0).Raw();
      if (line.LineDate <= asOf && chartFolios.count(key))
        expected[key] += line.Side == kDebit ? line.Amount.Raw() : -line.Amount.Raw();
    }
    const TrialBalance tb = ComputeTrialBalance(books, {asOf, exact});
    ASSERT_FALSE(tb.Failed());
    EXPECT_EQ(tb.DebitTotal, tb.CreditTotal);
    EXPECT_GT(tb.DebitTotal, Amount());
    std::size_t shown = 0;
    for (const TrialBalanceRow& row : tb.Rows) {
      const auto it = expected.find(row.RowFolio.Raw());
      EXPECT_TRUE((it == expected.end() ? 0 : it->second) == row.Balance.Raw())
          << PlainAmountText(row.RowFolio);
      shown += row.Shown();
      if (row.RowFolio <= Folio()) continue;  // the free slots
      const RunningBalanceView view = ComputeRunningBalance(
          books,
          {.Account = row.RowFolio, .WithSubAccounts = !exact, .From = dates.First, .To = asOf});
      ASSERT_TRUE(view.Message.empty());
      EXPECT_EQ(view.Closing, row.Balance) << row.Name;
    }
    std::erase_if(expected, [](const auto& kv) { return kv.second == 0; });
    EXPECT_EQ(shown, expected.size());  // every account with a balance has a row
  }
}

Books TradingBook() {
  return BookWithChart({{"Cash", 110, kCurrentAsset},
                        {"Sales", 410, kRevenue},
                        {"Purchases", 500, kCostOfGoodsSold},
                        {"Rent", 610, kExpense},
                        {"Wages", 620, kExpense}});
}

IncomeStatement Year2026(const Books& books, bool exact = false) {
  return ComputeIncomeStatement(books,
                                {IncomePeriod::Between(Day(2026, 1, 1), Day(2026, 12, 31)), exact});
}

TEST(IncomeStatement, SectionsResultsAndRatiosForProfitLossAndNoRevenue) {
  Books books = TradingBook();
  AddEntry(books, Day(2026, 2, 1), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(books, Day(2026, 2, 2), "2", {{500, 600}}, {{110, 600}});
  AddEntry(books, Day(2026, 2, 3), "3", {{610, 300}}, {{110, 300}});
  AddEntry(books, Day(2026, 2, 4), "4", {{620, 40}}, {{110, 40}});
  AddEntry(books, Day(2026, 2, 5), "5", {{110, 40}}, {{620, 40}});  // wages cancel out
  const IncomeStatement is = Year2026(books);
  ASSERT_FALSE(is.Failed());
  EXPECT_EQ(is.NetProfit, Money(100));
  EXPECT_EQ(
      Sketch(is),
      "# REVENUE; 1 Sales 1,000; = Balance 1,000; # Less Cost of Goods Sold; 2 Purchases 600; "
      "= Gross Profit 400; # EXPENSES; 3 Rent 300; = Balance 300; == Net Profit 100");
  EXPECT_EQ(Caption(is.GrossRatio) + " " + Caption(is.NetRatio),
            "Gross Profit : 40.00% Net Profit : 10.00%");
  // Without cost of goods sold: no gross line, the net line is PROFIT / LOSS.
  books.AccountTypes[3] = kOtherAccount;
  const IncomeStatement plain = Year2026(books);
  EXPECT_EQ(Sketch(plain),
            "# REVENUE; 1 Sales 1,000; = Balance 1,000; # EXPENSES; 2 Rent 300; = Balance 300; "
            "== PROFIT / LOSS 700");
  EXPECT_EQ(Caption(plain.GrossRatio) + " " + Caption(plain.NetRatio),
            "(hidden) Net Profit : 70.00%");
  // A loss: the net label does not follow the sign; the ratio captions do.
  Books lossBook = TradingBook();
  AddEntry(lossBook, Day(2026, 2, 1), "1", {{110, 1000}}, {{410, 1000}});
  AddEntry(lossBook, Day(2026, 2, 2), "2", {{500, 1200}}, {{110, 1200}});
  const IncomeStatement loss = Year2026(lossBook);
  EXPECT_EQ(Sketch(loss),
            "# REVENUE; 1 Sales 1,000; = Balance 1,000; # Less Cost of Goods Sold; "
            "2 Purchases 1,200; = Gross Profit (200); == Net Profit (200)");
  EXPECT_EQ(Caption(loss.GrossRatio) + " " + Caption(loss.NetRatio),
            "Gross Loss : (20.00%) Net Loss : (20.00%)");
  // Cost of goods sold without revenue: no division by zero, both ratios hidden.
  Books noRevenue = TradingBook();
  AddEntry(noRevenue, Day(2026, 2, 2), "1", {{500, 600}}, {{110, 600}});
  const IncomeStatement cost = Year2026(noRevenue);
  EXPECT_EQ(cost.NetProfit, Money(-600));
  EXPECT_EQ(Caption(cost.GrossRatio) + Caption(cost.NetRatio), "(hidden)(hidden)");
}

TEST(IncomeStatement, PeriodEndsCountAllDatesCountsEverythingAndSubAccountsRollUp) {
  Books books = TradingBook();
  AddEntry(books, Day(2025, 12, 31), "1", {{110, 1}}, {{410, 1}});
  AddEntry(books, Day(2026, 1, 1), "2", {{110, 10}}, {{410, 10}});
  AddEntry(books, Day(2026, 12, 31), "3", {{110, 100}}, {{410, 100}});
  AddEntry(books, Day(2027, 1, 1), "4", {{110, 1000}}, {{410, 1000}});
  EXPECT_EQ(Year2026(books).NetProfit, Money(110));
  EXPECT_EQ(ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false}).NetProfit,
            Money(1111));
  // Sub-accounts roll up into their main account or stand alone.
  Books subs = BookWithChart({{"Cash", 110, kCurrentAsset},
                              {"Online sales", 410.1, kRevenue},
                              {"Sales", 410, kRevenue},
                              {"Export sales", 420.5, kRevenue}});
  AddEntry(subs, Day(2026, 3, 1), "1", {{110, 175}}, {{410.1, 100}, {410, 50}, {420.5, 25}});
  // 420.5 has no account 420: rolled up, it is left out.
  EXPECT_EQ(Sketch(Year2026(subs)), "# REVENUE; 1 Sales 150; = Balance 150; == PROFIT / LOSS 150");
  const IncomeStatement exact = Year2026(subs, true);
  EXPECT_THAT(Sketch(exact), StartsWith("# REVENUE; 1 Online sales 100; "));
  EXPECT_EQ(exact.NetProfit, Money(175));
}

TEST(IncomeStatement, SumsThatWouldOverflowGiveAnError) {
  Books books = TradingBook();
  books.AccountNames[6] = "Fees";
  books.AccountFolios[6] = Money(420);
  books.AccountTypes[6] = kRevenue;
  AddEntryOf(books, Day(2026, 1, 2), 110, 410, kHalfRange);
  ASSERT_FALSE(Year2026(books).Failed());
  AddEntryOf(books, Day(2026, 1, 2), 110, 420, kHalfRange);
  const IncomeStatement is = Year2026(books);  // the revenue total passes the range
  EXPECT_TRUE(is.Failed() && is.RevenueRows.empty() && is.NetProfit.IsZero() && !is.NetRatio);
}

Books FirmBook() {
  return BookWithChart({{"Cash", 110, kCurrentAsset},
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

std::string Totals(const BalanceSheet& sheet, Layout layout) {
  return Sketch(BalanceSheetLines(sheet, layout), true);
}

TEST(BalanceSheet, ClassifiesTotalsAndLaysOutBothLayouts) {
  const BalanceSheet sheet = SheetOf(TradedBook());
  ASSERT_FALSE(sheet.Failed());
  EXPECT_EQ(Caption(sheet.ReturnOnEquity), "Return on Equity : 12.50%");
  const std::string capital =
      "; # CAPITAL / EQUITY; p PROFIT / LOSS 1,250; 6 Capital 10,000; = Balance 11,250";
  EXPECT_EQ(Sketch(sheet),
            "# CURRENT ASSETS; 1 Cash 10,420; 2 Creditors 80; = Balance 10,500; "
            "# CURRENT LIABILITIES; 3 Debtors 250; = Balance 250; == WORKING CAPITAL 10,250; "
            "# NON CURRENT ASSETS; 4 Equipment 4,000; = Balance 4,000; # NON CURRENT LIABILITIES; "
            "5 Loan 3,000; = Balance 3,000; == NET ASSETS 11,250" +
                capital);
  EXPECT_EQ(Sketch(sheet, Layout::kUnitedStates),
            "# CURRENT ASSETS; 1 Cash 10,420; 2 Creditors 80; = Balance 10,500; "
            "# NON CURRENT ASSETS; 3 Equipment 4,000; = Balance 4,000; == TOTAL ASSETS 14,500; "
            "# CURRENT LIABILITIES; 4 Debtors 250; = Balance 250; # NON CURRENT LIABILITIES; "
            "5 Loan 3,000; = Balance 3,000; == TOTAL LIABILITIES 3,250; == NET ASSETS 11,250" +
                capital);
}

TEST(BalanceSheet, TotalsAndTheCapitalSectionFollowTheirOwnConditions) {
  // Only current accounts: no NET ASSETS in the standard layout, also when the non-current
  // assets equal the non-current liabilities. Nothing up to the date: no lines.
  Books books = FirmBook();
  AddEntry(books, Day(2026, 3, 1), "1", {{110, 700}}, {{510, 700}});
  EXPECT_EQ(Totals(SheetOf(books), Layout::kUnitedStates),
            "== TOTAL ASSETS 700; == NET ASSETS 700");
  AddEntry(books, Day(2026, 3, 1), "2", {{310, 300}}, {{410, 300}});
  EXPECT_EQ(Totals(SheetOf(books), Layout::kStandard), "== WORKING CAPITAL 700");
  EXPECT_EQ(Sketch(SheetOf(books, Day(2026, 2, 28))), "");
  // No current assets: no TOTAL ASSETS in the United States layout.
  Books noCurrent = FirmBook();
  AddEntry(noCurrent, Day(2026, 3, 1), "1", {{310, 900}}, {{510, 500}, {220, 400}});
  EXPECT_EQ(Totals(SheetOf(noCurrent), Layout::kUnitedStates),
            "== TOTAL LIABILITIES 400; == NET ASSETS 500");
  // A loss of 1,250 on capital of 10,000; before it, no profit line. Capital below 0 or
  // none: no ratio, and no capital section without capital rows.
  Books loss = FirmBook();
  AddEntry(loss, Day(2026, 3, 1), "1", {{110, 10000}}, {{510, 10000}});
  AddEntry(loss, Day(2026, 3, 2), "2", {{710, 1250}}, {{110, 1250}});
  EXPECT_EQ(Caption(SheetOf(loss).ReturnOnEquity), "Return on Equity : (12.50%)");
  EXPECT_THAT(Sketch(SheetOf(loss)), EndsWith("; = Balance 8,750"));
  EXPECT_THAT(Sketch(SheetOf(loss, Day(2026, 3, 1))), EndsWith("; = Balance 10,000"));
  AddEntry(loss, Day(2026, 3, 3), "3", {{510, 20000}}, {{110, 20000}});
  EXPECT_EQ(Caption(SheetOf(loss).ReturnOnEquity), "(hidden)");
  Books noCapital = FirmBook();
  AddEntry(noCapital, Day(2026, 3, 1), "1", {{110, 400}}, {{610, 400}});
  EXPECT_EQ(Sketch(SheetOf(noCapital)),
            "# CURRENT ASSETS; 1 Cash 400; = Balance 400; == WORKING CAPITAL 400");
  EXPECT_EQ(Caption(SheetOf(noCapital).ReturnOnEquity), "(hidden)");
}

// The debits less the credits of the lines at exactly this folio.
Amount BalanceOf(const Books& books, double folio) {
  int64_t raw = 0;
  for (const PostingLine& line : books.PostingLines)
    if (line.LineFolio == Money(folio))
      raw += line.Side == kDebit ? line.Amount.Raw() : -line.Amount.Raw();
  return Amount::FromRaw(raw);
}

// Carrying over closes what the income statement of all dates counts, sub-accounts rolled
// into their main account: the balance sheet keeps every account but the capital, which
// takes the statement's net profit, and the new income statement is empty.
void ExpectCarryOverKeepsTheSheet(Books books, const std::string& name) {
  const DaySerial today = Day(2100, 1, 1);  // after every posting line
  const IncomeStatement income = ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false});
  ASSERT_FALSE(income.Failed()) << name;
  const BalanceSheet before = SheetOf(books, today);
  ASSERT_EQ(before.SheetProfit, income.NetProfit) << name;
  const RolloverResult result = CarryAccountsOver(books, today);
  ASSERT_TRUE(result.Done) << name << ": " << result.Problem;
  EXPECT_EQ(result.ProfitShared, income.NetProfit) << name;
  const BalanceSheet after = SheetOf(books, today);
  EXPECT_EQ(std::tie(after.CurrentAssetRows, after.CurrentLiabilityRows, after.NonCurrentAssetRows,
                     after.NonCurrentLiabilityRows, after.NetAssets),
            std::tie(before.CurrentAssetRows, before.CurrentLiabilityRows,
                     before.NonCurrentAssetRows, before.NonCurrentLiabilityRows, before.NetAssets))
      << name;
  EXPECT_EQ(after.SheetProfit, Amount()) << name;
  EXPECT_EQ(after.CapitalTotal.Raw() - before.CapitalTotal.Raw(), income.NetProfit.Raw()) << name;
  const IncomeStatement next = ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false});
  EXPECT_TRUE(next.RevenueRows.empty() && next.CostOfGoodsSoldRows.empty() &&
              next.ExpenseRows.empty())
      << name;
}

TEST(BalanceSheet, CarryingOverClosesWhatTheIncomeStatementCountsAndKeepsEveryOtherAccount) {
  // Sub-accounts of other types than their main account: an expense under an asset, a
  // revenue under a capital account, an asset under a revenue account; and a folio that no
  // account has.
  Books books = BookWithChart({{"Cash", 110, kCurrentAsset},
                               {"Stock", 150, kCurrentAsset},
                               {"Stock losses", 150.5, kExpense},
                               {"Capital A", 510, kCapital},
                               {"Capital A fees", 510.5, kRevenue},
                               {"Capital B", 520, kCapital},
                               {"Sales", 610, kRevenue},
                               {"Sales float", 610.1, kCurrentAsset}});
  AddEntry(books, Day(2025, 7, 1), "1", {{110, 1000}}, {{510, 600}, {520, 400}});
  AddEntry(books, Day(2026, 2, 1), "2", {{110, 300}, {0, 5}}, {{610, 300}, {0, 5}});
  AddEntry(books, Day(2026, 3, 1), "3", {{150.5, 20}, {0, 2}}, {{150, 20}, {110, 2}});
  AddEntry(books, Day(2026, 3, 2), "4", {{610.1, 50}}, {{110, 50}});
  AddEntry(books, Day(2026, 3, 3), "5", {{110, 30}}, {{510.5, 30}});
  AddEntry(books, Day(2026, 3, 4), "6", {{110, 7}}, {{720.3, 7}});
  const IncomeStatement income = ComputeIncomeStatement(books, {IncomePeriod::EveryDate(), false});
  EXPECT_EQ(income.NetProfit, Money(250)) << "sales 300 less the 50 of the sub-account under them";
  Books carried = books;
  const RolloverResult result = CarryAccountsOver(carried, Day(2026, 12, 31));
  EXPECT_EQ(result.ProfitShared, Money(250));
  EXPECT_EQ(BalanceOf(carried, 150.5), Money(20)) << "carried in Stock";
  EXPECT_EQ(BalanceOf(carried, 510), Money(-725)) << "600 and a share of 125";
  EXPECT_EQ(BalanceOf(carried, 510.5), Money(-30)) << "carried in Capital A";
  EXPECT_EQ(BalanceOf(carried, 610.1), Amount()) << "closed with Sales";
  EXPECT_EQ(BalanceOf(carried, 720.3), Money(-7));
  ExpectCarryOverKeepsTheSheet(books, "example");
  // Generated books: sub-accounts of every type under accounts of other types.
  for (const uint64_t seed : {1u, 7u, 42u})
    ExpectCarryOverKeepsTheSheet(GenerateBook({.lines = 4000, .accounts = 60, .seed = seed}),
                                 "seed " + std::to_string(seed));
}

TEST(BalanceSheet, SumsThatWouldOverflowGiveAnError) {
  // Current plus non-current assets pass the range.
  Books books = FirmBook();
  AddEntryOf(books, Day(2026, 3, 1), 110, 510, kHalfRange);
  ASSERT_FALSE(SheetOf(books).Failed());
  AddEntryOf(books, Day(2026, 3, 1), 310, 410, kHalfRange);
  const BalanceSheet sheet = SheetOf(books);
  EXPECT_TRUE(sheet.Failed() && sheet.AccountRowCount() == 0);
  EXPECT_EQ(Sketch(sheet, Layout::kUnitedStates), "");
  // A profit that overflows (two revenue accounts) fails the sheet too.
  Books profit = FirmBook();
  profit.AccountNames[11] = "Fees";
  profit.AccountFolios[11] = Money(620);
  profit.AccountTypes[11] = kRevenue;
  AddEntryOf(profit, Day(2026, 3, 1), 710, 610, kHalfRange);
  AddEntryOf(profit, Day(2026, 3, 1), 810, 620, kHalfRange);
  EXPECT_TRUE(SheetOf(profit).Failed());
}

}  // namespace
}  // namespace qv
