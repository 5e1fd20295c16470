#pragma once

#include "host/plug_controller.h"
#include "module/owned.h"
#include "refhost/core/host_environment.h"
#include "refhost/dialog/skin_element.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

class HostParameter;

/// The values of the enclosing `for` variables: each variable with its value.
using ViewVariables = std::vector<std::pair<std::string, std::string>>;

/// What a view is built with: the controller its controls bind through (borrowed; held by the
/// runtime or by an enclosing view), the values of the enclosing `for` variables (shared by the
/// views built with them; null when there are none), and the name of the template the element
/// comes from, as the skin spells it.
struct BuildContext {
    IPlugController* controller = nullptr;
    std::shared_ptr<const ViewVariables> variables;
    std::string_view templateName;
    int depth = 0;
};

/// One element of a rendered dialog. Views that resolve a sub-controller hold a reference to
/// it for as long as they exist; their children are destroyed first.
struct ViewNode {
    /// The skin element this view was built from; null for the template's buttons.
    const SkinElement* element = nullptr;
    /// The element type ("option-menu", "controller", ...) or "button".
    std::string type;
    /// The `name` attribute with the `for` variables substituted.
    std::string name;
    BuildContext context;
    /// The parameter a control is bound to; null for unbound elements. The view holds it, so
    /// that it outlives a controller that replaces it before the view is rebuilt.
    HostParameter* parameter = nullptr;
    HostHold parameterHold;
    /// The parameter version a dependent view was built at.
    std::uint64_t builtVersion = 0;
    /// The sub-controller a `controller` view resolved; empty for an empty slot.
    Owned<IPlugController> heldController;
    std::vector<std::unique_ptr<ViewNode>> children;

    std::string_view attribute(std::string_view key) const noexcept {
        return element ? element->attribute(key) : std::string_view();
    }
};

} // namespace Brennovar::RefHost
