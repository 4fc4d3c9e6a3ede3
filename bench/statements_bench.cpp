// The three statements over generated books: 10^5 and 10^6 posting lines, with a chart of
// 300 and of 32000 accounts. Every line of the journal counts (the statement date is the
// last posting date), so each run is a full pass.

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

#include "bench/book_generator.h"
#include "statements/account_sums.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/trial_balance.h"

namespace qv {
namespace {

const Books& BookOf(int64_t lines, int accounts) {
  static std::map<std::pair<int64_t, int>, Books> books;
  auto it = books.find({lines, accounts});
  if (it == books.end()) {
    GeneratorOptions options;
    options.lines = lines;
    options.accounts = accounts;
    it = books.emplace(std::make_pair(lines, accounts), GenerateBook(options)).first;
  }
  return it->second;
}

void Label(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetLabel(std::to_string(state.range(0)) + " lines, " + std::to_string(state.range(1)) +
                 " accounts");
}

void BM_StatementsTrialBalance(benchmark::State& state) {
  const Books& books = BookOf(state.range(0), static_cast<int>(state.range(1)));
  const DaySerial last = PostingDateRange(books).Latest;
  for (auto _ : state) {
    TrialBalance tb = ComputeTrialBalance(books, {last, false});
    benchmark::DoNotOptimize(tb.DebitTotal);
  }
  Label(state);
}

void BM_StatementsIncomeStatement(benchmark::State& state) {
  const Books& books = BookOf(state.range(0), static_cast<int>(state.range(1)));
  const PostingDates dates = PostingDateRange(books);
  for (auto _ : state) {
    IncomeStatement is =
        ComputeIncomeStatement(books, {IncomePeriod::Between(dates.Earliest, dates.Latest), false});
    benchmark::DoNotOptimize(is.NetProfit);
  }
  Label(state);
}

void BM_StatementsBalanceSheet(benchmark::State& state) {
  const Books& books = BookOf(state.range(0), static_cast<int>(state.range(1)));
  const DaySerial last = PostingDateRange(books).Latest;
  for (auto _ : state) {
    BalanceSheet sheet = ComputeBalanceSheet(books, {last, false});
    benchmark::DoNotOptimize(sheet.CapitalBalance);
  }
  Label(state);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({100000, 300})->Args({1000000, 300})->Args({100000, 32000})->Args({1000000, 32000});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StatementsTrialBalance)->Apply(Sizes);
BENCHMARK(BM_StatementsIncomeStatement)->Apply(Sizes);
BENCHMARK(BM_StatementsBalanceSheet)->Apply(Sizes);

}  // namespace
}  // namespace qv
