#pragma once

#include "refhost/dialog/skin_document.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// The icon images a skin draws from: each `bitmapatlas` with its PNG at scale 1 and, when the
/// container has it, the same image at scale 2 (the name with "_2.00x" before the extension),
/// and each `atlassection` as a rectangle of its atlas in scale-1 pixels.
class AtlasImages {
public:
    struct Atlas {
        std::vector<std::uint8_t> png;
        /// Empty when the container has no scale-2 image.
        std::vector<std::uint8_t> png2x;
        int width = 0;
        int height = 0;
    };
    struct Section {
        std::string atlas;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    /// Reads the atlases of `skin` from the packed container it came from. A
    /// FileError(kExitCheckFailed) on "skin.kxp" when an atlas image is missing or not a PNG, or
    /// a section's size is not "x,y,width,height" inside its atlas.
    static AtlasImages load(const SkinDocument& skin, std::span<const std::uint8_t> container);

    /// The section of that name, or null.
    const Section* section(std::string_view name) const noexcept;
    const std::map<std::string, Atlas, std::less<>>& atlases() const noexcept { return atlases_; }

private:
    std::map<std::string, Atlas, std::less<>> atlases_;
    std::map<std::string, Section, std::less<>> sections_;
};

} // namespace Brennovar::RefHost
