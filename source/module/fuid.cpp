#include "module/fuid.h"

#include "platform/random_guid.h"

#include <cstdio>

namespace Brennovar {

FUID::FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
    auto put32le = [this](int at, uint32 v) {
        for (int i = 0; i < 4; ++i)
            guid_.bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto put16le = [this](int at, uint32 v) {
        guid_.bytes[at] = static_cast<std::uint8_t>(v);
        guid_.bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32be = [this](int at, uint32 v) {
        for (int i = 0; i < 4; ++i)
            guid_.bytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    put32le(0, l1);
    put16le(4, l2 >> 16);
    put16le(6, l2 & 0xFFFF);
    put32be(8, l3);
    put32be(12, l4);
}

FUID FUID::generate() {
    return FUID(Platform::randomGuid());
}

std::string FUID::toString() const {
    const auto& b = guid_.bytes;
    char text[39];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

} // namespace Brennovar
