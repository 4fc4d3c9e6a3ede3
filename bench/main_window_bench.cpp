// The main window: showing the entry that holds a line of a long journal (the time must not
// grow with the journal's length), and opening a large book through the window, wait
// screen included, against reading it with the model alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "bookfiles/book_files.h"
#include "controls/vertical_scroll_control.h"

namespace qv {
namespace {

const std::filesystem::path& Scratch() {
  static const std::filesystem::path folder = bench::BenchFolder("quorvel-main-window-bench");
  return folder;
}

// Shows the entries holding lines spread over the whole journal, as a ledger's line click
// does: by setting the journal scroll bar.
void BM_ShowEntryHoldingLine(benchmark::State& state) {
  bench::BenchProgram program(Scratch());
  GeneratorOptions options;
  options.lines = state.range(0);
  program.app->TheBooks() = GenerateBook(options);
  TAcount& w = program.app->MainWindow();
  const int last = program.app->TheBooks().LastLineIndex();
  w.ScrollAcc->SetValueMax(last);
  uint64_t seed = 12345;
  for (auto _ : state) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    w.ScrollAcc->SetValue(static_cast<int>((seed >> 33) % static_cast<uint64_t>(last + 1)));
    benchmark::DoNotOptimize(w.Screen().EntryFirstLine());
  }
  state.counters["lines"] = static_cast<double>(options.lines);
}
BENCHMARK(BM_ShowEntryHoldingLine)->Arg(100'000)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

const std::string& MillionLineBookFile() {
  static const std::string path = [] {
    GeneratorOptions options;
    options.lines = 1'000'000;
    const std::string p = (Scratch() / "million.acc").string();
    WriteBook(p, "acc", GenerateBook(options));
    return p;
  }();
  return path;
}

// The model alone: read the book file into a new book and put it in place of the open one.
void BM_OpenMillionLineBookModel(benchmark::State& state) {
  const std::string& path = MillionLineBookFile();
  Books books = NewBooks(45658);
  for (auto _ : state) {
    const BookFileResult result = OpenBookInto(books, path, "acc", 45658);
    if (!result.Ok()) state.SkipWithError(result.Message.c_str());
  }
}
BENCHMARK(BM_OpenMillionLineBookModel)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same book opened by the window: the wait screen, the read, closing the old book's
// windows, refilling the account lists and showing the first entry.
void BM_OpenMillionLineBookWindow(benchmark::State& state) {
  const std::string& path = MillionLineBookFile();
  bench::BenchProgram program(Scratch());
  TAcount& w = program.app->MainWindow();
  for (auto _ : state) {
    program.app->TheSession().ChosenFileName = path;
    if (!w.LoadAccFile(1)) state.SkipWithError("the book did not open");
  }
}
BENCHMARK(BM_OpenMillionLineBookWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv
