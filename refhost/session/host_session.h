#pragma once

#include "refhost/core/host_behaviours.h"
#include "refhost/files/command_inputs.h"
#include "refhost/host/host.h"
#include "refhost/loading/module_loader.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// What a session is opened with: the module, the project (a file, or the demo when empty), the
/// settings stored in it before it opens, the host's language (empty: the user's) and how the
/// host behaves.
struct SessionOptions {
    std::string module;
    std::string project;
    std::string settings;
    std::string language;
    HostBehaviours behaviours;

    /// The module, the project and the settings file: what no output of the session may replace.
    CommandInputs inputs() const;
};

/// One life of a module in a reference host, in a workstation's order: read the project, load
/// the module, start its service with the host and open the project; at the end close the
/// project, stop the service, take back what the module left registered, unload it and audit
/// every reference. Errors are HostErrors with the tool's exit status.
///
/// The host is declared before the loader, so that the loader is destroyed first: unloading the
/// module gives references back to host objects, which must still exist.
class HostSession {
public:
    HostSession() = default;
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    /// readProject, then start.
    Project& open(const SessionOptions& options, std::vector<std::string>& warnings);
    /// The project file (the demo when none is named) with the settings stored in it; warnings
    /// on the settings are appended. Throws a FileError when either cannot be read.
    Project& readProject(const SessionOptions& options, std::vector<std::string>& warnings);
    /// Sets the language and behaviours, loads the module, starts its service and opens the
    /// project; a warning when the module does not offer the language. Throws
    /// HostError(kExitModuleFailed) with the loader's error and the session's problems (the
    /// session is then finished) when the module cannot be started.
    void start(const SessionOptions& options, Project& project, std::vector<std::string>& warnings);

    /// Loads the module; false with loader().error() when it cannot be loaded.
    bool load(const std::string& modulePath);
    /// Initializes the service with the host; false with loader().error().
    bool startService();

    /// Selects every event (the dialog command shows its dialog only on a selection with events)
    /// and runs the dialog command while `driver` works the dialog. The problems: the dialog
    /// did not open, or the command was not available; empty when `driver` ran.
    std::vector<std::string> showDialog(Project& project,
                                        const DialogService::DialogDriver& driver);

    /// Shuts everything down and returns what went wrong, one readable line each; empty when
    /// the module shut down cleanly and every reference came back. Safe to call more than once.
    std::vector<std::string> finish();

    Host& host() noexcept { return host_; }
    ModuleLoader& loader() noexcept { return loader_; }

private:
    Host host_;
    ModuleLoader loader_;
};

} // namespace Brennovar::RefHost
