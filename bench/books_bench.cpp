// The books in memory: building a large journal, finding an entry's bounds at its end,
// and the memory a posting line takes.

#include <benchmark/benchmark.h>

#include "bench/book_generator.h"
#include "books/books.h"

namespace qv {
namespace {

void BM_BuildBookInMemory(benchmark::State& state) {
  GeneratorOptions options;
  options.lines = state.range(0);
  for (auto _ : state) {
    Books books = GenerateBook(options);
    benchmark::DoNotOptimize(books.PostingLines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildBookInMemory)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

const Books& MillionLineBook() {
  static const Books books = [] {
    GeneratorOptions options;
    options.lines = 1'000'000;
    return GenerateBook(options);
  }();
  return books;
}

void BM_EntryBoundsAtTheEnd(benchmark::State& state) {
  const Books& books = MillionLineBook();
  const int32_t last = books.LastLineIndex();
  int32_t line = last;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EntryBounds(books, line));
    line = line == last ? last - 3 : last;
  }
}
BENCHMARK(BM_EntryBoundsAtTheEnd);

// Bytes of the journal per posting line, the notes' own heap text aside: the line record,
// its entry number and any heap text an entry number needs.
void BM_JournalBytesPerLine(benchmark::State& state) {
  const Books& books = MillionLineBook();
  for (auto _ : state) {
    std::size_t bytes = books.PostingLines.capacity() * sizeof(PostingLine) +
                        books.EntryNumbers.capacity() * sizeof(EntryNumber);
    for (const EntryNumber& n : books.EntryNumbers)
      if (n.Text().capacity() > 15) bytes += n.Text().capacity() + 1;
    state.counters["bytes_per_line"] =
        static_cast<double>(bytes) / static_cast<double>(books.PostingLines.size());
  }
}
BENCHMARK(BM_JournalBytesPerLine)->Iterations(1);

}  // namespace
}  // namespace qv
