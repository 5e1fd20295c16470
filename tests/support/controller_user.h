#pragma once

#include "host/plug_controller.h"
#include "module/owned.h"
#include "refhost/controls/host_parameter.h"
#include "refhost/core/host_environment.h"

#include <stdexcept>
#include <string>

namespace Brennovar::Testing {

/// Plays the user on a dialog's controllers directly, as the host's dialog would: finds controls by
/// the names the skin binds and changes their host parameters.
class ControllerUser {
public:
    explicit ControllerUser(RefHost::HostEnvironment& environment) : environment_(environment) {}

    /// The host side of the controller's parameter with that name; throws when there is none.
    RefHost::HostParameter& parameter(IPlugController& controller, const char* name) {
        IHostParameter* found = nullptr;
        controller.getParameter(name, &found);
        auto* side = environment_.resolveAs<RefHost::HostParameter>(found);
        if (!side)
            throw std::runtime_error(std::string("no parameter ") + name);
        return *side;
    }
    /// The controller of mapping row `index`; throws when the dialog has none.
    IPlugController& row(IPlugController& dialog, int index) {
        auto sub = Owned<IPlugController3>::query(&dialog);
        const std::string name = "AttributeMappingViewController" + std::to_string(index);
        IPlugController* found = nullptr;
        if (!sub || sub->getSubController(name.c_str(), &found) != ResultOk || !found)
            throw std::runtime_error("no " + name);
        return *found;
    }

private:
    RefHost::HostEnvironment& environment_;
};

} // namespace Brennovar::Testing
