#pragma once

#include <cstdint>
#include <string_view>

namespace Brennovar::Zintara {

/// The library-wide table of 50 two-letter language codes with their Windows primary language
/// ids. Index 0, "us", is the default language.
class LanguageCodeTable {
public:
    static constexpr int kSize = 50;
    static constexpr int kDefaultIndex = 0;

    /// The code at `index` ("us" for an index outside the table).
    static const char* code(int index) noexcept;
    /// The index of a code, compared on its first two characters; 0 when it is not in the table.
    static int indexOfCode(std::string_view code) noexcept;
    /// The first index that carries a Windows primary language id (so 0x1A gives "hr" and 0x16
    /// gives "pt"); 0 when no entry carries it.
    static int indexOfWindowsId(std::uint16_t primaryId) noexcept;
    /// The code for a Windows primary language id.
    static const char* codeOfWindowsId(std::uint16_t primaryId) noexcept {
        return code(indexOfWindowsId(primaryId));
    }

    /// The library's current language index, set when a translation table is initialised.
    static int currentIndex() noexcept;
    static void setCurrentIndex(int index) noexcept;
};

} // namespace Brennovar::Zintara
