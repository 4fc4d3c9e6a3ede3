// The calculators: the running calculator's result over a long list, and a pasted list shown
// in its window.

#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <random>
#include <string>

#include "bench/program_setup_qt.h"
#include "calculators/rolling_calculator_window.h"
#include "calculators/rolling_list.h"
#include "platform/clipboard_qt.h"

namespace qv::bench {
namespace {

// `count` numbers with two decimals below 100000 (or, with `repeats`, among 100 numbers), as
// a list text of one number a line.
std::string NumberLines(int count, bool repeats = false) {
  std::mt19937 random(19);
  std::uniform_int_distribution<int> cents(1, repeats ? 100 : 9'999'999);
  std::string text;
  for (int i = 0; i < count; ++i) {
    const int c = cents(random);
    text += std::to_string(c / 100) + "." + std::to_string(c % 100 / 10) + std::to_string(c % 10) +
            "\r\n";
  }
  return text;
}

// A list of `count` rows: the numbers of NumberLines, added and subtracted in turn, with a
// multiplication and a division every hundred rows.
RollingList LongList(int count, bool repeats) {
  RollingList list;
  const std::string text = NumberLines(count, repeats);
  std::size_t start = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t end = text.find("\r\n", start);
    list.RollValues.push_back(
        RollValue::Of(ReadDecimalText(text.substr(start, end - start), ".").Value));
    list.RollOps.push_back(i % 100 == 50 ? 'x' : i % 100 == 99 ? '/' : i % 2 ? '-' : '+');
    start = end + 2;
  }
  return list;
}

// The result of the whole list recomputed, in each mode (0 running total, 1 average,
// 2 middle value, 3 most frequent value), over distinct numbers (0) or a hundred numbers
// repeated (1).
void BM_RunningCalculatorResult(benchmark::State& state) {
  RollingList list = LongList(static_cast<int>(state.range(0)), state.range(2) != 0);
  list.RollMode = static_cast<int16_t>(state.range(1));
  const RollSymbols symbols;
  for (auto _ : state) benchmark::DoNotOptimize(list.MailCalc(symbols));
}
BENCHMARK(BM_RunningCalculatorResult)
    ->ArgsProduct({{100'000}, {0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// Paste of a list of 10000 numbers into a running calculator window, until it is shown.
void BM_PasteListIntoCalculator(benchmark::State& state) {
  App();
  Rolling_Caculator window(UsEnglishLocale());
  window.show();
  SetClipboardText(NumberLines(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    window.P_m_Click();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.TotalAmount->text());
  }
}
BENCHMARK(BM_PasteListIntoCalculator)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv::bench
