#include <gtest/gtest.h>

#include <memory>
#include <variant>

#include "ledgers/journal_view.h"
#include "ledgers/ledger_sheets.h"
#include "ledgers/running_balance_view.h"
#include "ledgers/t_account_view.h"
#include "tests/ledgers/ledger_fixture.h"

namespace qv {
namespace {

using testing::Day;
using testing::LedgerFixture;
using testing::Money;
using testing::SheetRows;
using Rows = std::vector<std::string>;

LedgerOptions Options(double folio, DaySerial from, DaySerial to, bool subs = true) {
  LedgerOptions options;
  options.Account = Money(folio);
  options.WithSubAccounts = subs;
  options.From = from;
  options.To = to;
  return options;
}

LedgerOptions AllOf2025() {
  LedgerOptions options = Options(0, Day(2025, 1, 1), Day(2025, 12, 31));
  options.AllAccounts = true;
  return options;
}

// The entry numbers of the entries a journal shows.
Rows EntriesShown(const Books& books, const JournalOptions& options) {
  Rows numbers;
  for (const LedgerEntry& entry : ComputeJournal(books, options).Entries)
    numbers.push_back(entry.Number);
  return numbers;
}

TEST(JournalView, ShowsEachEntryWithItsLinesNotesAndTheTotals) {
  const Books books = LedgerFixture();
  auto view = std::make_shared<JournalView>(ComputeJournal(books, {AllOf2025()}));
  EXPECT_EQ(view->DebitTotal, Money(2190));
  EXPECT_EQ(view->CreditTotal, Money(2180));
  const Rows rows = SheetRows(JournalSheet(view, books, UsEnglishLocale()));
  ASSERT_EQ(rows.size(), 14u + 5 + 1) << "14 lines, 5 notes (the last entry has none), totals";
  EXPECT_EQ(rows[3], "1/5/25|2|110|Cash|500.00|");
  EXPECT_EQ(rows[4], "||110.1|Petty cash|50.00|");
  EXPECT_EQ(rows[5], "||400|Sales||550.00");
  EXPECT_EQ(rows[6], "|||Till, Monday||");
  EXPECT_EQ(rows[18], "||400|Sales||40.00") << "no notes row for \"_\"";
  EXPECT_EQ(rows[19], "|||TOTALS|2,190.00|2,180.00");
  TableRow credit;
  JournalSheet(view, books, UsEnglishLocale()).Table.Row(5, credit);
  EXPECT_EQ(credit.IndentedCell, 3) << "credit lines are indented";
  EXPECT_EQ(view->Rows[6].Line, 2) << "a notes row leads to its entry";
}

TEST(JournalView, SelectsByAccountDatesReconcileMarkAndSearch) {
  const Books books = LedgerFixture();
  struct Case {
    const char* what;
    JournalOptions options;
    Rows numbers;
  };
  JournalOptions cash{Options(110, Day(2025, 1, 1), Day(2025, 12, 31))};
  JournalOptions pettyOnly{Options(110.1, Day(2025, 1, 1), Day(2025, 12, 31), false)};
  JournalOptions bounds{AllOf2025()};
  bounds.Ledger.From = Day(2025, 1, 5);
  bounds.Ledger.To = Day(2025, 1, 15);
  JournalOptions unreconciled{AllOf2025()};
  unreconciled.Ledger.HideReconciled = true;
  auto search = [](int16_t mode, const std::string& text) {
    JournalOptions options{AllOf2025(), mode, text};
    return options;
  };
  const Case cases[] = {
      {"an account with its sub-accounts", cash, {"1", "2", "3", "INV7", "5", "6"}},
      {"a sub-account alone", pettyOnly, {"2", "INV7"}},
      {"both date bounds included", bounds, {"2", "3", "INV7"}},
      {"reconciled entries hidden", unreconciled, {"1", "2", "INV7", "5", "6"}},
      {"notes, case ignored", search(kSearchNotes, "TILL"), {"2"}},
      {"notes, no match", search(kSearchNotes, std::string(10000, 'x')), {}},
      {"entry number, trimmed and case ignored", search(kSearchEntryNumber, " inv7 "), {"INV7"}},
      {"entry number is whole", search(kSearchEntryNumber, "INV"), {}},
      {"unbalanced entries", search(kSearchUnbalanced, ""), {"5"}},
  };
  for (const Case& c : cases) EXPECT_EQ(EntriesShown(books, c.options), c.numbers) << c.what;

  Books cyrillic = LedgerFixture();
  cyrillic.PostingLines[1].Notes = "Касса Ёлка";
  EXPECT_EQ(EntriesShown(cyrillic, search(kSearchNotes, "кАССА ё")), Rows{"1"});
}

TEST(TAccountView, BringsDownTheOpeningBalanceAndBalancesOff) {
  const Books books = LedgerFixture();
  auto view = std::make_shared<TAccountView>(
      ComputeTAccount(books, Options(110, Day(2025, 1, 5), Day(2025, 1, 31))));
  EXPECT_EQ(view->Balance, Money(960));
  const LedgerSheet sheet = TAccountSheet(view, books, UsEnglishLocale());
  EXPECT_EQ(sheet.Table.Title[0], "Cash (110)");
  EXPECT_EQ(SheetRows(sheet), (Rows{"1/5/25|Balance b/d|1,000.00|1/10/25|Rent|300.00",
                                    "1/5/25|Sales|500.00|1/15/25|Bank|150.00",
                                    "1/5/25|Sales|50.00|1/15/25|Bank|50.00",
                                    "|||1/20/25|Rent|90.00", "|||1/31/25|Balance c/d|960.00",
                                    "||1,550.00|||1,550.00", "1/31/25|Balance b/d|960.00|||"}));
  EXPECT_EQ(sheet.LineAt(1, 1), 2);
  EXPECT_EQ(sheet.LineAt(1, 4), 8);
  EXPECT_EQ(sheet.LineAt(0, 0), -1) << "the balance brought down is no posting line";

  // A credit balance is carried down on the debit side; an entry with two accounts on the
  // other side names them Sundries.
  auto sales = std::make_shared<TAccountView>(
      ComputeTAccount(books, Options(400, Day(2025, 1, 1), Day(2025, 12, 31))));
  EXPECT_EQ(SheetRows(TAccountSheet(sales, books, UsEnglishLocale())).back(),
            "|||12/31/25|Balance b/d|590.00");
  auto bank = std::make_shared<TAccountView>(
      ComputeTAccount(books, Options(120, Day(2025, 1, 1), Day(2025, 12, 31))));
  EXPECT_EQ(SheetRows(TAccountSheet(bank, books, UsEnglishLocale()))[0],
            "1/15/25|Sundries|200.00|12/31/25|Balance c/d|200.00");
}

TEST(RunningBalanceView, RunsFromTheOpeningBalanceToTheEndDate) {
  const Books books = LedgerFixture();
  auto view = std::make_shared<RunningBalanceView>(
      ComputeRunningBalance(books, Options(110, Day(2025, 1, 5), Day(2025, 1, 31))));
  EXPECT_EQ(view->Closing, Money(960));
  EXPECT_EQ(
      SheetRows(RunningBalanceSheet(view, books, UsEnglishLocale())),
      (Rows{"1/5/25||Balance b/d|1,000.00||1,000.00 Dr",
            "1/5/25|2|Till, Monday|500.00||1,500.00 Dr", "1/5/25|2|Till, Monday|50.00||1,550.00 Dr",
            "1/10/25|3|January rent||300.00|1,250.00 Dr", "1/15/25|INV7|Banked||150.00|1,100.00 Dr",
            "1/15/25|INV7|Banked||50.00|1,050.00 Dr", "1/20/25|5|Short||90.00|960.00 Dr"}));

  // Without sub-accounts, in the reconciliation view, with dashes in folios and no decimals.
  Books other = LedgerFixture();
  other.LedgerDecimals = 0;
  other.FolioDashes = -1;
  LedgerOptions sales = Options(400, Day(2025, 1, 1), Day(2025, 12, 31), false);
  auto salesView = std::make_shared<RunningBalanceView>(ComputeRunningBalance(other, sales));
  EXPECT_EQ(SheetRows(RunningBalanceSheet(salesView, other, UsEnglishLocale())).back(),
            "2/1/25|6|||40|590 Cr");
  LedgerOptions petty = Options(110.1, Day(2025, 1, 1), Day(2025, 12, 31));
  petty.HideReconciled = true;
  EXPECT_EQ(AccountHeading(petty, other, UsEnglishLocale()), "Reconciled Petty cash (110-1)");
  LedgerOptions cash = Options(110, Day(2025, 1, 1), Day(2025, 12, 31));
  cash.HideReconciled = true;
  EXPECT_EQ(ComputeRunningBalance(other, cash).Closing,
            Money(1000 + 500 + 50 - 150 - 50 - 90 + 40));
}

TEST(LedgerInputs, ReadsTheTopBarOrSaysWhatIsWrong) {
  const Books books = LedgerFixture();
  const LocaleInfo us = UsEnglishLocale();
  const DaySerial today = Day(2025, 6, 1);
  struct Case {
    LedgerInputs inputs;
    std::string message;  // "" when the inputs read
  };
  const Case cases[] = {
      {{"Cash", true, "1/1/25", "1/31/25"}, ""},
      {{" Cash ", false, "1/1/2025", "1/1/2025"}, ""},
      {{"All Accounts", true, "1/1/25", "1/31/25", true}, ""},
      {{"All Accounts", true, "1/1/25", "1/31/25", false}, "No account named \"All Accounts\"."},
      {{"Cashh", true, "1/1/25", "1/31/25"}, "No account named \"Cashh\"."},
      {{"", true, "1/1/25", "1/31/25"}, "Choose an account."},
      {{"Cash", true, "1/31/25", "1/1/25"}, "The end date is before the start date."},
      {{"Cash", true, "13/45/25", "1/1/25"}, "The start date \"13/45/25\" is not a date."},
      {{"Cash", true, "1/1/25", "soon"}, "The end date \"soon\" is not a date."},
  };
  for (const Case& c : cases) {
    const auto read = ReadLedgerInputs(books, c.inputs, us, today);
    if (c.message.empty()) {
      ASSERT_TRUE(std::holds_alternative<LedgerOptions>(read)) << std::get<std::string>(read);
      const auto& options = std::get<LedgerOptions>(read);
      EXPECT_EQ(options.AllAccounts, c.inputs.AllowAllAccounts);
      EXPECT_EQ(options.WithSubAccounts, c.inputs.WithSubAccounts);
      EXPECT_LE(options.From, options.To);
    } else {
      ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.message;
      EXPECT_EQ(std::get<std::string>(read), c.message);
    }
  }
  const auto cash = ReadLedgerInputs(books, {"Cash", true, "1/1/25", "1/31/25"}, us, today);
  EXPECT_EQ(std::get<LedgerOptions>(cash).Account, Money(110));
}

TEST(LedgerViews, EmptyJournalsAndHugeAmountsGiveNoRowsButNoFault) {
  Books empty = LedgerFixture();
  empty.PostingLines.clear();
  empty.EntryNumbers.clear();
  EXPECT_EQ(DefaultLedgerDates(empty).First, kZeroDate);
  EXPECT_EQ(ComputeJournal(empty, {AllOf2025()}).Rows.size(), 1u) << "the totals alone";
  EXPECT_TRUE(ComputeTAccount(empty, Options(110, 1, 2)).Message.empty());
  EXPECT_TRUE(ComputeRunningBalance(empty, Options(110, 1, 2)).Rows.empty());

  Books huge = LedgerFixture();
  huge.PostingLines[0].Amount = huge.PostingLines[2].Amount = Amount::Max();
  for (const std::string& message :
       {ComputeJournal(huge, {AllOf2025()}).Message,
        ComputeTAccount(huge, Options(110, Day(2025, 1, 1), Day(2025, 12, 31))).Message,
        ComputeRunningBalance(huge, Options(110, Day(2025, 1, 1), Day(2025, 12, 31))).Message})
    EXPECT_EQ(message, kLedgerOverflowText);
  const JournalOptions unbalanced{AllOf2025(), kSearchUnbalanced, ""};
  EXPECT_EQ(ComputeJournal(huge, unbalanced).Message, kLedgerOverflowText)
      << "the shown totals overflow as well";
}

}  // namespace
}  // namespace qv
