// The engine's own share of a run, without a host behind it: reading, deselecting, grouping and
// sorting N selected events spread over 1 000 tracks, then cutting every group into ranges.
// The tests' made-up objects answer in constant time, so any growth of the time per event beyond
// constant comes from the engine itself.

#include "engine/fake_host.h"
#include "engine/marker_creator.h"
#include "model/model.h"
#include "module/host_context.h"

#include <benchmark/benchmark.h>
#include <deque>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace Brennovar;

using Zintara::Testing::FakeNode;
using Zintara::Testing::FakeObject;
using Zintara::Testing::FakeSelection;
using Zintara::Testing::SelectionProvider;

constexpr int kTracks = 1000;

void BM_PrepareAndCut(benchmark::State& state) {
    const int64_t events = state.range(0);
    std::deque<FakeObject> objects;
    std::deque<FakeNode> nodes;
    FakeSelection selection;
    SelectionProvider provider(selection);
    std::vector<FakeNode*> trackNodes;
    for (int t = 0; t < kTracks; ++t)
        trackNodes.push_back(
            &nodes.emplace_back(&objects.emplace_back(u"Take", std::set<std::string>{"track"})));
    // Dealt round-robin and in falling start order, so every group needs sorting.
    for (int64_t i = 0; i < events; ++i) {
        const double start = static_cast<double>(events - i) * 2.0 / kTracks;
        FakeObject& event = objects.emplace_back(u"Take", std::set<std::string>{"audio"}, start,
                                                 start + (i % 3 == 0 ? 3.0 : 1.0));
        FakeNode& node =
            nodes.emplace_back(&event, trackNodes[static_cast<std::size_t>(i % kTracks)]);
        selection.entries.emplace_back(&event, &node);
    }
    Zintara::hostObjectProvider() = &provider;
    Zintara::Model settings;
    for (auto _ : state) {
        Zintara::MarkerCreator creator(settings);
        creator.prepare();
        std::vector<Zintara::SourceTrackGroup> groups = creator.groups();
        std::size_t ranges = 0;
        Zintara::MarkerRange range;
        for (Zintara::SourceTrackGroup& group : groups)
            while (Zintara::MarkerCreator::nextRange(group, true, range))
                ++ranges;
        benchmark::DoNotOptimize(ranges);
    }
    Zintara::hostObjectProvider() = nullptr;
    state.counters["time_per_event"] =
        benchmark::Counter(static_cast<double>(events) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_PrepareAndCut)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
