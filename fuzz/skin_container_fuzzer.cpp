// Fuzz target for the skin container reader: any bytes must give a container or an error,
// never a crash, an overread or a runaway allocation.
#include "refhost/core/host_error.h"
#include "refhost/resources/skin_container.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        for (const auto& entry : Brennovar::RefHost::readContainer(bytes).entries)
            if (entry.data.size() != entry.uncompressedSize)
                __builtin_trap();
    } catch (const Brennovar::RefHost::HostError&) {
        // A damaged container is refused with the reason; anything else escapes and is found.
    }
    std::string error;
    Brennovar::RefHost::validateSkinContainer(bytes, error);
    return 0;
}
