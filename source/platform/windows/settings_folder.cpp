#include "platform/settings_folder.h"

#include <shlobj.h>

namespace Brennovar::Platform {

std::filesystem::path settingsFolder() {
    wchar_t* appData = nullptr;
    std::filesystem::path folder;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData) == S_OK && appData)
        folder = std::filesystem::path(appData) / L"Brennovar";
    CoTaskMemFree(appData);
    return folder;
}

} // namespace Brennovar::Platform
