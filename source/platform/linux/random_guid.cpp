#include "platform/random_guid.h"

#include <random>
#include <sys/random.h>

namespace Brennovar::Platform {

Guid randomGuid() {
    Guid g{};
    std::size_t filled = 0;
    while (filled < sizeof g.bytes) {
        ssize_t n = getrandom(g.bytes + filled, sizeof g.bytes - filled, 0);
        if (n <= 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled < sizeof g.bytes) {
        // getrandom is unavailable only on very old kernels; fall back to the C++ device.
        std::random_device device;
        for (auto& b : g.bytes)
            b = static_cast<std::uint8_t>(device());
    }
    g.bytes[7] =
        static_cast<std::uint8_t>((g.bytes[7] & 0x0F) | 0x40); // version 4 (C's top nibble)
    g.bytes[8] = static_cast<std::uint8_t>((g.bytes[8] & 0x3F) | 0x80); // variant 1
    return g;
}

} // namespace Brennovar::Platform
