// The journal and ledger views over a generated book of 10^6 posting lines and 300
// accounts: one account's T-account and running-balance rows, the whole journal's rows, a
// search of the notes, and one screen of a view drawn and painted at the foot of the
// journal. Each computation is followed by making its sheet, as the windows do.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "bench/book_generator.h"
#include "bench/program_setup_qt.h"
#include "ledgers/journal_view.h"
#include "ledgers/ledger_sheet_widget.h"
#include "ledgers/ledger_sheets.h"
#include "ledgers/running_balance_view.h"
#include "ledgers/t_account_view.h"

namespace qv {
namespace {

const Books& MillionLines() {
  static const Books books = GenerateBook({.lines = 1000000, .accounts = 300});
  return books;
}

LedgerOptions WholePeriod(const Books& books) {
  const LedgerDates dates = DefaultLedgerDates(books);
  LedgerOptions options;
  options.From = dates.First;
  options.To = dates.Last;
  return options;
}

// One account of the chart with its sub-accounts, as a ledger window shows it.
LedgerOptions OneAccount(const Books& books) {
  LedgerOptions options = WholePeriod(books);
  options.Account = books.AccountFolios[15];
  return options;
}

void BM_LedgersTAccountRows(benchmark::State& state) {
  const Books& books = MillionLines();
  const LedgerOptions options = OneAccount(books);
  for (auto _ : state) {
    auto view = std::make_shared<const TAccountView>(ComputeTAccount(books, options));
    LedgerSheet sheet = TAccountSheet(view, books, UsEnglishLocale());
    benchmark::DoNotOptimize(sheet.Table.RowCount);
  }
}

void BM_LedgersRunningBalanceRows(benchmark::State& state) {
  const Books& books = MillionLines();
  const LedgerOptions options = OneAccount(books);
  for (auto _ : state) {
    auto view = std::make_shared<const RunningBalanceView>(ComputeRunningBalance(books, options));
    LedgerSheet sheet = RunningBalanceSheet(view, books, UsEnglishLocale());
    benchmark::DoNotOptimize(sheet.Table.RowCount);
  }
}

void BM_LedgersWholeJournalRows(benchmark::State& state) {
  const Books& books = MillionLines();
  JournalOptions options{WholePeriod(books)};
  options.Ledger.AllAccounts = true;
  for (auto _ : state) {
    auto view = std::make_shared<const JournalView>(ComputeJournal(books, options));
    LedgerSheet sheet = JournalSheet(view, books, UsEnglishLocale());
    benchmark::DoNotOptimize(sheet.Table.RowCount);
  }
}

void BM_LedgersSearchNotes(benchmark::State& state) {
  const Books& books = MillionLines();
  JournalOptions options{WholePeriod(books), kSearchNotes, "INVOICE 4242"};
  options.Ledger.AllAccounts = true;
  for (auto _ : state) {
    auto view = std::make_shared<const JournalView>(ComputeJournal(books, options));
    LedgerSheet sheet = JournalSheet(view, books, UsEnglishLocale());
    benchmark::DoNotOptimize(sheet.Table.RowCount);
  }
}

// The sheet area of a window showing the whole journal (about 1.2 million rows).
LedgerSheetWidget& WholeJournalArea() {
  static LedgerSheetWidget* area = [] {
    bench::App();
    const Books& books = MillionLines();
    JournalOptions options{WholePeriod(books)};
    options.Ledger.AllAccounts = true;
    auto view = std::make_shared<const JournalView>(ComputeJournal(books, options));
    auto* widget = new LedgerSheetWidget;
    widget->resize(900, 700);
    widget->SetSheet(JournalSheet(view, books, UsEnglishLocale()));
    return widget;
  }();
  return *area;
}

// One screen of the whole journal drawn and painted, at a new place of the journal each
// time; with `paint` 0 only drawn on the recording surface.
void BM_LedgersDrawOneScreen(benchmark::State& state) {
  LedgerSheetWidget& area = WholeJournalArea();
  QImage image(area.size(), QImage::Format_RGB32);
  int64_t k = 0;
  for (auto _ : state) {
    area.SetFirstRow((k++ * 7919) % (area.LastFirstRow() + 1));
    if (state.range(0) == 0) {
      benchmark::DoNotOptimize(area.Recording().size());
      continue;
    }
    QPainter painter(&image);
    ReplayOnPainter(painter, area.Recording(), ReplayOptions{15.0, {}});
  }
  state.SetLabel(std::string(state.range(0) ? "drawn and painted, " : "drawn, ") +
                 std::to_string(area.VisibleRows()) + " rows in sight of " +
                 std::to_string(area.Sheet().Table.RowCount));
}

BENCHMARK(BM_LedgersTAccountRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LedgersRunningBalanceRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LedgersWholeJournalRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LedgersSearchNotes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LedgersDrawOneScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv
