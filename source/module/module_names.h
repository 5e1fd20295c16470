#pragma once

namespace Brennovar::Zintara {

/// The category of the module's commands and their names.
inline constexpr const char* kCommandCategory = "Project";
inline constexpr const char* kDialogCommand = "Create Markers From Selected Events...";
inline constexpr const char* kCurrentSettingsCommand =
    "Create Markers From Selected Events with current Settings";

} // namespace Brennovar::Zintara
