// The chart and settings: the chart editor's closing check on the largest chart, moving an
// account's postings in a large journal, and including a prepared group into it again and
// again.

#include <benchmark/benchmark.h>

#include <string>

#include "accounts/chart_editor.h"
#include "accounts/move_postings.h"
#include "accounts/prepared_groups.h"
#include "bench/book_generator.h"

namespace qv {
namespace {

constexpr int64_t kJournalLines = 1'000'000;

Books JournalBook() {
  GeneratorOptions options;
  options.lines = kJournalLines;
  return GenerateBook(options);
}

// 32,000 accounts, every name and folio different: the check has to look at all of them.
void BM_ChartClosingCheck32000Accounts(benchmark::State& state) {
  Books books = NewBooks(45658);
  books.ResizeChart(31999);
  for (int k = 0; k < 32000; ++k) {
    const auto i = static_cast<std::size_t>(k);
    books.AccountNames[i] = "Account number " + std::to_string(k);
    books.AccountFolios[i] = Folio::FromUnits(100 + k);
  }
  const LocaleInfo locale = UsEnglishLocale();
  ChartEditorModel editor(books, locale);
  for (auto _ : state) benchmark::DoNotOptimize(editor.Close().Passed());
}
BENCHMARK(BM_ChartClosingCheck32000Accounts)->Unit(benchmark::kMillisecond);

// Each run moves the busiest account's lines to another account and back on the next run.
void BM_MovePostingsMillionLines(benchmark::State& state) {
  Books books = JournalBook();
  MoveRequest request{books.PostingLines[0].LineFolio, Folio::FromUnits(999999)};
  int64_t moved = 0;
  for (auto _ : state) {
    moved = MovePostings(books, request);
    std::swap(request.From, request.To);
  }
  state.counters["lines moved"] = static_cast<double>(moved);
}
BENCHMARK(BM_MovePostingsMillionLines)->Unit(benchmark::kMillisecond);

// One run: a group of one entry with 31 debit and 31 credit lines, included 1,000 times
// into a journal of a million lines.
void BM_IncludeGroupThousandTimes(benchmark::State& state) {
  const Books start = JournalBook();
  std::vector<PostingLine> group;
  for (int k = 0; k < 2 * kMaxRowsPerSide; ++k) {
    PostingLine line;
    line.Side = k < kMaxRowsPerSide ? kDebit : kCredit;
    line.LineFolio = Folio::FromUnits(100 + k);
    line.Amount = Amount::FromUnits(10);
    group.push_back(line);
  }
  group.back().Notes = "Monthly wages";
  for (auto _ : state) {
    state.PauseTiming();
    Books books = start;
    books.PreparedGroups[0] = group;
    PreparedGroupsModel model(books);
    model.Load();
    state.ResumeTiming();
    for (int n = 0; n < 1000; ++n) benchmark::DoNotOptimize(model.Include(true, 46000).Done);
    state.PauseTiming();
    books = Books();  // freeing the copy is not part of the run
    state.ResumeTiming();
  }
}
BENCHMARK(BM_IncludeGroupThousandTimes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qv
