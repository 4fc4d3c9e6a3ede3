// Printing the whole general journal of a generated book to a PDF file, as the journal
// window's Print does (page by page under the wait screen, whose bar follows the rows
// printed): 10^5 and 10^6 posting lines on A4 at the printer's high resolution.
// Each run reports its time, the pages printed, the most the heap held at once beyond the
// book and its view, and the process's peak resident memory during the print (the kernel's
// high-water mark, reset before the print). The target: the 10^6-line journal under 300 MB
// of peak memory. The second argument 1 prints the same sheet drawn whole in one call and
// cut into pages afterwards, as every print was made before pages were sent one by one: the
// figures to compare with.

#include <benchmark/benchmark.h>

#include <QPrinter>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/book_generator.h"
#include "bench/heap_meter.h"
#include "bench/program_setup_qt.h"
#include "bench/resident_memory.h"
#include "controls/print_document_qt.h"
#include "ledgers/journal_view.h"
#include "ledgers/ledger_drawing.h"
#include "ledgers/ledger_sheets.h"

namespace qv {
namespace {

// The whole sheet in one drawing, its column headings marked to stand on every page.
void DrawWhole(DrawingSurface& printer, const LedgerSheet& sheet) {
  printer.SetFont(SheetFont());
  printer.SetFontSizeScaled(SheetFont().Size);
  double y = DrawSheetTitle(printer, sheet, 0);
  const SheetLayout layout = LayoutSheet(printer, sheet, printer.ScaleWidth());
  printer.BeginPageHeading();
  y = DrawSheetHeadings(printer, sheet, layout, y);
  printer.EndPageHeading();
  DrawSheetRows(printer, sheet, layout, 0, sheet.Table.RowCount, y);
}

void BM_PrintWholeJournalToPdf(benchmark::State& state) {
  bench::App();
  const Books books = GenerateBook({.lines = state.range(0), .accounts = 300});
  const LedgerDates dates = DefaultLedgerDates(books);
  JournalOptions options;
  options.Ledger.From = dates.First;
  options.Ledger.To = dates.Last;
  options.Ledger.AllAccounts = true;
  auto view = std::make_shared<const JournalView>(ComputeJournal(books, options));
  const LedgerSheet sheet = JournalSheet(view, books, UsEnglishLocale());
  const std::string path = (bench::BenchFolder("quorvel_bench_print") / "journal.pdf").string();
  Session session;
  int64_t heapPeak = 0, residentPeak = 0;
  double recorded = 0;  // operations recorded at once by the whole drawing
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromStdString(path));
    bench::ResetPeakResident();
    const HeapMeter meter;
    SheetPrintout printout(sheet);
    const LongDocument byPage{
        [&](DrawingSurface& surface, int page) { return printout.DrawPage(surface, page); },
        [&] {
          return DocumentPosition{printout.RowsDrawn(), printout.RowCount()};
        }};
    const DocumentDrawing whole = [&](DrawingSurface& surface) {
      DrawWhole(surface, sheet);
      recorded = static_cast<double>(surface.Operations().size());
    };
    const PrintOutcome outcome = state.range(1) == 0
                                     ? PrintOnPrinter(printer, session, byPage, 1, 1.0)
                                     : PrintOnPrinter(printer, session, whole, 1, 1.0);
    heapPeak = meter.PeakBytes();
    residentPeak = bench::PeakResidentBytes();
    if (outcome != PrintOutcome::Printed) state.SkipWithError("the print failed");
  }
  state.counters["rows"] = static_cast<double>(sheet.Table.RowCount);
  state.counters["ops_at_once"] = recorded;
  state.counters["heap_peak_MB"] = static_cast<double>(heapPeak) / 1e6;
  state.counters["resident_peak_MB"] = static_cast<double>(residentPeak) / 1e6;
  state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_PrintWholeJournalToPdf)
    ->ArgsProduct({{100000, 1000000}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace qv
