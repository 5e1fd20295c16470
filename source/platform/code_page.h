#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Brennovar::Platform {

/// Numeric code-page identifiers as the original platform knows them.
enum CodePage : std::uint32_t {
    /// The system's default 8-bit code page: Windows' ANSI code page; on Linux always
    /// Windows-1252.
    kCodePageDefault = 0,
    kCodePageJapanese = 932,
    kCodePageWestern = 1252,
    /// UTF-8, decoded strictly: invalid input is an error.
    kCodePageUtf8 = 65001,
};

/// Converts 8-bit text in the given code page to UTF-16. Returns false (and leaves `out` empty)
/// on invalid input, or a code page other than the four above (on every platform, so the module
/// behaves the same everywhere). Empty input gives true and an empty result.
bool multiByteToWide(std::uint32_t codePage, std::string_view text, std::u16string& out);

/// Converts UTF-16 to 8-bit text in the given code page. Characters that the code page cannot
/// represent become '?', as the original platform's default handling does; unpaired surrogates
/// in UTF-8 output become U+FFFD. Returns false only for an unknown code page.
bool wideToMultiByte(std::uint32_t codePage, std::u16string_view text, std::string& out);

} // namespace Brennovar::Platform
