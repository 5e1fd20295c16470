// A whole marker-creation run through the reference host: N selected audio events spread over
// 1 000 audio tracks, combining on, the default mapping (event name and track name), all markers
// on the active marker track. Reports the time per selected event, which must stay flat as N
// grows.

#include "engine/marker_creator.h"
#include "model/model.h"
#include "module/host_context.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/project_object.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace Brennovar;
using RefHost::ObjectKind;

constexpr int kTracks = 1000;

/// A project with a marker track and `events` selected audio events, dealt round-robin over
/// the tracks so that consecutive selections alternate between tracks. Every third event
/// touches its predecessor on the same track, so combining has work to do.
void buildProject(RefHost::Project& project, int64_t events) {
    project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    std::vector<RefHost::ProjectObject*> tracks;
    tracks.reserve(kTracks);
    for (int t = 0; t < kTracks; ++t)
        tracks.push_back(&project.addTrack(ObjectKind::kAudioTrack, "Audio " + std::to_string(t)));
    for (int64_t i = 0; i < events; ++i) {
        const int64_t slot = i / kTracks;
        const double start = static_cast<double>(slot) * 2.0 - (slot % 3 == 2 ? 1.0 : 0.0);
        RefHost::ProjectObject& event = project.addAudioEvent(
            *tracks[static_cast<std::size_t>(i % kTracks)], "Take", start, 1.0);
        project.select(event);
    }
}

void BM_MarkerRun(benchmark::State& state) {
    const int64_t events = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<RefHost::Host>();
        RefHost::Project& project = host->createProject("Bench");
        buildProject(project, events);
        host->openProject(project);
        Owned<IHostObjectProvider> provider = Owned<IHostObjectProvider>::query(host->context());
        Zintara::hostObjectProvider() = provider.get();
        Zintara::Model settings;
        state.ResumeTiming();

        Zintara::MarkerCreator creator(settings);
        benchmark::DoNotOptimize(creator.run());

        state.PauseTiming();
        Zintara::hostObjectProvider() = nullptr;
        provider.reset();
        host.reset();
        state.ResumeTiming();
    }
    state.counters["events"] = static_cast<double>(events);
    state.counters["time_per_event"] =
        benchmark::Counter(static_cast<double>(events) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_MarkerRun)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
