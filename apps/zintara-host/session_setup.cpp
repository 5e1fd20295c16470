#include "session_setup.h"

#include "command_failure.h"
#include "language_option.h"
#include "refhost/files/project_file.h"
#include "refhost/files/settings_file.h"
#include "refhost/project/demo_project.h"

#include <iostream>

namespace Brennovar::RefHost {

Project& openSession(HostSession& session, const SessionOptions& options) {
    Host& host = session.host();
    Project* project = nullptr;
    std::vector<std::string> warnings;
    try {
        project = options.project.empty() ? &DemoProject::build(host)
                                          : &ProjectFile::read(host, options.project);
        if (!options.settings.empty())
            warnings = SettingsFile::apply(options.settings, *project);
    } catch (const ProjectFileError& e) {
        throw CommandFailure(kExitBadInput, e);
    }
    if (!options.language.empty())
        host.translationService().setLanguage(options.language);
    if (!session.load(options.module) || !session.startService()) {
        std::string message = session.loader().error();
        for (const std::string& problem : session.finish())
            message += "; " + problem;
        throw CommandFailure(kExitModuleFailed, message);
    }
    host.openProject(*project);
    if (std::string warning = languageWarning(host.translationService(), options.language);
        !warning.empty())
        warnings.push_back(std::move(warning));
    for (const std::string& warning : warnings)
        std::cerr << "zintara-host: warning: " << warning << '\n';
    return *project;
}

} // namespace Brennovar::RefHost
