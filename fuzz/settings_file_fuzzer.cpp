// Fuzz target for the settings file reader: any document must be applied to the project or
// refused with a FileError, never crash or hang.
#include "refhost/core/host_error.h"
#include "refhost/files/settings_file.h"
#include "refhost/host/host.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Brennovar::RefHost;
    static Host host;
    static Project& project = host.createProject("fuzz");
    try {
        SettingsFile::applyText(std::string_view(reinterpret_cast<const char*>(data), size),
                                "fuzz.json", project);
    } catch (const FileError&) {
    }
    return 0;
}
