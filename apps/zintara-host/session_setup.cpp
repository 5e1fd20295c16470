#include "session_setup.h"

#include "command_failure.h"
#include "language_option.h"
#include "refhost/files/project_file.h"
#include "refhost/files/settings_file.h"
#include "refhost/project/demo_project.h"

namespace Brennovar::RefHost {

CommandInputs sessionInputs(const SessionOptions& options) {
    CommandInputs inputs;
    inputs.add("the module", options.module)
        .add("the project", options.project)
        .add("the settings file", options.settings);
    return inputs;
}

Project& readSessionProject(Host& host, const std::string& project, const std::string& settings,
                            std::vector<std::string>& warnings) {
    try {
        Project& read =
            project.empty() ? DemoProject::build(host) : ProjectFile::read(host, project);
        if (!settings.empty())
            for (std::string& warning : SettingsFile::apply(settings, read))
                warnings.push_back(std::move(warning));
        return read;
    } catch (const ProjectFileError& e) {
        throw CommandFailure(kExitBadInput, e);
    }
}

void startModule(HostSession& session, const std::string& module) {
    if (session.load(module) && session.startService())
        return;
    std::string message = session.loader().error();
    for (const std::string& problem : session.finish())
        message += "; " + problem;
    throw CommandFailure(kExitModuleFailed, message);
}

Project& openSession(HostSession& session, const SessionOptions& options,
                     std::vector<std::string>& warnings) {
    Host& host = session.host();
    Project& project = readSessionProject(host, options.project, options.settings, warnings);
    if (!options.language.empty())
        host.translationService().setLanguage(options.language);
    host.environment().behaviours() = options.behaviours;
    startModule(session, options.module);
    host.openProject(project);
    if (std::string warning = languageWarning(host.translationService(), options.language);
        !warning.empty())
        warnings.push_back(std::move(warning));
    return project;
}

} // namespace Brennovar::RefHost
