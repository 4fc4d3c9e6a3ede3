// The statement windows on a generated book of 10^6 posting lines and 300 accounts:
// opening each window (computing, laying out and painting the first screen), scrolling one
// screen, and laying a 300-account trial balance out for the printer.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPrinter>
#include <memory>

#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "books/date_styles.h"
#include "controls/date_picker_control.h"
#include "platform/units.h"
#include "statements/account_sums.h"
#include "statements/balance_sheet_window.h"
#include "statements/income_statement_window.h"
#include "statements/trial_balance_layout.h"
#include "statements/trial_balance_window.h"

namespace qv {
namespace {

struct StatementBench {
  StatementBench() {
    bench::App();
    GeneratorOptions options;
    options.lines = 1000000;
    options.accounts = 300;
    books = GenerateBook(options);
    clock = std::make_unique<FixedClock>(PostingDateRange(books).Latest);
    context.TheBooks = &books;
    context.TheSession = &session;
    context.TheClock = clock.get();
    context.Locale = UsEnglishLocale();
  }
  Books books;
  Session session;
  std::unique_ptr<FixedClock> clock;
  StatementContext context;
};

StatementBench& Bench() {
  static StatementBench bench;
  return bench;
}

// Paints the canvas as the screen would, into an image of its size.
void Paint(StatementWindow& window) {
  static QImage screen;
  const QSize size = window.Canvas()->size();
  if (screen.size() != size) screen = QImage(size, QImage::Format_ARGB32_Premultiplied);
  window.Canvas()->render(&screen);
}

// Opens the window as its command does and paints its first screen.
template <typename Window>
std::unique_ptr<Window> OpenWindow(StatementBench& b) {
  auto window = std::make_unique<Window>(b.context);
  window->resize(900, 700);
  if constexpr (std::is_same_v<Window, TrialBalanceWindow>)
    window->ISCalander->SetText(QString::fromStdString(
        FormatDateStyle(b.clock->Today(), b.books.DateStyleIndex, b.context.Locale)));
  window->Recompute();
  window->show();
  Paint(*window);
  return window;
}

template <typename Window>
void BM_StatementWindowOpen(benchmark::State& state) {
  StatementBench& b = Bench();
  for (auto _ : state) {
    auto window = OpenWindow<Window>(b);
    state.PauseTiming();
    window.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

// One screen further down and back, painted each time.
void BM_StatementWindowScrollScreen(benchmark::State& state) {
  StatementBench& b = Bench();
  auto window = OpenWindow<TrialBalanceWindow>(b);
  const int page = Tw(window->Canvas()->height());
  int value = 0;
  for (auto _ : state) {
    value = value + page > window->ScrollMax() ? 0 : value + page;
    window->SetScrollValue(value);
    Paint(*window);
  }
  state.SetLabel(std::to_string(window->ScrollMax() / page) + " screens");
}

void BM_TrialBalancePrintLayout(benchmark::State& state) {
  StatementBench& b = Bench();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QtTextMetrics metrics(&printer);
  const SurfaceExtent page = PrinterExtentTwips(printer);
  const TrialBalance tb = ComputeTrialBalance(b.books, {b.clock->Today(), false});
  const StatementLook look = StatementLookOf(b.books, b.context.Locale, 2);
  for (auto _ : state) {
    StatementDrawing drawing = LayOutTrialBalance(tb, look, metrics, page.ScaleWidth, 1.0);
    benchmark::DoNotOptimize(drawing.DrawnHeight);
  }
  state.SetLabel(std::to_string(tb.RowCount()) + " rows");
}

BENCHMARK(BM_StatementWindowOpen<TrialBalanceWindow>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementWindowOpen<IncomeStatementWindow>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementWindowOpen<BalanceSheetWindow>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementWindowScrollScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrialBalancePrintLayout)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
