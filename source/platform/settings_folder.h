#pragma once

#include <string>

namespace Brennovar::Platform {

/// The user-settings folder: $XDG_CONFIG_HOME/Brennovar, else ~/.config/Brennovar. The folder is
/// not created. Empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string settingsFolder();

} // namespace Brennovar::Platform
