// Fuzz target for the dialog: any sequence of a user's actions in the marker dialog, confirmed
// or cancelled, under any of the ways a host may behave (the first byte chooses them and the
// host's seed), must leave no crash, no problem in the rendered dialog or the host and no
// reference behind.
// The module's service is linked in, so the fuzzer sees its code.
//
// One host and one service serve a series of inputs, as in a long session: each input starts
// from the same project with the same stored settings (the project is reopened, so the service
// restores them) and ends with the run undone. The host keeps an account of every object it
// made, so a session ends after a while, with every reference checked.
#include "module/module_names.h"
#include "refhost/dialog/dialog_action_player.h"
#include "refhost/project/project_object.h"
#include "support/linked_service.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

using namespace Brennovar;
using namespace Brennovar::RefHost;

// References the service holds from the host right now.
std::int64_t outstanding(Host& host) {
    if (host.environment().overReleaseCount() != 0)
        __builtin_trap();
    return host.environment().clientReferencesHeld();
}

constexpr int kInputsPerSession = 64;

[[noreturn]] void fail(const char*) {
    __builtin_trap();
}

/// A session of the service in its host, whose end checks every reference the service held.
struct Session {
    Session() : linked(fail) {}
    ~Session() {
        linked.stop();
        // The counts the host keeps as references move say what its full report would, without
        // a walk over every object it made: no reference left, none released too often.
        if (outstanding(linked.host) != 0)
            __builtin_trap();
    }

    Testing::LinkedService linked;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<Session> current;
    static int inputs = 0;
    if (inputs++ % kInputsPerSession == 0) {
        current.reset();
        current = std::make_unique<Session>();
    }
    Testing::LinkedService& session = current->linked;
    Host& host = session.host;
    host.openProject(session.project);
    session.project.selectEvents();
    const std::int64_t before = outstanding(host);
    HostBehaviours& behaviours = host.environment().behaviours();
    behaviours = HostBehaviours::fromBits(size > 0 ? data[0] & HostBehaviours::kAll : 0);
    behaviours.seed = size > 0 ? data[0] >> 4 : 0;
    bool clean = false;
    host.runCommand(Zintara::Names::kDialogCommand, Zintara::Names::kCommandCategory,
                    [&](DialogRuntime& runtime) {
                        DialogActionPlayer({data, size}).play(runtime);
                        if (!runtime.closed())
                            DialogUser(runtime).press(size % 2 ? "ok" : "cancel");
                        clean = runtime.problems().empty();
                    });
    host.undo();
    if (!clean || outstanding(host) != before || !host.environment().problems().empty())
        __builtin_trap();
    host.closeProject();
    return 0;
}
