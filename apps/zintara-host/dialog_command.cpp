#include "dialog_command.h"

#include "dialog_preview.h"
#include "host_behaviour_option.h"
#include "language_option.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/dialog_state_report.h"
#include "refhost/session/host_session.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <iostream>
#include <memory>

namespace Brennovar::RefHost {

namespace {

struct DialogOptions {
    SessionOptions session{kDefaultModule, {}, {}, {}, {}};
    bool json = false;
    std::string html;
    bool checkFit = false;
};

int showDialog(const DialogOptions& options) {
    HostSession session;
    std::vector<std::string> warnings;
    Project& project = session.open(options.session, warnings);
    nlohmann::json state;
    std::vector<std::string> problems = session.showDialog(project, [&](DialogRuntime& runtime) {
        state = DialogStateReport::capture(runtime);
        runtime.close(ResultFalse);
    });
    for (const nlohmann::json& problem :
         state.is_object() ? state["problems"] : nlohmann::json::array())
        problems.push_back("the dialog shows a problem: " + problem.get<std::string>());
    for (std::string& problem : session.finish())
        problems.push_back(std::move(problem));

    if (options.json) {
        nlohmann::json out = state.is_null() ? nlohmann::json::object() : state;
        out["warnings"] = warnings;
        out["hostProblems"] = problems;
        ToolConventions::printJson(out);
    } else {
        if (!state.is_null())
            std::cout << printableLines(DialogStateReport::text(state));
        ToolConventions::printProblems(warnings, problems);
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
            ToolConventions::checkOutput("--html", options->html, options->session.inputs());
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
