#include "dialog_command.h"

#include "dialog_preview.h"
#include "host_behaviour_option.h"
#include "language_option.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/dialog_state_report.h"
#include "refhost/script/script_runner.h"
#include "session_setup.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <iostream>
#include <memory>

namespace Brennovar::RefHost {

namespace {

struct DialogOptions {
    SessionOptions session;
    bool json = false;
    std::string html;
    bool checkFit = false;
};

int showDialog(const DialogOptions& options) {
    HostSession session;
    std::vector<std::string> warnings;
    Project* project = &openSession(session, options.session, warnings);
    std::vector<std::string> problems;
    nlohmann::json state;
    // The dialog command opens its dialog only on a selection with events.
    const auto select = SessionScript::parse(R"([{"do": "select", "objects": "all"}])", "");
    ScriptRunner(session.host(), *project, sessionInputs(options.session)).run(select);
    session.host().dialogService().setDialogDriver([&](DialogRuntime& runtime) {
        state = DialogStateReport::capture(runtime);
        runtime.close(ResultFalse);
    });
    const CommandRun run =
        session.host().runCommand("Create Markers From Selected Events...", "Project");
    session.host().dialogService().setDialogDriver(nullptr);
    if (state.is_null())
        problems.push_back(run.available ? "the module did not open its dialog"
                                         : "the dialog command is not available: the project "
                                           "has no event to select");
    for (const nlohmann::json& problem :
         state.is_object() ? state["problems"] : nlohmann::json::array())
        problems.push_back("the dialog shows a problem: " + problem.get<std::string>());
    for (std::string& problem : session.finish())
        problems.push_back(std::move(problem));

    if (options.json) {
        nlohmann::json out = state.is_null() ? nlohmann::json::object() : state;
        out["warnings"] = warnings;
        out["hostProblems"] = problems;
        std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        if (!state.is_null())
            std::cout << printableLines(DialogStateReport::text(state));
        ToolConventions::printWarnings(warnings);
        for (const std::string& problem : problems)
            std::cerr << "zintara-host: " << printable(problem) << '\n';
    }
    return problems.empty() ? kExitOk : kExitCheckFailed;
}

} // namespace

void addDialogCommand(CLI::App& app) {
    auto options = std::make_shared<DialogOptions>();
    CLI::App* dialog = app.add_subcommand(
        "dialog", "Open the module's dialog on a project and show every control, then cancel");
    dialog->add_option("--module", options->session.module, "The module to load")
        ->capture_default_str();
    dialog
        ->add_option("--project", options->session.project,
                     "A project file (see docs/project-format.md); the built-in demo when absent")
        ->check(CLI::ExistingFile);
    dialog->add_option("--settings", options->session.settings,
                       "Module settings stored in the project before it is opened (JSON; see "
                       "docs/zintara-host.md)");
    ToolConventions::addJsonFlag(*dialog, options->json);
    dialog->add_option("--html", options->html,
                       "Write the dialog as a self-contained HTML page (see "
                       "docs/dialog-preview.md) and list the texts that do not fit");
    dialog
        ->add_flag("--check-fit", options->checkFit,
                   "Lay the dialog out in every language and in pseudolocalization; exit 1 when "
                   "a text does not fit")
        ->excludes("--html");
    addLanguageOption(*dialog, options->session.language);
    addHostBehaviourOption(*dialog, options->session.behaviours);
    ToolConventions::setAction(*dialog, options->json, [options, dialog] {
        ToolConventions::refuseEmptyName(*dialog, {"--module", "--project", "--settings"});
        if (dialog->count("--html") > 0)
            ToolConventions::checkOutput("--html", options->html, sessionInputs(options->session));
        ToolConventions::refuseWithoutEffect(*dialog, "--lang", !options->checkFit,
                                             "--check-fit lays the dialog out in every language");
        if (options->checkFit)
            return checkDialogFit(options->session, options->json);
        return options->html.empty()
                   ? showDialog(*options)
                   : writeDialogPreview(options->session, options->html, options->json);
    });
}

} // namespace Brennovar::RefHost
