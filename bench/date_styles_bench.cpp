// Writing and reading dates in the book's date style, on captured locales: the entry
// screen, the ledgers and the book files write one date per posting line.

#include <benchmark/benchmark.h>

#include <QLocale>
#include <string>
#include <vector>

#include "books/date_styles.h"
#include "platform/locale_qt.h"

namespace qv {
namespace {

// Benchmark arguments: the style and the locale (an index into kLocales).
const char* const kLocales[] = {"en_US", "de_DE", "C"};

const LocaleInfo& LocaleAt(int64_t index) {
  static const std::vector<LocaleInfo> locales = [] {
    std::vector<LocaleInfo> v;
    for (const char* name : kLocales)
      v.push_back(CaptureLocale(std::string(name) == "C" ? QLocale::c() : QLocale(name)));
    return v;
  }();
  return locales.at(static_cast<std::size_t>(index));
}

constexpr DaySerial kFirstDay = 43831;  // 1 January 2020
constexpr DaySerial kDays = 3653;       // ten years

void Arguments(benchmark::internal::Benchmark* b) {
  for (const int style : {0, 2, 5})
    for (int locale = 0; locale < 3; ++locale) b->Args({style, locale});
  b->ArgNames({"style", "locale"});
}

void BM_FormatDateStyle(benchmark::State& state) {
  const int style = static_cast<int>(state.range(0));
  const LocaleInfo& locale = LocaleAt(state.range(1));
  state.SetLabel(kLocales[state.range(1)]);
  DaySerial offset = 0;
  for (auto _ : state) {
    std::string text = FormatDateStyle(kFirstDay + offset, style, locale);
    benchmark::DoNotOptimize(text.data());
    offset = offset + 1 == kDays ? 0 : offset + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDateStyle)->Apply(Arguments);

void BM_ParseDateStyle(benchmark::State& state) {
  const int style = static_cast<int>(state.range(0));
  const LocaleInfo& locale = LocaleAt(state.range(1));
  state.SetLabel(kLocales[state.range(1)]);
  std::vector<std::string> texts;
  for (DaySerial d = 0; d < kDays; ++d)
    texts.push_back(FormatDateStyle(kFirstDay + d, style, locale));
  const DaySerial today = kFirstDay + kDays / 2;
  std::size_t i = 0;
  std::string text;
  for (auto _ : state) {
    text = texts[i];
    benchmark::DoNotOptimize(ParseDateStyle(text, style, locale, today));
    i = i + 1 == texts.size() ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseDateStyle)->Apply(Arguments);

}  // namespace
}  // namespace qv
