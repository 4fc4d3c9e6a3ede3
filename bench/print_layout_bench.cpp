// Printing a long document: drawing it on the printer's surface (measured with the printer's
// fonts) and laying the drawing out on pages, without sending it. The target is a 100-page
// document in under 50 ms.

#include <benchmark/benchmark.h>

#include <QPrinter>
#include <string>

#include "bench/program_setup_qt.h"
#include "platform/page_layout.h"
#include "platform/surface_replay_qt.h"

namespace qv {
namespace {

// A ledger of plain lines under a repeated heading, as many as fill `pages` A4 pages.
void BM_LayOutLongDocument(benchmark::State& state) {
  bench::App();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  const int wantedPages = static_cast<int>(state.range(0));
  int lines = 0;
  int pages = 0;
  {
    // How many lines a page holds in this font.
    PrinterSurface probe(printer);
    probe.Surface().SetFontSize(10);
    lines = static_cast<int>(probe.Surface().ScaleHeight() / probe.Surface().TextHeight("X")) *
            wantedPages;
  }
  for (auto _ : state) {
    PrinterSurface page(printer);
    DrawingSurface& surface = page.Surface();
    surface.SetFontSize(10);
    surface.BeginPageHeading();
    surface.Print("Date        Entry       Notes                         Debit      Credit");
    surface.EndPageHeading();
    for (int k = 0; k < lines; ++k)
      surface.Print("03/15/2026  INV" + std::to_string(k) + "  Sale to a customer  1,250.00");
    const std::vector<DrawOp> laid = LayOutPages(surface.TakeOperations(), surface.ScaleHeight());
    pages = PageCountOf(laid);
    benchmark::DoNotOptimize(laid.data());
  }
  state.counters["pages"] = pages;
  state.counters["lines"] = lines;
}
BENCHMARK(BM_LayOutLongDocument)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv
