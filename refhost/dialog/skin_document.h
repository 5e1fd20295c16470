#pragma once

#include "refhost/dialog/skin_element.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// A module's skin description, parsed once when the skin is registered: the templates by name
/// and the bitmap atlas sections that controls may name as symbols.
class SkinDocument {
public:
    /// Parses skin.xml text. A FileError(kExitCheckFailed) on "skin.xml" whose problem says why
    /// ("line 12: mismatched tag") when it is not well-formed, its root is not `skin`, it nests
    /// deeper than the host renders, or two templates share a name.
    static SkinDocument parse(std::string_view xml);
    /// Reads "skin.xml" from a packed resource container and parses it; a FileError on
    /// "skin.kxp" when either fails.
    static SkinDocument fromContainer(std::span<const std::uint8_t> bytes);

    /// The template element with exactly this name, or null.
    const SkinElement* findTemplate(std::string_view name) const noexcept;
    /// Whether an `atlassection` of that name exists.
    bool hasSymbol(std::string_view name) const noexcept;
    const SkinElement& root() const noexcept { return root_; }

private:
    SkinElement root_;
};

} // namespace Brennovar::RefHost
