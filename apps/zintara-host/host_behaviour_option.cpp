#include "host_behaviour_option.h"

#include "refhost/core/host_error.h"

namespace Brennovar::RefHost {

CLI::Option* addHostBehaviourOption(CLI::App& command, HostBehaviours& behaviours) {
    return command
        .add_option_function<std::string>(
            "--host-behaviour",
            [&behaviours](const std::string& list) {
                try {
                    behaviours = HostBehaviours::parse(list);
                } catch (const HostError& error) {
                    throw CLI::ValidationError("--host-behaviour", error.what());
                }
            },
            "How the host behaves where a module cannot count on one answer, comma-separated: "
            "echo, late-rebuild, double-click, immediate-rebuild, all (see "
            "docs/zintara-host.md)")
        ->type_name("LIST");
}

} // namespace Brennovar::RefHost
