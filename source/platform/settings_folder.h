#pragma once

#include <filesystem>

namespace Brennovar::Platform {

/// The user-settings folder, "Brennovar" under the user's configuration folder: on Linux
/// $XDG_CONFIG_HOME (when absolute), else ~/.config; on Windows the user's roaming
/// application-data folder. A path, so that a folder name outside ASCII survives on both. The
/// folder is not created. Empty when the user's configuration folder is unknown.
std::filesystem::path settingsFolder();

} // namespace Brennovar::Platform
