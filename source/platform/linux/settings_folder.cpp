#include "platform/settings_folder.h"

#include <cstdlib>
#include <string>

namespace Brennovar::Platform {

namespace {

constexpr const char* kFolderName = "Brennovar";

// An unset or empty variable does not count. A relative XDG_CONFIG_HOME is ignored too, as the
// XDG base-directory rules ask, so that settings never land relative to the host's working
// directory.
const char* absolutePathFrom(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value == '/' ? value : nullptr;
}

std::string joined(std::string folder, const char* tail) {
    if (folder.back() != '/')
        folder += '/';
    return folder + tail;
}

} // namespace

std::filesystem::path settingsFolder() {
    if (const char* config = absolutePathFrom("XDG_CONFIG_HOME"))
        return joined(config, kFolderName);
    if (const char* home = absolutePathFrom("HOME"))
        return joined(joined(home, ".config"), kFolderName);
    return {};
}

} // namespace Brennovar::Platform
