#pragma once

#include <cstddef>
#include <string>

namespace Brennovar::Zintara {

/// The UTF-16 decoding of `byteCount` bytes of UTF-8 at `text` (which need not be terminated).
/// Invalid UTF-8 (decoded strictly), a null text or an empty input gives an empty string.
std::u16string utf8ToWide(const char* text, std::size_t byteCount) noexcept;

} // namespace Brennovar::Zintara
