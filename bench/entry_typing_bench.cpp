// Typing an amount into the entry at the end of a long journal: the key goes through the
// amount box's filter, the box stores the amount in its posting line and the entry's totals
// are written on the status line again. The time must not grow with the journal's length;
// compare the 10^4 and 10^6-line runs. The model's store alone is measured beside it.

#include <benchmark/benchmark.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "app/main_window.h"
#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "books/entry_fields.h"
#include "controls/vertical_scroll_control.h"

namespace qv {
namespace {

// The program with a generated journal of `lines` lines, showing its last entry.
struct TypingProgram : bench::BenchProgram {
  explicit TypingProgram(int64_t lines)
      : BenchProgram(bench::BenchFolder("quorvel-entry-typing-bench")) {
    GeneratorOptions generator;
    generator.lines = lines;
    app->TheBooks() = GenerateBook(generator);
    TAcount& w = app->MainWindow();
    w.ScrollAcc->SetValueMax(app->TheBooks().LastLineIndex());
    w.ScrollAcc->SetValue(app->TheBooks().LastLineIndex());
  }
};

// One digit typed over the whole text of the last entry's first debit amount box.
void BM_TypeAmountAtJournalEnd(benchmark::State& state) {
  TypingProgram program(state.range(0));
  TAcount& w = program.app->MainWindow();
  QLineEdit* box = w.DebitAmountText(0);
  int digit = 0;
  for (auto _ : state) {
    digit = digit % 9 + 1;
    box->selectAll();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier,
                    QString(QChar(u'0' + digit)));
    QApplication::sendEvent(box, &press);
    benchmark::DoNotOptimize(w.GL(7)->text().size());
  }
  const Books& books = program.app->TheBooks();
  const int32_t line = w.Screen().LineOfDebitRow(0);
  if (line < 0 ||
      books.PostingLines[static_cast<std::size_t>(line)].Amount != Amount::FromRaw(digit * 10000))
    state.SkipWithError("the typed amount was not stored");
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TypeAmountAtJournalEnd)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// The store of the entry fields alone, as the amount box calls it.
void BM_StoreAmountAtJournalEnd(benchmark::State& state) {
  GeneratorOptions generator;
  generator.lines = state.range(0);
  Books books = GenerateBook(generator);
  const LocaleInfo locale = UsEnglishLocale();
  EntryScreen screen(books, locale);
  screen.ShowLine(books.LastLineIndex());
  const FixedClock clock(45658);
  EntryFields fields(screen, clock);
  const std::string texts[] = {"1,250.50", "980", "2,310.75"};
  std::size_t k = 0;
  for (auto _ : state) {
    const EntryFields::AmountStore store = fields.StoreAmount(kDebit, 0, texts[k++ % 3]);
    benchmark::DoNotOptimize(store.Status.Text.size());
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_StoreAmountAtJournalEnd)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv
