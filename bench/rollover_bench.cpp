// Rolling a book of a million posting lines over (balances brought forward, accounts
// carried over), inserting a million lines from another book, and exporting the largest
// sheet the spreadsheet format holds (65,536 rows) to the disk.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/book_generator.h"
#include "bookfiles/books_export.h"
#include "bookfiles/merge.h"
#include "bookfiles/rollover.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const Books& LargeBook() {
  static const Books books = [] {
    GeneratorOptions options;
    options.lines = 1'000'000;
    options.accounts = 500;
    return GenerateBook(options);
  }();
  return books;
}

void BM_BringBalancesForward(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Books books = LargeBook();
    state.ResumeTiming();
    const RolloverResult result = BringBalancesForward(books, 46023);
    benchmark::DoNotOptimize(result.EntriesMade);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_BringBalancesForward)->Unit(benchmark::kMillisecond);

void BM_CarryAccountsOver(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Books books = LargeBook();
    state.ResumeTiming();
    const RolloverResult result = CarryAccountsOver(books, 46023);
    benchmark::DoNotOptimize(result.EntriesMade);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_CarryAccountsOver)->Unit(benchmark::kMillisecond);

void BM_InsertEntries(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Books books = LargeBook();
    state.ResumeTiming();
    const MergeResult result = InsertEntries(books, LargeBook());
    benchmark::DoNotOptimize(result.EntriesInserted);
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_InsertEntries)->Unit(benchmark::kMillisecond);

void BM_WriteBooksSheet(benchmark::State& state) {
  std::string folder = (fs::temp_directory_path() / "qv-rollover-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) std::abort();
  const std::string path = folder + "/books.xls";
  int64_t lines = 0;
  for (auto _ : state) {
    const BooksSheetResult result = WriteBooksSheet(path, LargeBook());
    if (!result.Ok()) state.SkipWithError(result.Message.c_str());
    lines = result.LinesWritten;
  }
  state.counters["bytes_per_line"] =
      static_cast<double>(fs::file_size(path)) / static_cast<double>(lines);
  state.SetItemsProcessed(state.iterations() * lines);
  fs::remove_all(folder);
}
BENCHMARK(BM_WriteBooksSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
