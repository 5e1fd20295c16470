#pragma once

#include "frontend/access_handler.h"
#include "module/host_context.h"
#include "module/module_handle_provider.h"
#include "refhost/host/host.h"
#include "refhost/project/demo_project.h"

#include <memory>
#include <utility>

namespace Brennovar::Testing {

/// The module's service linked into the program (so that a fuzzer sees its code), started in a
/// reference host holding the demo project, whose settings it stored once: every opening of the
/// project restores the same settings. `fail` reports a service that does not start, and must
/// not return.
class LinkedService {
public:
    using Failure = void (*)(const char* what);

    explicit LinkedService(Failure fail) {
        if (service->initialize(host.context()) != ResultOk)
            fail("the service did not start");
        host.openProject(project);
        host.storeProject();
        host.closeProject();
    }
    ~LinkedService() { stop(); }
    LinkedService(const LinkedService&) = delete;
    LinkedService& operator=(const LinkedService&) = delete;

    /// Ends the service and lets go of everything it holds from the host; the host stays, so
    /// its account of references can be read afterwards.
    void stop() {
        if (!service)
            return;
        service->terminate();
        host.releaseClientObjects();
        std::exchange(service, nullptr)->release();
        if (IHostObjectProvider*& provider = Zintara::hostObjectProvider()) {
            provider->release();
            provider = nullptr;
        }
    }

    RefHost::Host host;
    RefHost::Project& project = RefHost::DemoProject::build(host);
    Zintara::AccessHandler* service =
        new Zintara::AccessHandler(std::make_unique<ModuleHandleProvider>());
};

} // namespace Brennovar::Testing
