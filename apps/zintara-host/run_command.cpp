#include "run_command.h"

#include "host_behaviour_option.h"
#include "host_session.h"
#include "language_option.h"
#include "refhost/core/text_conversion.h"
#include "refhost/files/project_file.h"
#include "refhost/project/project_object.h"
#include "refhost/project/project_state.h"
#include "refhost/script/script_runner.h"
#include "run_report.h"
#include "script_command.h"
#include "session_setup.h"
#include "tool_conventions.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

namespace {

constexpr const char* kCategory = "Project";
constexpr const char* kCurrentSettingsCommand =
    "Create Markers From Selected Events with current Settings";
constexpr const char* kDialogCommand = "Create Markers From Selected Events...";

struct RunOptions {
    std::string module = ZINTARA_DEFAULT_MODULE;
    std::string project;
    /// Empty: "keep" for a project file, "all" for the demo.
    std::string select;
    std::string command = "current";
    bool confirm = false;
    std::string out;
    bool json = false;
    bool undo = false;
    std::string language;
    std::string settings;
    std::string script;
    HostBehaviours behaviours;
    bool outGiven = false;
};

/// --select: "all" selects every event (audio events and parts, in project order), "none"
/// clears the selection, "keep" leaves the project's own.
void applySelection(Project& project, const std::string& mode) {
    if (mode == "keep")
        return;
    std::vector<ProjectObject*> selected = project.selection().objects();
    for (ProjectObject* object : selected)
        project.select(*object, false);
    if (mode == "all")
        project.selectEvents();
}

/// Undoes the run and checks that the project is back as it was; selection does not count,
/// since it is not part of the undo history. Returns whether it is.
bool undoRun(Host& host, Project& project, const ProjectState& before, std::size_t stepsBefore,
             std::vector<std::string>& problems) {
    bool madeStep = project.history().undoCount() > stepsBefore;
    if (madeStep && !host.undo())
        problems.push_back("undo of the run was refused");
    std::string difference =
        describeDifference(before, captureState(project, CaptureOptions{false}));
    if (!difference.empty())
        problems.push_back(
            madeStep ? "after undo the project differs from before the run: " + difference
                     : "the run changed the project outside an undoable edit: " + difference);
    return difference.empty();
}

void storeAndSave(Host& host, Project& project, const std::string& path,
                  const CommandInputs& inputs, std::vector<std::string>& problems, int& status) {
    // The module writes its settings into the project while it is being stored, so that they
    // travel in the file as project attributes.
    host.storeProject();
    try {
        ProjectFile::save(project, path, inputs);
    } catch (const ProjectFileError& e) {
        problems.push_back(e.what());
        status = kExitOutputFailed;
    }
}

int runCommand(const RunOptions& options) {
    if (options.module.empty())
        throw CommandFailure(kExitBadInput, "--module needs a file name");
    const CommandInputs inputs = sessionInputs(
        {options.module, options.project, options.settings, options.language, options.behaviours});
    if (options.outGiven)
        ToolConventions::checkOutput("--out", options.out, inputs);
    HostSession session;
    Host& host = session.host();
    std::vector<std::string> warnings;
    Project* project = &readSessionProject(host, options.project, options.settings, warnings);
    applySelection(*project, !options.select.empty()   ? options.select
                             : options.project.empty() ? "all"
                                                       : "keep");
    if (!options.language.empty())
        host.translationService().setLanguage(options.language);
    host.environment().behaviours() = options.behaviours;
    // --confirm is the one-step script that presses ok in the dialog as it is shown.
    const std::vector<ScriptStep> confirm = SessionScript::parse(R"([{"do": "ok"}])", "--confirm");
    ScriptRunner dialogUser(host, *project, inputs);
    if (options.confirm)
        dialogUser.driveDialogs(confirm);

    startModule(session, options.module);
    host.openProject(*project);
    if (std::string warning = languageWarning(host.translationService(), options.language);
        !warning.empty())
        warnings.push_back(std::move(warning));

    const std::string command =
        options.command == "dialog" ? kDialogCommand : kCurrentSettingsCommand;
    // The state before the run is only needed to check undo; it is as large as the project.
    const ProjectState before =
        options.undo ? captureState(*project, CaptureOptions{false}) : ProjectState{};
    const std::size_t stepsBefore = project->history().undoCount();
    const std::size_t editsBefore = project->history().closedEdits().size();
    const auto markersBefore = RunReport::markersOf(*project);

    const CommandRun run = host.runCommand(command, kCategory);

    std::vector<std::string> problems;
    std::string undoName;
    const auto& edits = project->history().closedEdits();
    if (edits.size() > editsBefore)
        undoName = utf8(edits.back().name);
    if (edits.size() > editsBefore + 1)
        problems.push_back("the run made " + std::to_string(edits.size() - editsBefore) +
                           " edits instead of one");
    if (project->history().editOpen())
        problems.push_back("the run left an edit open");
    // Written now, before undo takes the markers back.
    RunReport report(std::cout, options.json);
    report.writeRun(command, run, undoName, *project, markersBefore);

    int status = kExitOk;
    std::optional<bool> undoRestored;
    if (options.undo)
        undoRestored = undoRun(host, *project, before, stepsBefore, problems);
    if (options.outGiven)
        storeAndSave(host, *project, options.out, inputs, problems, status);

    for (std::string& problem : session.finish())
        problems.push_back(std::move(problem));
    if (!problems.empty() && status == kExitOk)
        status = kExitCheckFailed;

    report.finish(undoRestored, warnings, problems);
    if (!options.json) {
        ToolConventions::printWarnings(warnings);
        for (const std::string& problem : problems)
            std::cerr << "zintara-host: " << problem << '\n';
    }
    return status;
}

} // namespace

