#include "platform/random_guid.h"

#include <cstring>
#include <objbase.h>
#include <random>

namespace Brennovar::Platform {

// CoCreateGuid gives a version 4 GUID whose fields lie little-endian in memory, which is the
// byte layout of Guid. It fails only when the system is out of resources; the C++ random device
// then stands in, with the version and variant bits set the same way.
Guid randomGuid() {
    GUID created{};
    Guid g{};
    if (CoCreateGuid(&created) == S_OK) {
        std::memcpy(g.bytes, &created, sizeof g.bytes);
        return g;
    }
    std::random_device device;
    for (auto& b : g.bytes)
        b = static_cast<std::uint8_t>(device());
    g.bytes[7] = static_cast<std::uint8_t>((g.bytes[7] & 0x0F) | 0x40);
    g.bytes[8] = static_cast<std::uint8_t>((g.bytes[8] & 0x3F) | 0x80);
    return g;
}

} // namespace Brennovar::Platform
