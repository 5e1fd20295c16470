#pragma once

#include "exit_status.h"
#include "refhost/core/host.h"
#include "refhost/loading/module_loader.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// One life of a module in a reference host, in a workstation's order: load the module, start
/// its service with the host, and at the end close the project, stop the service, take back
/// what the module left registered, unload it and audit every reference.
class HostSession {
public:
    HostSession() = default;
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    /// Loads the module; false with loader().error() when it cannot be loaded.
    bool load(const std::string& modulePath);
    /// Initializes the service with the host; false with loader().error().
    bool startService();
    /// Shuts everything down and returns what went wrong, one readable line each; empty when
    /// the module shut down cleanly and every reference came back. Safe to call more than once.
    std::vector<std::string> finish();

    Host& host() noexcept { return host_; }
    ModuleLoader& loader() noexcept { return loader_; }

private:
    // The loader is declared after the host so that it is destroyed first: unloading the
    // module gives references back to host objects, which must still exist.
    Host host_;
    ModuleLoader loader_;
};

} // namespace Brennovar::RefHost
