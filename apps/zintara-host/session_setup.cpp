#include "session_setup.h"

#include "refhost/files/project_file.h"
#include "refhost/files/settings_file.h"
#include "refhost/project/demo_project.h"

#include <iostream>

namespace Brennovar::RefHost {

Project* openSession(HostSession& session, const SessionOptions& options, int& status) {
    Host& host = session.host();
    Project* project = nullptr;
    try {
        project = options.project.empty() ? &DemoProject::build(host)
                                          : &ProjectFile::read(host, options.project);
        if (!options.settings.empty())
            SettingsFile::apply(options.settings, *project);
    } catch (const ProjectFileError& e) {
        std::cerr << "zintara-host: " << e.what() << '\n';
        status = kExitBadInput;
        return nullptr;
    }
    if (!options.language.empty())
        host.translationService().setLanguage(options.language);
    if (!session.load(options.module) || !session.startService()) {
        std::cerr << "zintara-host: " << session.loader().error() << '\n';
        for (const std::string& problem : session.finish())
            std::cerr << "zintara-host: " << problem << '\n';
        status = kExitModuleFailed;
        return nullptr;
    }
    host.openProject(*project);
    return project;
}

} // namespace Brennovar::RefHost
