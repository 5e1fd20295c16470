#include "run_command.h"

#include "host_behaviour_option.h"
#include "language_option.h"
#include "module/module_names.h"
#include "refhost/files/output_file.h"
#include "refhost/files/project_file.h"
#include "refhost/project/project.h"
#include "refhost/script/script_runner.h"
#include "refhost/session/host_session.h"
#include "refhost/session/run_audit.h"
#include "refhost/timeline/timeline_page.h"
#include "run_report.h"
#include "script_command.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace Brennovar::RefHost {

namespace {

struct RunOptions {
    SessionOptions session{kDefaultModule, {}, {}, {}, {}};
    /// Empty: "keep" for a project file, "all" for the demo.
    std::string select;
    std::string command = "current";
    bool confirm = false;
    std::string out;
    bool json = false;
    bool undo = false;
    std::string script;
    std::string timeline;
    bool outGiven = false;
    bool timelineGiven = false;
};

/// --select: "all" selects every event (audio events and parts, in project order), "none"
/// clears the selection, "keep" leaves the project's own.
void applySelection(Project& project, const std::string& mode) {
    if (mode == "keep")
        return;
    for (ProjectObject* object : std::vector<ProjectObject*>(project.selection().objects()))
        project.select(*object, false);
    if (mode == "all")
        project.selectEvents();
}

/// Whether two names of outputs lead to one file: the same file now, or the same path once
/// made absolute, normal and free of symbolic links.
bool sameOutput(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const std::filesystem::path first = std::filesystem::weakly_canonical(a, error);
    if (error)
        return false;
    const std::filesystem::path second = std::filesystem::weakly_canonical(b, error);
    return !error && first == second;
}

/// --timeline: the page of the project as the run left it, marks and all. False, with the
/// reason among the problems, when it cannot be written.
bool writeTimeline(const RunOptions& options, const CommandInputs& inputs, const Project& project,
                   const TimelineMarks& marks, const TimelineHeading& heading,
                   std::vector<std::string>& problems) {
    TimelinePage::Size size{};
    try {
        OutputFile::replace(
            options.timeline,
            [&](std::ostream& out) { size = TimelinePage::write(out, project, marks, heading); },
            inputs);
    } catch (const HostError& e) {
        problems.push_back(e.what());
        return false;
    }
    if (!options.json)
        std::cout << "\nTimeline " << printable(options.timeline) << ": " << size.lanes
                  << " lanes, " << size.width << " x " << size.height << " px\n";
    return true;
}

int runCommand(const RunOptions& options) {
    if (options.session.module.empty())
        throw HostError(kExitBadInput, "--module needs a file name");
    const CommandInputs inputs = options.session.inputs();
    if (options.outGiven)
        ToolConventions::checkOutput("--out", options.out, inputs);
    if (options.timelineGiven) {
        ToolConventions::checkOutput("--timeline", options.timeline, inputs);
        if (options.outGiven && sameOutput(options.out, options.timeline))
            throw HostError(kExitBadInput, "--timeline and --out both name " + options.timeline +
                                               "; one would replace the other");
    }
    HostSession session;
    Host& host = session.host();
    std::vector<std::string> warnings;
    Project& project = session.readProject(options.session, warnings);
    applySelection(project, !options.select.empty()           ? options.select
                            : options.session.project.empty() ? "all"
                                                              : "keep");
    // --confirm is the one-step script that presses ok in the dialog as it is shown.
    const std::vector<ScriptStep> confirm = SessionScript::parse(R"([{"do": "ok"}])", "--confirm");
    ScriptRunner dialogUser(host, project, inputs);
    session.start(options.session, project, warnings);

    const std::string command = options.command == "dialog"
                                    ? Zintara::Names::kDialogCommand
                                    : Zintara::Names::kCurrentSettingsCommand;
    const RunAudit audit(project, options.undo);
    std::unordered_set<const ProjectObject*> selected;
    if (options.timelineGiven)
        selected.insert(project.selection().objects().begin(), project.selection().objects().end());
    const CommandRun run =
        host.runCommand(command, Zintara::Names::kCommandCategory,
                        options.confirm ? dialogUser.dialogDriver(confirm) : nullptr);
    std::vector<std::string> problems;
    const std::string undoName = audit.afterRun(problems);
    // Written now, before undo takes the markers back.
    RunReport report(std::cout, options.json);
    report.writeRun(command, run, undoName, project, audit.markersBefore());

    int status = kExitOk;
    if (options.timelineGiven &&
        !writeTimeline(options, inputs, project, {selected, audit.markersBefore()},
                       {report.summary(), "\"" + command + "\" on \"" + project.name() +
                                              "\": " + RunReport::resultLine(command, run)},
                       problems))
        status = kExitOutputFailed;
    std::optional<bool> undoRestored;
    if (options.undo)
        undoRestored = audit.undo(host, problems);
    if (options.outGiven) {
        // The module writes its settings into the project while it is being stored, so that
        // they travel in the file as project attributes.
        host.storeProject();
        try {
            ProjectFile::save(project, options.out, inputs);
        } catch (const HostError& e) {
            problems.push_back(e.what());
            status = kExitOutputFailed;
        }
    }
    for (std::string& problem : session.finish())
        problems.push_back(std::move(problem));
    if (!problems.empty() && status == kExitOk)
        status = kExitCheckFailed;

    report.finish(undoRestored, warnings, problems);
    if (!options.json)
        ToolConventions::printProblems(warnings, problems);
    return status;
}

} // namespace

void addRunCommand(CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* run = app.add_subcommand(
        "run", "Run the module's marker command on a project and show the markers it made");
    run->add_option("--module", options->session.module, "The module to load")
        ->capture_default_str();
    run->add_option("--project", options->session.project,
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
    run->add_option("--timeline", options->timeline,
                    "Write the project's timeline after the run, with the selected events and "
                    "the markers the run made, as an HTML page to this file");
    ToolConventions::addJsonFlag(*run, options->json);
    run->add_flag("--undo", options->undo,
                  "Undo the run afterwards and check that the project is as before");
    run->add_option("--settings", options->session.settings,
                    "Module settings to store in the project before it is opened (JSON; see "
                    "docs/zintara-host.md)");
    addLanguageOption(*run, options->session.language);
    run->add_option("--script", options->script,
                    "Run a session script instead: a JSON list of steps in and around the "
                    "dialog (see docs/zintara-host.md)")
        ->check(CLI::ExistingFile)
        ->excludes(confirm);
    addHostBehaviourOption(*run, options->session.behaviours);
    ToolConventions::setAction(*run, options->json, [options, run] {
        options->outGiven = run->count("--out") > 0;
        options->timelineGiven = run->count("--timeline") > 0;
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
        ToolConventions::refuseWithoutEffect(*run, "--timeline", false,
                                             "a script may run the command any number of times, "
                                             "and the page shows one run");
        return runScript(options->session, options->script, options->json);
    });
}

} // namespace Brennovar::RefHost
