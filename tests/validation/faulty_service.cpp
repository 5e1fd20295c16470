// The module's service with one fault built in, chosen by FIXTURE_FAULT, for the validation
// battery's self-test: linked over the module's own entry points in place of its service.
#include "frontend/access_handler.h"
#include "module/host_context.h"
#include "module/service_object.h"

#include <csignal>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

#define FIXTURE_CRASHES_IN_COMMAND 0
#define FIXTURE_LEAKS_HOST_REFERENCE 1
#define FIXTURE_HANGS_IN_COMMAND 2

using namespace Brennovar;

int liveServices = 0;

class FaultyService : public Zintara::AccessHandler {
public:
    FaultyService() : AccessHandler(std::make_unique<ModuleHandleProvider>()) { ++liveServices; }
    ~FaultyService() override { --liveServices; }

#if FIXTURE_FAULT == FIXTURE_CRASHES_IN_COMMAND || FIXTURE_FAULT == FIXTURE_HANGS_IN_COMMAND
    // Crashes, or never returns, when the host runs the current-settings command.
    ResultCode executeCommand(const char* category, const char* name,
                              bool checkOnly) noexcept override {
        if (!checkOnly && name && std::strcmp(name, kCurrentSettingsCommand) == 0) {
            if (FIXTURE_FAULT == FIXTURE_CRASHES_IN_COMMAND)
                std::raise(SIGSEGV);
            for (;;)
                pause();
        }
        return AccessHandler::executeCommand(category, name, checkOnly);
    }
#elif FIXTURE_FAULT == FIXTURE_LEAKS_HOST_REFERENCE
    // Takes the host's object provider once more whenever another instance is alive, and never
    // gives that reference back.
    ResultCode onInitialize() noexcept override {
        if (liveServices > 1 && Zintara::hostObjectProvider())
            Zintara::hostObjectProvider()->addRef();
        return AccessHandler::onInitialize();
    }
#endif
};

} // namespace

FUnknown* Brennovar::createServiceObject(void*) {
    return static_cast<IPluginBase*>(new FaultyService);
}
