// The whole path of `zintara-host run` as a user takes it: read a project file, run the marker
// command, print the JSON report and save the project. Generates projects of N selected audio
// events over 1 000 audio tracks and runs the tool on each as a child process, reporting the
// wall time, its processor time and peak memory, and the ratio of each processor time to the
// previous one (which a linear path keeps near the ratio of the sizes, 10). Each size is run three
// times and the run of median processor time is reported.
//
//   cli_path_bench TOOL MODULE [--full] [--keep]
//
// By default N is 10 000 and 100 000; --full adds 1 000 000 (about 150 MB of project file).

#include "tool_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using BenchTool::Measure;
using BenchTool::runTool;

constexpr long kTracks = 1000;

/// One marker track, then 1 000 audio tracks; event i lies on track i % 1000, every third event
/// touches its predecessor so that combining has work to do. Every event is selected.
void writeProject(const std::string& path, long events) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "{\"format\": \"zintara-project\", \"version\": 1, \"name\": \"Bench\",\n"
           "\"tracks\": [{\"kind\": \"marker-track\", \"name\": \"Markers\"}";
    const long perTrack = (events + kTracks - 1) / kTracks;
    for (long track = 0; track < kTracks; ++track) {
        out << ",\n{\"kind\": \"audio-track\", \"name\": \"Audio " << track << "\", \"events\": [";
        for (long slot = 0; slot < perTrack && slot * kTracks + track < events; ++slot) {
            const double start = static_cast<double>(slot) * 2.0 - (slot % 3 == 2 ? 1.0 : 0.0);
            out << (slot ? "," : "") << "\n{\"kind\": \"audio-event\", \"name\": \"Take " << slot
                << "\", \"start\": " << start << ", \"end\": " << start + 1.0
                << ", \"selected\": true}";
        }
        out << "]}";
    }
    out << "]}\n";
}

/// Runs the tool kRuns times and keeps the run of median processor time: a single run of a
/// fraction of a second varies by a third on a shared machine, and the ratio divides by it.
constexpr int kRuns = 3;
Measure medianRun(const std::vector<std::string>& arguments) {
    std::vector<Measure> runs;
    for (int run = 0; run < kRuns; ++run)
        runs.push_back(runTool(arguments));
    std::sort(runs.begin(), runs.end(),
              [](const Measure& a, const Measure& b) { return a.cpuSeconds < b.cpuSeconds; });
    const auto failed =
        std::find_if(runs.begin(), runs.end(), [](const Measure& run) { return run.status != 0; });
    return failed != runs.end() ? *failed : runs[kRuns / 2];
}

/// A script that selects every event of that project by its path of names, as a person would
/// list them: the path of `select` with many names. False when the script would exceed the
/// size the tool reads.
bool writeSelectScript(const std::string& path, long events) {
    std::string script = "[{\"do\": \"select\", \"objects\": [";
    const long perTrack = (events + kTracks - 1) / kTracks;
    for (long track = 0; track < kTracks; ++track)
        for (long slot = 0; slot < perTrack && slot * kTracks + track < events; ++slot)
            script += (script.back() == '[' ? "\"Audio " : ", \"Audio ") + std::to_string(track) +
                      "/Take " + std::to_string(slot) + "\"";
    script += "]}]\n";
    if (script.size() > 4 * 1024 * 1024)
        return false;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << script;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TOOL MODULE [--full] [--keep]\n", argv[0]);
        return 2;
    }
    const std::string tool = argv[1];
    const std::string module = argv[2];
    bool full = false;
    bool keep = false;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--full")
            full = true;
        else if (option == "--keep")
            keep = true;
        else {
            std::fprintf(stderr, "%s: unknown option %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    std::vector<long> sizes = {10'000, 100'000};
    if (full)
        sizes.push_back(1'000'000);

    const std::string folder = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                               "/zintara_cli_bench_" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) {
        std::perror(folder.c_str());
        return 1;
    }
    std::printf("%10s %10s %10s %10s %12s %8s %10s\n", "events", "seconds", "cpu s", "cpu ratio",
                "peak MB", "status", "select s");
    double previous = 0.0;
    int failures = 0;
    for (long events : sizes) {
        const std::string input = folder + "/project-" + std::to_string(events) + ".json";
        const std::string output = folder + "/saved-" + std::to_string(events) + ".json";
        writeProject(input, events);
        const Measure measure = medianRun(
            {tool, "run", "--json", "--module", module, "--project", input, "--out", output});
        char ratio[16] = "-";
        if (previous > 0.0)
            std::snprintf(ratio, sizeof ratio, "%.1f", measure.cpuSeconds / previous);
        const std::string script = folder + "/select-" + std::to_string(events) + ".json";
        char selectSeconds[16] = "-";
        if (writeSelectScript(script, events)) {
            Measure select =
                runTool({tool, "run", "--module", module, "--project", input, "--script", script});
            std::snprintf(selectSeconds, sizeof selectSeconds, "%.2f", select.cpuSeconds);
            failures += select.status != 0;
            std::remove(script.c_str());
        }
        std::printf("%10ld %10.2f %10.2f %10s %12.1f %8d %10s\n", events, measure.seconds,
                    measure.cpuSeconds, ratio, static_cast<double>(measure.peakKiB) / 1024.0,
                    measure.status, selectSeconds);
        std::fflush(stdout);
        previous = measure.cpuSeconds;
        failures += measure.status != 0;
        if (!keep) {
            std::remove(input.c_str());
            std::remove(output.c_str());
        }
    }
    if (!keep)
        rmdir(folder.c_str());
    return failures == 0 ? 0 : 1;
}
