#pragma once

#include "host_session.h"
#include "refhost/core/host_behaviours.h"
#include "refhost/files/command_inputs.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

class Project;

/// What the dialog and script commands share: the module, the project (a file or the demo),
/// the settings stored in it before it opens, the host's language and how the host behaves.
struct SessionOptions {
    std::string module = ZINTARA_DEFAULT_MODULE;
    std::string project;
    std::string settings;
    std::string language;
    HostBehaviours behaviours;
};

/// The module, the project and the settings file: what no output of the command may replace.
CommandInputs sessionInputs(const SessionOptions& options);

/// The project file (the demo when `project` is empty) with `settings` stored in it; warnings on
/// the settings are appended. Throws CommandFailure(kExitBadInput) when either cannot be read.
Project& readSessionProject(Host& host, const std::string& project, const std::string& settings,
                            std::vector<std::string>& warnings);

/// Loads the module and starts its service; throws CommandFailure(kExitModuleFailed) with the
/// loader's error and the session's problems (the session is finished) when that fails.
void startModule(HostSession& session, const std::string& module);

/// Reads the project, applies the settings, the language and the host behaviours, loads the
/// module, starts its service and opens the project. Warnings (settings the module will drop, a
/// language it does not offer) are appended to `warnings`. Throws CommandFailure when the
/// project or settings cannot be read (the session is untouched) or the module cannot be started
/// (the session is finished).
Project& openSession(HostSession& session, const SessionOptions& options,
                     std::vector<std::string>& warnings);

} // namespace Brennovar::RefHost
