// Fuzz target for the skin container reader: any bytes must give a container or an error,
// never a crash, an overread or a runaway allocation.
#include "refhost/resources/skin_container.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::string error;
    if (const auto container = Brennovar::RefHost::readContainer(bytes, error)) {
        for (const auto& entry : container->entries) {
            if (entry.data.size() != entry.uncompressedSize)
                __builtin_trap();
        }
    }
    Brennovar::RefHost::validateSkinContainer(bytes, error);
    return 0;
}
