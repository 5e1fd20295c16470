// Loading a translation document of N strings whose current-language ("de") text is "=", each
// followed by its default-language ("us") text, as translators mark texts that stay English.
// Reports the time per entry, which must stay flat as N grows.

#include "localization/translation_table.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace Brennovar;
using Zintara::TranslationTable;

std::string sameAsDefaultDocument(int64_t entries) {
    std::string document = "\xEF\xBB\xBF<Translation><StringTable>\n";
    for (int64_t i = 0; i < entries; ++i) {
        const std::string n = std::to_string(i);
        document += "<String Key=\"Key " + n + "\"><de>=</de><us>English " + n + "</us></String>\n";
    }
    return document + "</StringTable></Translation>\n";
}

void BM_LoadSameAsDefault(benchmark::State& state) {
    const int64_t entries = state.range(0);
    const std::string document = sameAsDefaultDocument(entries);
    for (auto _ : state) {
        TranslationTable table(TranslationTable::Registration::kPrivate);
        table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
        benchmark::DoNotOptimize(
            table.loadFromMemory(document.data(), static_cast<int32>(document.size()), nullptr));
        benchmark::DoNotOptimize(table.lookup(u"Key 0"));
    }
    state.counters["time_per_entry"] =
        benchmark::Counter(static_cast<double>(entries) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_LoadSameAsDefault)
    ->Arg(10'000)
    ->Arg(160'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
