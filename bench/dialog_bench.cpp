// The marker dialog as a user works it, through the reference host as the dialog fuzz target
// drives it: the service is linked in and initialized in a host holding the demo project, and
// each iteration opens the dialog on the selected events, does 100 actions of a fixed mix (rows
// added and deleted, source and target menus chosen, text typed, the dialog's own settings
// changed) and confirms, which makes the markers. The run is undone and the project reopened,
// outside the measured time, so every iteration starts from the same settings.
//
// The argument chooses the host behaviours (HostBehaviours bits): 0 for none, 15 for all.

#include "module/module_names.h"
#include "refhost/dialog/dialog_user.h"
#include "support/linked_service.h"

#include <array>
#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace Brennovar;
using namespace Brennovar::RefHost;

constexpr int kActions = 100;

const std::array<std::vector<std::string>, 6> kSources = {{
    {"Track Name"},
    {"Free Text"},
    {"Counter"},
    {"Media", "File Name"},
    {"Audio - Assets", "Scene"},
    {"Event Description"},
}};
const std::array<std::string, 6> kTargets = {"Script Note", "Scene No.", "Reel",
                                             "Take No.",    "Character", "Quality"};

/// The session's failure: the benchmark cannot go on.
[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(what);
}

/// One action of the mix; rows are counted from 1 as the dialog shows them.
UserAction act(DialogUser& user, int step) {
    const int rows = static_cast<int>(user.rows().size());
    const auto pick = [step](const auto& choices) -> const auto& {
        return choices[static_cast<std::size_t>(step / 10) % choices.size()];
    };
    switch (step % 10) {
    case 0:
        return rows < 6 ? user.addRow() : user.deleteRow(1);
    case 1:
        return user.chooseSource(rows, {"Free Text"});
    case 2:
        return user.typeText(rows, "Take " + std::to_string(step));
    case 3:
        return user.chooseTarget(rows, {pick(kTargets)});
    case 4:
        return user.chooseSource(1, pick(kSources));
    case 5:
        return user.toggleCombine();
    case 6:
        return user.chooseMarkerType(step % 20 < 10 ? "Cycle" : "Position");
    case 7:
        return user.chooseTargetTrack(step % 20 < 10 ? "New Marker Track" : "Active Marker Track");
    case 8:
        return user.chooseSource(rows, pick(kSources));
    default:
        return user.deleteRow(rows);
    }
}

void BM_DialogSession(benchmark::State& state) {
    Testing::LinkedService session(fail);
    Host& host = session.host;
    std::int64_t done = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host.openProject(session.project);
        session.project.selectEvents();
        host.environment().behaviours() =
            HostBehaviours::fromBits(static_cast<unsigned>(state.range(0)));
        host.environment().behaviours().seed = 7;
        state.ResumeTiming();

        const CommandRun run =
            host.runCommand(Zintara::Names::kDialogCommand, Zintara::Names::kCommandCategory,
                            [&done](DialogRuntime& runtime) {
                                DialogUser user(runtime);
                                for (int step = 0; step < kActions; ++step)
                                    done += act(user, step).done ? 1 : 0;
                                runtime.pause();
                                user.press("ok");
                            });
        if (run.result != ResultOk)
            state.SkipWithError("the confirmed dialog made no markers");

        state.PauseTiming();
        host.undo();
        host.closeProject();
        state.ResumeTiming();
    }
    // The share of the mix the dialog took: a change that makes it refuse more is no speed-up.
    state.counters["actions_done"] =
        static_cast<double>(done) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_DialogSession)->Arg(0)->Arg(HostBehaviours::kAll)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
