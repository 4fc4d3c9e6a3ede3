// The comparative statement over a ten-year book of 10^6 posting lines and 300 accounts:
// computed monthly (120 periods), yearly, and monthly for one account; its window opened
// (computed, laid out and its first screen painted), and scrolled by one screen across.

#include <benchmark/benchmark.h>

#include <QImage>
#include <memory>

#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "controls/horizontal_scroll_control.h"
#include "platform/units.h"
#include "statements/cash_flow.h"
#include "statements/cash_flow_window.h"

namespace qv {
namespace {

Books& TenYearBook() {
  static Books books = [] {
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

struct WindowBench {
  WindowBench() {
    bench::App();
    context.TheBooks = &TenYearBook();
    context.TheSession = &session;
    context.Locale = UsEnglishLocale();
  }
  Session session;
  StatementContext context;
};

WindowBench& Window() {
  static WindowBench bench;
  return bench;
}

// Paints the canvas as the screen would, into an image of its size.
void Paint(CashFlow& window) {
  static QImage screen;
  const QSize size = window.Canvas()->size();
  if (screen.size() != size) screen = QImage(size, QImage::Format_ARGB32_Premultiplied);
  window.Canvas()->render(&screen);
}

// The window as its command opens it: computed monthly for all accounts when made, then shown
// and its first screen painted.
std::unique_ptr<CashFlow> Open() {
  auto window = std::make_unique<CashFlow>(Window().context);
  window->resize(900, 700);
  window->show();
  Paint(*window);
  return window;
}

void BM_CashFlowWindowOpen(benchmark::State& state) {
  Window();
  for (auto _ : state) {
    auto window = Open();
    state.PauseTiming();
    window.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}

// One screen to the right (to the start again at the end), painted each time.
void BM_CashFlowWindowScrollAcross(benchmark::State& state) {
  auto window = Open();
  const int page = Tw(window->Canvas()->width());
  int value = 0;
  for (auto _ : state) {
    value = value + page > window->HScroll1->ValueMax() ? 0 : value + page;
    window->HScroll1->SetValue(value);
    Paint(*window);
  }
  state.SetLabel(std::to_string(window->HScroll1->ValueMax() / page) + " screens");
}

BENCHMARK(BM_CashFlowMonthly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowYearly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowMonthlyOneAccount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowWindowOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CashFlowWindowScrollAcross)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