void addRunCommand(CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* run = app.add_subcommand(
        "run", "Run the module's marker command on a project and show the markers it made");
    run->add_option("--module", options->module, "The module to load")->capture_default_str();
    run->add_option("--project", options->project,
                    "A project file (see docs/project-format.md); the built-in demo when absent");
    run->add_option("--select", options->select,
                    "What is selected before the run: every event, nothing, or the project's "
                    "own selection; default: keep for a project file, all for the demo")
        ->check(CLI::IsMember({"all", "none", "keep"}));
    run->add_option("--command", options->command,
                    "current: \"Create Markers From Selected Events with current Settings\"; "
                    "dialog: \"Create Markers From Selected Events...\"")
        ->check(CLI::IsMember({"current", "dialog"}))
        ->capture_default_str();
    CLI::Option* confirm =
        run->add_flag("--confirm", options->confirm,
                      "Confirm the module's dialog unchanged (otherwise it is cancelled)");
    run->add_option("--out", options->out,
                    "Store the project (with the module's settings) into this file after the run");
    ToolConventions::addJsonFlag(*run, options->json);
    run->add_flag("--undo", options->undo,
                  "Undo the run afterwards and check that the project is as before");
    run->add_option("--settings", options->settings,
                    "Module settings to store in the project before it is opened (JSON; see "
                    "docs/zintara-host.md)");
    addLanguageOption(*run, options->language);
    run->add_option("--script", options->script,
                    "Run a session script instead: a JSON list of steps in and around the "
                    "dialog (see docs/zintara-host.md)")
        ->check(CLI::ExistingFile)
        ->excludes(confirm);
    addHostBehaviourOption(*run, options->behaviours);
    ToolConventions::setAction(*run, options->json, [options, run] {
        options->outGiven = run->count("--out") > 0;
        ToolConventions::refuseEmptyName(*run, {"--project", "--settings", "--script"});
        ToolConventions::refuseWithoutEffect(*run, "--confirm", options->command == "dialog",
                                             "only the dialog command shows a dialog");
        ToolConventions::refuseWithoutEffect(
            *run, "--host-behaviour", options->command == "dialog" || !options->script.empty(),
            "the host behaviours concern the dialog, which only the dialog command and scripts "
            "show");
        if (options->script.empty())
            return runCommand(*options);
        for (const char* option : {"--command", "--select", "--out", "--undo"})
            ToolConventions::refuseWithoutEffect(*run, option, false,
                                                 "a script says itself what to select, run, "
                                                 "undo and store");
        return runScript({options->module, options->project, options->settings, options->language,
                          options->behaviours},
                         options->script, options->json);
    });
}

} // namespace Brennovar::RefHost
