// Opening and saving a book of a million posting lines in each form (book file, text, CSV),
// on the disk as the program does it (a save is written to a temporary file, synced and
// renamed). The counter bytes_per_line is the file's size over its posting lines; opening
// also reports the most the read held at once (peak_per_line, the book it builds included)
// and what the book alone holds (book_per_line), both in bytes a posting line.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/book_generator.h"
#include "bench/heap_meter.h"
#include "bookfiles/book_files.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kLines = 1'000'000;

const Books& MillionLineBook() {
  static const Books books = [] {
    GeneratorOptions options;
    options.lines = kLines;
    options.accounts = 500;
    options.nonAscii = true;
    options.fillSettings = true;
    return GenerateBook(options);
  }();
  return books;
}

const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = (fs::temp_directory_path() / "qv-bookfiles-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    std::atexit([] { fs::remove_all(Folder()); });
    return pattern;
  }();
  return folder;
}

std::string PathFor(const char* type) { return Folder() + "/book." + type; }

void Report(benchmark::State& state, const char* type) {
  state.counters["bytes_per_line"] =
      static_cast<double>(fs::file_size(PathFor(type))) / static_cast<double>(kLines);
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_BookFileSave(benchmark::State& state, const char* type) {
  const Books& books = MillionLineBook();
  for (auto _ : state) {
    const BookFileResult result = WriteBook(PathFor(type), type, books);
    if (!result.Ok()) state.SkipWithError(result.Message.c_str());
  }
  Report(state, type);
}

void BM_BookFileOpen(benchmark::State& state, const char* type) {
  if (!WriteBook(PathFor(type), type, MillionLineBook()).Ok()) {
    state.SkipWithError("the book could not be written");
    return;
  }
  int64_t peak = 0, book = 0;
  for (auto _ : state) {
    const HeapMeter meter;
    BookReadResult result = ReadBook(PathFor(type), type, 46000);
    if (!result.Ok()) state.SkipWithError(result.Message.c_str());
    benchmark::DoNotOptimize(result.Book);
    peak = std::max(peak, meter.PeakBytes());
    book = std::max(book, meter.HeldBytes());
  }
  Report(state, type);
  state.counters["peak_per_line"] = static_cast<double>(peak) / static_cast<double>(kLines);
  state.counters["book_per_line"] = static_cast<double>(book) / static_cast<double>(kLines);
}

BENCHMARK_CAPTURE(BM_BookFileSave, acc, "acc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookFileOpen, acc, "acc")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookFileSave, txt, "txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookFileOpen, txt, "txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookFileSave, csv, "csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookFileOpen, csv, "csv")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
