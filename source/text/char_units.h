#pragma once

#include <cstddef>
#include <cstring>

namespace Brennovar::detail {

/// Counts characters up to the first terminator, reading at most `limit` of them.
template <class Char>
std::size_t countUntilTerminator(const Char* text, std::size_t limit) noexcept {
    std::size_t n = 0;
    while (n < limit && text[n] != 0)
        ++n;
    return n;
}

/// A character as an unsigned code, so that bytes of 128 and above sort after ASCII.
inline unsigned codeOf(char c) noexcept {
    return static_cast<unsigned char>(c);
}
inline unsigned codeOf(char16_t c) noexcept {
    return c;
}

} // namespace Brennovar::detail
