#include "platform/embedded_resources.h"

#include <string>
#include <windows.h>

namespace Brennovar::Platform {

// Raw data resources (type 10) in any language; the module carries its own in language 1031.
// The resource loader compares names without regard to case. A name with a null character
// cannot be a resource name.
std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module,
                                                          std::string_view name) noexcept {
    try {
        const std::string terminated(name);
        if (terminated.empty() || terminated.find('\0') != std::string::npos)
            return std::nullopt;
        auto* instance = static_cast<HMODULE>(const_cast<void*>(module));
        HRSRC info = FindResourceA(instance, terminated.c_str(), MAKEINTRESOURCEA(10));
        if (!info)
            return std::nullopt;
        HGLOBAL loaded = LoadResource(instance, info);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes)
            return std::nullopt;
        return std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, info));
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace Brennovar::Platform
