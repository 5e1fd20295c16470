#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace Brennovar::RefHost {

class DialogRuntime;

/// What a rendered dialog shows, as a person reads it: every shown control in view order with
/// its bound parameter, value and enabled state, the choices of radio groups and lists, every
/// item of a menu (sub-menus nested, disabled items marked), the rows with their controls, the
/// buttons and the problems of the run. Texts are in the host's language.
class DialogStateReport {
public:
    /// The dialog's state as one JSON object. Menus are brought up to date first, as before
    /// they are shown (IOptionMenuCallback::updateMenu).
    static nlohmann::json capture(DialogRuntime& runtime);
    /// The same as indented text.
    static std::string text(const nlohmann::json& state);
};

} // namespace Brennovar::RefHost
