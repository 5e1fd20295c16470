#include "refhost/session/host_session.h"

#include "module/module_names.h"
#include "refhost/files/project_file.h"
#include "refhost/files/settings_file.h"
#include "refhost/project/demo_project.h"

namespace Brennovar::RefHost {

CommandInputs SessionOptions::inputs() const {
    CommandInputs inputs;
    inputs.add("the module", module).add("the project", project).add("the settings file", settings);
    return inputs;
}

Project& HostSession::open(const SessionOptions& options, std::vector<std::string>& warnings) {
    Project& project = readProject(options, warnings);
    start(options, project, warnings);
    return project;
}

Project& HostSession::readProject(const SessionOptions& options,
                                  std::vector<std::string>& warnings) {
    Project& project = options.project.empty() ? DemoProject::build(host_)
                                               : ProjectFile::read(host_, options.project);
    if (!options.settings.empty())
        for (std::string& warning : SettingsFile::apply(options.settings, project))
            warnings.push_back(std::move(warning));
    return project;
}

void HostSession::start(const SessionOptions& options, Project& project,
                        std::vector<std::string>& warnings) {
    if (!options.language.empty())
        host_.translationService().setLanguage(options.language);
    host_.environment().behaviours() = options.behaviours;
    if (!load(options.module) || !startService()) {
        std::string message = loader_.error();
        for (const std::string& problem : finish())
            message += "; " + problem;
        throw HostError(kExitModuleFailed, message);
    }
    host_.openProject(project);
    if (std::string warning = host_.translationService().languageWarning(options.language);
        !warning.empty())
        warnings.push_back(std::move(warning));
}

bool HostSession::load(const std::string& modulePath) {
    return loader_.load(modulePath);
}

bool HostSession::startService() {
    return loader_.startService(host_.context());
}

std::vector<std::string> HostSession::showDialog(Project& project,
                                                 const DialogService::DialogDriver& driver) {
    for (ProjectObject* object : std::vector<ProjectObject*>(project.selection().objects()))
        project.select(*object, false);
    project.selectEvents();
    bool shown = false;
    const CommandRun run =
        host_.runCommand(Zintara::Names::kDialogCommand, Zintara::Names::kCommandCategory,
                         [&](DialogRuntime& runtime) {
                             shown = true;
                             driver(runtime);
                         });
    if (shown)
        return {};
    return {run.available ? "the module did not open its dialog"
                          : "the dialog command is not available: the project has no event to "
                            "select"};
}

std::vector<std::string> HostSession::finish() {
    std::vector<std::string> problems = host_.environment().problems();
    host_.closeProject();
    if (!loader_.stopService())
        problems.push_back(loader_.error());
    // Whatever the service did not remove at terminate still holds host references to module
    // objects; they go back now, while the module's code is still loaded.
    if (std::size_t left = host_.releaseClientObjects())
        problems.push_back("the module left " + std::to_string(left) +
                           " listener(s) or handler(s) registered after terminate");
    if (!loader_.unload())
        problems.push_back(loader_.error());
    ReferenceReport report = host_.references();
    if (!report.clean()) {
        std::string text = report.text();
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        problems.push_back(text);
    }
    return problems;
}

} // namespace Brennovar::RefHost
