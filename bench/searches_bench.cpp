// Edit > Balance Point and Edit > Unbalanced Entries over a generated book of 10^6 posting
// lines with three entries that do not balance: the balance point, and the unbalanced
// entries' journal rows with their sheet, as the window makes them.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench/book_generator.h"
#include "books/balance_point.h"
#include "ledgers/journal_view.h"
#include "ledgers/ledger_sheets.h"

namespace qv {
namespace {

const Books& MillionLinesThreeUnbalanced() {
  static const Books books = [] {
    Books b = GenerateBook({.lines = 1000000, .accounts = 300});
    UnbalanceEntries(b, 3);
    return b;
  }();
  return books;
}

void BM_SearchBalancePoint(benchmark::State& state) {
  const Books& books = MillionLinesThreeUnbalanced();
  for (auto _ : state) benchmark::DoNotOptimize(BalancePoint(books.PostingLines));
}

void BM_SearchUnbalancedEntries(benchmark::State& state) {
  const Books& books = MillionLinesThreeUnbalanced();
  const LedgerDates dates = DefaultLedgerDates(books);
  JournalOptions options{{}, kSearchUnbalanced, ""};
  options.Ledger.AllAccounts = true;
  options.Ledger.From = dates.First;
  options.Ledger.To = dates.Last;
  for (auto _ : state) {
    auto view = std::make_shared<const JournalView>(ComputeJournal(books, options));
    LedgerSheet sheet = JournalSheet(view, books, UsEnglishLocale());
    benchmark::DoNotOptimize(sheet.Table.RowCount);
  }
}

BENCHMARK(BM_SearchBalancePoint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchUnbalancedEntries)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
