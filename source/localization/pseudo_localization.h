#pragma once

#include <string>
#include <string_view>

namespace Brennovar::Zintara {

/// The marker file in the settings folder that turns pseudolocalization on.
inline constexpr std::string_view kPseudoLocalizationMarker = "PSEUDO_LOCALIZATION";

/// Whether the marker file exists; decided on first use and kept for the module's life.
bool isPseudoEnabled() noexcept;

/// Pseudolocalization is enabled and the current table's language is "xx" (when the table has
/// no language yet: the system default language's code).
bool isPseudoActive() noexcept;

/// The pseudo-translation of `key`, kept in the pseudo table (created on first use) for the
/// module's life. Null for a null key.
const char16_t* pseudoTranslate(const char16_t* key) noexcept;

/// `text` made longer by half its length (rounded down) and accented, between `open` and
/// `close`. Lowercase vowels are doubled from the start, the search resuming behind the
/// character after each doubled pair; when the vowels run out first, the text is padded with
/// '~' to the full added length. Then A, E, I, O, U and their lowercase forms get a grave
/// accent.
std::u16string pseudoText(std::u16string_view text, char16_t open, char16_t close);

} // namespace Brennovar::Zintara
