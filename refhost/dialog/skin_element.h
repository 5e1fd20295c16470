#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

/// One element of a skin description, as parsed: its type (the XML element name), its
/// attributes in document order, its children and the line it starts on.
struct SkinElement {
    std::string type;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<SkinElement> children;
    int line = 0;

    /// The attribute's text, or empty when the element has no such attribute.
    std::string_view attribute(std::string_view name) const noexcept {
        for (const auto& [key, value] : attributes)
            if (key == name)
                return value;
        return {};
    }
};

} // namespace Brennovar::RefHost
