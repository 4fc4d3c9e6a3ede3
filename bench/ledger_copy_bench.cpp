// The journal window's Copy of a generated book's whole journal (10^5 and 10^6 posting
// lines), as the user's Copy command runs it: the sheet's text and RTF built and handed to
// the clipboard. Each run reports its time, the process's resident memory before the Copy,
// its peak during the Copy (the kernel's high-water mark, reset before it) and the sizes of
// the two texts the clipboard then holds.

#include <benchmark/benchmark.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "bench/resident_memory.h"
#include "ledgers/general_journal_window.h"
#include "platform/clipboard_qt.h"

namespace qv {
namespace {

void BM_CopyWholeJournal(benchmark::State& state) {
  bench::App();
  // A hundred entries a day keep the dates within one century, as the window's two-digit
  // years read them.
  Books books = GenerateBook({.lines = state.range(0), .accounts = 300, .entriesPerDay = 100});
  Session session;
  const LocaleInfo locale = UsEnglishLocale();
  const FixedClock clock(books.PostingLines.back().LineDate);
  LedgerContext context{books, session, locale, clock, {}, {}};
  GeneralJournal journal(context);
  journal.setAttribute(Qt::WA_DeleteOnClose, false);
  journal.show();
  QCoreApplication::processEvents();
  if (!journal.Sheet().HasRows()) state.SkipWithError(journal.Sheet().Message.c_str());
  int64_t before = 0, peak = 0;
  double textBytes = 0, rtfBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    before = bench::ResidentBytes();
    bench::ResetPeakResident();
    state.ResumeTiming();
    journal.Copy_Click();
    state.PauseTiming();
    peak = bench::PeakResidentBytes();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    textBytes = data ? static_cast<double>(data->data("text/plain").size()) : 0;
    rtfBytes = data ? static_cast<double>(data->data(kRtfMimeType).size()) : 0;
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(journal.Sheet().Table.RowCount);
  state.counters["resident_before_MB"] = static_cast<double>(before) / 1e6;
  state.counters["resident_peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["added_peak_MB"] = static_cast<double>(peak - before) / 1e6;
  state.counters["text_MB"] = textBytes / 1e6;
  state.counters["rtf_MB"] = rtfBytes / 1e6;
}
BENCHMARK(BM_CopyWholeJournal)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace qv
