#include "show_command.h"

#include "host_session.h"
#include "refhost/files/project_file.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"
#include "refhost/project/project_state.h"

#include <iostream>
#include <memory>
#include <string>

namespace Brennovar::RefHost {

namespace {

struct ShowOptions {
    std::string project;
    std::string out;
};

int show(const ShowOptions& options) {
    Host host;
    Project* project = nullptr;
    try {
        project = options.project.empty() ? &DemoProject::build(host)
                                          : &ProjectFile::read(host, options.project);
    } catch (const ProjectFileError& e) {
        std::cerr << "zintara-host: " << e.what() << '\n';
        return kExitBadInput;
    }
    std::cout << captureState(*project).text();
    const ProjectObject* active = project->activeMarkerTrack();
    std::cout << "active marker track: "
              << (active ? ProjectFile::pointerOf(*active) : std::string("(none)")) << '\n';
    std::cout << "new marker track offered: " << (project->offersNewMarkerTrack() ? "yes" : "no")
              << '\n';
    std::cout << "selection:";
    for (const ProjectObject* object : project->selection().objects())
        std::cout << ' ' << ProjectFile::pointerOf(*object);
    std::cout << '\n';
    if (options.out.empty())
        return kExitOk;
    try {
        ProjectFile::save(*project, options.out);
    } catch (const ProjectFileError& e) {
        std::cerr << "zintara-host: " << e.what() << '\n';
        return kExitOutputFailed;
    }
    return kExitOk;
}

} // namespace

void addShowCommand(CLI::App& app) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand(
        "show", "Check and list a project file (or the demo project) without loading a module");
    command
        ->add_option("--project", options->project,
                     "A project file (see docs/project-format.md); the built-in demo when absent")
        ->check(CLI::ExistingFile);
    command->add_option("--out", options->out, "Write the project to this file in canonical form");
    command->callback([options] {
        if (int status = show(*options))
            throw CLI::RuntimeError(status);
    });
}

} // namespace Brennovar::RefHost
