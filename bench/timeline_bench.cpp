// The timeline page of a large run. First through the tool's path, as a user runs it:
// `zintara-host run --project P --out SAVED --timeline T` on projects of 100 000 selected audio
// events, with the tool's processor time, peak memory and the page's size. Then the page alone:
// the saved project (with the markers the run made) read into a host in this process, and its
// page written as the tool writes it (the run's selection: every event; every marker made by
// the run), the best of five, which the other work of a shared machine disturbs least.
//
//   timeline_bench TOOL MODULE [--keep]
//
// Two shapes of project: "long", 100 tracks of 1 000 six-second events over three hours, where
// the page draws about nine pixels a second; and "dense", 1 000 tracks of 100 one-second
// events over 200 s (the projects of cli_path_bench).

#include "refhost/files/command_inputs.h"
#include "refhost/files/output_file.h"
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"
#include "refhost/timeline/timeline_page.h"
#include "tool_run.h"

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
#include <unordered_set>
#include <vector>

namespace {

using BenchTool::Measure;
using BenchTool::runTool;

struct Shape {
    const char* name;
    long tracks;
    long perTrack;
    /// Event `slot` of track `track` starts at slot * spacing (+ a shift per track) and lasts
    /// `length` seconds.
    double spacing;
    double length;
};

constexpr Shape kShapes[] = {{"long", 100, 1000, 10.8, 6.0}, {"dense", 1000, 100, 2.0, 1.0}};

void writeProject(const std::string& path, const Shape& shape) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "{\"format\": \"zintara-project\", \"version\": 1, \"name\": \"Bench\",\n"
           "\"tracks\": [{\"kind\": \"marker-track\", \"name\": \"Markers\"}";
    for (long track = 0; track < shape.tracks; ++track) {
        out << ",\n{\"kind\": \"audio-track\", \"name\": \"Audio " << track << "\", \"events\": [";
        for (long slot = 0; slot < shape.perTrack; ++slot) {
            const double start =
                static_cast<double>(slot) * shape.spacing + static_cast<double>(track % 7) * 0.25;
            out << (slot ? "," : "") << "\n{\"kind\": \"audio-event\", \"name\": \"Take " << slot
                << "\", \"start\": " << start << ", \"end\": " << start + shape.length
                << ", \"selected\": true}";
        }
        out << "]}";
    }
    out << "]}\n";
}

/// Every event of the project.
void collectEvents(const Brennovar::RefHost::ProjectObject& holder,
                   std::unordered_set<const Brennovar::RefHost::ProjectObject*>& events) {
    for (const Brennovar::RefHost::ProjectObject* child : holder.children()) {
        if (child->kind() == Brennovar::RefHost::ObjectKind::kAudioEvent)
            events.insert(child);
        collectEvents(*child, events);
    }
}

/// The page of the saved project written `times` times; the best wall time in seconds.
double pageSeconds(const std::string& saved, const std::string& page, int times) {
    using namespace Brennovar::RefHost;
    Host host;
    const Project& project = ProjectFile::read(host, saved);
    std::unordered_set<const ProjectObject*> selected;
    collectEvents(project.root(), selected);
    const std::unordered_set<const ProjectObject*> before;
    double best = 0.0;
    for (int i = 0; i < times; ++i) {
        const auto started = std::chrono::steady_clock::now();
        OutputFile::replace(
            page,
            [&](std::ostream& out) {
                TimelinePage::write(out, project, {selected, before}, {"bench", "bench"});
            },
            CommandInputs().add("the project", saved));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        best = i == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc == 4 && std::string(argv[3]) != "--keep") || argc > 4) {
        std::fprintf(stderr, "usage: %s TOOL MODULE [--keep]\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1];
    const std::string module = argv[2];
    const bool keep = argc == 4;
    const char* temporary = std::getenv("TMPDIR");
    const std::string folder = std::string(temporary ? temporary : "/tmp") +
                               "/zintara_timeline_bench_" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) {
        std::perror(folder.c_str());
        return 1;
    }
    std::printf("%8s %8s %10s %10s %10s %10s %8s\n", "shape", "events", "tool cpu s", "peak MB",
                "page MB", "page s", "status");
    int failures = 0;
    for (const Shape& shape : kShapes) {
        const std::string input = folder + "/" + shape.name + ".json";
        const std::string saved = folder + "/" + shape.name + "-saved.json";
        const std::string page = folder + "/" + shape.name + ".html";
        writeProject(input, shape);
        const Measure run = runTool({program, "run", "--json", "--module", module, "--project",
                                     input, "--out", saved, "--timeline", page});
        struct stat written {};
        const double megabytes =
            stat(page.c_str(), &written) == 0 ? static_cast<double>(written.st_size) / 1e6 : 0.0;
        const double seconds = run.status == 0 ? pageSeconds(saved, page, 5) : 0.0;
        std::printf("%8s %8ld %10.2f %10.1f %10.2f %10.3f %8d\n", shape.name,
                    shape.tracks * shape.perTrack, run.cpuSeconds,
                    static_cast<double>(run.peakKiB) / 1024.0, megabytes, seconds, run.status);
        std::fflush(stdout);
        failures += run.status != 0;
        if (!keep)
            for (const std::string& file : {input, saved, page})
                std::remove(file.c_str());
    }
    if (!keep)
        rmdir(folder.c_str());
    return failures == 0 ? 0 : 1;
}
