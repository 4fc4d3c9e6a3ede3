// The comparative statement over a ten-year book of 10^6 posting lines and 300 accounts:
// computed monthly (120 periods), yearly, and monthly for one account.

#include <benchmark/benchmark.h>

#include "bench/book_generator.h"
#include "statements/cash_flow.h"

namespace qv {
namespace {

const Books& TenYearBook() {
  static const Books books = [] {
    GeneratorOptions options;
    options.lines = 1000000;
    options.accounts = 300;
    options.entriesPerDay = 110;  // about 400,000 entries over ten years
    return GenerateBook(options);
  }();
  return books;
}

void Compute(benchmark::State& state, CashFlowTerm term, bool oneAccount) {
  const Books& books = TenYearBook();
  CashFlowOptions options{term, {}};
  if (oneAccount) options.ChosenFolio = books.AccountFolios[1];
  int periods = 0;
  for (auto _ : state) {
    CashFlowStatement statement = ComputeCashFlow(books, options);
    periods = statement.PeriodCount();
    benchmark::DoNotOptimize(statement.TotalInflows.data());
  }
  state.SetLabel(std::to_string(periods) + " periods");
}

void BM_CashFlowMonthly(benchmark::State& state) { Compute(state, CashFlowTerm::kMonthly, false); }
void BM_CashFlowYearly(benchmark::State& state) { Compute(state, CashFlowTerm::kYearly, false); }
void BM_CashFlowMonthlyOneAccount(benchmark::State& state) {
  Compute(state, CashFlowTerm::kMonthly, true);
}

BENCHMARK(BM_CashFlowMonthly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowYearly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowMonthlyOneAccount)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
