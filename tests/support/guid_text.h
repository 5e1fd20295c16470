#pragma once

#include "module/funknown.h"

#include <array>
#include <string>

namespace Brennovar::Testing {

/// The 16 stored bytes of an id given in its text form, laid out independently of the module's
/// own parser: A, B and C little-endian, D and E as written.
inline std::array<std::uint8_t, 16> storedBytes(const std::string& text) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    unsigned long long e = 0;
    std::sscanf(text.c_str(), "{%8x-%4x-%4x-%4x-%12llx}", &a, &b, &c, &d, &e);
    std::array<std::uint8_t, 16> out{};
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(a >> (8 * i));
    out[4] = static_cast<std::uint8_t>(b);
    out[5] = static_cast<std::uint8_t>(b >> 8);
    out[6] = static_cast<std::uint8_t>(c);
    out[7] = static_cast<std::uint8_t>(c >> 8);
    out[8] = static_cast<std::uint8_t>(d >> 8);
    out[9] = static_cast<std::uint8_t>(d);
    for (int i = 0; i < 6; ++i)
        out[10 + i] = static_cast<std::uint8_t>(e >> (8 * (5 - i)));
    return out;
}

inline std::array<std::uint8_t, 16> bytesOf(const Guid& id) {
    std::array<std::uint8_t, 16> out{};
    for (int i = 0; i < 16; ++i)
        out[i] = id.bytes[i];
    return out;
}

} // namespace Brennovar::Testing
