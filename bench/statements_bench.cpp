// The three statements over generated books: 10^5 and 10^6 posting lines, with a chart of
// 300 and of 32000 accounts. Every line of the journal counts (the statement date is the
// last posting date), so each run is a full pass.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <utility>

#include "bench/book_generator.h"
#include "statements/account_sums.h"
#include "statements/balance_sheet.h"
#include "statements/income_statement.h"
#include "statements/statement_outputs.h"
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

// A trial balance of 32,000 accounts written to a file (through the temporary file, synced
// and renamed) as each export type, and its rich text built for the clipboard.
void BM_StatementsTrialBalanceExport(benchmark::State& state) {
  static const char* const kTypes[] = {"rtf", "htm", "csv", "xls"};
  const char* type = kTypes[state.range(0)];
  const Books& books = BookOf(1000000, 32000);
  const TrialBalance tb = ComputeTrialBalance(books, {PostingDateRange(books).Latest, true});
  const StatementOutput output(tb, StatementLookOf(books, UsEnglishLocale(), 2));
  const std::string path =
      (std::filesystem::temp_directory_path() / (std::string("qv-bench-tb.") + type)).string();
  for (auto _ : state) {
    const TableFileResult result = output.Export(path, type);
    if (!result.Ok()) state.SkipWithError(result.Message.c_str());
  }
  std::filesystem::remove(path);
  state.SetLabel(std::string(type) + ", " + std::to_string(tb.RowCount()) + " rows");
}

void BM_StatementsTrialBalanceCopy(benchmark::State& state) {
  const Books& books = BookOf(1000000, 32000);
  const TrialBalance tb = ComputeTrialBalance(books, {PostingDateRange(books).Latest, true});
  const StatementOutput output(tb, StatementLookOf(books, UsEnglishLocale(), 2));
  for (auto _ : state) {
    std::string rtf = output.Rtf();
    std::string text = output.Text();
    benchmark::DoNotOptimize(rtf.data());
    benchmark::DoNotOptimize(text.data());
  }
  state.SetLabel(std::to_string(tb.RowCount()) + " rows");
}

BENCHMARK(BM_StatementsTrialBalance)->Apply(Sizes);
BENCHMARK(BM_StatementsTrialBalanceExport)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementsTrialBalanceCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementsIncomeStatement)->Apply(Sizes);
BENCHMARK(BM_StatementsBalanceSheet)->Apply(Sizes);

}  // namespace
}  // namespace qv
